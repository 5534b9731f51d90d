// The options dialog driven offscreen over a main window.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/IniStore.h"
#include "ui/lines/LineListModel.h"
#include "calc/lines/NetworkSummary.h"
#include "shell/MainWindow.h"
#include "shell/OptionsDialog.h"
#include "shell/TrayIcon.h"
#include "ui/widgets/UpDownControl.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    explicit Fixture(const QByteArray &settings = QByteArray())
    {
        if (!settings.isNull())
            app.writeFile(QStringLiteral("kabinor.ini"), settings);
        MainWindow::runStartupCheck(context, prompter);
        window = std::make_unique<MainWindow>(context, prompter);
    }
    QByteArray settingsBytes() const { return app.readFile(QStringLiteral("kabinor.ini")); }
    QString setting(const QString &section, const QString &key) const
    {
        IniDocument ini;
        ini.load(app.settingsPath());
        return ini.value(section, key, QStringLiteral("<none>"));
    }
};

// The dialog as the main window opens it.
struct ShownOptions : OptionsDialog {
    explicit ShownOptions(Fixture &f) : OptionsDialog(f.context, f.prompter, f.window.get())
    {
        f.window->followOptions(*this);
    }
};

CableLine checkedLine(const QString &name, const QString &dU)
{
    CableLine l;
    l.name = name;
    l.cells = QStringList{QStringLiteral("ВВГ"), QStringLiteral("3x2,5"), QStringLiteral("Медь"), QStringLiteral("100"),
                          QStringLiteral("712"), QStringLiteral("10"), QStringLiteral("25"), dU, QStringLiteral("220")};
    l.checked = true;
    return l;
}

} // namespace

class TstOptions : public QObject
{
    Q_OBJECT
private slots:
    void openingShowsCurrentValues();
    void pagesFollowTheList();
    void changesEnableApply_data();
    void changesEnableApply();
    void upDownStepsOneToFive();
    void cancelAndEscChangeNothing();
    void refusedNumbers_data();
    void refusedNumbers();
    void applyTakesValuesAndUpdatesSummary();
    void trayAppliedOffAndOn();
    void okAppliesAndCloses();
    void openedFromMainWindow();
};

void TstOptions::openingShowsCurrentValues()
{
    Fixture f("[Startup]\r\nShowTips=0\r\nRemPosition=1\r\n[Calculation]\r\ngAl=35,5\r\ndUmax=5\r\n");
    ShownOptions dlg(f);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(dlg.pageList->count(), 2);
    QCOMPARE(dlg.pageList->currentRow(), 0);
    QCOMPARE(dlg.headingLabel->text(), QStringLiteral("Общие"));
    QCOMPARE(dlg.aluminiumConductivityEdit->text(), QStringLiteral("35,5"));
    QCOMPARE(dlg.copperConductivityEdit->text(), QStringLiteral("56,18"));
    QCOMPARE(dlg.maxVoltageDropEdit->text(), QStringLiteral("5"));
    QCOMPARE(dlg.decimalPlacesEdit->text(), QStringLiteral("2"));
    QCOMPARE(dlg.decimalPlacesUpDown->value(), 2);
    QVERIFY(!dlg.showTipsCheck->isChecked());
    QVERIFY(dlg.rememberPositionCheck->isChecked());
    QVERIFY(dlg.showInTrayCheck->isChecked()); // missing reads "1"
    QVERIFY(!dlg.applyButton->isEnabled());
}

void TstOptions::pagesFollowTheList()
{
    Fixture f;
    ShownOptions dlg(f);
    dlg.show();
    QVERIFY(dlg.pageWidgets[0]->isVisible());
    QVERIFY(!dlg.pageWidgets[1]->isVisible());
    dlg.pageList->setCurrentRow(1);
    QCOMPARE(dlg.headingLabel->text(), QStringLiteral("Расчет"));
    QVERIFY(!dlg.pageWidgets[0]->isVisible());
    QVERIFY(dlg.pageWidgets[1]->isVisible());
    QVERIFY(dlg.copperConductivityEdit->isVisible());
    dlg.pageList->setCurrentRow(0);
    QCOMPARE(dlg.headingLabel->text(), QStringLiteral("Общие"));
    QVERIFY(dlg.showInTrayCheck->isVisible());
}

