#pragma once

#include "app/Prompter.h"
#include "lighting/LightingCalc.h"

#include <QDialog>
#include <QPalette>

class AppContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDownControl;

// The lighting window: the number of luminaires a room needs for a required
// illuminance, and their plan. It keeps its last inputs in section "Light".
class frmLight : public QDialog
{
    Q_OBJECT
public:
    frmLight(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    ~frmLight() override;

    QGroupBox *fraRoom = nullptr;
    QLineEdit *txtLenght = nullptr;
    QLineEdit *txtWidth = nullptr;
    QLineEdit *txtH1 = nullptr;
    QLineEdit *txtH2 = nullptr;
    QLineEdit *txtKz = nullptr;

    QGroupBox *fraLamp = nullptr;
    QComboBox *cmbLampType = nullptr;
    QLineEdit *txtLampPower = nullptr;
    QLineEdit *txtNLamp = nullptr;
    UpDownControl *updNLamp = nullptr;

    QGroupBox *fraNorm = nullptr;
    QComboBox *cmbEn = nullptr;
    QLineEdit *txtEn = nullptr;

    QGroupBox *fraPlan = nullptr;
    QLabel *picGraph = nullptr;
    QLabel *lblN = nullptr;

    QPushButton *cmdCalc = nullptr;
    QPushButton *cmdClose = nullptr;

    // Efficacy of the selected lamp type, lm/W.
    int iEff = 0;

    // "&Расчет": the checks, the number of luminaires and the plan.
    void cmdCalcClick();
    // Writes the inputs to the settings file (done whenever the window unloads).
    void writeSettings();

    // The last calculation's plan (the picture is drawn from it).
    const Lighting::Plan &plan() const { return m_plan; }

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void loadLists();
    void readSettings();
    void cmbEnClick();
    void cmbLampTypeClick();
    void focusField(Lighting::Field field);
    QLineEdit *fieldOf(Lighting::Field field) const;
    void drawPlan(double count, double length, double width);
    void placePlan();

    AppContext &m_context;
    Prompter &m_prompter;
    QVector<Lighting::ListRecord> m_lampTypes;
    QVector<Lighting::ListRecord> m_norms;
    Lighting::Plan m_plan;
    QPalette m_enPalette;
    bool m_unloaded = false;
};
