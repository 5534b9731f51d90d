#include "ui/shortcircuit/SubstationDialog.h"

#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "calc/lines/LineCalc.h"
#include "calc/shortcircuit/Transformer.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QLineEdit *displayBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000,00")) + 12);
    return box;
}

QLabel *label(const QString &text, QWidget *parent, const QString &name = QString())
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

} // namespace

SubstationDialog::SubstationDialog(Project &project, const AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("SubstationDialog"));
    setWindowTitle(QStringLiteral("Выбор ТП"));
    setModal(true);
    buildLayout();

    // Opening: a project without a transformer is offered 400 kVA, but transformerPower
    // stays "0" until the user applies.
    const float power = Transformer::powerValue(m_project.transformerPower);
    selectTransformer(power != 0 ? power : 400.0f, true);

    supplyMaterialList->addItem(LineCalc::aluminium());
    supplyMaterialList->addItem(LineCalc::copper());
    supplyMaterialList->setCurrentIndex(0);

    bool supplyLine = m_project.supplyLineUsed != 0;
    if (!m_project.supplyLineMaterial.isEmpty()) {
        const int i = supplyMaterialList->findText(m_project.supplyLineMaterial);
        if (i >= 0)
            supplyMaterialList->setCurrentIndex(i);
        supplyLine = true;
    }
    if (!m_project.supplyLineLength.isEmpty()) {
        supplyLengthEdit->setText(m_project.supplyLineLength);
        supplyLine = true;
    }
    if (!m_project.supplyLineSection.isEmpty()) {
        supplySectionEdit->setText(m_project.supplyLineSection);
        supplyLine = true;
    }
    supplyLineCheck->setChecked(supplyLine);
    supplyKindList->setCurrentIndex(m_project.supplyLineOverhead != 0 ? 1 : 0);
    applyEnablingRule();
    groupList->setCurrentIndex(m_project.transformerGroup.trimmed().toUpper() == QLatin1String("D") ? 1 : 0);
    showImpedances();
    systemPowerEdit->setText(m_project.systemPower);
    const int voltage = supplyVoltageList->findText(m_project.supplyVoltage.trimmed());
    supplyVoltageList->setCurrentIndex(voltage >= 0 ? voltage : 0);

    // Change tracking: any edit may be applied.
    auto changed = [this] { applyButton->setEnabled(true); };
    connect(powerList, &QComboBox::currentIndexChanged, this, changed);
    connect(supplyMaterialList, &QComboBox::currentIndexChanged, this, changed);
    connect(supplyKindList, &QComboBox::currentIndexChanged, this, changed);
    connect(supplyLengthEdit, &QLineEdit::textEdited, this, changed);
    connect(supplySectionEdit, &QLineEdit::textEdited, this, changed);
    connect(groupList, &QComboBox::currentIndexChanged, this, changed);
    connect(systemPowerEdit, &QLineEdit::textEdited, this, changed);
    connect(supplyVoltageList, &QComboBox::currentIndexChanged, this, changed);
    connect(supplyLineCheck, &QCheckBox::clicked, this, [this] { applyEnablingRule(); });
    // The data follow the choice at once; the project takes them on apply.
    connect(powerList, &QComboBox::currentIndexChanged, this, [this] { showImpedances(); });
    connect(groupList, &QComboBox::currentIndexChanged, this, [this] { showImpedances(); });
    connect(applyButton, &QPushButton::clicked, this, &SubstationDialog::apply);
    connect(okButton, &QPushButton::clicked, this, &SubstationDialog::confirm);
}

