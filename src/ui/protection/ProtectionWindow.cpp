#include "ui/protection/ProtectionWindow.h"

#include "base/InputCheck.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/network/NetworkTexts.h"
#include "docs/schedules/ProtectionReport.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ProtectionWindow::ProtectionWindow(const Project &project, const AppContext &context, Prompter &prompter,
                                   ReportWriter &writer, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter), m_writer(writer)
{
    setObjectName(QStringLiteral("ProtectionWindow"));
    setWindowTitle(QStringLiteral("Проверка защитных аппаратов"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto *note = new QLabel(QStringLiteral("Токи КЗ — по ГОСТ 28249-93; Iк(3) max — в начале линии (у аппарата), "
                                           "Iк(1) min — в ее конце. Причина отказа — в подсказке красной ячейки."),
                            this);
    note->setWordWrap(true);
    lineTable = resultTable(Protection::headings(), QStringLiteral("lineTable"), this);
    lineTable->setMinimumSize(900, 240);
    reportButton = namedButton(QStringLiteral("Сохранить &ведомость..."), QStringLiteral("reportButton"), this);
    if (m_writer.canPrint())
        printButton = namedButton(QStringLiteral("&Печать..."), QStringLiteral("printButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);
    closeButton->setDefault(true);
    QHBoxLayout *buttons = buttonRow({reportButton, printButton, closeButton});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(lineTable, 1);
    layout->addLayout(buttons);

    connect(reportButton, &QPushButton::clicked, this, &ProtectionWindow::saveReport);
    if (printButton)
        connect(printButton, &QPushButton::clicked, this, &ProtectionWindow::printReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    calculate();
}

bool ProtectionWindow::calculate()
{
    QString message;
    const auto result = ProtectionReport::checkProject(m_project, m_context, &message);
    if (!result) {
        m_prompter.message(message, QString(), Prompter::Icon::Exclamation);
        return false;
    }
    m_result = *result;
    showResult();
    for (const QString &problem : std::as_const(m_result.problems) + m_result.notes)
        m_prompter.message(problem, QString(), Prompter::Icon::Exclamation);
    // Values of the project out of their range were replaced: the file is damaged there.
    if (!m_result.damage.isEmpty())
        m_prompter.message(m_result.damage.join(QStringLiteral("\r\n")), QString(), Prompter::Icon::Exclamation);
    return true;
}

void ProtectionWindow::showResult()
{
    const int places = m_context.calc.places();
    lineTable->setRowCount(int(m_result.lines.size()));
    for (int r = 0; r < m_result.lines.size(); ++r) {
        const Protection::LineCheck &check = m_result.lines.at(r);
        QStringList texts = Protection::lineTexts(check, places);
        texts[0] = Network::indentedName(check.name, check.level);
        const QString reasons[] = {check.overloadReason, check.disconnectionReason, check.breakingReason,
                                   check.thermalReason};
        const Protection::Verdict verdicts[] = {check.overload, check.disconnection, check.breaking, check.thermal};
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            item->setTextAlignment(c < 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : (c < 6 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
            const int verdict = c - 6;
            if (verdict >= 0 && verdicts[verdict] == Protection::Verdict::No) {
                item->setForeground(Qt::white);
                item->setBackground(QColor(0xc6, 0x28, 0x28));
                item->setToolTip(reasons[verdict]);
            }
            // The trip current the disconnection verdict rests on, either way.
            if (verdict == 1)
                item->setToolTip(Protection::disconnectionNote(check, places));
            lineTable->setItem(r, c, item);
        }
    }
}

void ProtectionWindow::saveReport()
{
    if (!calculate())
        return;
    ProtectionReport::run(m_writer, m_project.projectName, m_result, m_context.calc.places());
}

void ProtectionWindow::printReport()
{
    if (!calculate())
        return;
    ProtectionReport::print(m_writer, m_project.projectName, m_result, m_context.calc.places());
}
