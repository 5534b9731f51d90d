#pragma once

#include "calc/lighting/RoomLoads.h"
#include "calc/loads/LoadCalc.h"

#include <QDialog>

class AppContext;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Передать в щит": the shield that gets the room's luminaires, the lighting
// entry of the demand-factor list (its Kс and the cos φ of the same name),
// and how the luminaires are spread over the phases.
class TransferDialog : public QDialog
{
    Q_OBJECT
public:
    TransferDialog(const Project &project, const LightingRoom &room, int count, double luminairePower,
                   const AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    QComboBox *shieldList = nullptr;
    QComboBox *entryList = nullptr;
    QLineEdit *powerFactorEdit = nullptr;
    QLineEdit *demandFactorEdit = nullptr;
    QComboBox *spreadList = nullptr;
    QLabel *summaryLabel = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

    RoomLoads::Transfer transfer() const;
    // "OK": the coefficients pass the load dialog's checks.
    void confirm();

    // The entries of a demand-factor list that speak of lighting; all of
    // them when none does.
    static QVector<LoadCalc::NamedCoefficient> lightingEntries(const QVector<LoadCalc::NamedCoefficient> &demand);

private:
    void chooseEntry();

    const LightingRoom &m_room;
    int m_count;
    double m_power;
    Prompter &m_prompter;
    QVector<LoadCalc::NamedCoefficient> m_demand;
    QVector<LoadCalc::NamedCoefficient> m_powerFactors;
};
