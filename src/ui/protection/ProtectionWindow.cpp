#include "ui/protection/ProtectionWindow.h"

#include "base/InputCheck.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/network/NetworkTexts.h"
#include "docs/schedules/ProtectionReport.h"
#include "ui/widgets/ResultTable.h"
#include "ui/widgets/WidgetHelpers.h"
#include "ui/widgets/WrappingHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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
    lineTable = new ResultTable(Protection::headings(), QStringLiteral("lineTable"), this);
    // Names on the left, currents on the right, the verdicts centred.
    QVector<Qt::Alignment> alignments(Protection::headings().size(), Qt::AlignHCenter);
    for (int c = 0; c < 6; ++c)
        alignments[c] = c < 2 ? Qt::AlignLeft : Qt::AlignRight;
    lineTable->setColumnAlignments(alignments);
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
    // Every column in view at the window's first size, as far as the screen allows.
    widenOnFirstShow(*this, *lineTable, *lineTable->horizontalHeader());
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
    return true;
}

void ProtectionWindow::showResult()
{
    const int places = m_context.calc.places();
    QVector<ResultRow> rows;
    rows.reserve(m_result.lines.size());
    for (const Protection::LineCheck &check : std::as_const(m_result.lines)) {
        ResultRow row{Protection::lineTexts(check, places), 0, {}};
        // Each line under the line it starts at.
        row.texts[0] = Network::indentedName(check.name, check.level);
        const std::pair<Protection::Verdict, const QString &> verdicts[] = {
            {check.overload, check.overloadReason},
            {check.disconnection, check.disconnectionReason},
            {check.breaking, check.breakingReason},
            {check.thermal, check.thermalReason}};
        for (int v = 0; v < 4; ++v) {
            const bool failed = verdicts[v].first == Protection::Verdict::No;
            // The trip current the disconnection verdict rests on, either way.
            if (v == 1)
                row.marks.append(ResultMark{6 + v, Protection::disconnectionNote(check, places),
                                            failed ? ResultMark::Look::Failed : ResultMark::Look::Note});
            else if (failed)
                row.marks.append(ResultMark{6 + v, verdicts[v].second});
        }
        rows.append(std::move(row));
    }
    lineTable->setRows(std::move(rows));
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
