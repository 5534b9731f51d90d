#pragma once

#include "calc/protection/Protection.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The tab "Защита" of the cable line dialog: the protective device at the
// start of the line, chosen from the device table, and its disconnection time.
class LineProtectionTab : public QWidget
{
    Q_OBJECT
public:
    explicit LineProtectionTab(QWidget *parent = nullptr);

    QComboBox *deviceCharacteristicList = nullptr; // data: the characteristic, empty for "нет"
    QComboBox *deviceRatingList = nullptr;
    QPushButton *chooseDeviceButton = nullptr;
    QLineEdit *tripTimeEdit = nullptr;
    QLabel *deviceLabel = nullptr;

    // The device table behind the lists; "нет" chosen.
    void setBreakers(const Protection::BreakerTable &breakers);
    const Protection::BreakerTable &breakers() const { return m_breakers; }
    // The characteristic chosen; empty for "нет".
    QString characteristic() const;
    // Chooses the device a line keeps. One the table lacks is offered as
    // kept, said to be missing from the file, so that it is saved unchanged
    // unless another is picked; an empty characteristic is "нет".
    void selectDevice(const QString &characteristic, const QString &rating);

private:
    void fillDeviceRatings();
    void describeDevice();
    static QString designationText(const QString &characteristic, const QString &rating);

    Protection::BreakerTable m_breakers;
    QString m_storedCharacteristic;
    QString m_storedRating;
};
