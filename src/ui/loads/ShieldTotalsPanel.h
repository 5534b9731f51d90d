#pragma once

#include <QWidget>

class QLineEdit;
namespace LoadCalc {
struct ShieldTotals;
}

// The totals of a shield beside its loads: "Нагрузка на фазы" (power and
// current of each phase, the neutral current and the imbalance, highlighted
// above its limit) and "Общее".
class ShieldTotalsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ShieldTotalsPanel(QWidget *parent = nullptr);

    QLineEdit *installedPowerEdit = nullptr; // beside "Мощность установленная"
    QLineEdit *designPowerEdit = nullptr; // beside "Мощность расчетная"
    QLineEdit *apparentPowerEdit = nullptr;
    QLineEdit *currentEdit = nullptr;
    QLineEdit *powerFactorEdit = nullptr;
    QLineEdit *phaseAPowerEdit = nullptr;
    QLineEdit *phaseACurrentEdit = nullptr;
    QLineEdit *phaseBPowerEdit = nullptr;
    QLineEdit *phaseBCurrentEdit = nullptr;
    QLineEdit *phaseCPowerEdit = nullptr;
    QLineEdit *phaseCCurrentEdit = nullptr;
    QLineEdit *neutralCurrentEdit = nullptr;
    QLineEdit *imbalanceEdit = nullptr;

    void showTotals(const LoadCalc::ShieldTotals &totals);
};
