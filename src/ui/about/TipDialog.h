#pragma once

#include <QDialog>
#include <QRandomGenerator>
#include <QStringList>

#include <functional>

class AppContext;
class Prompter;
class QCheckBox;
class QLabel;
class QPushButton;

// "Совет дня": a tip chosen at random from the tip file, the next one on
// request, and the choice whether tips open at start-up.
class TipDialog : public QDialog
{
    Q_OBJECT
public:
    // `random` gives uniform numbers in [0, 1); by default a generator seeded
    // from the clock. The prompter tells a failed write of the check box.
    TipDialog(AppContext &context, Prompter &prompter, QWidget *parent = nullptr, std::function<double()> random = {});

    // Reads the tips and shows a first one; false when the file name is empty
    // or the file cannot be read.
    bool loadTips(const QString &fileName);
    // Shows the tip of the current index, when there are tips.
    void displayCurrentTip();
    // Picks a tip at random (the same may come again) and shows it.
    void nextTip();

    int currentTip() const { return m_current; }
    const QStringList &tips() const { return m_tips; }

    QLabel *tipLabel = nullptr;
    QCheckBox *showAtStartupCheck = nullptr;
    QPushButton *nextTipButton = nullptr;
    QPushButton *okButton = nullptr;

private:
    AppContext &m_context;
    Prompter &m_prompter;
    QStringList m_tips;
    int m_current = 0; // 1-based; 0 while there is none
    QRandomGenerator m_generator;
    std::function<double()> m_random;
};
