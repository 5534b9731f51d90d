#pragma once

#include <QDialog>

class AppContext;
class LoadListModel;
class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The load dialog: adds loads to the current shield (and stays open for the
// next one) or changes the selected load in place.
class LoadDialog : public QDialog
{
    Q_OBJECT
public:
    // `model` is the current shield's loads list.
    LoadDialog(AppContext &context, Prompter &prompter, LoadListModel &model, QWidget *parent = nullptr);

    // Fills the fields from a load of the list and switches to change mode.
    void loadForChange(int row);

    bool changeMode = false;

    QLineEdit *nameEdit = nullptr;
    QLineEdit *powerEdit = nullptr;
    QPushButton *calculateButton = nullptr;
    QLineEdit *powerFactorEdit = nullptr;
    QComboBox *powerFactorList = nullptr;
    QLineEdit *demandFactorEdit = nullptr;
    QComboBox *demandFactorList = nullptr;
    QComboBox *phaseCountList = nullptr;
    QComboBox *phaseList = nullptr;
    QLabel *efficiencyLabel = nullptr;
    QLineEdit *efficiencyEdit = nullptr;
    QPushButton *confirmButton = nullptr;

    // The "=" button and the Enter key: the power field's expression becomes its value.
    void evaluatePower();
    // confirmButton: checks, then adds or replaces the row.
    void confirm();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A named coefficient fixes and locks its field; "Другое" empties and unlocks it.
    void chooseCoefficient(QComboBox *list, QLineEdit *field, int registryEntry);
    void choosePhaseCount();
    static void setLocked(QLineEdit *field, bool locked);

    AppContext &m_context;
    Prompter &m_prompter;
    LoadListModel &m_model;
    int m_row = -1; // the load being changed
};
