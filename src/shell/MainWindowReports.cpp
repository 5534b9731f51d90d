// The main window's schedules, saved or printed, and the protection window
// that writes its own.
#include "shell/MainWindow.h"

#include "base/InputCheck.h"
#include "calc/shortcircuit/ShortCircuit.h"
#include "calc/network/NetworkCalc.h"
#include "calc/shortcircuit/Transformer.h"
#include "docs/schedules/CableJournalReport.h"
#include "docs/schedules/FaultCurrentsReport.h"
#include "docs/schedules/NetworkSchemeReport.h"
#include "docs/schedules/LightingReport.h"
#include "docs/schedules/LoadReport.h"
#include "docs/schedules/ProtectionReport.h"
#include "docs/schedules/SelectivityReport.h"
#include "docs/schedules/ShortCircuitReport.h"
#include "docs/writers/ReportWriter.h"
#include "ui/lighting/RoomsWindow.h"
#include "ui/protection/ProtectionWindow.h"
#include "ui/selectivity/SelectivityWindow.h"
#include "ui/reports/ReportColumnsDialog.h"
#include "ui/widgets/ReportPreview.h"
#include "ui/widgets/StatusBarProgress.h"

#include <QPushButton>

void MainWindow::saveCableLineReport()
{
    withReportWriter([&](ReportWriter &writer) {
        ReportColumnsDialog dialog(m_project, writer, m_context.calc.places(), this);
        dialog.exec();
    });
}

void MainWindow::printCableLineReport()
{
    // The same dialog, its title and columns, with printing as its first choice.
    withReportWriter([&](ReportWriter &writer) {
        ReportColumnsDialog dialog(m_project, writer, m_context.calc.places(), this);
        dialog.printButton->setDefault(true);
        dialog.printButton->setFocus();
        dialog.exec();
    });
}

// A report writer for one command: its progress on the status bar, its
// printing through the preview.
void MainWindow::withReportWriter(const std::function<void(ReportWriter &)> &use)
{
    StatusBarProgress progress(*m_panel1, *statusPanel2);
    ReportPreview preview(this);
    ReportWriter writer(m_prompter, m_context.documentsFolder());
    writer.setProjectPath(m_project.projectFolder.isEmpty() ? QString() : m_project.filePath());
    startInWorkFolder(writer, &preview, m_context.folders, m_project, m_context.documentsFolder());
    writer.setProgress(&progress);
    writer.setProjectProperties(m_project.properties);
    writer.setPrinter(&preview);
    use(writer);
}

// Both ask for a transformer first, as the simplified method does.
bool MainWindow::haveTransformer()
{
    if (Transformer::powerValue(m_project.transformerPower) != 0)
        return true;
    m_prompter.message(Transformer::noPowerMessage(), QString(), Prompter::Icon::Exclamation);
    chooseSubstation();
    return false;
}

