#include "ui/lines/CableLineDialog.h"

#include "base/AppContext.h"
#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/lines/LineEntry.h"
#include "calc/network/CheckedPath.h"
#include "calc/network/NetworkCalc.h"
#include "ui/lines/LineListModel.h"
#include "ui/lines/LineMarksTab.h"
#include "ui/lines/LineNetworkTab.h"
#include "ui/lines/LineParametersTab.h"
#include "ui/lines/LineProtectionTab.h"
#include "ui/lines/LineTypeTab.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QCheckBox>
#include <QComboBox>
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
    m_typeTab = new LineTypeTab;
    m_parametersTab = new LineParametersTab;
    m_marksTab = new LineMarksTab(m_context, m_prompter,
                                  [this](const QString &path, const QString &message) { reportFileProblem(path, message); });
    m_protectionTab = new LineProtectionTab;
    m_networkTab = new LineNetworkTab;
    tabs->addTab(m_typeTab, QStringLiteral("Тип линии"));
    tabs->addTab(m_parametersTab, QStringLiteral("Параметры линии"));
    tabs->addTab(m_marksTab, QStringLiteral("Марка"));
    tabs->addTab(m_protectionTab, QStringLiteral("Защита"));
    tabs->addTab(m_networkTab, QStringLiteral("Сеть"));
    layout->addWidget(tabs);

    networkOptions[0] = m_typeTab->networkOptions[0];
    networkOptions[1] = m_typeTab->networkOptions[1];
    singlePhaseTypeList = m_typeTab->singlePhaseTypeList;
    coreCountList = m_typeTab->coreCountList;
    layingList = m_typeTab->layingList;
    ambientEdit = m_typeTab->ambientEdit;
    cablesSpin = m_typeTab->cablesSpin;
    spacingList = m_typeTab->spacingList;
    coreFrame = m_parametersTab->coreFrame;
    materialList = m_parametersTab->materialList;
    sectionList = m_parametersTab->sectionList;
    sectionEdit = m_parametersTab->sectionEdit;
    neutralCheck = m_parametersTab->neutralCheck;
    neutralSectionList = m_parametersTab->neutralSectionList;
    proposeButton = m_parametersTab->proposeButton;
    nameEdit = m_parametersTab->nameEdit;
    autoNumberCheck = m_parametersTab->autoNumberCheck;
    lengthEdit = m_parametersTab->lengthEdit;
    loadCurrentList = m_parametersTab->loadCurrentList;
    permissibleCurrentEdit = m_parametersTab->permissibleCurrentEdit;
    cosPhiEdit = m_parametersTab->cosPhiEdit;
    correctionLabel = m_parametersTab->correctionLabel;
    copperMarksFrame = m_marksTab->copperMarksFrame;
    copperMarkList = m_marksTab->copperMarkList;
    addCopperMarkButton = m_marksTab->addCopperMarkButton;
    removeCopperMarkButton = m_marksTab->removeCopperMarkButton;
    aluminiumMarksFrame = m_marksTab->aluminiumMarksFrame;
    aluminiumMarkList = m_marksTab->aluminiumMarkList;
    addAluminiumMarkButton = m_marksTab->addAluminiumMarkButton;
    removeAluminiumMarkButton = m_marksTab->removeAluminiumMarkButton;
    deviceCharacteristicList = m_protectionTab->deviceCharacteristicList;
    deviceRatingList = m_protectionTab->deviceRatingList;
    chooseDeviceButton = m_protectionTab->chooseDeviceButton;
    tripTimeEdit = m_protectionTab->tripTimeEdit;
    deviceLabel = m_protectionTab->deviceLabel;
    startList = m_networkTab->startList;
    startNote = m_networkTab->startNote;
    boardList = m_networkTab->boardList;

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

    confirmButton = namedButton(changeFlag ? QStringLiteral("Изменить") : QStringLiteral("&Добавить"),
                                QStringLiteral("confirmButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);
    layout->addLayout(buttonRow({confirmButton, closeButton}));

    // The state of the form before it is loaded.
    networkOptions[1]->setChecked(true);
    autoNumberCheck->setChecked(true);
    neutralCheck->setChecked(false);
    confirmButton->setEnabled(false);
    proposeButton->setEnabled(false);

    connect(materialList, &QComboBox::currentIndexChanged, this, [this] { onMaterialChanged(); });
    connect(m_typeTab, &LineTypeTab::networkChanged, this, [this] { onNetTypeChanged(); });
    connect(m_typeTab, &LineTypeTab::constructionChanged, this, [this] { reloadLineType(); });
    connect(neutralCheck, &QCheckBox::toggled, neutralSectionList, &QWidget::setEnabled);
    connect(autoNumberCheck, &QCheckBox::toggled, this, [this](bool on) { nameEdit->setEnabled(!on); });
    connect(loadCurrentList, &QComboBox::editTextChanged, this, [this] { updateCommandButtons(); });
    // An offered shield or load brings its power factor along.
    connect(loadCurrentList, &QComboBox::activated, this, [this](int index) {
        const QString powerFactor = loadCurrentList->itemData(index).toString();
        if (NumberText::parse(powerFactor).value_or(0) > 0)
            cosPhiEdit->setText(powerFactor);
    });
    connect(m_typeTab, &LineTypeTab::conditionsChanged, this, [this] { lookupPermissibleCurrent(); });
    connect(lengthEdit, &QLineEdit::textChanged, this, [this] { updateCommandButtons(); });
    connect(m_parametersTab, &LineParametersTab::sectionChosen, this, [this] { lookupPermissibleCurrent(); });
    connect(proposeButton, &QPushButton::clicked, this, [this] { proposeSection(); });
    connect(chooseDeviceButton, &QPushButton::clicked, this, [this] { chooseDevice(); });
    connect(confirmButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeForLater(); });

    load();
}

