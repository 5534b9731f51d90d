#pragma once

#include "calc/shortcircuit/FaultCurrents.h"

#include <QDialog>

class AppContext;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ResultTable;
class ReportWriter;
struct Project;

// "Токи КЗ по ГОСТ 28249-93": the inputs of the method and the currents at
// the end of every line of the network, in tree order, computed as the window
// opens. The inputs belong to the substation's data of the project: a
// calculation takes them over; Esc and "Закрыть" leave the project as it was
// since the last calculation.
class FaultCurrentsWindow : public QDialog
{
    Q_OBJECT
public:
    FaultCurrentsWindow(Project &project, const AppContext &context, Prompter &prompter, ReportWriter &writer,
                        QWidget *parent = nullptr);

    QLabel *transformerLabel = nullptr;
    QComboBox *groupList = nullptr;
    QLineEdit *systemPowerEdit = nullptr;
    QComboBox *supplyVoltageList = nullptr;
    QLineEdit *busResistanceEdit = nullptr;
    QLineEdit *busReactanceEdit = nullptr;
    QLineEdit *contactResistanceEdit = nullptr;
    QLineEdit *arcResistanceEdit = nullptr;
    QLineEdit *temperatureEdit = nullptr;
    ResultTable *pointTable = nullptr;
    QPushButton *calculateButton = nullptr;
    QPushButton *reportButton = nullptr;
    QPushButton *printButton = nullptr; // only with a writer that can print
    QPushButton *closeButton = nullptr;

    // "&Рассчитать": the inputs checked and taken into the project, then the table.
    bool calculate();
    // "Сохранить &ведомость...": calculates, then writes the schedule.
    void saveReport();
    // "&Печать...": calculates, then the preview and the print dialog.
    void printReport();

    const FaultCurrents::Result &result() const { return m_result; }

private:
    void buildLayout();
    void showInputs();
    // The substation's data with the window's inputs.
    SubstationData inputs() const;
    void showResult();
    // The calculation of `inputs`; `takeInputs`: they become the project's.
    bool calculateWith(const SubstationData &inputs, bool takeInputs);

    Project &m_project;
    const AppContext &m_context;
    Prompter &m_prompter;
    ReportWriter &m_writer;
    FaultCurrents::Result m_result;
};
