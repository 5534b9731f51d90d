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

    // What a load is entered with besides its name and power: the
    // coefficients with the list entries they came from, the phases and the
    // efficiency. An add starts from the previous load's.
    struct Entry {
        QString powerFactor;
        QString powerFactorName; // the list entry; empty: typed ("Другое")
        QString demandFactor;
        QString demandFactorName;
        bool threePhase = false;
        QString phase = QStringLiteral("A");
        QString efficiency = QStringLiteral("1");
    };
    // Add mode: the fields and lists as `entry` had them.
    void startFrom(const Entry &entry);
    // The fields and lists as they are now.
    Entry entry() const;

    // Fills the fields from a load of the list, its list entries included,
    // and switches to change mode.
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

signals:
    // A load was added or changed from the fields.
    void loadEntered();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The list shows the entry `name` when it still gives `value`; otherwise
    // "Другое" with `value` in the field, so that a value never changes unseen.
    void restoreCoefficient(QComboBox *list, QLineEdit *field, const QString &name, const QString &value);
    // The entry a locked field took its value from; empty for a typed value.
    static QString chosenName(const QComboBox *list, const QLineEdit *field);
    // A named coefficient fixes and locks its field; "Другое" empties and unlocks it.
    void chooseCoefficient(QComboBox *list, QLineEdit *field, int registryEntry);
    void choosePhaseCount();
    static void setLocked(QLineEdit *field, bool locked);

    AppContext &m_context;
    Prompter &m_prompter;
    LoadListModel &m_model;
    int m_row = -1; // the load being changed
};
