#pragma once

#include "app/AppContext.h"
#include "app/Project.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Расчет токов короткого замыкания": the currents of a fault at the end of
// the checked path. It reads the project afresh on every calculation and
// keeps nothing of its own beyond its controls.
class frmKZ : public QDialog
{
    Q_OBJECT
public:
    frmKZ(const Project &project, const CalcValues &calc, QWidget *parent = nullptr);

    QLineEdit *txtSTP = nullptr;
    // The stage count: the text box txtNs and its up-down updNs in one control.
    QSpinBox *updNs = nullptr;
    QLineEdit *txtIk[4] = {};
    QLabel *lblIk[4] = {};
    QPushButton *cmdKZ = nullptr;
    QPushButton *cmdClose = nullptr;

    // "&Вычислить"
    void calculate();

private:
    void buildLayout();

    const Project &m_project;
    const CalcValues &m_calc;
};
