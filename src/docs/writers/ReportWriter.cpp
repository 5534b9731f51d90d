#include "docs/writers/ReportWriter.h"

#include "base/InputCheck.h"
#include "base/TextFile.h"
#include "docs/writers/XlsxWorkbook.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kWordFilter = QStringLiteral("Документ Word (*.doc)");
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");
const QString kSpreadsheetFilter = QStringLiteral("Книга Excel (*.xlsx)");

ReportWriter::PdfRenderer &pdfRenderer()
{
    static ReportWriter::PdfRenderer renderer;
    return renderer;
}

} // namespace

ReportWriter::ReportWriter(Prompter &prompter, const QString &folder) : m_prompter(prompter), m_folder(folder) {}

void ReportWriter::setPdfRenderer(const PdfRenderer &renderer)
{
    pdfRenderer() = renderer;
}

QString ReportWriter::fileFilter()
{
    return kWordFilter + QStringLiteral(";;") + kPdfFilter + QStringLiteral(";;") + kSpreadsheetFilter;
}

ReportFormat ReportWriter::formatOf(const QString &path)
{
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return ReportFormat::Pdf;
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return ReportFormat::Spreadsheet;
    return ReportFormat::Word;
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

int ReportWriter::tablePointSize(const ReportDocument &document, int textWidthTwips)
{
    int size = kHeadingSize;
    for (const ReportSection &section : document.sections)
        if (section.table.columnCount() > 0)
            size = std::min(size, RtfDocument::fittingPointSize(section.table, textWidthTwips, kHeadingSize,
                                                                 kSmallestTableSize));
    return size;
}

QByteArray ReportWriter::document(const ReportDocument &document)
{
    RtfDocument doc(true);
    doc.setTitle(document.title);
    // Before the tables: the frame narrows the text they are fitted to.
    doc.setTitleBlock(document.properties, document.title);
    doc.addParagraph(document.projectName, kNameSize);
    doc.addParagraph(document.title.toUpper(), kHeadingSize, true);
    doc.addParagraph(document.dateTime, kHeadingSize);
    doc.addParagraph(QString(), kHeadingSize);
    // The tables keep the heading's size unless their columns' longest words
    // would then have to break; a smaller face keeps them whole.
    const int tableSize = tablePointSize(document, doc.textWidth());
    for (const ReportSection &section : document.sections) {
        if (section.table.columnCount() == 0 && !section.caption.isEmpty())
            doc.addParagraph(section.caption, kHeadingSize, true);
        doc.addTable(section.table, tableSize, section.caption, kHeadingSize);
    }
    return doc.toRtf();
}

QByteArray ReportWriter::document(const QString &projectName, const QString &title, const QString &dateTime,
                                  const ReportTable &table)
{
    return document(ReportDocument{projectName, title, dateTime, {ReportSection{QString(), table}}, {}});
}

ReportDocument ReportWriter::compose(const QString &projectName, const QString &title,
                                     const QVector<ReportSection> &sections) const
{
    const QDateTime now = m_now.isValid() ? m_now : QDateTime::currentDateTime();
    return ReportDocument{projectName, title, dateTimeLine(now, m_localeSet ? m_locale : userLocale()), sections,
                          m_properties};
}

QString ReportWriter::chooseFile(const QString &defaultFileName)
{
    QString chosenFilter;
    QString path = m_prompter.saveFile(saveDialogTitle(), m_folder, defaultFileName, fileFilter(), &chosenFilter);
    if (path.isEmpty())
        return QString();
    static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z][A-Za-z0-9]{0,4}$"));
    if (!extension.match(QFileInfo(path).fileName()).hasMatch()) {
        if (chosenFilter == kPdfFilter)
            path += QStringLiteral(".pdf");
        else if (chosenFilter == kSpreadsheetFilter)
            path += QStringLiteral(".xlsx");
        else
            path += QStringLiteral(".doc");
    }
    if (confirmOverwrite(path, m_prompter))
        return QString();
    return path;
}

void ReportWriter::step(ReportStage stage)
{
    if (m_progress)
        m_progress->step(m_plan[size_t(stage)]);
}

ReportWriter::SectionsBuilder ReportWriter::oneTable(const TableBuilder &buildTable)
{
    return [buildTable] {
        return QVector<ReportSection>{ReportSection{QString(), buildTable ? buildTable() : ReportTable()}};
    };
}

bool ReportWriter::save(const QString &path, const QString &projectName, const QString &title,
                        const TableBuilder &buildTable, QString *error)
{
    return save(path, projectName, title, oneTable(buildTable), error);
}

bool ReportWriter::save(const QString &path, const QString &projectName, const QString &title,
                        const SectionsBuilder &buildSections, QString *error)
{
    if (m_progress)
        m_progress->begin(statusText(path), m_plan[size_t(ReportStage::Shown)]);
    step(ReportStage::Status);
    step(ReportStage::Started);
    step(ReportStage::Page);
    const ReportDocument heading = compose(projectName, title, {});
    step(ReportStage::Heading);
    ReportDocument doc = heading;
    if (buildSections)
        doc.sections = buildSections();
    step(ReportStage::Counted);
    QByteArray bytes;
    bool ok = true;
    switch (formatOf(path)) {
    case ReportFormat::Pdf:
        // Without a renderer there is nothing to write: said, never an empty file.
        ok = bool(pdfRenderer());
        if (ok)
            bytes = pdfRenderer()(doc);
        ok = ok && !bytes.isEmpty();
        if (!ok && error)
            *error = QStringLiteral("no PDF renderer");
        break;
    case ReportFormat::Spreadsheet:
        bytes = XlsxWorkbook::workbook(doc, error);
        ok = !bytes.isEmpty();
        break;
    case ReportFormat::Word:
        bytes = document(doc);
        break;
    }
    step(ReportStage::TableAdded);
    step(ReportStage::HeadingRow);
    step(ReportStage::Body);

    // Through a temporary file: a failed write leaves no half-written report
    // and keeps an older file of that name intact.
    ok = ok && TextFile::writeBytes(path, bytes, error);
    step(ReportStage::Saved);
    if (m_progress)
        m_progress->end();
    return ok;
}

bool ReportWriter::write(const QString &path, const QString &projectName, const QString &title,
                         const TableBuilder &buildTable)
{
    return write(path, projectName, title, oneTable(buildTable));
}

bool ReportWriter::write(const QString &path, const QString &projectName, const QString &title,
                         const SectionsBuilder &buildSections)
{
    if (!save(path, projectName, title, buildSections)) {
        m_prompter.message(failureMessage(path), QString(), Prompter::Icon::Critical);
        return false;
    }
    m_prompter.message(successMessage(path), QString(), Prompter::Icon::Information);
    return true;
}

bool ReportWriter::run(const QString &projectName, const QString &title, const QString &defaultFileName,
                       const TableBuilder &buildTable)
{
    return run(projectName, title, defaultFileName, oneTable(buildTable));
}

bool ReportWriter::run(const QString &projectName, const QString &title, const QString &defaultFileName,
                       const SectionsBuilder &buildSections)
{
    const QString path = chooseFile(defaultFileName);
    if (path.isEmpty())
        return false;
    return write(path, projectName, title, buildSections);
}

bool ReportWriter::print(const QString &projectName, const QString &title, const TableBuilder &buildTable)
{
    return print(projectName, title, oneTable(buildTable));
}

bool ReportWriter::print(const QString &projectName, const QString &title, const SectionsBuilder &buildSections)
{
    if (!m_printer)
        return false;
    return m_printer->print(compose(projectName, title, buildSections ? buildSections() : QVector<ReportSection>()));
}
