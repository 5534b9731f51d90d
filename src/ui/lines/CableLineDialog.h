#pragma once

#include "base/Prompter.h"
#include "calc/lines/CableReactance.h"
#include "calc/lines/LineEntry.h"
#include "calc/lines/PermissibleTables.h"

#include <QDialog>
#include <QSet>

class AppContext;
class LineListModel;
class LineMarksTab;
class LineNetworkTab;
class LineParametersTab;
class LineProtectionTab;
class LineTypeTab;
class Prompter;
struct Project;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

// The cable line dialog: enters a new line or changes the selected one of the
// main window's list, and keeps the user's conductor-mark lists. Each tab is a
// widget of its own; the dialog ties them together: the permissible-current
// tables of the chosen construction, the request it builds, confirm and close.
class CableLineDialog : public QDialog
{
    Q_OBJECT
public:
    // Loads the dialog over the project's line list (`lines` shows
    // project.lines). In change mode the construction lists are left without
    // a selection, for fillFromRow() fills them from the row.
    CableLineDialog(LineListModel &lines, const Project &project, const AppContext &context, Prompter &prompter,
                    bool changeMode, QWidget *parent = nullptr);
    ~CableLineDialog() override;

    // Public values of the dialog.
    bool changeMode = false;
    int autoNameCounter = 0; // counter of automatic names
    double permissibleCurrent = 0; // the last permissible current looked up

    // Change mode: fills the fields from a row of the line list (from the
    // inputs the line keeps, when it has them) and makes the dialog replace
    // that row.
    void fillFromRow(int row);

    // Writes the mark lists back and ends the dialog's life; the owner then
    // discards the instance. Safe to call twice.
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    // The choices as the controls show them.
    Permissible::Choice choice() const;
    const Permissible::PermissibleTable &table() const { return m_table; }

    // Operations of the permissible-current tables.
    void loadPermissibleTable();
    void reloadLineType();
    void lookupPermissibleCurrent();
    void proposeSection();
    void loadCurrentChoices();

    // The controls of the tabs, by their documented names.
    QTabWidget *tabs = nullptr;
    QPushButton *confirmButton = nullptr;
    QPushButton *closeButton = nullptr;
    // "Тип линии"
    QRadioButton *networkOptions[2] = {nullptr, nullptr};
    QComboBox *singlePhaseTypeList = nullptr;
    QComboBox *coreCountList = nullptr;
    QComboBox *layingList = nullptr;
    // "Параметры линии"
    QGroupBox *coreFrame = nullptr;
    QComboBox *materialList = nullptr;
    QListWidget *sectionList = nullptr;
    QLineEdit *sectionEdit = nullptr;
    QCheckBox *neutralCheck = nullptr;
    QComboBox *neutralSectionList = nullptr;
    QPushButton *proposeButton = nullptr;
    QLineEdit *nameEdit = nullptr;
    QCheckBox *autoNumberCheck = nullptr;
    QLineEdit *lengthEdit = nullptr;
    QComboBox *loadCurrentList = nullptr;
    QLineEdit *permissibleCurrentEdit = nullptr;
    QLineEdit *cosPhiEdit = nullptr;
    // The correction factors of the permissible current.
    QLabel *correctionLabel = nullptr;
    // "Условия прокладки"
    QLineEdit *ambientEdit = nullptr;
    QSpinBox *cablesSpin = nullptr;
    QComboBox *spacingList = nullptr;
    // "Защита"
    QComboBox *deviceCharacteristicList = nullptr; // data: the characteristic, empty for "нет"
    QComboBox *deviceRatingList = nullptr;
    QPushButton *chooseDeviceButton = nullptr;
    QLineEdit *tripTimeEdit = nullptr;
    QLabel *deviceLabel = nullptr;

    // "Подобрать": the smallest device of the characteristic (without one:
    // C, B, D, then industrial) with Ib <= In <= Iz that passes the checks
    // the line's currents allow (a checked line being changed has them).
    void chooseDevice();
    // "Сеть"
    QComboBox *startList = nullptr; // data: the From of the choice
    QLabel *startNote = nullptr;
    QComboBox *boardList = nullptr;
    // Shown when a changed line kept no inputs.
    QLabel *inputsNote = nullptr;
    // "Марка"
    QGroupBox *copperMarksFrame = nullptr;
    QListWidget *copperMarkList = nullptr;
    QPushButton *addCopperMarkButton = nullptr;
    QPushButton *removeCopperMarkButton = nullptr;
    QGroupBox *aluminiumMarksFrame = nullptr;
    QListWidget *aluminiumMarkList = nullptr;
    QPushButton *addAluminiumMarkButton = nullptr;
    QPushButton *removeAluminiumMarkButton = nullptr;

    // Handlers of the controls.
    void confirm();
    void closeForLater();
    void addMark(bool copper);
    void removeMark(bool copper);

public slots:
    // Esc and the close box: unload and discard.
    void reject() override;

protected:
    // A line being added is offered the lines the project has now.
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void onMaterialChanged();
    void onNetTypeChanged();
    void updateCommandButtons();
    void reloadNeutralSections();
    void fillFromInputs(const CableLine &line, const LineInputs &inputs);
    void fillFromTexts(const CableLine &line);
    void setConditions(const QString &cosPhi, const QString &ambient, int cables, int spacing);
    // Reports a missing or damaged data file once, until it reads again.
    void reportFileProblem(const QString &path, const QString &message,
                           Prompter::Icon icon = Prompter::Icon::Critical);
    void updateConditionControls();
    // The choice, power factor and laying conditions as the controls hold them.
    LineEntry::Request conditionsRequest() const;
    // The message of a refused field, then the field in focus.
    void refuseField(LineEntry::Field field, const QString &message);
    // The line as the fields hold it, for the currents of its place.
    CableLine enteredLine() const;
    void clearFileProblem(const QString &path);
    bool checkTableUsable();
    // The load current of "Добавить", "Подобрать" and "Предложение": a
    // number, an offered current or an expression, which the field then shows
    // as its value; nothing for anything else.
    std::optional<double> loadCurrent();
    // The same; anything else is refused with the message.
    std::optional<double> checkLoadCurrent();
    // Refuses a Ко outside (0; 1] naming the field, on the tab "Сеть".
    bool checkCoincidence();

    LineTypeTab *m_typeTab = nullptr;
    LineParametersTab *m_parametersTab = nullptr;
    LineMarksTab *m_marksTab = nullptr;
    LineProtectionTab *m_protectionTab = nullptr;
    LineNetworkTab *m_networkTab = nullptr;
    LineListModel &m_lines;
    const Project &m_project;
    const AppContext &m_context;
    Prompter &m_prompter;
    Permissible::PermissibleTable m_table;
    CableReactance m_reactance;
    QSet<QString> m_reportedFiles;
    int m_changeRow = -1;
    CableLine m_changedLine;
    bool m_unloaded = false;
};
