#include "lines/CableLineDialog.h"

#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "lines/LineEntry.h"
#include "lines/LineListModel.h"
#include "lines/MarkList.h"
#include "widgets/Icons.h"
#include "widgets/WidgetHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

const char *const kAddCaption = "Добавить кабельную линию";
const char *const kChangeCaption = "Изменить кабельную линию";

// A disabled list or field shows the button face, an enabled one the window background.
void greyWhenDisabled(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    w->setPalette(p);
}

int selectedRow(const QListWidget *list)
{
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return -1;
    return row;
}

// A selection made by the program, without the list's own signals.
void setRow(QListWidget *list, int row)
{
    const QSignalBlocker block(list);
    list->setCurrentRow(row);
}

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter in a field must not confirm a line.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

CableLineDialog::CableLineDialog(LineListModel &lines, const Project &project, const AppContext &context,
                                 Prompter &prompter, bool changeFlag, QWidget *parent)
    : QDialog(parent), m_lines(lines), m_project(project), m_context(context), m_prompter(prompter)
{
    setObjectName(QStringLiteral("CableLineDialog"));
    setWindowTitle(QString::fromUtf8(changeFlag ? kChangeCaption : kAddCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    changeMode = changeFlag;

    auto *layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    auto *typePage = new QWidget;
    auto *paramPage = new QWidget;
    auto *markPage = new QWidget;
    auto *protectionPage = new QWidget;
    buildTypeTab(typePage);
    buildParametersTab(paramPage);
    buildMarksTab(markPage);
    buildProtectionTab(protectionPage);
    tabs->addTab(typePage, QStringLiteral("Тип линии"));
    tabs->addTab(paramPage, QStringLiteral("Параметры линии"));
    tabs->addTab(markPage, QStringLiteral("Марка"));
    tabs->addTab(protectionPage, QStringLiteral("Защита"));
    layout->addWidget(tabs);

    inputsNote = new QLabel(QStringLiteral("Конструкция и прокладка этой линии не были сохранены в проекте: проверьте их."),
                            this);
    inputsNote->setObjectName(QStringLiteral("inputsNote"));
    inputsNote->setWordWrap(true);
    {
        QPalette p = inputsNote->palette();
        p.setColor(QPalette::WindowText, QColor(0xb0, 0x30, 0x00));
        inputsNote->setPalette(p);
    }
    inputsNote->hide();
    layout->addWidget(inputsNote);

    auto *buttons = new QHBoxLayout;
    confirmButton = makeButton(QStringLiteral("confirmButton"), changeFlag ? QStringLiteral("Изменить") : QStringLiteral("&Добавить"), this);
    closeButton = makeButton(QStringLiteral("closeButton"), QStringLiteral("&Закрыть"), this);
    buttons->addStretch();
    buttons->addWidget(confirmButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    // The state of the form before it is loaded.
    networkOptions[1]->setChecked(true);
    autoNumberCheck->setChecked(true);
    neutralCheck->setChecked(false);
    confirmButton->setEnabled(false);
    proposeButton->setEnabled(false);

    connect(materialList, &QComboBox::currentIndexChanged, this, [this] { onMaterialChanged(); });
    for (QRadioButton *option : networkOptions)
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                onNetTypeChanged();
        });
    for (QComboBox *list : {singlePhaseTypeList, coreCountList, layingList})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { reloadLineType(); });
    connect(neutralCheck, &QCheckBox::toggled, neutralSectionList, &QWidget::setEnabled);
    connect(autoNumberCheck, &QCheckBox::toggled, this, [this](bool on) { nameEdit->setEnabled(!on); });
    connect(loadCurrentList, &QComboBox::editTextChanged, this, [this] { updateCommandButtons(); });
    // An offered shield or load brings its power factor along.
    connect(loadCurrentList, &QComboBox::activated, this, [this](int index) {
        const QString powerFactor = loadCurrentList->itemData(index).toString();
        if (NumberText::parse(powerFactor).value_or(0) > 0)
            cosPhiEdit->setText(powerFactor);
    });
    connect(ambientEdit, &QLineEdit::textChanged, this, [this] { lookupPermissibleCurrent(); });
    connect(cablesSpin, &QSpinBox::valueChanged, this, [this] { lookupPermissibleCurrent(); });
    connect(spacingList, &QComboBox::currentIndexChanged, this, [this] { lookupPermissibleCurrent(); });
    connect(lengthEdit, &QLineEdit::textChanged, this, [this] { updateCommandButtons(); });
    connect(sectionList, &QListWidget::currentRowChanged, this, &CableLineDialog::onSectionRowChanged);
    connect(sectionEdit, &QLineEdit::textChanged, this, [this] { onSectionTextChanged(); });
    sectionEdit->installEventFilter(this);
    connect(proposeButton, &QPushButton::clicked, this, [this] { proposeSection(); });
    connect(confirmButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeForLater(); });
    connect(addCopperMarkButton, &QPushButton::clicked, this, [this] { addMark(true); });
    connect(removeCopperMarkButton, &QPushButton::clicked, this, [this] { removeMark(true); });
    connect(addAluminiumMarkButton, &QPushButton::clicked, this, [this] { addMark(false); });
    connect(removeAluminiumMarkButton, &QPushButton::clicked, this, [this] { removeMark(false); });

    load();
}