CableLineDialog::~CableLineDialog()
{
    unload();
}

void CableLineDialog::chooseDevice()
{
    const Protection::BreakerTable &breakers = m_protectionTab->breakers();
    if (breakers.status() != Protection::BreakerTable::Status::Ok) {
        m_prompter.message(breakers.problem(), QString(), Prompter::Icon::Critical);
        return;
    }
    const auto load = checkLoadCurrent();
    if (!load)
        return;
    const QString characteristic = m_protectionTab->characteristic();
    lookupPermissibleCurrent();
    Protection::CheckInput in;
    in.loadCurrent = *load;
    in.permissibleCurrent = permissibleCurrent;
    in.material = materialList->currentText();
    in.section = NumberText::toDouble(sectionEdit->text());
    in.tripTime = LineEntry::tripTimeOf(tripTimeEdit->text());
    if (changeMode) {
        // The line where the dialog now places it, with its check mark.
        CableLine entered = enteredLine();
        entered.checked = m_changedLine.checked;
        entered.place = m_networkTab->placeFor(m_changedLine.place);
        Network::placeCurrentsOfRow(in, m_project, m_changeRow, entered, m_context);
    }
    const Protection::LetThroughTable letThrough = Protection::LetThroughTable::load(m_context.appDir());
    if (letThrough.status() != Protection::LetThroughTable::Status::Ok)
        reportFileProblem(QStringLiteral("letThrough"), letThrough.problem(), Prompter::Icon::Exclamation);
    const Protection::DeviceChoice choice = Protection::chooseDevice(breakers, letThrough, characteristic, nameEdit->text(),
                                                                     in, m_context.calc.places());
    if (!choice.device) {
        m_prompter.message(Protection::noDeviceMessage(nameEdit->text(), characteristic, in.loadCurrent, permissibleCurrent),
                           QString(), Prompter::Icon::Exclamation);
        return;
    }
    m_protectionTab->selectDevice(choice.device->characteristic, NumberText::format(choice.device->rated));
    if (const QString compromise = Protection::compromiseMessage(choice); !compromise.isEmpty())
        m_prompter.message(compromise, QString(), Prompter::Icon::Exclamation);
}

CableLine CableLineDialog::enteredLine() const
{
    const auto section = NumberText::parse(sectionEdit->text());
    const auto length = NumberText::parse(lengthEdit->text());
    // Fields that hold no line yet: the row as it was confirmed.
    if (!section || !(*section > 0) || !length || !(*length > 0))
        return m_changedLine;
    const Permissible::Choice c = choice();
    CableLine line;
    line.name = nameEdit->text();
    line.cells[CableLine::Material] = materialList->currentText();
    line.cells[CableLine::Cores] = LineCalc::formatCoreNotation(
        LineCalc::coreCountOf(c.net, c.constructionText()), *section,
        neutralCheck->isChecked() ? neutralSectionList->currentText() : QStringLiteral("0"));
    line.cells[CableLine::Length] = NumberText::format(*length);
    line.cells[CableLine::Voltage] = c.net == NetworkType::SinglePhase ? QStringLiteral("220") : QStringLiteral("380");
    return line;
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
    m_marksTab->loadMarks();
    loadPermissibleTable();
    m_reactance = CableReactance::load(m_context.appDir());
    m_protectionTab->setBreakers(Protection::BreakerTable::load(m_context.appDir()));
    m_networkTab->fill(m_project, -1);

    nameEdit->setEnabled(!autoNumberCheck->isChecked());
    onNetTypeChanged();
    neutralSectionList->setEnabled(neutralCheck->isChecked());
    permissibleCurrentEdit->clear();
}

