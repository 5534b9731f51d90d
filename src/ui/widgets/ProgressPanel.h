#pragma once

#include <QStackedWidget>

class QLabel;
class QProgressBar;

// A status-bar panel that shows its text, or a progress bar in its place
// while a long operation runs.
class ProgressPanel : public QStackedWidget
{
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget *parent = nullptr);

    QLabel *label() const { return m_label; }
    QProgressBar *bar() const { return m_bar; }

    // The bar at `value`, in place of the text.
    void showProgress(int value);
    // The text again.
    void hideProgress();

private:
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
};
