#pragma once

#include "calc/protection/Protection.h"

#include <QDialog>

class AppContext;
class Prompter;
class QPushButton;
class ResultTable;
class ReportWriter;
struct Project;

// "Проверка защитных аппаратов": every line of the network with its device, the
// currents the checks take and the four verdicts; a failing verdict is red,
// its reason in the tool tip.
class ProtectionWindow : public QDialog
{
    Q_OBJECT
public:
    ProtectionWindow(const Project &project, const AppContext &context, Prompter &prompter, ReportWriter &writer,
                     QWidget *parent = nullptr);

    ResultTable *lineTable = nullptr;
    QPushButton *reportButton = nullptr;
    QPushButton *printButton = nullptr; // only with a writer that can print
    QPushButton *closeButton = nullptr;

    // The currents by ГОСТ 28249-93 and the checks; false when they could not be had.
    bool calculate();
    // "Сохранить &ведомость...".
    void saveReport();
    // "&Печать...": the preview and the print dialog.
    void printReport();

    const Protection::Result &result() const { return m_result; }

private:
    void showResult();

    const Project &m_project;
    const AppContext &m_context;
    Prompter &m_prompter;
    ReportWriter &m_writer;
    Protection::Result m_result;
};