void SubstationDialog::buildLayout()
{
    transformerFrame = new QGroupBox(QStringLiteral("Выбор трансформатора 10(6)/0,4 кВ"), this);
    transformerFrame->setObjectName(QStringLiteral("transformerFrame"));
    powerList = new QComboBox(transformerFrame);
    powerList->setObjectName(QStringLiteral("powerList"));
    powerList->setMinimumWidth(powerList->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 40);
    groupList = new QComboBox(transformerFrame);
    groupList->setObjectName(QStringLiteral("groupList"));
    groupList->addItem(QStringLiteral("Y/Yн-0"), QStringLiteral("Y"));
    groupList->addItem(QStringLiteral("Д/Yн-11"), QStringLiteral("D"));
    auto *powerRow = new QGridLayout(transformerFrame);
    powerRow->addWidget(label(QStringLiteral("Мощность трансформатора "), transformerFrame), 0, 0);
    powerRow->addWidget(powerList, 0, 1);
    powerRow->addWidget(label(QStringLiteral("кВА"), transformerFrame), 0, 2);
    powerRow->addWidget(label(QStringLiteral("Схема соединения обмоток"), transformerFrame), 1, 0);
    powerRow->addWidget(groupList, 1, 1, 1, 2);
    powerRow->setColumnStretch(0, 1);

    impedanceFrame = new QGroupBox(QStringLiteral("Данные ТП"), this);
    impedanceFrame->setObjectName(QStringLiteral("impedanceFrame"));
    resistanceEdit = displayBox(impedanceFrame, QStringLiteral("resistanceEdit"));
    reactanceEdit = displayBox(impedanceFrame, QStringLiteral("reactanceEdit"));
    faultImpedanceEdit = displayBox(impedanceFrame, QStringLiteral("faultImpedanceEdit"));
    auto *tpGrid = new QGridLayout(impedanceFrame);
    const QString captions[] = {QStringLiteral("Активное сопротивление"), QStringLiteral("Индуктивное сопротивление"),
                                QStringLiteral("Полное сопротивление однофазному КЗ")};
    QLineEdit *boxes[] = {resistanceEdit, reactanceEdit, faultImpedanceEdit};
    for (int r = 0; r < 3; ++r) {
        tpGrid->addWidget(label(captions[r], impedanceFrame), r, 0);
        tpGrid->addWidget(boxes[r], r, 1);
        tpGrid->addWidget(label(QStringLiteral("мОм"), impedanceFrame), r, 2);
    }
    tpGrid->setColumnStretch(0, 1);

    supplyLineCheck = new QCheckBox(QStringLiteral("Учитывать высокую сторну"), this);
    supplyLineCheck->setObjectName(QStringLiteral("supplyLineCheck"));

    supplyLineFrame = new QGroupBox(QStringLiteral("Данные питающий линии"), this);
    supplyLineFrame->setObjectName(QStringLiteral("supplyLineFrame"));
    supplyLengthLabel = label(QStringLiteral("Длина   "), supplyLineFrame, QStringLiteral("supplyLengthLabel"));
    kilometreLabel = label(QStringLiteral("км"), supplyLineFrame, QStringLiteral("kilometreLabel"));
    supplySectionLabel = label(QStringLiteral("Сечение"), supplyLineFrame, QStringLiteral("supplySectionLabel"));
    supplyMaterialLabel = label(QStringLiteral("Материал"), supplyLineFrame, QStringLiteral("supplyMaterialLabel"));
    supplyLengthEdit = new QLineEdit(supplyLineFrame);
    supplyLengthEdit->setObjectName(QStringLiteral("supplyLengthEdit"));
    supplySectionEdit = new QLineEdit(supplyLineFrame);
    supplySectionEdit->setObjectName(QStringLiteral("supplySectionEdit"));
    supplyMaterialList = new QComboBox(supplyLineFrame);
    supplyMaterialList->setObjectName(QStringLiteral("supplyMaterialList"));
    supplyKindList = new QComboBox(supplyLineFrame);
    supplyKindList->setObjectName(QStringLiteral("supplyKindList"));
    supplyKindList->addItems({QStringLiteral("кабельная"), QStringLiteral("воздушная")});
    supplyKindList->setToolTip(QStringLiteral("Индуктивное сопротивление в расчете по ГОСТ 28249-93: "
                                              "0,08 Ом/км кабельной линии, 0,35 Ом/км воздушной"));
    const int fieldWidth = resistanceEdit->width();
    supplyLengthEdit->setFixedWidth(fieldWidth);
    supplySectionEdit->setFixedWidth(fieldWidth);
    auto *hsGrid = new QGridLayout(supplyLineFrame);
    hsGrid->addWidget(supplyLengthLabel, 0, 0);
    hsGrid->addWidget(supplyLengthEdit, 0, 1);
    hsGrid->addWidget(kilometreLabel, 0, 2);
    hsGrid->addWidget(supplySectionLabel, 1, 0);
    hsGrid->addWidget(supplySectionEdit, 1, 1);
    hsGrid->addWidget(supplyMaterialLabel, 2, 0);
    hsGrid->addWidget(supplyMaterialList, 2, 1, 1, 2);
    hsGrid->addWidget(label(QStringLiteral("Линия"), supplyLineFrame), 3, 0);
    hsGrid->addWidget(supplyKindList, 3, 1, 1, 2);
    hsGrid->setColumnStretch(3, 1);

    // What the method of ГОСТ 28249-93 needs of the 6(10) kV side.
    systemFrame = new QGroupBox(QStringLiteral("Сеть 6(10) кВ"), this);
    systemFrame->setObjectName(QStringLiteral("systemFrame"));
    systemPowerEdit = new QLineEdit(systemFrame);
    systemPowerEdit->setObjectName(QStringLiteral("systemPowerEdit"));
    systemPowerEdit->setFixedWidth(fieldWidth);
    systemPowerEdit->setToolTip(QStringLiteral("0 — система бесконечной мощности"));
    supplyVoltageList = new QComboBox(systemFrame);
    supplyVoltageList->setObjectName(QStringLiteral("supplyVoltageList"));
    supplyVoltageList->addItems({QStringLiteral("10"), QStringLiteral("6")});
    auto *systemGrid = new QGridLayout(systemFrame);
    systemGrid->addWidget(label(QStringLiteral("Мощность КЗ системы Sк"), systemFrame), 0, 0);
    systemGrid->addWidget(systemPowerEdit, 0, 1);
    systemGrid->addWidget(label(QStringLiteral("МВА"), systemFrame), 0, 2);
    systemGrid->addWidget(label(QStringLiteral("Напряжение питающей линии"), systemFrame), 1, 0);
    systemGrid->addWidget(supplyVoltageList, 1, 1);
    systemGrid->addWidget(label(QStringLiteral("кВ"), systemFrame), 1, 2);
    systemGrid->setColumnStretch(0, 1);

    applyButton = new QPushButton(QStringLiteral("&Применить"), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    applyButton->setAutoDefault(false);
    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(applyButton);
    buttons->addWidget(okButton);

    auto *main = new QVBoxLayout(this);
    main->addWidget(transformerFrame);
    main->addWidget(impedanceFrame);
    main->addWidget(supplyLineCheck);
    main->addWidget(supplyLineFrame);
    main->addWidget(systemFrame);
    main->addStretch(1);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void SubstationDialog::selectTransformer(float power, bool reportFileProblem)
{
    m_table = Transformer::readTransformerTable(m_context.appDir());
    if (reportFileProblem)
        Transformer::reportTableProblem(m_table, m_prompter);
    const QSignalBlocker block(powerList);
    powerList->clear();
    powerList->addItems(m_table.powerTexts());
    powerList->setCurrentIndex(Transformer::selectTransformer(m_table, power, m_project));
}

void SubstationDialog::showImpedances()
{
    TransformerRecord shown{0, m_project.Rt, m_project.Xt, m_project.Zt};
    if (powerList->currentIndex() >= 0)
        if (const auto r = Transformer::recordOf(m_table, float(NumberText::toDouble(powerList->currentText()))))
            shown = *r;
    resistanceEdit->setText(NumberText::format(shown.Rt));
    reactanceEdit->setText(NumberText::format(shown.Xt));
    faultImpedanceEdit->setText(NumberText::formatRounded(
        Transformer::faultImpedance(shown.Rt, shown.Xt, shown.Zt, groupList->currentData().toString()),
        m_context.calc.places()));
}

void SubstationDialog::applyEnablingRule()
{
    const bool on = supplyLineCheck->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{supplyLineFrame, supplyLengthLabel, kilometreLabel, supplySectionLabel, supplyMaterialLabel, supplyMaterialList,
                                                       supplySectionEdit, supplyLengthEdit, supplyKindList})
        w->setEnabled(on);
    // Switched-off fields take the button face, as the frame around them.
    const QColor background = on ? QApplication::palette().color(QPalette::Base)
                                 : QApplication::palette().color(QPalette::Button);
    for (QWidget *w : std::initializer_list<QWidget *>{supplyMaterialList, supplySectionEdit, supplyLengthEdit}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, background);
        w->setPalette(p);
    }
    applyButton->setEnabled(true);
}

