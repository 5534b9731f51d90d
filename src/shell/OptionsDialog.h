#pragma once

#include <QDialog>

class AppContext;
class Prompter;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class UpDownControl;

// "Настройки": the start-up choices of the "Startup" settings and the
// calculation values of the run, on two pages chosen from a list.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    // The "&Применить" button: checks the four numbers in order, takes them
    // and writes the start-up choices, then tells the owner (who puts the tray
    // icon in place or takes it away and re-runs the network summary). False
    // when a number was refused.
    bool apply();

    QListWidget *pageList = nullptr;
    QLabel *headingLabel = nullptr;
    QWidget *pageWidgets[2] = {nullptr, nullptr};

    QCheckBox *showInTrayCheck = nullptr;
    QCheckBox *rememberPositionCheck = nullptr;
    QCheckBox *showTipsCheck = nullptr;

    QLineEdit *copperConductivityEdit = nullptr;
    QLineEdit *aluminiumConductivityEdit = nullptr;
    QLineEdit *maxVoltageDropEdit = nullptr;
    QLineEdit *decimalPlacesEdit = nullptr;
    UpDownControl *decimalPlacesUpDown = nullptr;

    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *applyButton = nullptr;

signals:
    void applied(bool showInTray);

private:
    QWidget *buildGeneralPage();
    QWidget *buildCalculationPage();
    void showPage(int index);
    void load();
    void markChanged();
    void syncUpDown();

    AppContext &m_context;
    Prompter &m_prompter;
};
