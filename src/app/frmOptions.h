#pragma once

#include <QDialog>

class frmMain;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class UpDownControl;

// "Настройки": the start-up choices of the "Startup" settings and the
// calculation values of the run, on two pages chosen from a list.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    explicit frmOptions(frmMain &main);

    // The "&Применить" button: checks the four numbers in order, takes them,
    // writes the start-up choices, puts the tray icon in place or takes it
    // away and re-runs the network summary. False when a number was refused.
    bool apply();

    QListWidget *lstOpt = nullptr;
    QLabel *lblHead = nullptr;
    QWidget *picOpt[2] = {nullptr, nullptr};

    QCheckBox *chkShowInTray = nullptr;
    QCheckBox *chkPosition = nullptr;
    QCheckBox *chkShowTips = nullptr;

    QLineEdit *txtGCu = nullptr;
    QLineEdit *txtGAl = nullptr;
    QLineEdit *txtdUmax = nullptr;
    QLineEdit *txtTolerance = nullptr;
    UpDownControl *UpDown1 = nullptr;

    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;

private:
    QWidget *buildGeneralPage();
    QWidget *buildCalculationPage();
    void showPage(int index);
    void load();
    void markChanged();
    void syncUpDown();

    frmMain &m_main;
};