void SubstationDialog::apply()
{
    const bool on = supplyLineCheck->isChecked();
    m_project.Rnet = on ? Transformer::supplyLineResistance(supplyLengthEdit->text(), supplyMaterialList->currentText(), supplySectionEdit->text(),
                                                m_context.calc)
                        : 0.0;
    // Without a selected power (the stored one is not in the file) the
    // project keeps the power it has.
    float power = Transformer::powerValue(m_project.transformerPower);
    if (powerList->currentIndex() >= 0) {
        m_project.transformerPower = powerList->currentText().trimmed();
        power = float(NumberText::toDouble(m_project.transformerPower));
    }
    selectTransformer(power, false);
    showImpedances();
    m_project.supplyLineUsed = on ? 1 : 0;
    m_project.supplyLineOverhead = on && supplyKindList->currentIndex() == 1 ? 1 : 0;
    if (on) {
        m_project.supplyLineMaterial = supplyMaterialList->currentText();
        m_project.supplyLineLength = supplyLengthEdit->text();
        m_project.supplyLineSection = supplySectionEdit->text();
    } else {
        m_project.supplyLineMaterial.clear();
        m_project.supplyLineLength.clear();
        m_project.supplyLineSection.clear();
    }
    m_project.transformerGroup = groupList->currentData().toString();
    m_project.systemPower = systemPowerEdit->text().trimmed().isEmpty() ? QStringLiteral("0") : systemPowerEdit->text();
    m_project.supplyVoltage = supplyVoltageList->currentText();
    applyButton->setEnabled(false);
}