CableLineDialog::~CableLineDialog()
{
    sectionEdit->removeEventFilter(this);
    unload();
}

void CableLineDialog::buildTypeTab(QWidget *page)
{
    auto *pageLayout = new QVBoxLayout(page);
    auto *frame = new QGroupBox(QStringLiteral("Тип линии"), page);
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
    auto *conditions = new QGroupBox(QStringLiteral("Условия прокладки"), page);
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
}

void CableLineDialog::buildParametersTab(QWidget *page)
{
    auto *pageLayout = new QHBoxLayout(page);

    coreFrame = new QGroupBox(QStringLiteral("Жила"), page);
    coreFrame->setObjectName(QStringLiteral("coreFrame"));
    auto *core = new QGridLayout(coreFrame);
    materialList = new QComboBox(coreFrame);
    materialList->setObjectName(QStringLiteral("materialList"));
    sectionEdit = new QLineEdit(coreFrame);
    sectionEdit->setObjectName(QStringLiteral("sectionEdit"));
    sectionList = new QListWidget(coreFrame);
    sectionList->setObjectName(QStringLiteral("sectionList"));
    sectionList->setSelectionMode(QAbstractItemView::SingleSelection);
    neutralCheck = new QCheckBox(QStringLiteral("Нулевая жила"), coreFrame);
    neutralCheck->setObjectName(QStringLiteral("neutralCheck"));
    neutralSectionList = new QComboBox(coreFrame);
    neutralSectionList->setObjectName(QStringLiteral("neutralSectionList"));
    proposeButton = makeButton(QStringLiteral("proposeButton"), QStringLiteral("&Предложение"), coreFrame);
    core->addWidget(new QLabel(QStringLiteral("Материал"), coreFrame), 0, 0);
    core->addWidget(materialList, 0, 1);
    core->addWidget(new QLabel(QStringLiteral("Сечение"), coreFrame), 1, 0);
    core->addWidget(sectionEdit, 1, 1);
    core->addWidget(sectionList, 2, 1);
    core->addWidget(neutralCheck, 3, 0);
    core->addWidget(neutralSectionList, 3, 1);
    core->addWidget(proposeButton, 4, 0, 1, 2);
    core->setColumnStretch(1, 1);
    core->setRowStretch(2, 1);
    sectionList->setMinimumHeight(sectionList->fontMetrics().height() * 8);
    greyWhenDisabled(neutralSectionList);

    auto *data = new QGroupBox(QStringLiteral("Данные линии"), page);
    data->setObjectName(QStringLiteral("dataFrame"));
    auto *grid = new QGridLayout(data);
    nameEdit = new QLineEdit(data);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setMaxLength(30);
    autoNumberCheck = new QCheckBox(QStringLiteral("Автонумерация"), data);
    autoNumberCheck->setObjectName(QStringLiteral("autoNumberCheck"));
    lengthEdit = new QLineEdit(data);
    lengthEdit->setObjectName(QStringLiteral("lengthEdit"));
    lengthEdit->setMaxLength(9);
    loadCurrentList = new QComboBox(data);
    loadCurrentList->setObjectName(QStringLiteral("loadCurrentList"));
    loadCurrentList->setEditable(true);
    loadCurrentList->setInsertPolicy(QComboBox::NoInsert);
    loadCurrentList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    loadCurrentList->setMinimumContentsLength(14);
    permissibleCurrentEdit = new QLineEdit(data);
    permissibleCurrentEdit->setObjectName(QStringLiteral("permissibleCurrentEdit"));
    permissibleCurrentEdit->setReadOnly(true);
    permissibleCurrentEdit->setFocusPolicy(Qt::NoFocus);
    {
        QPalette p = permissibleCurrentEdit->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        permissibleCurrentEdit->setPalette(p);
    }
    greyWhenDisabled(nameEdit);

    grid->addWidget(new QLabel(QStringLiteral("Обозначение"), data), 0, 0);
    grid->addWidget(nameEdit, 0, 1, 1, 2);
    grid->addWidget(autoNumberCheck, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Длина   "), data), 2, 0);
    grid->addWidget(lengthEdit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("м"), data), 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Ток нагрузки"), data), 3, 0);
    grid->addWidget(loadCurrentList, 3, 1, 1, 2);
    cosPhiEdit = new QLineEdit(QStringLiteral("1"), data);
    cosPhiEdit->setObjectName(QStringLiteral("cosPhiEdit"));
    cosPhiEdit->setMaxLength(9);
    correctionLabel = new QLabel(data);
    correctionLabel->setObjectName(QStringLiteral("correctionLabel"));
    grid->addWidget(new QLabel(QStringLiteral("cos φ"), data), 4, 0);
    grid->addWidget(cosPhiEdit, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Допуск. ток"), data), 5, 0);
    grid->addWidget(permissibleCurrentEdit, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("А"), data), 5, 2);
    grid->addWidget(correctionLabel, 6, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);

    pageLayout->addWidget(coreFrame, 1);
    pageLayout->addWidget(data, 1);
}

void CableLineDialog::buildProtectionTab(QWidget *page)
{
    auto *pageLayout = new QVBoxLayout(page);
    auto *frame = new QGroupBox(QStringLiteral("Защитный аппарат в начале линии"), page);
    frame->setObjectName(QStringLiteral("deviceFrame"));
    deviceCharacteristicList = new QComboBox(frame);
    deviceCharacteristicList->setObjectName(QStringLiteral("deviceCharacteristicList"));
    deviceRatingList = new QComboBox(frame);
    deviceRatingList->setObjectName(QStringLiteral("deviceRatingList"));
    chooseDeviceButton = makeButton(QStringLiteral("chooseDeviceButton"), QStringLiteral("По&добрать"), frame);
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
    connect(chooseDeviceButton, &QPushButton::clicked, this, [this] { chooseDevice(); });
}

void CableLineDialog::loadBreakers()
{
    m_breakers = Protection::BreakerTable::load(m_context.appDir());
    const QSignalBlocker block(deviceCharacteristicList);
    deviceCharacteristicList->clear();
    deviceCharacteristicList->addItem(QStringLiteral("нет"), QString());
    for (const QString &characteristic : m_breakers.characteristics())
        deviceCharacteristicList->addItem(characteristic, characteristic);
    deviceCharacteristicList->setCurrentIndex(0);
    fillDeviceRatings();
}

void CableLineDialog::fillDeviceRatings()
{
    const QString characteristic = deviceCharacteristicList->currentData().toString();
    {
        const QSignalBlocker block(deviceRatingList);
        const QString kept = deviceRatingList->currentText();
        deviceRatingList->clear();
        for (const Protection::Breaker &b : m_breakers.ofCharacteristic(characteristic))
            deviceRatingList->addItem(NumberText::format(b.rated));
        const int again = deviceRatingList->findText(kept);
        deviceRatingList->setCurrentIndex(again >= 0 ? again : (deviceRatingList->count() > 0 ? 0 : -1));
    }
    deviceRatingList->setEnabled(!characteristic.isEmpty());
    describeDevice();
}

void CableLineDialog::describeDevice()
{
    const auto device = m_breakers.find(deviceCharacteristicList->currentData().toString(),
                                        NumberText::toDouble(deviceRatingList->currentText()));
    if (!device) {
        deviceLabel->setText(deviceCharacteristicList->currentIndex() > 0 ? QString()
                                                                          : QStringLiteral("Аппарат не задан: проверки "
                                                                                           "защиты для линии не выполняются."));
        return;
    }
    deviceLabel->setText(device->type + QLatin1Char(' ') + device->designation() + QStringLiteral(": мгновенное срабатывание при ")
                         + NumberText::format(device->instantaneous) + QStringLiteral("·Iн = ")
                         + NumberText::format(device->tripCurrent()) + QStringLiteral(" А, отключающая способность Icu = ")
                         + NumberText::format(device->breakingCapacity) + QStringLiteral(" кА."));
}

void CableLineDialog::selectDevice(const QString &characteristic, const QString &rating)
{
    const int index = deviceCharacteristicList->findData(characteristic);
    deviceCharacteristicList->setCurrentIndex(index >= 0 ? index : 0);
    const int ratingIndex = deviceRatingList->findText(rating);
    if (ratingIndex >= 0)
        deviceRatingList->setCurrentIndex(ratingIndex);
}

void CableLineDialog::chooseDevice()
{
    if (m_breakers.status() != Protection::BreakerTable::Status::Ok) {
        m_prompter.message(m_breakers.problem(), QString(), Prompter::Icon::Critical);
        return;
    }
    const QString characteristic = deviceCharacteristicList->currentData().toString();
    lookupPermissibleCurrent();
    const double load = LineCalc::parseLoadCurrent(loadCurrentList->currentText());
    const auto device = characteristic.isEmpty() ? Protection::chooseAny(m_breakers, load, permissibleCurrent)
                                                 : Protection::choose(m_breakers, characteristic, load, permissibleCurrent);
    if (!device) {
        m_prompter.message(Protection::noDeviceMessage(nameEdit->text(), characteristic, load, permissibleCurrent),
                           QString(), Prompter::Icon::Exclamation);
        return;
    }
    selectDevice(device->characteristic, NumberText::format(device->rated));
}

void CableLineDialog::buildMarksTab(QWidget *page)
{
    auto *pageLayout = new QHBoxLayout(page);
    auto makeFrame = [page](const QString &name, const QString &title, QListWidget *&list, QPushButton *&add,
                            QPushButton *&remove, const QString &material) {
        const QString suffix = material.at(0).toUpper() + material.mid(1);
        auto *frame = new QGroupBox(title, page);
        frame->setObjectName(name);
        auto *v = new QVBoxLayout(frame);
        list = new QListWidget(frame);
        list->setObjectName(material + QStringLiteral("MarkList"));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        greyWhenDisabled(list);
        add = makeButton(QStringLiteral("add") + suffix + QStringLiteral("MarkButton"), QStringLiteral("Добавить"), frame);
        remove = makeButton(QStringLiteral("remove") + suffix + QStringLiteral("MarkButton"), QStringLiteral("Удалить"), frame);
        auto *row = new QHBoxLayout;
        row->addWidget(add);
        row->addWidget(remove);
        v->addWidget(list);
        v->addLayout(row);
        return frame;
    };
    copperMarksFrame = makeFrame(QStringLiteral("copperMarksFrame"), QStringLiteral("Марки медных проводов и кабелей"), copperMarkList,
                      addCopperMarkButton, removeCopperMarkButton, QStringLiteral("copper"));
    aluminiumMarksFrame = makeFrame(QStringLiteral("aluminiumMarksFrame"), QStringLiteral("Марки алюм. проводов и кабелей"), aluminiumMarkList,
                      addAluminiumMarkButton, removeAluminiumMarkButton, QStringLiteral("aluminium"));
    pageLayout->addWidget(copperMarksFrame);
    pageLayout->addWidget(aluminiumMarksFrame);
}

void CableLineDialog::load()
{
    // A list is filled without a selection; choosing an entry then runs its rule.
    auto fill = [](QComboBox *list, const QStringList &entries) {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    };
    fill(materialList, Permissible::materialNames());
    materialList->setCurrentIndex(Permissible::Aluminium);

    fill(singlePhaseTypeList, LineCalc::constructionChoices(NetworkType::SinglePhase));
    fill(coreCountList, LineCalc::constructionChoices(NetworkType::ThreePhase));
    fill(layingList, Permissible::layingChoices());
    if (!changeMode) {
        singlePhaseTypeList->setCurrentIndex(2); // "три одножильных"
        coreCountList->setCurrentIndex(2); // "трехжильный"
    }
    layingList->setCurrentIndex(Permissible::InAir);

    loadCurrentChoices();
    loadMarks();
    loadPermissibleTable();
    m_reactance = CableReactance::load(m_context.appDir());
    loadBreakers();

    nameEdit->setEnabled(!autoNumberCheck->isChecked());
    onNetTypeChanged();
    neutralSectionList->setEnabled(neutralCheck->isChecked());
    permissibleCurrentEdit->clear();
}

Permissible::Choice CableLineDialog::choice() const
{
    Permissible::Choice c;
    c.net = networkOptions[0]->isChecked() ? NetworkType::SinglePhase : NetworkType::ThreePhase;
    c.material = materialList->currentIndex();
    c.type1 = singlePhaseTypeList->currentIndex();
    c.type2 = coreCountList->currentIndex();
    c.type3 = layingList->currentIndex();
    return c;
}

void CableLineDialog::onMaterialChanged()
{
    const int material = materialList->currentIndex();
    if (material < 0)
        return;
    const bool al = material == Permissible::Aluminium;
    for (QWidget *w : {static_cast<QWidget *>(aluminiumMarksFrame), static_cast<QWidget *>(aluminiumMarkList),
                       static_cast<QWidget *>(addAluminiumMarkButton), static_cast<QWidget *>(removeAluminiumMarkButton)})
        w->setEnabled(al);
    for (QWidget *w : {static_cast<QWidget *>(copperMarksFrame), static_cast<QWidget *>(copperMarkList),
                       static_cast<QWidget *>(addCopperMarkButton), static_cast<QWidget *>(removeCopperMarkButton)})
        w->setEnabled(!al);
    reloadLineType();
}

void CableLineDialog::onNetTypeChanged()
{
    const bool single = networkOptions[0]->isChecked();
    singlePhaseTypeList->setEnabled(single);
    coreCountList->setEnabled(!single);
    layingList->setEnabled(!single);
    reloadLineType();
    // A shield offers another current to a three-phase line than to a single-phase one.
    loadCurrentChoices();
}

void CableLineDialog::updateCommandButtons()
{
    const bool hasCurrent = !loadCurrentList->currentText().isEmpty();
    proposeButton->setEnabled(hasCurrent);
    confirmButton->setEnabled(hasCurrent && !lengthEdit->text().isEmpty());
}

void CableLineDialog::loadPermissibleTable()
{
    const Permissible::Choice c = choice();
    if (!Permissible::tableSpec(c.net, c.material))
        return;
    m_table = Permissible::PermissibleTable::load(m_context.appDir(), c.net, c.material);
    if (m_table.isUsable())
        clearFileProblem(m_table.path());
    else
        reportFileProblem(m_table.path(), m_table.errorMessage());

    {
        const QSignalBlocker block(sectionList);
        sectionList->clear();
        sectionList->addItems(Permissible::listedSections(m_table, c));
    }
    if (!m_table.isUsable())
        permissibleCurrentEdit->clear(); // no current is shown from a table that could not be read

    if (Permissible::mustLayInAir(c))
        layingList->setCurrentIndex(Permissible::InAir);

    if (sectionEdit->text().isEmpty() && sectionList->count() > 0)
        sectionEdit->setText(sectionList->item(0)->text());

    reloadNeutralSections();
}

void CableLineDialog::updateConditionControls()
{
    const Permissible::Choice c = choice();
    const bool ground = Permissible::laidInGround(c);
    cablesSpin->setEnabled(ground);
    spacingList->setEnabled(ground);
    // An empty field is the tables' own ambient, which the field shows.
    ambientEdit->setPlaceholderText(NumberText::format(Permissible::tableAmbient(c)));
    // A five-core cable has its neutral among its cores.
    const bool fiveCore = c.net == NetworkType::ThreePhase && c.type2 == Permissible::FiveCore;
    if (fiveCore)
        neutralCheck->setChecked(false);
    neutralCheck->setEnabled(!fiveCore);
}

LineEntry::Request CableLineDialog::conditionsRequest() const
{
    LineEntry::Request request;
    request.choice = choice();
    request.cosPhiText = cosPhiEdit->text();
    request.ambientText = ambientEdit->text();
    request.cables = cablesSpin->value();
    request.spacing = spacingList->currentText().toInt();
    request.device = deviceCharacteristicList->currentData().toString();
    request.deviceRating = deviceRatingList->currentText();
    request.tripTime = tripTimeEdit->text();
    return request;
}

void CableLineDialog::reloadLineType()
{
    updateConditionControls();
    const int selected = selectedRow(sectionList);
    const double remembered = selected >= 0 ? NumberText::toDouble(sectionList->item(selected)->text()) : 0;
    loadPermissibleTable();
    if (sectionList->count() == 0)
        return;
    int pick = 0;
    for (int i = 0; i < sectionList->count(); ++i) {
        if (NumberText::toDouble(sectionList->item(i)->text()) == remembered) {
            pick = i;
            break;
        }
    }
    selectSectionRow(pick);
}

void CableLineDialog::selectSectionRow(int row)
{
    setRow(sectionList, row);
    onSectionRowChanged(row);
}

void CableLineDialog::onSectionRowChanged(int row)
{
    if (m_syncingSection || row < 0 || row >= sectionList->count())
        return;
    m_syncingSection = true;
    sectionEdit->setText(sectionList->item(row)->text());
    m_syncingSection = false;
    lookupPermissibleCurrent();
}

void CableLineDialog::onSectionTextChanged()
{
    if (m_syncingSection)
        return;
    const QString text = sectionEdit->text();
    for (int i = 0; i < sectionList->count(); ++i) {
        if (sectionList->item(i)->text() == text) {
            selectSectionRow(i);
            return;
        }
    }
}

void CableLineDialog::syncSectionFieldToList()
{
    const int row = selectedRow(sectionList);
    const QString listed = row >= 0 ? sectionList->item(row)->text() : QString();
    if (sectionEdit->text() != listed)
        sectionEdit->setText(listed);
}

bool CableLineDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sectionEdit && event->type() == QEvent::FocusOut)
        syncSectionFieldToList();
    return QDialog::eventFilter(watched, event);
}

