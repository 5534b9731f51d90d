#pragma once

#include "lines/PermissibleTables.h"

#include <QDialog>
#include <QSet>

class frmMain;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

// The cable line dialog: enters a new line or changes the selected one of the
// main window's list, and keeps the user's conductor-mark lists.
class frmAddR : public QDialog
{
    Q_OBJECT
public:
    // Loads the dialog. In change mode the construction lists are left without
    // a selection, for the main window fills them from the row.
    frmAddR(frmMain &main, bool changeFlag, QWidget *parent = nullptr);
    ~frmAddR() override;

    // Public values of the dialog.
    bool ChangeFlag = false;
    int LName = 0; // counter of automatic names
    int nm = 0; // rows of the table in use
    QString sFileName; // its registry entry
    double Idop = 0; // the last permissible current looked up

    // Change mode: fills the fields from a row of the line list and makes the
    // dialog replace that row.
    void fillFromRow(int row);

    // Writes the mark lists back and ends the dialog's life; the owner then
    // discards the instance. Safe to call twice.
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    // The choices as the controls show them.
    Permissible::Choice choice() const;
    const Permissible::PermissibleTable &table() const { return m_table; }

    // Operations of the permissible-current tables.
    void LoadPermissibleTable();
    void ReloadLineType();
    void LookupPermissibleCurrent();
    void ProposeSection();
    void LoadCurrentChoices();

    // Controls, by their documented names.
    QTabWidget *tabLines = nullptr;
    QPushButton *cmdCalcR = nullptr;
    QPushButton *cmdClose = nullptr;
    // "Тип линии"
    QRadioButton *chkNetType[2] = {nullptr, nullptr};
    QComboBox *cmbType1 = nullptr;
    QComboBox *cmbType2 = nullptr;
    QComboBox *cmbType3 = nullptr;
    // "Параметры линии"
    QGroupBox *fraSmm = nullptr;
    QComboBox *cmbMaterial = nullptr;
    QListWidget *lstSmm = nullptr;
    QLineEdit *txtSect = nullptr;
    QCheckBox *chkNSect = nullptr;
    QComboBox *cmbNSect = nullptr;
    QPushButton *cmdSelIdop = nullptr;
    QLineEdit *txtLName = nullptr;
    QCheckBox *chkAutoNum = nullptr;
    QLineEdit *txtLenght = nullptr;
    QComboBox *cmbIList = nullptr;
    QLineEdit *txtIdop = nullptr;
    // "Марка"
    QGroupBox *fraCu = nullptr;
    QListWidget *lstCuMark = nullptr;
    QPushButton *cmdAddCuMark = nullptr;
    QPushButton *cmdRemCuMark = nullptr;
    QGroupBox *fraAl = nullptr;
    QListWidget *lstAlMark = nullptr;
    QPushButton *cmdAddAlMark = nullptr;
    QPushButton *cmdRemAlMark = nullptr;

    // Handlers of the controls.
    void cmdCalcR_Click();
    void cmdClose_Click();
    void cmdAddMark(bool copper);
    void cmdRemMark(bool copper);

public slots:
    // Esc and the close box: unload and discard.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTypeTab(QWidget *page);
    void buildParametersTab(QWidget *page);
    void buildMarksTab(QWidget *page);
    void load();

    void onMaterialChanged();
    void onNetTypeChanged();
    void updateCommandButtons();
    void onSectionRowChanged(int row);
    void onSectionTextChanged();
    // The section field after it loses the focus: the listed selection.
    void syncSectionFieldToList();
    void selectSectionRow(int row);
    void reloadNeutralSections();
    void loadMarks();
    bool writeMarks();
    // Reports a missing or damaged data file once, until it reads again.
    void reportFileProblem(const QString &path, const QString &message);
    void clearFileProblem(const QString &path);
    bool checkTableUsable();

    frmMain &m_main;
    Permissible::PermissibleTable m_table;
    QSet<QString> m_reportedFiles;
    int m_changeRow = -1;
    bool m_unloaded = false;
    bool m_syncingSection = false;
    bool m_marksReadCu = false;
    bool m_marksReadAl = false;
    bool m_marksChangedCu = false;
    bool m_marksChangedAl = false;
};
