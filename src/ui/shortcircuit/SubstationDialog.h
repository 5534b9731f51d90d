#pragma once

#include "base/AppContext.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/shortcircuit/Transformer.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Выбор ТП": the transformer of the substation and the high-voltage supply
// line. Edits reach the project only on apply (also done by OK and by the
// close box); Esc closes without applying.
class SubstationDialog : public QDialog
{
    Q_OBJECT
public:
    SubstationDialog(Project &project, const AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    QGroupBox *transformerFrame = nullptr;
    QComboBox *powerList = nullptr;
    QGroupBox *impedanceFrame = nullptr;
    QLineEdit *resistanceEdit = nullptr;
    QLineEdit *reactanceEdit = nullptr;
    QLineEdit *faultImpedanceEdit = nullptr;
    QCheckBox *supplyLineCheck = nullptr;
    QGroupBox *supplyLineFrame = nullptr;
    QLabel *supplyLengthLabel = nullptr;
    QLabel *kilometreLabel = nullptr;
    QLabel *supplySectionLabel = nullptr;
    QLabel *supplyMaterialLabel = nullptr;
    QLineEdit *supplyLengthEdit = nullptr;
    QLineEdit *supplySectionEdit = nullptr;
    QComboBox *supplyMaterialList = nullptr;
    QComboBox *supplyKindList = nullptr; // "кабельная", "воздушная"
    QComboBox *groupList = nullptr; // vector group: data "Y" or "D"
    QGroupBox *systemFrame = nullptr;
    QLineEdit *systemPowerEdit = nullptr;
    QComboBox *supplyVoltageList = nullptr;

    static QString systemPowerMessage();
    QPushButton *applyButton = nullptr;
    QPushButton *okButton = nullptr;

    // "&Применить": writes the dialog's state into the project; no checks.
    void apply();
    // "&OK": checks the supply line when it counts, applies and closes.
    void confirm();

    // The close box and every close other than Esc and OK.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    // Refills powerList from the data file and looks the power up.
    void selectTransformer(float power, bool reportFileProblem);
    // The data of the power and vector group chosen in the lists (the
    // project's where the list has no power chosen).
    void showImpedances();
    void applyEnablingRule();
    // The checks of OK and of the close box, section first.
    bool supplyLineAccepted();

    Project &m_project;
    const AppContext &m_context;
    Prompter &m_prompter;
    TransformerTable m_table;
};