void CableLineDialog::lookupPermissibleCurrent()
{
    if (!m_table.isUsable()) {
        permissibleCurrentEdit->clear();
        return;
    }
    const double section = NumberText::toDouble(sectionEdit->text());
    const LineEntry::Request request = conditionsRequest();
    const auto correction = Permissible::correctionFor(request.choice, LineEntry::conditionsOf(request));
    if (correction)
        correctionLabel->setText(QStringLiteral("Поправки: k_t = ") + NumberText::format(correction->temperature)
                                 + QStringLiteral("; k_гр = ") + NumberText::format(correction->grouping));
    else
        correctionLabel->setText(QStringLiteral("Поправки: условия прокладки заданы неверно"));
    if (const auto value = Permissible::lookupPermissibleCurrent(m_table, request.choice, section,
                                                                 correction.value_or(Permissible::Correction{})))
        permissibleCurrent = *value;
    permissibleCurrentEdit->setText(NumberText::format(permissibleCurrent));
    for (int i = 0; i < sectionList->count(); ++i) {
        if (sectionList->item(i)->text() == sectionEdit->text()) {
            setRow(sectionList, i);
            break;
        }
    }
}

bool CableLineDialog::checkTableUsable()
{
    if (m_table.isUsable())
        return true;
    m_prompter.message(m_table.errorMessage(), QString(), Prompter::Icon::Critical);
    return false;
}

