#include "ui/lines/LineProtectionTab.h"

#include "base/NumberText.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

LineProtectionTab::LineProtectionTab(QWidget *parent) : QWidget(parent)
{
    auto *pageLayout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("Защитный аппарат в начале линии"), this);
    frame->setObjectName(QStringLiteral("deviceFrame"));
    deviceCharacteristicList = new QComboBox(frame);
    deviceCharacteristicList->setObjectName(QStringLiteral("deviceCharacteristicList"));
    deviceRatingList = new QComboBox(frame);
    deviceRatingList->setObjectName(QStringLiteral("deviceRatingList"));
    chooseDeviceButton = namedButton(QStringLiteral("По&добрать"), QStringLiteral("chooseDeviceButton"), frame);
    tripTimeEdit = new QLineEdit(frame);
    tripTimeEdit->setObjectName(QStringLiteral("tripTimeEdit"));
    tripTimeEdit->setMaxLength(9);
    tripTimeEdit->setPlaceholderText(QStringLiteral("авто"));
    deviceLabel = new QLabel(frame);
    deviceLabel->setObjectName(QStringLiteral("deviceLabel"));
    deviceLabel->setWordWrap(true);
    auto *grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Характеристика"), frame), 0, 0);
    grid->addWidget(deviceCharacteristicList, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Номинальный ток Iн"), frame), 1, 0);
    grid->addWidget(deviceRatingList, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("А"), frame), 1, 2);
    grid->addWidget(chooseDeviceButton, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Время отключения"), frame), 3, 0);
    grid->addWidget(tripTimeEdit, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("с"), frame), 3, 2);
    grid->addWidget(deviceLabel, 4, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    greyWhenDisabled(deviceRatingList);
    pageLayout->addWidget(frame);
    pageLayout->addStretch(1);

    connect(deviceCharacteristicList, &QComboBox::currentIndexChanged, this, [this] { fillDeviceRatings(); });
    connect(deviceRatingList, &QComboBox::currentIndexChanged, this, [this] { describeDevice(); });
}

void LineProtectionTab::setBreakers(const Protection::BreakerTable &breakers)
{
    m_breakers = breakers;
    const QSignalBlocker block(deviceCharacteristicList);
    deviceCharacteristicList->clear();
    deviceCharacteristicList->addItem(QStringLiteral("нет"), QString());
    for (const QString &characteristic : m_breakers.characteristics())
        deviceCharacteristicList->addItem(characteristic, characteristic);
    deviceCharacteristicList->setCurrentIndex(0);
    fillDeviceRatings();
}

QString LineProtectionTab::characteristic() const
{
    return deviceCharacteristicList->currentData().toString();
}

void LineProtectionTab::fillDeviceRatings()
{
    const QString chosen = characteristic();
    {
        const QSignalBlocker block(deviceRatingList);
        const QString kept = deviceRatingList->currentText();
        deviceRatingList->clear();
        for (const Protection::Breaker &b : m_breakers.ofCharacteristic(chosen))
            deviceRatingList->addItem(NumberText::format(b.rated));
        const int again = deviceRatingList->findText(kept);
        deviceRatingList->setCurrentIndex(again >= 0 ? again : (deviceRatingList->count() > 0 ? 0 : -1));
    }
    deviceRatingList->setEnabled(!chosen.isEmpty());
    describeDevice();
}

void LineProtectionTab::describeDevice()
{
    const auto device = m_breakers.find(characteristic(), NumberText::toDouble(deviceRatingList->currentText()));
    if (!device) {
        deviceLabel->setText(deviceCharacteristicList->currentIndex() > 0 ? QString()
                                                                          : QStringLiteral("Аппарат не задан: проверки "
                                                                                           "защиты для линии не выполняются."));
        return;
    }
    // An industrial release is judged at its setting plus the tolerance.
    deviceLabel->setText(device->type + QLatin1Char(' ') + device->designation() + QStringLiteral(": мгновенное срабатывание при ")
                         + device->tripCurrentText(15) + QStringLiteral(", отключающая способность Icu = ")
                         + NumberText::format(device->breakingCapacity) + QStringLiteral(" кА."));
}

void LineProtectionTab::selectDevice(const QString &characteristic, const QString &rating)
{
    const int index = deviceCharacteristicList->findData(characteristic);
    deviceCharacteristicList->setCurrentIndex(index >= 0 ? index : 0);
    const int ratingIndex = deviceRatingList->findText(rating);
    if (ratingIndex >= 0)
        deviceRatingList->setCurrentIndex(ratingIndex);
}
