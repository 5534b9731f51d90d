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
        deviceCharacteristicList->addItem(Protection::characteristicText(characteristic), characteristic);
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
        // The device a line keeps stays on offer though the table lacks it.
        if (!chosen.isEmpty() && chosen == m_storedCharacteristic && !m_storedRating.isEmpty()
            && deviceRatingList->findText(m_storedRating) < 0)
            deviceRatingList->addItem(m_storedRating);
        const int again = deviceRatingList->findText(kept);
        deviceRatingList->setCurrentIndex(again >= 0 ? again : (deviceRatingList->count() > 0 ? 0 : -1));
    }
    deviceRatingList->setEnabled(!chosen.isEmpty());
    describeDevice();
}

void LineProtectionTab::describeDevice()
{
    const QString rating = deviceRatingList->currentText();
    const auto value = NumberText::parse(rating);
    const auto device = value ? m_breakers.find(characteristic(), *value) : std::nullopt;
    if (!device) {
        if (deviceCharacteristicList->currentIndex() <= 0)
            deviceLabel->setText(QStringLiteral("Аппарат не задан: проверки защиты для линии не выполняются."));
        else if (m_breakers.status() == Protection::BreakerTable::Status::Ok && !rating.isEmpty())
            deviceLabel->setText(QStringLiteral("Аппарата ") + designationText(characteristic(), rating)
                                 + QStringLiteral(" нет в файле защитных аппаратов: он сохранится в проекте как есть, "
                                                  "проверки защиты для линии не выполняются."));
        else
            deviceLabel->clear();
        return;
    }
    // An industrial release is judged at its setting plus the tolerance.
    deviceLabel->setText(device->type + QLatin1Char(' ') + device->designation() + QStringLiteral(": мгновенное срабатывание при ")
                         + device->tripCurrentText(15) + QStringLiteral(", отключающая способность Icu = ")
                         + NumberText::format(device->breakingCapacity) + QStringLiteral(" кА."));
}

QString LineProtectionTab::designationText(const QString &characteristic, const QString &rating)
{
    return characteristic.size() == 1 ? characteristic + rating : rating + QStringLiteral("А ") + characteristic;
}

void LineProtectionTab::selectDevice(const QString &characteristic, const QString &rating)
{
    const QString wanted = characteristic.trimmed();
    m_storedCharacteristic = wanted;
    m_storedRating = wanted.isEmpty() ? QString() : rating.trimmed();
    int index = deviceCharacteristicList->findData(wanted);
    // A characteristic the table lacks (a project from a machine with
    // another table) is offered as it was kept.
    if (index < 0 && !wanted.isEmpty()) {
        deviceCharacteristicList->addItem(wanted, wanted);
        index = deviceCharacteristicList->count() - 1;
    }
    {
        const QSignalBlocker block(deviceCharacteristicList);
        deviceCharacteristicList->setCurrentIndex(index >= 0 ? index : 0);
    }
    fillDeviceRatings();
    const int ratingIndex = deviceRatingList->findText(m_storedRating);
    if (ratingIndex >= 0)
        deviceRatingList->setCurrentIndex(ratingIndex);
}