void CableLineDialog::proposeSection()
{
    if (!checkTableUsable())
        return;
    const LineEntry::Request request = conditionsRequest();
    QString message;
    const LineEntry::Field failed = LineEntry::checkConditions(request, &message);
    if (failed == LineEntry::Field::Ambient || failed == LineEntry::Field::Cables || failed == LineEntry::Field::Spacing) {
        refuseField(failed, message);
        return;
    }
    const double current = LineCalc::parseLoadCurrent(loadCurrentList->currentText());
    const auto row = Permissible::proposeSection(m_table, request.choice, current, LineEntry::correctionOf(request));
    if (!row) {
        m_prompter.message(Permissible::tooLargeCurrentMessage(), Permissible::tooLargeCurrentTitle(),
                                  Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
        return;
    }
    sectionEdit->setText(NumberText::format(m_table.rows().at(*row).section));
    lookupPermissibleCurrent();
}

void CableLineDialog::loadCurrentChoices()
{
    const QString typed = loadCurrentList->currentText();
    const QSignalBlocker block(loadCurrentList);
    loadCurrentList->clear();
    for (const Permissible::CurrentChoice &c : Permissible::loadCurrentChoices(m_project.shields, choice().net, m_context.calc.places())) {
        const QIcon icon = c.phase.isEmpty() ? Icons::shield()
                                             : Icons::phase(c.phase.size() == 1 ? c.phase.at(0) : QChar());
        loadCurrentList->addItem(icon, c.text, c.powerFactor);
    }
    // Offering the currents does not choose one.
    loadCurrentList->setCurrentIndex(-1);
    loadCurrentList->setEditText(typed);
}

void CableLineDialog::reloadNeutralSections()
{
    const int remembered = neutralSectionList->currentIndex();
    const Permissible::NeutralList list = Permissible::readNeutralSections(m_context.appDir());
    {
        const QSignalBlocker block(neutralSectionList);
        neutralSectionList->clear();
        neutralSectionList->addItems(list.sections);
        neutralSectionList->setCurrentIndex(-1);
        if (remembered > 0 && remembered < neutralSectionList->count())
            neutralSectionList->setCurrentIndex(remembered);
        if (neutralSectionList->currentIndex() < 0 && neutralSectionList->count() > 0)
            neutralSectionList->setCurrentIndex(0);
    }
    if (list.error.isEmpty())
        clearFileProblem(list.path);
    else
        reportFileProblem(list.path, list.error);
}

void CableLineDialog::reportFileProblem(const QString &path, const QString &message, Prompter::Icon icon)
{
    // The tables are reloaded on every choice; one message per damaged file is enough.
    if (m_reportedFiles.contains(path))
        return;
    m_reportedFiles.insert(path);
    m_prompter.message(message, QString(), icon);
}

void CableLineDialog::clearFileProblem(const QString &path)
{
    m_reportedFiles.remove(path);
}

void CableLineDialog::loadMarks()
{
    auto fill = [&](QListWidget *list, int index, bool &readOk) {
        list->clear();
        const QString path = m_context.dataFilePath(index);
        readOk = false;
        if (path.isEmpty())
            return;
        const auto marks = MarkList::read(path);
        readOk = marks.has_value();
        if (!marks) {
            reportFileProblem(path, QStringLiteral("Не удалось прочитать файл ") + QDir::toNativeSeparators(path)
                                        + QStringLiteral("."));
            return;
        }
        list->addItems(*marks);
        if (list->count() > 0)
            list->setCurrentRow(0);
    };
    fill(aluminiumMarkList, DataFiles::MarksAl, m_marksReadAl);
    fill(copperMarkList, DataFiles::MarksCu, m_marksReadCu);
}

bool CableLineDialog::writeMarks()
{
    bool ok = true;
    auto store = [&](QListWidget *list, int index, bool readOk, bool changed) {
        // A file that could not be read is not replaced unless the user edited the list.
        if (!readOk && !changed)
            return;
        const QString path = m_context.dataFilePath(index);
        QStringList marks;
        for (int i = 0; i < list->count(); ++i)
            marks << list->item(i)->text();
        QString error;
        if (path.isEmpty() || !MarkList::write(path, marks, &error)) {
            ok = false;
            m_prompter.message(QStringLiteral("Не удалось сохранить список марок в файл ")
                                          + QDir::toNativeSeparators(path) + QStringLiteral("."),
                                      QString(), Prompter::Icon::Critical);
        }
    };
    store(aluminiumMarkList, DataFiles::MarksAl, m_marksReadAl, m_marksChangedAl);
    store(copperMarkList, DataFiles::MarksCu, m_marksReadCu, m_marksChangedCu);
    return ok;
}

void CableLineDialog::addMark(bool copper)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString prompt = copper
        ? QStringLiteral("Введите обозначение новой марки провода или кабеля с медными жилами.") + crlf.repeated(5)
              + QStringLiteral("Новая марка:")
        : QStringLiteral("Введите обозначение новой марки провода или кабеля с алюминиевыми жилами.") + crlf.repeated(4)
              + QStringLiteral("Новая марка:");
    const QString answer = m_prompter.input(prompt, Prompter::applicationTitle(), QString());
    if (answer.isEmpty())
        return;
    QListWidget *list = copper ? copperMarkList : aluminiumMarkList;
    const int selected = selectedRow(list);
    list->insertItem(selected >= 0 ? selected + 1 : 0, MarkList::clean(answer));
    list->setCurrentRow(0);
    (copper ? removeCopperMarkButton : removeAluminiumMarkButton)->setEnabled(true);
    (copper ? m_marksChangedCu : m_marksChangedAl) = true;
}