Permissible::Choice CableLineDialog::choice() const
{
    Permissible::Choice c;
    c.net = m_typeTab->isSinglePhase() ? NetworkType::SinglePhase : NetworkType::ThreePhase;
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
    m_marksTab->enableMaterial(material == Permissible::Aluminium);
    reloadLineType();
}

void CableLineDialog::onNetTypeChanged()
{
    m_typeTab->enableNetworkLists();
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
    m_typeTab->enableConditionsFor(c);
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
    request.device = m_protectionTab->characteristic();
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
    m_parametersTab->selectSectionRow(m_parametersTab->sectionRowOf(remembered));
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
        correctionLabel->setText(QStringLiteral("Поправки: k<sub>т</sub> = ") + NumberText::format(correction->temperature)
                                 + QStringLiteral("; k<sub>гр</sub> = ") + NumberText::format(correction->grouping));
    else
        correctionLabel->setText(QStringLiteral("Поправки: условия прокладки заданы неверно"));
    if (const auto value = LineEntry::permissibleCurrentOf(m_table, request, section, m_context.calc.places()))
        permissibleCurrent = *value;
    permissibleCurrentEdit->setText(NumberText::format(permissibleCurrent));
    m_parametersTab->markFieldInList();
}

std::optional<double> CableLineDialog::loadCurrent()
{
    bool expression = false;
    const auto current = LineEntry::loadCurrentOf(loadCurrentList->currentText(), &expression);
    // The line keeps the value, as the load dialog's "=" leaves it in the field.
    if (current && expression)
        loadCurrentList->setEditText(NumberText::format(*current));
    return current;
}