std::optional<FaultCurrents::Result> MainWindow::faultCurrentsForSchedule()
{
    if (!haveTransformer())
        return std::nullopt;
    QString message;
    const auto result = Network::faultCurrentsOf(m_project, m_context, &message);
    if (!result) {
        m_prompter.message(message, InputCheck::title(), Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    // A schedule with points that could not be computed is not written.
    if (!result->problems.isEmpty()) {
        m_prompter.message(result->problems.join(QStringLiteral("\r\n")), QString(), Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    return result;
}

void MainWindow::saveFaultCurrentsReport()
{
    if (const auto result = faultCurrentsForSchedule())
        withReportWriter([&](ReportWriter &writer) {
            FaultCurrentsReport::run(writer, m_project, *result, m_context.calc.places());
        });
}

void MainWindow::printFaultCurrentsReport()
{
    if (const auto result = faultCurrentsForSchedule())
        withReportWriter([&](ReportWriter &writer) {
            FaultCurrentsReport::print(writer, m_project, *result, m_context.calc.places());
        });
}

void MainWindow::showProtectionWindow()
{
    if (!haveTransformer())
        return;
    withReportWriter([&](ReportWriter &writer) {
        ProtectionWindow window(m_project, m_context, m_prompter, writer, this);
        window.exec();
    });
}

std::optional<Protection::Result> MainWindow::protectionForSchedule()
{
    if (!haveTransformer())
        return std::nullopt;
    QString message;
    const auto result = ProtectionReport::checkProject(m_project, m_context, &message);
    if (!result) {
        m_prompter.message(message, InputCheck::title(), Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    // A schedule with lines that could not be checked is not written.
    if (!result->problems.isEmpty()) {
        m_prompter.message(result->problems.join(QStringLiteral("\r\n")), QString(), Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    if (!result->notes.isEmpty())
        m_prompter.message(result->notes.join(QStringLiteral("\r\n")), QString(), Prompter::Icon::Exclamation);
    return result;
}

void MainWindow::saveProtectionReport()
{
    if (const auto result = protectionForSchedule())
        withReportWriter([&](ReportWriter &writer) {
            ProtectionReport::run(writer, m_project.projectName, *result, m_context.calc.places());
        });
}

void MainWindow::printProtectionReport()
{
    if (const auto result = protectionForSchedule())
        withReportWriter([&](ReportWriter &writer) {
            ProtectionReport::print(writer, m_project.projectName, *result, m_context.calc.places());
        });
}

// The simplified schedule computes nothing from a value that is not sound.
bool MainWindow::shortCircuitInputsSound()
{
    if (!haveTransformer())
        return false;
    const QString problem = ShortCircuit::inputProblem(m_project);
    if (problem.isEmpty())
        return true;
    m_prompter.message(problem, QString(), Prompter::Icon::Exclamation);
    return false;
}

void MainWindow::saveShortCircuitReport()
{
    if (!shortCircuitInputsSound())
        return;
    const auto chained = checkedPathProject();
    if (!chained)
        return;
    withReportWriter([&](ReportWriter &writer) { ShortCircuitReport::run(writer, *chained, m_context.calc); });
}

void MainWindow::printShortCircuitReport()
{
    if (!shortCircuitInputsSound())
        return;
    const auto chained = checkedPathProject();
    if (!chained)
        return;
    withReportWriter([&](ReportWriter &writer) {
        writer.print(chained->projectName, ShortCircuitReport::title(),
                     [&] { return ShortCircuitReport::build(*chained, m_context.calc); });
    });
}

void MainWindow::saveLoadReport()
{
    withReportWriter([&](ReportWriter &writer) { LoadReport::run(writer, m_project, m_context.calc); });
}

void MainWindow::printLoadReport()
{
    withReportWriter([&](ReportWriter &writer) { LoadReport::print(writer, m_project, m_context.calc); });
}

void MainWindow::showRoomsWindow()
{
    withReportWriter([&](ReportWriter &writer) {
        RoomsWindow window(m_project, m_context, m_prompter, writer, this);
        window.setHistory(m_history);
        window.exec();
    });
}

void MainWindow::saveLightingReport()
{
    withReportWriter([&](ReportWriter &writer) {
        LightingReport::run(writer, m_project, Lighting::UtilisationTables::load(m_context.appDir()),
                            m_context.calc.places());
    });
}

void MainWindow::printLightingReport()
{
    withReportWriter([&](ReportWriter &writer) {
        LightingReport::print(writer, m_project, Lighting::UtilisationTables::load(m_context.appDir()),
                              m_context.calc.places());
    });
}

void MainWindow::showSelectivityWindow(int line)
{
    withReportWriter([&](ReportWriter &writer) {
        SelectivityWindow window(m_project, m_context, m_prompter, writer, this);
        window.selectLine(line);
        window.exec();
    });
}

std::optional<Selectivity::Result> MainWindow::selectivityForSchedule()
{
    Selectivity::Result result = Selectivity::of(m_project, m_context);
    // As with the protection schedule: one with pairs that could not be
    // checked in full is not written.
    if (!result.problems.isEmpty()) {
        m_prompter.message(result.problems.join(QStringLiteral("\r\n")), QString(), Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    return result;
}

void MainWindow::saveSelectivityReport()
{
    if (const auto result = selectivityForSchedule())
        withReportWriter([&](ReportWriter &writer) {
            SelectivityReport::run(writer, m_project, *result, m_context.calc.places());
        });
}

void MainWindow::printSelectivityReport()
{
    if (const auto result = selectivityForSchedule())
        withReportWriter([&](ReportWriter &writer) {
            SelectivityReport::print(writer, m_project, *result, m_context.calc.places());
        });
}

// The journal needs no transformer: it lists the cables, not their currents.
void MainWindow::saveCableJournalReport()
{
    withReportWriter([&](ReportWriter &writer) { CableJournalReport::run(writer, m_project); });
}

void MainWindow::printCableJournalReport()
{
    withReportWriter([&](ReportWriter &writer) { CableJournalReport::print(writer, m_project); });
}

void MainWindow::saveNetworkSchemeReport()
{
    withReportWriter([&](ReportWriter &writer) { NetworkSchemeReport::run(writer, m_project, m_context); });
}

void MainWindow::printNetworkSchemeReport()
{
    withReportWriter([&](ReportWriter &writer) { NetworkSchemeReport::print(writer, m_project, m_context); });
}