void CableLineDialog::removeMark(bool copper)
{
    QListWidget *list = copper ? copperMarkList : aluminiumMarkList;
    const int selected = selectedRow(list);
    if (selected < 0)
        return;
    const QString mark = list->item(selected)->text();
    const QString question = copper
        ? QStringLiteral("Удалить марку медного провода или кабеля '") + mark + QStringLiteral("'?")
        : QStringLiteral("Удалить марку алюминиевого провода или кабеля '") + mark + QStringLiteral("'?");
    if (m_prompter.message(question, QString(), Prompter::Icon::Exclamation, Prompter::Buttons::YesNo)
        != Prompter::Answer::Yes)
        return;
    delete list->takeItem(selected);
    (copper ? m_marksChangedCu : m_marksChangedAl) = true;
    if (list->count() == 0) {
        (copper ? removeCopperMarkButton : removeAluminiumMarkButton)->setEnabled(false);
        return;
    }
    list->setCurrentRow(selected > 0 ? selected - 1 : 0);
}

void CableLineDialog::confirm()
{
    Prompter &prompter = m_prompter;
    if (!checkTableUsable())
        return;
    // Confirming takes the focus from the section field, which then holds the listed section.
    syncSectionFieldToList();
    if (!checkNumericEntry(sectionEdit, prompter))
        return;
    if (!checkNumericEntry(lengthEdit, prompter))
        return;
    if (LineCalc::parseLoadCurrent(loadCurrentList->currentText()) == 0) {
        prompter.message(LineEntry::currentMessage(), LineEntry::currentTitle(), Prompter::Icon::Exclamation,
                         Prompter::Buttons::Ok);
        loadCurrentList->setFocus(Qt::OtherFocusReason);
        loadCurrentList->lineEdit()->selectAll();
        return;
    }
    LineEntry::Request request = conditionsRequest();
    QString message;
    if (const LineEntry::Field failed = LineEntry::checkConditions(request, &message); failed != LineEntry::Field::None) {
        refuseField(failed, message);
        return;
    }
    confirmButton->setText(QStringLiteral("&Добавить"));

    request.sectionText = sectionEdit->text();
    request.lengthText = lengthEdit->text();
    request.currentText = loadCurrentList->currentText();
    request.neutralText = neutralCheck->isChecked() ? neutralSectionList->currentText() : QStringLiteral("0");
    QListWidget *marks = request.choice.material == Permissible::Copper ? copperMarkList : aluminiumMarkList;
    const int mark = selectedRow(marks);
    request.mark = mark >= 0 ? marks->item(mark)->text() : QString();
    // A changed line whose mark is not in the list keeps its mark.
    if (changeMode && mark < 0 && m_changedLine.cell(CableLine::Material) == Permissible::materialNames().value(request.choice.material))
        request.mark = m_changedLine.cell(CableLine::Mark);
    bool reactanceKnown = true;
    CableLine line = LineEntry::buildLine(request, {m_table, m_reactance}, m_context.calc, permissibleCurrent,
                                          &reactanceKnown);
    permissibleCurrentEdit->setText(NumberText::format(permissibleCurrent));
    // Without a reactance the line counts X = 0; said once for the file, once per section.
    if (!m_reactance.isUsable())
        reportFileProblem(QStringLiteral("reactance"), m_reactance.problem(), Prompter::Icon::Exclamation);
    else if (!reactanceKnown)
        reportFileProblem(QStringLiteral("reactance:") + request.sectionText,
                          CableReactance::missingSectionMessage(NumberText::toDouble(request.sectionText)),
                          Prompter::Icon::Information);

    QString name = nameEdit->text();
    if (autoNumberCheck->isChecked()) {
        ++autoNameCounter;
        if (!changeMode)
            name = LineEntry::autoName(autoNameCounter);
    }
    line.name = name;
    line.checked = false;

    if (changeMode)
        m_lines.replaceLine(m_changeRow, line);
    else
        m_lines.appendLine(line);

    if (changeMode) {
        unload();
        accept();
    }
}