std::optional<double> CableLineDialog::checkLoadCurrent()
{
    const auto current = loadCurrent();
    if (!current || !LineInputs::loadCurrentAccepted(*current)) {
        // A current past any cable's (1E+308 A) would give a drop no number holds.
        if (current && *current > 0)
            m_prompter.message(InputCheck::message(InputCheck::Numeric::TooLarge), InputCheck::title(),
                               Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
        else
            m_prompter.message(LineEntry::currentMessage(), LineEntry::currentTitle(), Prompter::Icon::Exclamation,
                               Prompter::Buttons::Ok);
        tabs->setCurrentIndex(1); // "Подобрать" asks from another tab
        loadCurrentList->setFocus(Qt::OtherFocusReason);
        loadCurrentList->lineEdit()->selectAll();
        return std::nullopt;
    }
    return current;
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
    // A text that is no current counts as 0: the first row.
    const double current = loadCurrent().value_or(0);
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
    const Permissible::NeutralList list = Permissible::readNeutralSections(m_context.appDir());
    m_parametersTab->showNeutralSections(list.sections, neutralSectionList->currentIndex());
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

void CableLineDialog::addMark(bool copper)
{
    m_marksTab->addMark(copper);
}

void CableLineDialog::removeMark(bool copper)
{
    m_marksTab->removeMark(copper);
}

void CableLineDialog::confirm()
{
    Prompter &prompter = m_prompter;
    if (!checkTableUsable())
        return;
    // Confirming takes the focus from the section field, which then holds the listed section.
    m_parametersTab->syncSectionFieldToList();
    if (!checkNumericEntry(sectionEdit, prompter))
        return;
    if (!checkNumericEntry(lengthEdit, prompter))
        return;
    if (!checkLoadCurrent())
        return;
    if (!checkCoincidence())
        return;
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
    const std::optional<QString> mark = m_marksTab->selectedMark(request.choice.material == Permissible::Copper);
    request.mark = mark.value_or(QString());
    // A changed line whose mark is not in the list keeps its mark.
    if (changeMode && !mark && m_changedLine.cell(CableLine::Material) == Permissible::materialNames().value(request.choice.material))
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
    // A changed line stays on the checked path it was on.
    line.checked = changeMode && m_lines.line(m_changeRow).checked;
    line.place = m_networkTab->placeFor(changeMode ? m_changedLine.place : LinePlace{});

    if (changeMode && m_networkTab->startChosen()) {
        // A start chosen here is set: the starts that only the checked order
        // gave are set as they stand, so no other line moves. One change with it.
        QVector<CableLine> lines = m_project.lines;
        Network::setCheckedOrderStarts(lines, Network::Tree::build(lines));
        lines[m_changeRow] = line;
        m_lines.replaceLines(lines, QStringLiteral("изменение линии"));
    } else if (changeMode) {
        m_lines.replaceLine(m_changeRow, line);
    } else {
        m_lines.appendLine(line);
        m_networkTab->refill(m_project);
    }

    if (changeMode) {
        unload();
        accept();
    }
}

bool CableLineDialog::checkCoincidence()
{
    if (m_networkTab->coincidence())
        return true;
    m_prompter.message(QStringLiteral("Коэффициент совмещения максимумов Ко должен быть больше 0 и не больше 1!"),
                       InputCheck::title(), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    tabs->setCurrentWidget(m_networkTab);
    m_networkTab->coincidenceEdit->setFocus(Qt::OtherFocusReason);
    m_networkTab->coincidenceEdit->selectAll();
    return false;
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

void CableLineDialog::showEvent(QShowEvent *event)
{
    if (!changeMode)
        m_networkTab->refill(m_project);
    QDialog::showEvent(event);
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
    m_marksTab->writeMarks();
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
    m_networkTab->fill(m_project, row);
    if (line.inputs)
        fillFromInputs(line, *line.inputs);
    else
        fillFromTexts(line);
    const QStringList damaged = line.inputs ? line.inputs->damagedKeys() : QStringList();
    if (!line.inputs)
        inputsNote->setText(QStringLiteral("Конструкция и прокладка этой линии не были сохранены в проекте: проверьте их."));
    else
        inputsNote->setText(QStringLiteral("Данные этой линии в проекте повреждены (") + damaged.join(QStringLiteral(", "))
                            + QStringLiteral("): проверьте их."));
    inputsNote->setVisible(!line.inputs || !damaged.isEmpty());
    confirmButton->setText(QStringLiteral("Изменить"));
    setWindowTitle(QString::fromUtf8(kChangeCaption));
}

void CableLineDialog::fillFromInputs(const CableLine &line, const LineInputs &inputs)
{
    Permissible::Choice c = LineEntry::choiceOf(inputs);
    // A damaged network or material: what the row says.
    const LineCalc::RowValues row = LineCalc::rowValues(line);
    if (!inputs.threePhase.sound() && row.net)
        c.net = *row.net;
    if (!inputs.material.sound() && row.material)
        c.material = *row.material == LineCalc::copper() ? Permissible::Copper : Permissible::Aluminium;
    const bool threePhase = c.net == NetworkType::ThreePhase;
    networkOptions[threePhase ? 1 : 0]->setChecked(true);
    if (threePhase)
        coreCountList->setCurrentIndex(c.type2);
    else
        singlePhaseTypeList->setCurrentIndex(c.type1);
    layingList->setCurrentIndex(c.type3);
    materialList->setCurrentIndex(c.material);
    // Typed fields show what was kept, damaged or not: the confirm refuses
    // a damaged one with its message.
    setConditions(inputs.cosPhi.text, inputs.ambient.text, inputs.cables.value.value_or(1),
                  inputs.spacing.value.value_or(100));
    m_protectionTab->selectDevice(inputs.device.text, inputs.deviceRating.text);
    tripTimeEdit->setText(inputs.tripTime.text);
    sectionEdit->setText(LineCalc::phaseSectionText(line.cell(CableLine::Cores)));
    lookupPermissibleCurrent();
    neutralCheck->setChecked(inputs.neutral.value == true);
    const int neutral = neutralSectionList->findText(inputs.neutralSection.text);
    if (inputs.neutral.value == true && neutral >= 0)
        neutralSectionList->setCurrentIndex(neutral);
    lengthEdit->setText(line.cell(CableLine::Length));
    loadCurrentList->setEditText(inputs.loadCurrent.text);
    m_marksTab->selectMark(c.material == Permissible::Copper, inputs.mark.text);
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
    m_protectionTab->selectDevice(QString(), QString());
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
    m_marksTab->selectMark(line.cell(CableLine::Material) == LineCalc::copper(), line.cell(CableLine::Mark));
}

void CableLineDialog::setConditions(const QString &cosPhi, const QString &ambient, int cables, int spacing)
{
    cosPhiEdit->setText(cosPhi);
    m_typeTab->setConditions(ambient, cables, spacing);
}

