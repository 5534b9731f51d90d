#include "ui/lighting/TransferDialog.h"

#include "base/AppContext.h"
#include "base/DataFileRegistry.h"
#include "base/NumberText.h"
#include "base/Prompter.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TransferDialog::TransferDialog(const Project &project, const LightingRoom &room, int count, double luminairePower,
                               const AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_room(room), m_count(count), m_power(luminairePower), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TransferDialog"));
    setWindowTitle(QStringLiteral("Передать в щит"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    shieldList = new QComboBox(this);
    shieldList->setObjectName(QStringLiteral("shieldList"));
    for (const Shield &shield : project.shields)
        shieldList->addItem(shield.name);
    shieldList->setCurrentIndex(qBound(0, project.currentShield, int(project.shields.size()) - 1));
    entryList = new QComboBox(this);
    entryList->setObjectName(QStringLiteral("entryList"));
    entryList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    entryList->setMinimumContentsLength(32);
    powerFactorEdit = new QLineEdit(this);
    powerFactorEdit->setObjectName(QStringLiteral("powerFactorEdit"));
    demandFactorEdit = new QLineEdit(this);
    demandFactorEdit->setObjectName(QStringLiteral("demandFactorEdit"));
    for (QLineEdit *e : {powerFactorEdit, demandFactorEdit}) {
        e->setMaxLength(8);
        e->setFixedWidth(70);
    }
    spreadList = new QComboBox(this);
    spreadList->setObjectName(QStringLiteral("spreadList"));
    spreadList->addItems(RoomLoads::spreadCaptions());
    spreadList->setCurrentIndex(int(RoomLoads::Spread::EvenlyABC));
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel->setWordWrap(true);
    okButton = namedButton(QStringLiteral("OK"), QStringLiteral("okButton"), this);
    okButton->setDefault(true);
    cancelButton = namedButton(QStringLiteral("Отмена"), QStringLiteral("cancelButton"), this);

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Щит"), this), row, 0);
    grid->addWidget(shieldList, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Потребитель"), this), row, 0);
    grid->addWidget(entryList, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Коэф. мощности"), this), row, 0);
    grid->addWidget(powerFactorEdit, row++, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Коэф. спроса"), this), row, 0);
    grid->addWidget(demandFactorEdit, row++, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Фазы"), this), row, 0);
    grid->addWidget(spreadList, row++, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(summaryLabel);
    layout->addLayout(buttonRow({okButton, cancelButton}));

    m_demand = lightingEntries(LoadCalc::readCoefficientList(context.dataFilePath(DataFiles::DemandFactors)));
    m_powerFactors = LoadCalc::readCoefficientList(context.dataFilePath(DataFiles::PowerFactors));
    for (const LoadCalc::NamedCoefficient &entry : std::as_const(m_demand))
        entryList->addItem(entry.name);
    chooseEntry();

    QString summary = QString::number(count) + QStringLiteral(" × ") + NumberText::format(luminairePower)
                      + QStringLiteral(" Вт = ") + NumberText::format(count * luminairePower / 1000)
                      + QStringLiteral(" кВт, нагрузка «") + RoomLoads::loadName(room) + QStringLiteral("».");
    const QStringList linked = RoomLoads::linkedShields(project, room.id);
    if (!linked.isEmpty())
        summary += QStringLiteral(" Прежние нагрузки помещения (щит ") + linked.join(QStringLiteral(", "))
                   + QStringLiteral(") будут заменены.");
    summaryLabel->setText(summary);

    connect(entryList, &QComboBox::currentIndexChanged, this, &TransferDialog::chooseEntry);
    connect(okButton, &QPushButton::clicked, this, &TransferDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QVector<LoadCalc::NamedCoefficient> TransferDialog::lightingEntries(const QVector<LoadCalc::NamedCoefficient> &demand)
{
    QVector<LoadCalc::NamedCoefficient> out;
    for (const LoadCalc::NamedCoefficient &entry : demand)
        if (entry.name.contains(QStringLiteral("освещ"), Qt::CaseInsensitive))
            out << entry;
    return out.isEmpty() ? demand : out;
}

void TransferDialog::chooseEntry()
{
    const int k = entryList->currentIndex();
    if (k < 0 || k >= m_demand.size())
        return;
    const LoadCalc::NamedCoefficient &entry = m_demand.at(k);
    demandFactorEdit->setText(entry.value ? NumberText::format(*entry.value) : QString());
    const auto cosPhi = LoadCalc::findCoefficient(m_powerFactors, entry.name);
    powerFactorEdit->setText(cosPhi && cosPhi->value ? NumberText::format(*cosPhi->value) : QString());
}

RoomLoads::Transfer TransferDialog::transfer() const
{
    RoomLoads::Transfer t;
    t.shield = shieldList->currentIndex();
    t.cosPhi = powerFactorEdit->text();
    t.demandFactor = demandFactorEdit->text();
    t.spread = RoomLoads::Spread(spreadList->currentIndex());
    return t;
}

void TransferDialog::confirm()
{
    // The load dialog's checks of the coefficients.
    LoadCalc::LoadInput input;
    input.name = RoomLoads::loadName(m_room);
    input.power = NumberText::format(m_count * m_power / 1000);
    input.cosf = powerFactorEdit->text();
    input.ks = demandFactorEdit->text();
    switch (LoadCalc::checkLoadInput(input, m_prompter)) {
    case LoadCalc::Field::None:
        accept();
        return;
    case LoadCalc::Field::Cosf:
        powerFactorEdit->setFocus();
        powerFactorEdit->selectAll();
        return;
    case LoadCalc::Field::Ks:
        demandFactorEdit->setFocus();
        demandFactorEdit->selectAll();
        return;
    default:
        return;
    }
}
