#include "ui/shortcircuit/ShortCircuitWindow.h"

#include "base/NumberText.h"
#include "calc/shortcircuit/ShortCircuit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
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

} // namespace

ShortCircuitWindow::ShortCircuitWindow(const Project &project, const CalcValues &calc, QWidget *parent)
    : QDialog(parent), m_project(project), m_calc(calc)
{
    setObjectName(QStringLiteral("ShortCircuitWindow"));
    setWindowTitle(QStringLiteral("Расчет токов короткого замыкания (") + ShortCircuit::methodName() + QStringLiteral(")"));
    setModal(true);
    buildLayout();

    // The limits first, so that the initial count is never cut.
    stageSpin->setRange(0, ShortCircuit::maxStageCount(m_project.lines));
    stageSpin->setValue(ShortCircuit::initialStageCount(m_project.lines));
    transformerPowerEdit->setText(NumberText::format(NumberText::toDouble(m_project.transformerPower)));

    connect(calculateButton, &QPushButton::clicked, this, &ShortCircuitWindow::calculate);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ShortCircuitWindow::buildLayout()
{
    transformerPowerEdit = displayBox(this, QStringLiteral("transformerPowerEdit"));
    stageSpin = new QSpinBox(this);
    stageSpin->setObjectName(QStringLiteral("stageSpin"));
    stageSpin->setFixedWidth(transformerPowerEdit->width());
    stageSpin->setAlignment(Qt::AlignRight);

    auto *top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Полная мощность трансформатора"), this), 0, 0);
    top->addWidget(transformerPowerEdit, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("кВА"), this), 0, 2);
    top->addWidget(new QLabel(QStringLiteral("Число ступеней распределения "), this), 1, 0);
    top->addWidget(stageSpin, 1, 1);
    top->setColumnStretch(0, 1);
    top->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(QStringLiteral("кВА")));

    auto *frame = new QGroupBox(QStringLiteral("Ведомость токов КЗ"), this);
    frame->setObjectName(QStringLiteral("currentsFrame"));
    auto *grid = new QGridLayout(frame);
    const QString captions[4] = {QStringLiteral("Трехфазный "), QStringLiteral("Двухфазный "),
                                 QStringLiteral("Однофазный "), QStringLiteral("Ударный ")};
    for (int i = 0; i < 4; ++i) {
        currentEdits[i] = displayBox(frame, QStringLiteral("currentEdits%1").arg(i));
        unitLabels[i] = new QLabel(ShortCircuit::initialUnitLabel(), frame);
        unitLabels[i]->setObjectName(QStringLiteral("unitLabels%1").arg(i));
        unitLabels[i]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("кВА")));
        grid->addWidget(new QLabel(captions[i], frame), i, 0);
        grid->addWidget(currentEdits[i], i, 1);
        grid->addWidget(unitLabels[i], i, 2);
    }
    grid->setColumnStretch(0, 1);

    calculateButton = new QPushButton(QStringLiteral("&Вычислить"), this);
    calculateButton->setObjectName(QStringLiteral("calculateButton"));
    calculateButton->setDefault(true);
    closeButton = new QPushButton(QStringLiteral("&Закрыть"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(calculateButton);
    buttons->addWidget(closeButton);

    // The upper boxes line up with the result boxes inside the frame.
    const QMargins inner = grid->contentsMargins();
    const int line = frame->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, frame);
    top->setContentsMargins(inner.left() + line, 0, inner.right() + line, 0);

    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(frame);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void ShortCircuitWindow::calculate()
{
    const ShortCircuit::ShownCurrents shown = ShortCircuit::shownCurrents(m_project, stageSpin->value(), m_calc);
    for (int i = 0; i < 4; ++i) {
        currentEdits[i]->setText(shown[i].text);
        // A dash leaves the unit as it was.
        if (!shown[i].unit.isEmpty())
            unitLabels[i]->setText(shown[i].unit);
    }
}
