#pragma once

#include <QDialog>

class Prompter;
class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

// "Строковый калькулятор": evaluates the expression field and keeps a list of
// the results for the time the window is open. It does not block the main
// window; closing it discards the list.
class frmCalculator : public QDialog
{
    Q_OBJECT
public:
    explicit frmCalculator(Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *txtVariable = nullptr;
    QPushButton *cmdEval = nullptr; // "="
    QListWidget *lstResults = nullptr;
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdClose = nullptr;
    QMenu *mnuList = nullptr;
    QAction *mnuCopyListItem = nullptr;
    QAction *mnuDelListItem = nullptr;
    QAction *mnuClearList = nullptr;

    // The "=" button and the Enter key.
    void evaluate();
    // A double click on a result: appends it to the expression, selected.
    void reuseResult();
    void copyResult();
    void deleteResult();
    void clearResults();
    void showHelp();

    static QString helpText();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setListCommandsEnabled(bool enabled);
    // The entry the list commands act on: the selected one, else the last.
    int targetRow() const;

    Prompter &m_prompter;
};
