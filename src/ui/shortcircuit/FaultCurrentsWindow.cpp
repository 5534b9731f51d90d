#include "ui/shortcircuit/FaultCurrentsWindow.h"

#include "base/InputCheck.h"
#include "base/NumberText.h"
#include "base/Project.h"
#include "base/Prompter.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTexts.h"
#include "docs/schedules/FaultCurrentsReport.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *numberField(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(12);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000,000")) + 12);
    return e;
}

} // namespace

FaultCurrentsWindow::FaultCurrentsWindow(Project &project, const AppContext &context, Prompter &prompter,
                                         ReportWriter &writer, QWidget *parent)
    : QDialog(parent), m_project(project), m_context(context), m_prompter(prompter), m_writer(writer)
{
    setObjectName(QStringLiteral("FaultCurrentsWindow"));
    setWindowTitle(QStringLiteral("Токи КЗ по ГОСТ 28249-93"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    buildLayout();
    showInputs();
    connect(calculateButton, &QPushButton::clicked, this, &FaultCurrentsWindow::calculate);
    connect(reportButton, &QPushButton::clicked, this, &FaultCurrentsWindow::saveReport);
    if (printButton)
        connect(printButton, &QPushButton::clicked, this, &FaultCurrentsWindow::printReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void FaultCurrentsWindow::buildLayout()
{
    auto *source = new QGroupBox(QStringLiteral("Питание"), this);
    source->setObjectName(QStringLiteral("sourceFrame"));
    transformerLabel = new QLabel(source);
    transformerLabel->setObjectName(QStringLiteral("transformerLabel"));
    groupList = new QComboBox(source);
    groupList->setObjectName(QStringLiteral("groupList"));
    groupList->addItem(QStringLiteral("Y/Yн-0"), QStringLiteral("Y"));
    groupList->addItem(QStringLiteral("Д/Yн-11"), QStringLiteral("D"));
    systemPowerEdit = numberField(source, QStringLiteral("systemPowerEdit"));
    systemPowerEdit->setToolTip(QStringLiteral("0 — система бесконечной мощности"));
    supplyVoltageList = new QComboBox(source);
    supplyVoltageList->setObjectName(QStringLiteral("supplyVoltageList"));
    supplyVoltageList->addItems({QStringLiteral("10"), QStringLiteral("6")});
    busResistanceEdit = numberField(source, QStringLiteral("busResistanceEdit"));
    busReactanceEdit = numberField(source, QStringLiteral("busReactanceEdit"));
    auto *s = new QGridLayout(source);
    s->addWidget(transformerLabel, 0, 0, 1, 3);
    s->addWidget(new QLabel(QStringLiteral("Схема соединения обмоток"), source), 1, 0);
    s->addWidget(groupList, 1, 1, 1, 2);
    s->addWidget(new QLabel(QStringLiteral("Мощность КЗ системы Sк"), source), 2, 0);
    s->addWidget(systemPowerEdit, 2, 1);
    s->addWidget(new QLabel(QStringLiteral("МВА"), source), 2, 2);
    s->addWidget(new QLabel(QStringLiteral("Напряжение питающей линии"), source), 3, 0);
    s->addWidget(supplyVoltageList, 3, 1);
    s->addWidget(new QLabel(QStringLiteral("кВ"), source), 3, 2);
    s->addWidget(new QLabel(QStringLiteral("Шины и аппараты ТП: R"), source), 4, 0);
    s->addWidget(busResistanceEdit, 4, 1);
    s->addWidget(new QLabel(QStringLiteral("мОм"), source), 4, 2);
    s->addWidget(new QLabel(QStringLiteral("X"), source), 5, 0, Qt::AlignRight);
    s->addWidget(busReactanceEdit, 5, 1);
    s->addWidget(new QLabel(QStringLiteral("мОм"), source), 5, 2);

    auto *minimum = new QGroupBox(QStringLiteral("Линии и место КЗ"), this);
    minimum->setObjectName(QStringLiteral("minimumFrame"));
    contactResistanceEdit = numberField(minimum, QStringLiteral("contactResistanceEdit"));
    arcResistanceEdit = numberField(minimum, QStringLiteral("arcResistanceEdit"));
    temperatureEdit = numberField(minimum, QStringLiteral("temperatureEdit"));
    auto *m = new QGridLayout(minimum);
    m->addWidget(new QLabel(QStringLiteral("Контакты каждой линии"), minimum), 0, 0);
    m->addWidget(contactResistanceEdit, 0, 1);
    m->addWidget(new QLabel(QStringLiteral("мОм"), minimum), 0, 2);
    m->addWidget(new QLabel(QStringLiteral("Дуга, для Iк(1) min"), minimum), 1, 0);
    m->addWidget(arcResistanceEdit, 1, 1);
    m->addWidget(new QLabel(QStringLiteral("мОм"), minimum), 1, 2);
    m->addWidget(new QLabel(QStringLiteral("Жилы к концу КЗ, для Iк(1) min"), minimum), 2, 0);
    m->addWidget(temperatureEdit, 2, 1);
    m->addWidget(new QLabel(QStringLiteral("°C"), minimum), 2, 2);
    m->setRowStretch(3, 1);

    pointTable = resultTable(FaultCurrents::headings(), QStringLiteral("pointTable"), this);
    pointTable->horizontalHeader()->setStretchLastSection(true);
    pointTable->setMinimumSize(640, 200);

    calculateButton = namedButton(QStringLiteral("&Рассчитать"), QStringLiteral("calculateButton"), this);
    calculateButton->setDefault(true);
    reportButton = namedButton(QStringLiteral("Сохранить &ведомость..."), QStringLiteral("reportButton"), this);
    if (m_writer.canPrint())
        printButton = namedButton(QStringLiteral("&Печать..."), QStringLiteral("printButton"), this);
    closeButton = namedButton(QStringLiteral("&Закрыть"), QStringLiteral("closeButton"), this);

    auto *inputs = new QHBoxLayout;
    inputs->addWidget(source);
    inputs->addWidget(minimum);
    QHBoxLayout *buttons = buttonRow({calculateButton, reportButton, printButton, closeButton});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(pointTable, 1);
    layout->addLayout(buttons);
}

void FaultCurrentsWindow::showInputs()
{
    transformerLabel->setText(QStringLiteral("Трансформатор ") + m_project.transformerPower + QStringLiteral(" кВА"));
    groupList->setCurrentIndex(m_project.transformerGroup.trimmed().toUpper() == QLatin1String("D") ? 1 : 0);
    systemPowerEdit->setText(m_project.systemPower);
    const int voltage = supplyVoltageList->findText(m_project.supplyVoltage.trimmed());
    supplyVoltageList->setCurrentIndex(voltage >= 0 ? voltage : 0);
    busResistanceEdit->setText(m_project.busResistance);
    busReactanceEdit->setText(m_project.busReactance);
    contactResistanceEdit->setText(m_project.contactResistance);
    arcResistanceEdit->setText(m_project.arcResistance);
    temperatureEdit->setText(m_project.conductorTemperature);
}

SubstationData FaultCurrentsWindow::inputs() const
{
    SubstationData d = m_project.substation();
    d.transformerGroup = groupList->currentData().toString();
    d.systemPower = systemPowerEdit->text();
    d.supplyVoltage = supplyVoltageList->currentText();
    d.busResistance = busResistanceEdit->text();
    d.busReactance = busReactanceEdit->text();
    d.contactResistance = contactResistanceEdit->text();
    d.arcResistance = arcResistanceEdit->text();
    d.conductorTemperature = temperatureEdit->text();
    return d;
}

bool FaultCurrentsWindow::calculate()
{
    Project trial = m_project;
    trial.setSubstation(inputs());
    QString message;
    const auto checked = FaultCurrents::inputsOf(trial, &message);
    if (!checked) {
        m_prompter.message(message, InputCheck::title(), Prompter::Icon::Exclamation);
        return false;
    }
    // The inputs are the project's from now on.
    if (trial.substation() != m_project.substation())
        m_project.setSubstation(trial.substation());
    m_result = Network::faultCurrentsOf(m_project, m_context, &message).value_or(FaultCurrents::Result{});
    showResult();
    for (const QString &problem : std::as_const(m_result.problems))
        m_prompter.message(problem, QString(), Prompter::Icon::Exclamation);
    return m_result.problems.isEmpty();
}

void FaultCurrentsWindow::showResult()
{
    pointTable->setRowCount(int(m_result.points.size()));
    const int places = m_context.calc.places();
    for (int r = 0; r < m_result.points.size(); ++r) {
        const FaultCurrents::Point &point = m_result.points.at(r);
        QStringList texts = FaultCurrents::pointTexts(point, places);
        // Each line under the line it starts at.
        texts[0] = Network::indentedName(point.name, point.level);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            pointTable->setItem(r, c, item);
        }
    }
}

void FaultCurrentsWindow::saveReport()
{
    // The schedule is written only from a full calculation.
    if (!calculate())
        return;
    FaultCurrentsReport::run(m_writer, m_project, m_result, m_context.calc.places());
}

void FaultCurrentsWindow::printReport()
{
    if (!calculate())
        return;
    FaultCurrentsReport::print(m_writer, m_project, m_result, m_context.calc.places());
}
