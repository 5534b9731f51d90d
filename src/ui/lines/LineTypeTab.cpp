#include "ui/lines/LineTypeTab.h"

#include "base/NumberText.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

LineTypeTab::LineTypeTab(QWidget *parent) : QWidget(parent)
{
    auto *pageLayout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("Тип линии"), this);
    auto *grid = new QGridLayout(frame);
    grid->setColumnMinimumWidth(0, 18);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    networkOptions[0] = new QRadioButton(QStringLiteral("Однофазная цепь (220В)"), frame);
    networkOptions[0]->setObjectName(QStringLiteral("networkOption0"));
    networkOptions[1] = new QRadioButton(QStringLiteral("Трехфазная цепь (380В)"), frame);
    networkOptions[1]->setObjectName(QStringLiteral("networkOption1"));

    auto *heading1 = new QLabel(QStringLiteral("Провод или шнур с резиновой и поливинилхлоридной изоляцией"), frame);
    heading1->setWordWrap(true);
    auto *laying1 = new QLabel(QStringLiteral("при прокладке"), frame);
    singlePhaseTypeList = new QComboBox(frame);
    singlePhaseTypeList->setObjectName(QStringLiteral("singlePhaseTypeList"));

    auto *heading2 = new QLabel(QStringLiteral("Кабель с резиновой или пластмассовой изоляцией в металлических "
                                               "защитных оболочках, бронированный и небронированный"),
                                frame);
    heading2->setWordWrap(true);
    coreCountList = new QComboBox(frame);
    coreCountList->setObjectName(QStringLiteral("coreCountList"));
    layingList = new QComboBox(frame);
    layingList->setObjectName(QStringLiteral("layingList"));

    grid->addWidget(networkOptions[0], 0, 0, 1, 3);
    grid->addWidget(heading1, 1, 1, 1, 2);
    grid->addWidget(laying1, 2, 1);
    grid->addWidget(singlePhaseTypeList, 2, 2);
    grid->setRowMinimumHeight(3, 12);
    grid->addWidget(networkOptions[1], 4, 0, 1, 3);
    grid->addWidget(heading2, 5, 1, 1, 2);
    grid->addWidget(coreCountList, 6, 1);
    grid->addWidget(layingList, 6, 2);
    grid->setRowStretch(7, 1);

    for (QWidget *w : {static_cast<QWidget *>(singlePhaseTypeList), static_cast<QWidget *>(coreCountList),
                       static_cast<QWidget *>(layingList)})
        greyWhenDisabled(w);
    pageLayout->addWidget(frame);

    // What the tables' currents are corrected for (ПУЭ 1.3.10-1.3.13).
    auto *conditions = new QGroupBox(QStringLiteral("Условия прокладки"), this);
    conditions->setObjectName(QStringLiteral("conditionsFrame"));
    auto *c = new QGridLayout(conditions);
    ambientEdit = new QLineEdit(conditions);
    ambientEdit->setObjectName(QStringLiteral("ambientEdit"));
    ambientEdit->setMaxLength(9);
    ambientEdit->setMaximumWidth(80);
    cablesSpin = new QSpinBox(conditions);
    cablesSpin->setObjectName(QStringLiteral("cablesSpin"));
    cablesSpin->setRange(1, 6);
    spacingList = new QComboBox(conditions);
    spacingList->setObjectName(QStringLiteral("spacingList"));
    spacingList->addItems({QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300")});
    c->addWidget(new QLabel(QStringLiteral("Температура среды"), conditions), 0, 0);
    c->addWidget(ambientEdit, 0, 1);
    c->addWidget(new QLabel(QStringLiteral("°C"), conditions), 0, 2);
    c->addWidget(new QLabel(QStringLiteral("Кабелей в траншее"), conditions), 1, 0);
    c->addWidget(cablesSpin, 1, 1);
    c->addWidget(new QLabel(QStringLiteral("Расстояние в свету"), conditions), 2, 0);
    c->addWidget(spacingList, 2, 1);
    c->addWidget(new QLabel(QStringLiteral("мм"), conditions), 2, 2);
    c->setColumnStretch(3, 1);
    greyWhenDisabled(cablesSpin);
    greyWhenDisabled(spacingList);
    pageLayout->addWidget(conditions);

    for (QRadioButton *option : networkOptions)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                emit networkChanged();
        });
    for (QComboBox *list : {singlePhaseTypeList, coreCountList, layingList})
        connect(list, &QComboBox::currentIndexChanged, this, &LineTypeTab::constructionChanged);
    connect(ambientEdit, &QLineEdit::textChanged, this, &LineTypeTab::conditionsChanged);
    connect(cablesSpin, &QSpinBox::valueChanged, this, &LineTypeTab::conditionsChanged);
    connect(spacingList, &QComboBox::currentIndexChanged, this, &LineTypeTab::conditionsChanged);
}

bool LineTypeTab::isSinglePhase() const
{
    return networkOptions[0]->isChecked();
}

void LineTypeTab::enableNetworkLists()
{
    const bool single = isSinglePhase();
    singlePhaseTypeList->setEnabled(single);
    coreCountList->setEnabled(!single);
    layingList->setEnabled(!single);
}

void LineTypeTab::enableConditionsFor(const Permissible::Choice &choice)
{
    const bool ground = Permissible::laidInGround(choice);
    cablesSpin->setEnabled(ground);
    spacingList->setEnabled(ground);
    ambientEdit->setPlaceholderText(NumberText::format(Permissible::tableAmbient(choice)));
}

void LineTypeTab::setConditions(const QString &ambient, int cables, int spacing)
{
    ambientEdit->setText(ambient);
    cablesSpin->setValue(cables);
    const int spacingIndex = spacingList->findText(QString::number(spacing));
    spacingList->setCurrentIndex(spacingIndex >= 0 ? spacingIndex : 0);
}