void TstOptions::changesEnableApply_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name : {"showInTrayCheck", "rememberPositionCheck", "showTipsCheck", "copperConductivityEdit", "aluminiumConductivityEdit", "maxVoltageDropEdit",
                             "decimalPlacesEdit", "decimalPlacesUpDown"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TstOptions::changesEnableApply()
{
    QFETCH(QString, control);
    Fixture f;
    ShownOptions dlg(f);
    dlg.show();
    dlg.pageList->setCurrentRow(control.startsWith(QLatin1String("chk")) ? 0 : 1);
    QVERIFY(!dlg.applyButton->isEnabled());
    if (auto *check = dlg.findChild<QCheckBox *>(control))
        check->click();
    else if (auto *edit = dlg.findChild<QLineEdit *>(control))
        QTest::keyClicks(edit, QStringLiteral("1"));
    else
        dlg.decimalPlacesUpDown->upButton()->click();
    QVERIFY(dlg.applyButton->isEnabled());
    dlg.applyButton->click();
    QVERIFY(!dlg.applyButton->isEnabled());
}

void TstOptions::upDownStepsOneToFive()
{
    Fixture f;
    ShownOptions dlg(f);
    dlg.show();
    dlg.pageList->setCurrentRow(1);
    for (int i = 0; i < 6; ++i)
        dlg.decimalPlacesUpDown->upButton()->click();
    QCOMPARE(dlg.decimalPlacesEdit->text(), QStringLiteral("5"));
    // Typing moves the up-down along: it steps from what the field holds.
    dlg.decimalPlacesEdit->selectAll();
    QTest::keyClicks(dlg.decimalPlacesEdit, QStringLiteral("3"));
    dlg.decimalPlacesUpDown->downButton()->click();
    QCOMPARE(dlg.decimalPlacesEdit->text(), QStringLiteral("2"));
    for (int i = 0; i < 4; ++i)
        dlg.decimalPlacesUpDown->downButton()->click();
    QCOMPARE(dlg.decimalPlacesEdit->text(), QStringLiteral("1"));
    // A number typed by hand need not be whole nor within the steps.
    dlg.decimalPlacesEdit->setText(QStringLiteral("2,5"));
    QVERIFY(dlg.apply());
    QCOMPARE(f.window->calc().decimalPlaces, 2.5);
}

void TstOptions::cancelAndEscChangeNothing()
{
    Fixture f("[Startup]\r\nShowInTray=1\r\n");
    const QByteArray before = f.settingsBytes();
    const CalcValues calcBefore = f.window->calc();
    {
        ShownOptions dlg(f);
        dlg.show();
        dlg.showInTrayCheck->click();
        dlg.showTipsCheck->click();
        dlg.copperConductivityEdit->setText(QStringLiteral("50"));
        dlg.maxVoltageDropEdit->setText(QStringLiteral("3"));
        dlg.cancelButton->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
    QCOMPARE(f.settingsBytes(), before);
    QCOMPARE(f.window->calc().copperConductivity, calcBefore.copperConductivity);
    QCOMPARE(f.window->calc().maxVoltageDrop, calcBefore.maxVoltageDrop);
    QVERIFY(f.window->trayIcon()->isPresent());
    {
        ShownOptions dlg(f);
        dlg.show();
        dlg.aluminiumConductivityEdit->setText(QStringLiteral("20"));
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
    }
    QCOMPARE(f.settingsBytes(), before);
    ShownOptions again(f);
    QCOMPARE(again.aluminiumConductivityEdit->text(), QStringLiteral("37,04"));
    QCOMPARE(again.copperConductivityEdit->text(), QStringLiteral("56,18"));
    QCOMPARE(again.maxVoltageDropEdit->text(), QStringLiteral("7,5"));
}

void TstOptions::refusedNumbers_data()
{
    QTest::addColumn<QString>("aluminiumConductivity");
    QTest::addColumn<QString>("copperConductivity");
    QTest::addColumn<QString>("tolerance");
    QTest::addColumn<QString>("maxVoltageDrop");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");

    const QString positive = QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!");
    QTest::newRow("copper 0") << "37,04" << "0" << "2" << "7,5" << positive << "copperConductivityEdit";
    QTest::newRow("aluminium empty") << "" << "0" << "2" << "7,5" << QStringLiteral("Укажите численное значение!")
                                     << "aluminiumConductivityEdit";
    QTest::newRow("tolerance text") << "37,04" << "56,18" << "два" << "-1"
                                    << QStringLiteral("Вводимое значение должно быть числовым!") << "decimalPlacesEdit";
    QTest::newRow("limit too large") << "37,04" << "56,18" << "2" << "1000001"
                                     << QStringLiteral("Вводимое значение слишком велико!") << "maxVoltageDropEdit";
}

void TstOptions::refusedNumbers()
{
    QFETCH(QString, aluminiumConductivity);
    QFETCH(QString, copperConductivity);
    QFETCH(QString, tolerance);
    QFETCH(QString, maxVoltageDrop);
    QFETCH(QString, message);
    QFETCH(QString, field);

    Fixture f;
    const QByteArray before = f.settingsBytes();
    ShownOptions dlg(f);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    dlg.pageList->setCurrentRow(1);
    dlg.showTipsCheck->click();
    dlg.aluminiumConductivityEdit->setText(aluminiumConductivity);
    dlg.copperConductivityEdit->setText(copperConductivity);
    dlg.decimalPlacesEdit->setText(tolerance);
    dlg.maxVoltageDropEdit->setText(maxVoltageDrop);
    dlg.okButton->click();

    // Only the first refused field reports; nothing is taken and the dialog stays.
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.lastText(), message);
    QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Exclamation);
    auto *edit = dlg.findChild<QLineEdit *>(field);
    QCOMPARE(QApplication::focusWidget(), edit);
    if (!edit->text().isEmpty())
        QCOMPARE(edit->selectedText(), edit->text());
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.applyButton->isEnabled());
    QCOMPARE(f.window->calc().aluminiumConductivity, 37.04);
    QCOMPARE(f.window->calc().copperConductivity, 56.18);
    QCOMPARE(f.window->calc().maxVoltageDrop, 7.5);
    QCOMPARE(f.settingsBytes(), before);
}

