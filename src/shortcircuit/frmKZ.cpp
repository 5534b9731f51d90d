#include "shortcircuit/frmKZ.h"

#include "app/NumberText.h"
#include "shortcircuit/ShortCircuit.h"

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

frmKZ::frmKZ(const Project &project, const CalcValues &calc, QWidget *parent)
    : QDialog(parent), m_project(project), m_calc(calc)
{
    setObjectName(QStringLiteral("frmKZ"));
    setWindowTitle(QStringLiteral("Расчет токов короткого замыкания"));
    setModal(true);
    buildLayout();

    // The limits first, so that the initial count is never cut.
    updNs->setRange(0, ShortCircuit::MaxStages(m_project.lines));
    updNs->setValue(ShortCircuit::InitialStages(m_project.lines));
    txtSTP->setText(NumberText::format(NumberText::toDouble(m_project.sSTP)));

    connect(cmdKZ, &QPushButton::clicked, this, &frmKZ::calculate);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmKZ::buildLayout()
{
    txtSTP = displayBox(this, QStringLiteral("txtSTP"));
    updNs = new QSpinBox(this);
    updNs->setObjectName(QStringLiteral("updNs"));
    updNs->setFixedWidth(txtSTP->width());
    updNs->setAlignment(Qt::AlignRight);

    auto *top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Полная мощность трансформатора"), this), 0, 0);
    top->addWidget(txtSTP, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("кВА"), this), 0, 2);
    top->addWidget(new QLabel(QStringLiteral("Число ступеней распределения "), this), 1, 0);
    top->addWidget(updNs, 1, 1);
    top->setColumnStretch(0, 1);
    top->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(QStringLiteral("кВА")));

    auto *frame = new QGroupBox(QStringLiteral("Ведомость токов КЗ"), this);
    frame->setObjectName(QStringLiteral("fraIk"));
    auto *grid = new QGridLayout(frame);
    const QString captions[4] = {QStringLiteral("Трехфазный "), QStringLiteral("Двухфазный "),
                                 QStringLiteral("Однофазный "), QStringLiteral("Ударный ")};
    for (int i = 0; i < 4; ++i) {
        txtIk[i] = displayBox(frame, QStringLiteral("txtIk%1").arg(i));
        lblIk[i] = new QLabel(ShortCircuit::initialUnitLabel(), frame);
        lblIk[i]->setObjectName(QStringLiteral("lblIk%1").arg(i));
        lblIk[i]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("кВА")));
        grid->addWidget(new QLabel(captions[i], frame), i, 0);
        grid->addWidget(txtIk[i], i, 1);
        grid->addWidget(lblIk[i], i, 2);
    }
    grid->setColumnStretch(0, 1);

    cmdKZ = new QPushButton(QStringLiteral("&Вычислить"), this);
    cmdKZ->setObjectName(QStringLiteral("cmdKZ"));
    cmdKZ->setDefault(true);
    cmdClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdKZ);
    buttons->addWidget(cmdClose);

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

void frmKZ::calculate()
{
    const ShortCircuit::ShownCurrents shown = ShortCircuit::ShowCurrents(m_project, updNs->value(), m_calc);
    for (int i = 0; i < 4; ++i) {
        txtIk[i]->setText(shown[i].text);
        // A dash leaves the unit as it was.
        if (!shown[i].unit.isEmpty())
            lblIk[i]->setText(shown[i].unit);
    }
}
