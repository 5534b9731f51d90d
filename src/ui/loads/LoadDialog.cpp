#include "ui/loads/LoadDialog.h"

#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/NumberText.h"
#include "base/Prompter.h"
#include "calc/calculator/Evaluator.h"
#include "calc/loads/LoadCalc.h"
#include "ui/loads/LoadListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const kOther = "Другое";

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

LoadDialog::LoadDialog(AppContext &context, Prompter &prompter, LoadListModel &model, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter), m_model(model)
{
    setObjectName(QStringLiteral("LoadDialog"));
    setWindowTitle(QStringLiteral("Добавить нагрузку"));

    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    powerEdit = new QLineEdit(this);
    powerEdit->setObjectName(QStringLiteral("powerEdit"));
    calculateButton = new QPushButton(QStringLiteral("="), this);
    calculateButton->setObjectName(QStringLiteral("calculateButton"));
    calculateButton->setToolTip(QStringLiteral("Вычислить"));
    calculateButton->setFixedWidth(calculateButton->sizeHint().height() + 8);
    powerFactorEdit = new QLineEdit(this);
    powerFactorEdit->setObjectName(QStringLiteral("powerFactorEdit"));
    powerFactorList = new QComboBox(this);
    powerFactorList->setObjectName(QStringLiteral("powerFactorList"));
    demandFactorEdit = new QLineEdit(this);
    demandFactorEdit->setObjectName(QStringLiteral("demandFactorEdit"));
    demandFactorEdit->setMaxLength(4);
    demandFactorList = new QComboBox(this);
    demandFactorList->setObjectName(QStringLiteral("demandFactorList"));
    phaseCountList = new QComboBox(this);
    phaseCountList->setObjectName(QStringLiteral("phaseCountList"));
    phaseList = new QComboBox(this);
    phaseList->setObjectName(QStringLiteral("phaseList"));
    efficiencyLabel = new QLabel(QStringLiteral("КПД двигателя"), this);
    efficiencyLabel->setObjectName(QStringLiteral("efficiencyLabel"));
    efficiencyEdit = new QLineEdit(this);
    efficiencyEdit->setObjectName(QStringLiteral("efficiencyEdit"));
    efficiencyEdit->setMaxLength(4);
    confirmButton = new QPushButton(QStringLiteral("&Добавить"), this);
    confirmButton->setObjectName(QStringLiteral("confirmButton"));

    // Enter evaluates the power field wherever the focus is.
    for (QPushButton *b : {calculateButton, confirmButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    for (QComboBox *c : {powerFactorList, demandFactorList}) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(28);
    }
    for (QLineEdit *e : {powerFactorEdit, demandFactorEdit, efficiencyEdit})
        e->setFixedWidth(70);

    auto *grid = new QGridLayout;
    int row = 0;
    auto label = [this](const QString &text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("Наименование")), row, 0);
    grid->addWidget(nameEdit, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Мощность, кВт")), row, 0);
    auto *power = new QHBoxLayout;
    power->addWidget(powerEdit, 1);
    power->addWidget(calculateButton);
    grid->addLayout(power, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Коэф. мощности")), row, 0);
    grid->addWidget(powerFactorEdit, row, 1);
    grid->addWidget(powerFactorList, row++, 2);
    grid->addWidget(label(QStringLiteral("Коэф. спроса")), row, 0);
    grid->addWidget(demandFactorEdit, row, 1);
    grid->addWidget(demandFactorList, row++, 2);
    grid->addWidget(label(QStringLiteral("Потребитель")), row, 0);
    grid->addWidget(phaseCountList, row++, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Фаза")), row, 0);
    grid->addWidget(phaseList, row++, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(efficiencyLabel, row, 0);
    grid->addWidget(efficiencyEdit, row++, 1);
    grid->setColumnStretch(2, 1);
    // Keep the place of the efficiency row while it is hidden, so the dialog does not jump.
    grid->setRowMinimumHeight(row - 1, efficiencyEdit->sizeHint().height());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(confirmButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // Initialisation: the two named-coefficient lists, the phases, the number of phases.
    const struct {
        QComboBox *list;
        QLineEdit *field;
        int entry;
    } lists[] = {{demandFactorList, demandFactorEdit, DataFiles::DemandFactors}, {powerFactorList, powerFactorEdit, DataFiles::PowerFactors}};
    for (const auto &l : lists) {
        l.list->clear();
        l.list->addItem(QString::fromUtf8(kOther));
        for (const LoadCalc::NamedCoefficient &record : LoadCalc::readCoefficientList(m_context.dataFilePath(l.entry)))
            l.list->addItem(record.name);
        l.list->setCurrentIndex(0);
        chooseCoefficient(l.list, l.field, l.entry);
    }
    phaseList->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    phaseList->setCurrentIndex(0);
    phaseCountList->addItems({QStringLiteral("Однофазный"), QStringLiteral("Трехфазный")});
    phaseCountList->setCurrentIndex(0);
    choosePhaseCount();

    connect(calculateButton, &QPushButton::clicked, this, &LoadDialog::evaluatePower);
    connect(confirmButton, &QPushButton::clicked, this, &LoadDialog::confirm);
    connect(demandFactorList, &QComboBox::currentIndexChanged, this,
            [this] { chooseCoefficient(demandFactorList, demandFactorEdit, DataFiles::DemandFactors); });
    connect(powerFactorList, &QComboBox::currentIndexChanged, this,
            [this] { chooseCoefficient(powerFactorList, powerFactorEdit, DataFiles::PowerFactors); });
    connect(phaseCountList, &QComboBox::currentIndexChanged, this, &LoadDialog::choosePhaseCount);
}

void LoadDialog::setLocked(QLineEdit *field, bool locked)
{
    field->setReadOnly(locked);
    QPalette p = field->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(locked ? QPalette::Button : QPalette::Base));
    field->setPalette(p);
}

void LoadDialog::chooseCoefficient(QComboBox *list, QLineEdit *field, int registryEntry)
{
    const QVector<LoadCalc::NamedCoefficient> records =
        LoadCalc::readCoefficientList(m_context.dataFilePath(registryEntry));
    if (records.isEmpty())
        return; // a list without records leaves the field as it is
    const auto record = LoadCalc::findCoefficient(records, list->currentText());
    // A record whose value is no number counts as a name without a value.
    if (record && record->value) {
        field->setText(NumberText::format(*record->value));
        setLocked(field, true);
    } else {
        field->clear();
        setLocked(field, false);
    }
}

void LoadDialog::choosePhaseCount()
{
    const bool three = phaseCountList->currentIndex() == 1;
    efficiencyLabel->setVisible(three);
    efficiencyEdit->setVisible(three);
    if (!three)
        efficiencyEdit->setText(QStringLiteral("1"));
    phaseList->setEnabled(!three);
}

void LoadDialog::restoreCoefficient(QComboBox *list, QLineEdit *field, const QString &name, const QString &value)
{
    const int entry = name.isEmpty() ? -1 : list->findText(name);
    if (entry > 0) {
        list->setCurrentIndex(entry); // fills and locks the field from the file
        if (field->isReadOnly() && NumberText::parse(field->text()) == NumberText::parse(value))
            return;
    }
    list->setCurrentIndex(0);
    field->setText(value);
}

QString LoadDialog::chosenName(const QComboBox *list, const QLineEdit *field)
{
    return list->currentIndex() > 0 && field->isReadOnly() ? list->currentText() : QString();
}

void LoadDialog::startFrom(const Entry &entry)
{
    phaseCountList->setCurrentIndex(entry.threePhase ? 1 : 0);
    choosePhaseCount();
    const int phase = phaseList->findText(entry.phase);
    if (phase >= 0)
        phaseList->setCurrentIndex(phase);
    if (entry.threePhase)
        efficiencyEdit->setText(entry.efficiency);
    restoreCoefficient(powerFactorList, powerFactorEdit, entry.powerFactorName, entry.powerFactor);
    restoreCoefficient(demandFactorList, demandFactorEdit, entry.demandFactorName, entry.demandFactor);
}

LoadDialog::Entry LoadDialog::entry() const
{
    Entry e;
    e.powerFactor = powerFactorEdit->text();
    e.powerFactorName = chosenName(powerFactorList, powerFactorEdit);
    e.demandFactor = demandFactorEdit->text();
    e.demandFactorName = chosenName(demandFactorList, demandFactorEdit);
    e.threePhase = phaseCountList->currentIndex() == 1;
    e.phase = phaseList->currentText();
    e.efficiency = efficiencyEdit->text();
    return e;
}

void LoadDialog::loadForChange(int row)
{
    const Load load = m_model.load(row);
    m_row = row;
    nameEdit->setText(load.column(0));
    powerEdit->setText(load.column(1));
    restoreCoefficient(powerFactorList, powerFactorEdit, load.powerFactorName, load.column(2));
    restoreCoefficient(demandFactorList, demandFactorEdit, load.demandFactorName, load.column(3));
    efficiencyEdit->setText(load.column(9));
    if (load.column(8) != QLatin1String("1")) {
        phaseCountList->setCurrentIndex(1);
    } else {
        const int phase = phaseList->findText(load.column(7));
        if (phase >= 0)
            phaseList->setCurrentIndex(phase);
        phaseCountList->setCurrentIndex(0);
    }
    choosePhaseCount();
    confirmButton->setText(QStringLiteral("Изменить"));
    setWindowTitle(QStringLiteral("Изменить нагрузку"));
    changeMode = true;
}

void LoadDialog::evaluatePower()
{
    WaitCursor wait;
    const QString result = evaluateExpression(powerEdit->text(), m_prompter);
    if (result != Evaluator::errorMarker()) {
        powerEdit->setText(result);
    } else {
        powerEdit->setFocus(Qt::OtherFocusReason);
        powerEdit->selectAll();
    }
}

void LoadDialog::confirm()
{
    LoadCalc::LoadInput in;
    in.name = nameEdit->text();
    in.power = powerEdit->text();
    in.cosf = powerFactorEdit->text();
    in.ks = demandFactorEdit->text();
    in.threePhase = phaseCountList->currentIndex() == 1;
    in.phase = phaseList->currentText();
    in.kpd = efficiencyEdit->text();

    bool emptyField = false;
    const LoadCalc::Field failed = LoadCalc::checkLoadInput(in, m_prompter, &emptyField);
    if (failed != LoadCalc::Field::None) {
        QLineEdit *field = nullptr;
        switch (failed) {
        case LoadCalc::Field::Name:
            field = nameEdit;
            break;
        case LoadCalc::Field::Power:
            field = powerEdit;
            break;
        case LoadCalc::Field::Cosf:
            field = powerFactorEdit;
            break;
        case LoadCalc::Field::Ks:
            field = demandFactorEdit;
            break;
        default:
            field = efficiencyEdit;
            break;
        }
        field->setFocus(Qt::OtherFocusReason);
        if (!emptyField)
            field->selectAll();
        return;
    }

    Load load = LoadCalc::computeLoad(in, m_context.calc.places());
    load.powerFactorName = chosenName(powerFactorList, powerFactorEdit);
    load.demandFactorName = chosenName(demandFactorList, demandFactorEdit);
    if (changeMode) {
        if (!m_model.replaceLoad(m_row, load))
            m_model.appendLoad(load); // the row has gone meanwhile: keep the entry rather than lose it
    } else {
        m_model.appendLoad(load);
    }
    emit loadEntered();
    if (changeMode)
        accept();
}

void LoadDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        evaluatePower();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event); // Esc closes without touching the list
}