void TstOptions::applyTakesValuesAndUpdatesSummary()
{
    Fixture f;
    f.window->lineModel()->appendLine(checkedLine(QStringLiteral("КЛ-1"), QStringLiteral("3,1")));
    f.window->lineModel()->appendLine(checkedLine(QStringLiteral("КЛ-2"), QStringLiteral("2,4")));
    f.window->summarizeNetwork();
    const QString calmPanel = f.window->statusPanel2->text();
    QCOMPARE(f.window->statusPanel2->text(), summarizeNetwork(f.window->project().lines, 7.5).panel2);

    ShownOptions dlg(f);
    dlg.show();
    dlg.pageList->setCurrentRow(1);
    dlg.maxVoltageDropEdit->setText(QStringLiteral("4,5"));
    dlg.aluminiumConductivityEdit->setText(QStringLiteral("36.2"));
    dlg.copperConductivityEdit->setText(QStringLiteral("57"));
    dlg.decimalPlacesEdit->setText(QStringLiteral("3"));
    dlg.applyButton->click();

    QVERIFY(dlg.isVisible());
    QCOMPARE(f.window->calc().maxVoltageDrop, 4.5);
    QCOMPARE(f.window->calc().aluminiumConductivity, 36.2);
    QCOMPARE(f.window->calc().copperConductivity, 57.0);
    QCOMPARE(f.window->calc().decimalPlaces, 3.0);
    const SummaryText expected = summarizeNetwork(f.window->project().lines, 4.5);
    QCOMPARE(f.window->statusPanel2->text(), expected.panel2);
    QCOMPARE(f.window->statusPanel1->text(), expected.panel1);
    QVERIFY(f.window->statusPanel2->text() != calmPanel);
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("ShowTips")), QStringLiteral("1"));
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("RemPosition")), QStringLiteral("1"));
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("ShowInTray")), QStringLiteral("1"));
    // The constants reach the file only when the main window unloads.
    QCOMPARE(f.setting(QStringLiteral("Calculation"), QStringLiteral("dUmax")), QStringLiteral("<none>"));
    f.window->writeSettings();
    QCOMPARE(f.setting(QStringLiteral("Calculation"), QStringLiteral("dUmax")), QStringLiteral("4,5"));
    QCOMPARE(f.setting(QStringLiteral("Calculation"), QStringLiteral("gAl")), QStringLiteral("36,2"));
}

void TstOptions::trayAppliedOffAndOn()
{
    Fixture f;
    TrayIcon *tray = f.window->trayIcon();
    QVERIFY(tray->isPresent());
    ShownOptions dlg(f);
    dlg.show();
    dlg.showInTrayCheck->click();
    dlg.applyButton->click();
    QVERIFY(!tray->isPresent());
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("ShowInTray")), QStringLiteral("0"));

    f.window->project().projectName = QStringLiteral("Проект с очень длинным названием, которое не уместится в подсказке");
    f.window->updateCaption();
    dlg.showInTrayCheck->click();
    dlg.applyButton->click();
    QVERIFY(tray->isPresent());
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("ShowInTray")), QStringLiteral("1"));
    QCOMPARE(tray->toolTip(), f.window->windowTitle().left(63));
    QCOMPARE(tray->toolTip().size(), 63);
}

void TstOptions::okAppliesAndCloses()
{
    Fixture f;
    ShownOptions dlg(f);
    dlg.show();
    dlg.rememberPositionCheck->click();
    dlg.copperConductivityEdit->setText(QStringLiteral("55"));
    dlg.okButton->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(f.window->calc().copperConductivity, 55.0);
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("RemPosition")), QStringLiteral("0"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstOptions::openedFromMainWindow()
{
    Fixture f;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
        seen = dlg != nullptr;
        if (dlg)
            dlg->cancelButton->click();
    });
    f.window->toolButton(QStringLiteral("Prop"))->trigger();
    QVERIFY(seen);
    QCOMPARE(f.window->action(QStringLiteral("actionOptions"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

QTEST_MAIN(TstOptions)
#include "tst_options.moc"