void CableLineDialog::refuseField(LineEntry::Field field, const QString &message)
{
    m_prompter.message(message, InputCheck::title(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    switch (field) {
    case LineEntry::Field::CosPhi:
        tabs->setCurrentIndex(1);
        cosPhiEdit->setFocus(Qt::OtherFocusReason);
        cosPhiEdit->selectAll();
        break;
    case LineEntry::Field::Ambient:
        tabs->setCurrentIndex(0);
        ambientEdit->setFocus(Qt::OtherFocusReason);
        ambientEdit->selectAll();
        break;
    case LineEntry::Field::Cables:
        tabs->setCurrentIndex(0);
        cablesSpin->setFocus(Qt::OtherFocusReason);
        break;
    case LineEntry::Field::Spacing:
        tabs->setCurrentIndex(0);
        spacingList->setFocus(Qt::OtherFocusReason);
        break;
    case LineEntry::Field::TripTime:
        tabs->setCurrentIndex(3);
        tripTimeEdit->setFocus(Qt::OtherFocusReason);
        tripTimeEdit->selectAll();
        break;
    case LineEntry::Field::None:
        break;
    }
}

void CableLineDialog::closeForLater()
{
    if (changeMode) {
        unload();
        accept();
        return;
    }
    // Add mode keeps the instance with its entries, choices and counter.
    done(QDialog::Rejected);
}

void CableLineDialog::reject()
{
    unload();
    QDialog::reject();
}

void CableLineDialog::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    changeMode = false;
    writeMarks();
}

void CableLineDialog::fillFromRow(int row)
{
    if (row < 0 || row >= m_lines.rowCount())
        return;
    const CableLine line = m_lines.line(row);
    m_changeRow = row;
    m_changedLine = line;
    changeMode = true;

    nameEdit->setText(line.name);
    if (line.inputs)
        fillFromInputs(line, *line.inputs);
    else
        fillFromTexts(line);
    inputsNote->setVisible(!line.inputs);
    confirmButton->setText(QStringLiteral("Изменить"));
    setWindowTitle(QString::fromUtf8(kChangeCaption));
}

void CableLineDialog::fillFromInputs(const CableLine &line, const LineInputs &inputs)
{
    const Permissible::Choice c = LineEntry::choiceOf(inputs);
    networkOptions[inputs.threePhase ? 1 : 0]->setChecked(true);
    if (inputs.threePhase)
        coreCountList->setCurrentIndex(c.type2);
    else
        singlePhaseTypeList->setCurrentIndex(c.type1);
    layingList->setCurrentIndex(c.type3);
    materialList->setCurrentIndex(c.material);
    setConditions(inputs.cosPhi, inputs.ambient, inputs.cables, inputs.spacing);
    selectDevice(inputs.device, inputs.deviceRating);
    tripTimeEdit->setText(inputs.tripTime);
    sectionEdit->setText(LineCalc::phaseSectionText(line.cell(CableLine::Cores)));
    lookupPermissibleCurrent();
    neutralCheck->setChecked(inputs.neutral);
    const int neutral = neutralSectionList->findText(inputs.neutralSection);
    if (inputs.neutral && neutral >= 0)
        neutralSectionList->setCurrentIndex(neutral);
    lengthEdit->setText(line.cell(CableLine::Length));
    loadCurrentList->setEditText(inputs.loadCurrent);
    selectMark(c.material == Permissible::Copper, inputs.mark);
}

// A line kept without its inputs: what can be read from the row's texts;
// construction and laying are a guess the note asks the user to check.
void CableLineDialog::fillFromTexts(const CableLine &line)
{
    materialList->setCurrentIndex(line.cell(CableLine::Material) == LineCalc::aluminium() ? Permissible::Aluminium
                                                                                        : Permissible::Copper);
    const QString cores = line.cell(CableLine::Cores);
    const QString section = LineCalc::phaseSectionText(cores);
    for (int i = 0; i < sectionList->count(); ++i) {
        if (sectionList->item(i)->text() == section) {
            sectionEdit->setText(section);
            break;
        }
    }
    const QChar n = cores.isEmpty() ? QChar() : cores.at(0);
    if (n >= QLatin1Char('1') && n <= QLatin1Char('5')) {
        const int k = n.unicode() - '1';
        coreCountList->setCurrentIndex(k);
        if (k <= 3)
            singlePhaseTypeList->setCurrentIndex(qMax(k, 1));
    }
    // Such a line was computed with cos φ 1 under the tables' own conditions, without a device.
    setConditions(QStringLiteral("1"), QString(), 1, 100);
    selectDevice(QString(), QString());
    tripTimeEdit->clear();
    const float neutral = LineCalc::neutralSection(cores);
    // A box left ticked by an earlier line would give this one a neutral core it never had.
    if (neutral == 0)
        neutralCheck->setChecked(false);
    for (int i = 0; i < neutralSectionList->count(); ++i) {
        if (float(NumberText::toDouble(neutralSectionList->itemText(i))) == neutral) {
            neutralSectionList->setCurrentIndex(i);
            neutralCheck->setChecked(true);
            break;
        }
    }
    lengthEdit->setText(line.cell(CableLine::Length));
    loadCurrentList->setEditText(line.cell(CableLine::LoadCurrent));
    // The row's network: both options are never left cleared.
    if (line.cell(CableLine::Voltage) == QLatin1String("220"))
        networkOptions[0]->setChecked(true);
    else
        networkOptions[1]->setChecked(true);
    selectMark(line.cell(CableLine::Material) == LineCalc::copper(), line.cell(CableLine::Mark));
}

void CableLineDialog::setConditions(const QString &cosPhi, const QString &ambient, int cables, int spacing)
{
    cosPhiEdit->setText(cosPhi);
    ambientEdit->setText(ambient);
    cablesSpin->setValue(cables);
    const int spacingIndex = spacingList->findText(QString::number(spacing));
    spacingList->setCurrentIndex(spacingIndex >= 0 ? spacingIndex : 0);
}

void CableLineDialog::selectMark(bool copper, const QString &mark)
{
    QListWidget *list = copper ? copperMarkList : aluminiumMarkList;
    const auto found = mark.isEmpty() ? QList<QListWidgetItem *>() : list->findItems(mark, Qt::MatchExactly);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.first());
        return;
    }
    // A mark no longer listed is kept by the confirm (see confirm()).
    list->clearSelection();
    list->setCurrentRow(-1);
}
