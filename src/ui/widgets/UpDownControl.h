#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons that step a whole number within its limits; the
// window shows the number in a read-only field beside it.
class UpDownControl : public QWidget
{
    Q_OBJECT
public:
    explicit UpDownControl(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int value() const { return m_value; }
    // Clamped to the limits; emits valueChanged when the value changes.
    void setValue(int value);

    void stepUp() { setValue(m_value + 1); }
    void stepDown() { setValue(m_value - 1); }

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

    QSize sizeHint() const override;

signals:
    void valueChanged(int value);

private:
    void updateButtons();

    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
};
