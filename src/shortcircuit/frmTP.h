#pragma once

#include "app/AppContext.h"
#include "app/Project.h"
#include "app/Prompter.h"

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
class frmTP : public QDialog
{
    Q_OBJECT
public:
    frmTP(Project &project, const AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    QGroupBox *fraTransformer = nullptr;
    QComboBox *cmbStran = nullptr;
    QGroupBox *fraTP = nullptr;
    QLineEdit *txtRt = nullptr;
    QLineEdit *txtXt = nullptr;
    QLineEdit *txtZt = nullptr;
    QCheckBox *chkHSide = nullptr;
    QGroupBox *fraHS = nullptr;
    QLabel *lblLength = nullptr;
    QLabel *lblKm = nullptr;
    QLabel *lblSection = nullptr;
    QLabel *lblMaterial = nullptr;
    QLineEdit *txtLenghtHS = nullptr;
    QLineEdit *txtSectHS = nullptr;
    QComboBox *cmbMaterialHS = nullptr;
    QPushButton *cmdApp = nullptr;
    QPushButton *cmdOk = nullptr;

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
    // Refills cmbStran from the data file and looks the power up.
    void SelectTransformer(float power, bool reportFileProblem);
    void showImpedances();
    void applyEnablingRule();
    // The checks of OK and of the close box, section first.
    bool supplyLineAccepted();

    Project &m_project;
    const AppContext &m_context;
    Prompter &m_prompter;
};
