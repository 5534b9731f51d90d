#include "ui/widgets/UpDownControl.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDownControl::UpDownControl(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto make = [this, layout](Qt::ArrowType arrow, const char *name) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        b->setIconSize(QSize(7, 7));
        layout->addWidget(b);
        return b;
    };
    m_up = make(Qt::UpArrow, "up");
    m_down = make(Qt::DownArrow, "down");
    connect(m_up, &QToolButton::clicked, this, &UpDownControl::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDownControl::stepDown);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateButtons();
}

void UpDownControl::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = qMax(minimum, maximum);
    setValue(m_value);
    updateButtons();
}

void UpDownControl::setValue(int value)
{
    const int v = qBound(m_min, value, m_max);
    if (v == m_value) {
        updateButtons();
        return;
    }
    m_value = v;
    updateButtons();
    emit valueChanged(m_value);
}

void UpDownControl::updateButtons()
{
    m_up->setEnabled(m_value < m_max);
    m_down->setEnabled(m_value > m_min);
}

QSize UpDownControl::sizeHint() const
{
    return QSize(17, 22);
}
