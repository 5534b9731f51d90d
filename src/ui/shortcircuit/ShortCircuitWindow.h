#pragma once

#include "base/AppContext.h"
#include "base/Project.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Расчет токов короткого замыкания": the currents of a fault at the end of
// the checked path. It reads the project afresh on every calculation and
// keeps nothing of its own beyond its controls.
class ShortCircuitWindow : public QDialog
{
    Q_OBJECT
public:
    ShortCircuitWindow(const Project &project, const CalcValues &calc, QWidget *parent = nullptr);

    QLineEdit *transformerPowerEdit = nullptr;
    // The stage count: the text box stageSpin and its up-down stageSpin in one control.
    QSpinBox *stageSpin = nullptr;
    QLineEdit *currentEdits[4] = {};
    QLabel *unitLabels[4] = {};
    // What keeps the currents from being computed; hidden when nothing does.
    QLabel *problemLabel = nullptr;
    QPushButton *calculateButton = nullptr;
    QPushButton *closeButton = nullptr;

    // "&Вычислить"
    void calculate();

private:
    void buildLayout();

    const Project &m_project;
    const CalcValues &m_calc;
};
