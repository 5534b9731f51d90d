#pragma once

#include "base/Prompter.h"
#include "calc/lighting/LightingCalc.h"

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
class LightingWindow : public QDialog
{
    Q_OBJECT
public:
    LightingWindow(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    ~LightingWindow() override;

    QGroupBox *roomFrame = nullptr;
    QLineEdit *lengthEdit = nullptr;
    QLineEdit *widthEdit = nullptr;
    QLineEdit *heightEdit = nullptr;
    QLineEdit *workingPlaneEdit = nullptr;
    QLineEdit *safetyFactorEdit = nullptr;

    QGroupBox *luminaireFrame = nullptr;
    QComboBox *lampTypeList = nullptr;
    QLineEdit *lampPowerEdit = nullptr;
    QLineEdit *lampCountEdit = nullptr;
    UpDownControl *lampCountUpDown = nullptr;

    QGroupBox *normFrame = nullptr;
    QComboBox *normList = nullptr;
    QLineEdit *illuminanceEdit = nullptr;

    QGroupBox *planFrame = nullptr;
    QLabel *planPicture = nullptr;
    QLabel *countLabel = nullptr;

    QPushButton *calculateButton = nullptr;
    QPushButton *closeButton = nullptr;

    // Efficacy of the selected lamp type, lm/W.
    int selectedLampEfficacy = 0;

    // "&Расчет": the checks, the number of luminaires and the plan.
    void calculate();
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
    void onNormChosen();
    void onLampTypeChosen();
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
