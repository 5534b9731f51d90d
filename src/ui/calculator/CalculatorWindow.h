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
class CalculatorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CalculatorWindow(Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *expressionEdit = nullptr;
    QPushButton *evaluateButton = nullptr; // "="
    QListWidget *resultList = nullptr;
    QPushButton *helpButton = nullptr;
    QPushButton *closeButton = nullptr;
    QMenu *resultsMenu = nullptr;
    QAction *actionCopyResult = nullptr;
    QAction *actionDeleteResult = nullptr;
    QAction *actionClearResults = nullptr;

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
