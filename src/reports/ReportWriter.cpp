#include "reports/ReportWriter.h"

#include "base/InputCheck.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int kNameSize = 16;
constexpr int kHeadingSize = 14;
constexpr int kSmallestTableSize = 8;

} // namespace

ReportWriter::ReportWriter(Prompter &prompter, const QString &folder) : m_prompter(prompter), m_folder(folder) {}

QString ReportWriter::fileFilter()
{
    return QStringLiteral("Файлы Microsoft Word (*.doc)");
}

QString ReportWriter::saveDialogTitle()
{
    return QStringLiteral("Сохранить как");
}

QString ReportWriter::statusText(const QString &path)
{
    return QStringLiteral("Идет сохранение отчёта ") + QFileInfo(path).fileName()
           + QStringLiteral("... Пожалуйста, ждите...");
}

QString ReportWriter::successMessage(const QString &path)
{
    return QStringLiteral("Файл '") + QDir::toNativeSeparators(path) + QStringLiteral("' успешно сохранен.");
}

QString ReportWriter::failureMessage(const QString &path)
{
    return QStringLiteral("Не удалось сохранить отчет в файл '") + QDir::toNativeSeparators(path)
           + QStringLiteral("'.\r\nПроверьте, доступна ли папка для записи.");
}

QLocale ReportWriter::userLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Russian, QLocale::Russia);
    return system;
}

QString ReportWriter::dateTimeLine(const QDateTime &now, const QLocale &locale)
{
    // The date is always day, month, year with two, two and four digits; only
    // the separator comes from the locale.
    QChar separator = QLatin1Char('.');
    for (const QChar c : locale.dateFormat(QLocale::ShortFormat)) {
        if (!c.isLetter()) {
            separator = c;
            break;
        }
    }
    const QDate d = now.date();
    const QString date = QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0')) + separator
                         + QStringLiteral("%1").arg(d.month(), 2, 10, QLatin1Char('0')) + separator
                         + QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
    return date + QStringLiteral("   ") + locale.toString(now.time(), QLocale::ShortFormat);
}

QByteArray ReportWriter::document(const QString &projectName, const QString &title, const QString &dateTime,
                                  const ReportTable &table)
{
    RtfDocument doc(true);
    doc.setTitle(title);
    doc.addParagraph(projectName, kNameSize);
    doc.addParagraph(title.toUpper(), kHeadingSize, true);
    doc.addParagraph(dateTime, kHeadingSize);
    doc.addParagraph(QString(), kHeadingSize);
    // The table keeps the heading's size unless its columns' longest words
    // would then have to break; a smaller face keeps them whole.
    doc.addTable(table, RtfDocument::fittingPointSize(table, doc.textWidth(), kHeadingSize, kSmallestTableSize));
    return doc.toRtf();
}

QString ReportWriter::chooseFile(const QString &defaultFileName)
{
    QString path = m_prompter.saveFile(saveDialogTitle(), m_folder, defaultFileName, fileFilter());
    if (path.isEmpty())
        return QString();
    static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z][A-Za-z0-9]{0,4}$"));
    if (!extension.match(QFileInfo(path).fileName()).hasMatch())
        path += QStringLiteral(".doc");
    if (confirmOverwrite(path, m_prompter))
        return QString();
    return path;
}

void ReportWriter::step(ReportStage stage)
{
    if (m_progress)
        m_progress->step(m_plan[size_t(stage)]);
}

bool ReportWriter::save(const QString &path, const QString &projectName, const QString &title,
                        const std::function<ReportTable()> &buildTable, QString *error)
{
    if (m_progress)
        m_progress->begin(statusText(path), m_plan[size_t(ReportStage::Shown)]);
    step(ReportStage::Status);
    step(ReportStage::Started);
    step(ReportStage::Page);
    const QDateTime now = m_now.isValid() ? m_now : QDateTime::currentDateTime();
    const QString dateTime = dateTimeLine(now, m_localeSet ? m_locale : userLocale());
    step(ReportStage::Heading);
    const ReportTable table = buildTable ? buildTable() : ReportTable();
    step(ReportStage::Counted);
    const QByteArray bytes = document(projectName, title, dateTime, table);
    step(ReportStage::TableAdded);
    step(ReportStage::HeadingRow);
    step(ReportStage::Body);

    // Through a temporary file: a failed write leaves no half-written report
    // and keeps an older file of that name intact.
    const bool ok = TextFile::writeBytes(path, bytes, error);
    step(ReportStage::Saved);
    if (m_progress)
        m_progress->end();
    return ok;
}

bool ReportWriter::write(const QString &path, const QString &projectName, const QString &title,
                         const std::function<ReportTable()> &buildTable)
{
    if (!save(path, projectName, title, buildTable)) {
        m_prompter.message(failureMessage(path), QString(), Prompter::Icon::Critical);
        return false;
    }
    m_prompter.message(successMessage(path), QString(), Prompter::Icon::Information);
    return true;
}

bool ReportWriter::run(const QString &projectName, const QString &title, const QString &defaultFileName,
                       const std::function<ReportTable()> &buildTable)
{
    const QString path = chooseFile(defaultFileName);
    if (path.isEmpty())
        return false;
    return write(path, projectName, title, buildTable);
}
