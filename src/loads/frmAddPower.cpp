#include "loads/frmAddPower.h"

#include "app/AppContext.h"
#include "app/DataFileRegistry.h"
#include "app/NumberText.h"
#include "app/Prompter.h"
#include "calculator/Evaluator.h"
#include "loads/LoadCalc.h"
#include "loads/LoadListModel.h"

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

frmAddPower::frmAddPower(AppContext &context, Prompter &prompter, LoadListModel &model, QWidget *parent)
    : QDialog(parent), m_context(context), m_prompter(prompter), m_model(model)
{
    setObjectName(QStringLiteral("frmAddPower"));
    setWindowTitle(QStringLiteral("Добавить нагрузку"));

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtPust = new QLineEdit(this);
    txtPust->setObjectName(QStringLiteral("txtPust"));
    cmdCalc = new QPushButton(QStringLiteral("="), this);
    cmdCalc->setObjectName(QStringLiteral("cmdCalc"));
    cmdCalc->setToolTip(QStringLiteral("Вычислить"));
    cmdCalc->setFixedWidth(cmdCalc->sizeHint().height() + 8);
    txtCosf = new QLineEdit(this);
    txtCosf->setObjectName(QStringLiteral("txtCosf"));
    cmbCosf = new QComboBox(this);
    cmbCosf->setObjectName(QStringLiteral("cmbCosf"));
    txtKs = new QLineEdit(this);
    txtKs->setObjectName(QStringLiteral("txtKs"));
    txtKs->setMaxLength(4);
    cmbKS = new QComboBox(this);
    cmbKS->setObjectName(QStringLiteral("cmbKS"));
    cmbNFaz = new QComboBox(this);
    cmbNFaz->setObjectName(QStringLiteral("cmbNFaz"));
    cmbFaza = new QComboBox(this);
    cmbFaza->setObjectName(QStringLiteral("cmbFaza"));
    lblKPD = new QLabel(QStringLiteral("КПД двигателя"), this);
    lblKPD->setObjectName(QStringLiteral("lblKPD"));
    txtKPD = new QLineEdit(this);
    txtKPD->setObjectName(QStringLiteral("txtKPD"));
    txtKPD->setMaxLength(4);
    cmdAddP = new QPushButton(QStringLiteral("&Добавить"), this);
    cmdAddP->setObjectName(QStringLiteral("cmdAddP"));

    // Enter evaluates the power field wherever the focus is.
    for (QPushButton *b : {cmdCalc, cmdAddP}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    for (QComboBox *c : {cmbCosf, cmbKS}) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(28);
    }
    for (QLineEdit *e : {txtCosf, txtKs, txtKPD})
        e->setFixedWidth(70);

    auto *grid = new QGridLayout;
    int row = 0;
    auto label = [this](const QString &text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("Наименование")), row, 0);
    grid->addWidget(txtName, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Мощность, кВт")), row, 0);
    auto *power = new QHBoxLayout;
    power->addWidget(txtPust, 1);
    power->addWidget(cmdCalc);
    grid->addLayout(power, row++, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Коэф. мощности")), row, 0);
    grid->addWidget(txtCosf, row, 1);
    grid->addWidget(cmbCosf, row++, 2);
    grid->addWidget(label(QStringLiteral("Коэф.спроса")), row, 0);
    grid->addWidget(txtKs, row, 1);
    grid->addWidget(cmbKS, row++, 2);
    grid->addWidget(label(QStringLiteral("Потребитель")), row, 0);
    grid->addWidget(cmbNFaz, row++, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Фаза")), row, 0);
    grid->addWidget(cmbFaza, row++, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(lblKPD, row, 0);
    grid->addWidget(txtKPD, row++, 1);
    grid->setColumnStretch(2, 1);
    // Keep the place of the efficiency row while it is hidden, so the dialog does not jump.
    grid->setRowMinimumHeight(row - 1, txtKPD->sizeHint().height());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdAddP);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // Initialisation: the two named-coefficient lists, the phases, the number of phases.
    const struct {
        QComboBox *list;
        QLineEdit *field;
        int entry;
    } lists[] = {{cmbKS, txtKs, DataFiles::DemandFactors}, {cmbCosf, txtCosf, DataFiles::PowerFactors}};
    for (const auto &l : lists) {
        l.list->clear();
        l.list->addItem(QString::fromUtf8(kOther));
        for (const LoadCalc::NamedCoefficient &record : LoadCalc::ReadCoefficientList(m_context.dataFile(l.entry)))
            l.list->addItem(record.name);
        l.list->setCurrentIndex(0);
        chooseCoefficient(l.list, l.field, l.entry);
    }
    cmbFaza->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    cmbFaza->setCurrentIndex(0);
    cmbNFaz->addItems({QStringLiteral("Однофазный"), QStringLiteral("Трехфазный")});
    cmbNFaz->setCurrentIndex(0);
    choosePhaseCount();

    connect(cmdCalc, &QPushButton::clicked, this, &frmAddPower::evaluatePower);
    connect(cmdAddP, &QPushButton::clicked, this, &frmAddPower::confirm);
    connect(cmbKS, &QComboBox::currentIndexChanged, this,
            [this] { chooseCoefficient(cmbKS, txtKs, DataFiles::DemandFactors); });
    connect(cmbCosf, &QComboBox::currentIndexChanged, this,
            [this] { chooseCoefficient(cmbCosf, txtCosf, DataFiles::PowerFactors); });
    connect(cmbNFaz, &QComboBox::currentIndexChanged, this, &frmAddPower::choosePhaseCount);
}

void frmAddPower::setLocked(QLineEdit *field, bool locked)
{
    field->setReadOnly(locked);
    QPalette p = field->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(locked ? QPalette::Button : QPalette::Base));
    field->setPalette(p);
}

void frmAddPower::chooseCoefficient(QComboBox *list, QLineEdit *field, int registryEntry)
{
    const QVector<LoadCalc::NamedCoefficient> records =
        LoadCalc::ReadCoefficientList(m_context.dataFile(registryEntry));
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

void frmAddPower::choosePhaseCount()
{
    const bool three = cmbNFaz->currentIndex() == 1;
    lblKPD->setVisible(three);
    txtKPD->setVisible(three);
    if (!three)
        txtKPD->setText(QStringLiteral("1"));
    cmbFaza->setEnabled(!three);
}

void frmAddPower::loadForChange(int row)
{
    const Load load = m_model.load(row);
    m_row = row;
    txtName->setText(load.column(0));
    txtPust->setText(load.column(1));
    txtCosf->setText(load.column(2));
    txtKs->setText(load.column(3));
    txtKPD->setText(load.column(9));
    if (load.column(8) != QLatin1String("1")) {
        cmbNFaz->setCurrentIndex(1);
    } else {
        const int phase = cmbFaza->findText(load.column(7));
        if (phase >= 0)
            cmbFaza->setCurrentIndex(phase);
        cmbNFaz->setCurrentIndex(0);
    }
    choosePhaseCount();
    cmdAddP->setText(QStringLiteral("Изменить"));
    setWindowTitle(QStringLiteral("Изменить нагрузку"));
    ChangeFlag = true;
}

void frmAddPower::evaluatePower()
{
    WaitCursor wait;
    const QString result = EvalExpression(txtPust->text(), m_prompter);
    if (result != Evaluator::errorMarker()) {
        txtPust->setText(result);
    } else {
        txtPust->setFocus(Qt::OtherFocusReason);
        txtPust->selectAll();
    }
}

void frmAddPower::confirm()
{
    LoadCalc::LoadInput in;
    in.name = txtName->text();
    in.power = txtPust->text();
    in.cosf = txtCosf->text();
    in.ks = txtKs->text();
    in.threePhase = cmbNFaz->currentIndex() == 1;
    in.phase = cmbFaza->currentText();
    in.kpd = txtKPD->text();

    bool emptyField = false;
    const LoadCalc::Field failed = LoadCalc::CheckLoadInput(in, m_prompter, &emptyField);
    if (failed != LoadCalc::Field::None) {
        QLineEdit *field = nullptr;
        switch (failed) {
        case LoadCalc::Field::Name:
            field = txtName;
            break;
        case LoadCalc::Field::Power:
            field = txtPust;
            break;
        case LoadCalc::Field::Cosf:
            field = txtCosf;
            break;
        case LoadCalc::Field::Ks:
            field = txtKs;
            break;
        default:
            field = txtKPD;
            break;
        }
        field->setFocus(Qt::OtherFocusReason);
        if (!emptyField)
            field->selectAll();
        return;
    }

    const Load load = LoadCalc::ComputeLoad(in, m_context.calc.tol());
    if (ChangeFlag) {
        if (!m_model.replaceLoad(m_row, load))
            m_model.appendLoad(load); // the row has gone meanwhile: keep the entry rather than lose it
    } else {
        m_model.appendLoad(load);
    }
    emit loadsChanged();
    if (ChangeFlag)
        accept();
}

void frmAddPower::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        evaluatePower();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event); // Esc closes without touching the list
}