bool SubstationDialog::supplyLineAccepted()
{
    // The system's power may be 0 (an infinite system) or empty, which is the same.
    const QString sk = systemPowerEdit->text();
    const auto value = NumberText::parse(sk);
    if (!sk.trimmed().isEmpty() && (!value || !(*value >= 0) || *value > 1e6)) {
        m_prompter.message(systemPowerMessage(), InputCheck::title(), Prompter::Icon::Exclamation);
        systemPowerEdit->setFocus(Qt::OtherFocusReason);
        systemPowerEdit->selectAll();
        return false;
    }
    if (!supplyLineCheck->isChecked())
        return true;
    return checkNumericEntry(supplySectionEdit, m_prompter) && checkNumericEntry(supplyLengthEdit, m_prompter);
}

QString SubstationDialog::systemPowerMessage()
{
    return QStringLiteral("Мощность короткого замыкания системы должна быть числом от 0 до 1000000 МВА "
                          "(0 — система бесконечной мощности)!");
}

void SubstationDialog::confirm()
{
    if (!supplyLineAccepted())
        return;
    apply();
    // accept() does not pass through reject(), so nothing is applied twice.
    accept();
}

void SubstationDialog::reject()
{
    if (!supplyLineAccepted())
        return;
    apply();
    QDialog::reject();
}

void SubstationDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        QDialog::reject();
        return;
    }
    QDialog::keyPressEvent(event);
}
