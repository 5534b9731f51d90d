// The options dialog driven offscreen over a main window.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/IniStore.h"
#include "app/LineListModel.h"
#include "app/TrayIcon.h"
#include "app/frmMain.h"
#include "app/frmOptions.h"
#include "lighting/UpDownControl.h"
#include "lines/NetworkSummary.h"

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
    std::unique_ptr<frmMain> window;
    explicit Fixture(const QByteArray &settings = QByteArray())
    {
        if (!settings.isNull())
            app.writeFile(QStringLiteral("kabinor.ini"), settings);
        frmMain::runStartupCheck(context, prompter);
        window = std::make_unique<frmMain>(context, prompter);
    }
    QByteArray settingsBytes() const { return app.readFile(QStringLiteral("kabinor.ini")); }
    QString setting(const QString &section, const QString &key) const
    {
        IniDocument ini;
        ini.load(app.settingsPath());
        return ini.value(section, key, QStringLiteral("<none>"));
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
    frmOptions dlg(*f.window);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(dlg.lstOpt->count(), 2);
    QCOMPARE(dlg.lstOpt->currentRow(), 0);
    QCOMPARE(dlg.lblHead->text(), QStringLiteral("Общие"));
    QCOMPARE(dlg.txtGAl->text(), QStringLiteral("35,5"));
    QCOMPARE(dlg.txtGCu->text(), QStringLiteral("56,18"));
    QCOMPARE(dlg.txtdUmax->text(), QStringLiteral("5"));
    QCOMPARE(dlg.txtTolerance->text(), QStringLiteral("2"));
    QCOMPARE(dlg.UpDown1->value(), 2);
    QVERIFY(!dlg.chkShowTips->isChecked());
    QVERIFY(dlg.chkPosition->isChecked());
    QVERIFY(dlg.chkShowInTray->isChecked()); // missing reads "1"
    QVERIFY(!dlg.cmdApply->isEnabled());
}

void TstOptions::pagesFollowTheList()
{
    Fixture f;
    frmOptions dlg(*f.window);
    dlg.show();
    QVERIFY(dlg.picOpt[0]->isVisible());
    QVERIFY(!dlg.picOpt[1]->isVisible());
    dlg.lstOpt->setCurrentRow(1);
    QCOMPARE(dlg.lblHead->text(), QStringLiteral("Расчет"));
    QVERIFY(!dlg.picOpt[0]->isVisible());
    QVERIFY(dlg.picOpt[1]->isVisible());
    QVERIFY(dlg.txtGCu->isVisible());
    dlg.lstOpt->setCurrentRow(0);
    QCOMPARE(dlg.lblHead->text(), QStringLiteral("Общие"));
    QVERIFY(dlg.chkShowInTray->isVisible());
}

void TstOptions::changesEnableApply_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name : {"chkShowInTray", "chkPosition", "chkShowTips", "txtGCu", "txtGAl", "txtdUmax",
                             "txtTolerance", "UpDown1"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TstOptions::changesEnableApply()
{
    QFETCH(QString, control);
    Fixture f;
    frmOptions dlg(*f.window);
    dlg.show();
    dlg.lstOpt->setCurrentRow(control.startsWith(QLatin1String("chk")) ? 0 : 1);
    QVERIFY(!dlg.cmdApply->isEnabled());
    if (auto *check = dlg.findChild<QCheckBox *>(control))
        check->click();
    else if (auto *edit = dlg.findChild<QLineEdit *>(control))
        QTest::keyClicks(edit, QStringLiteral("1"));
    else
        dlg.UpDown1->upButton()->click();
    QVERIFY(dlg.cmdApply->isEnabled());
    dlg.cmdApply->click();
    QVERIFY(!dlg.cmdApply->isEnabled());
}

void TstOptions::upDownStepsOneToFive()
{
    Fixture f;
    frmOptions dlg(*f.window);
    dlg.show();
    dlg.lstOpt->setCurrentRow(1);
    for (int i = 0; i < 6; ++i)
        dlg.UpDown1->upButton()->click();
    QCOMPARE(dlg.txtTolerance->text(), QStringLiteral("5"));
    // Typing moves the up-down along: it steps from what the field holds.
    dlg.txtTolerance->selectAll();
    QTest::keyClicks(dlg.txtTolerance, QStringLiteral("3"));
    dlg.UpDown1->downButton()->click();
    QCOMPARE(dlg.txtTolerance->text(), QStringLiteral("2"));
    for (int i = 0; i < 4; ++i)
        dlg.UpDown1->downButton()->click();
    QCOMPARE(dlg.txtTolerance->text(), QStringLiteral("1"));
    // A number typed by hand need not be whole nor within the steps.
    dlg.txtTolerance->setText(QStringLiteral("2,5"));
    QVERIFY(dlg.apply());
    QCOMPARE(f.window->calc().dTol, 2.5);
}

void TstOptions::cancelAndEscChangeNothing()
{
    Fixture f("[Startup]\r\nShowInTray=1\r\n");
    const QByteArray before = f.settingsBytes();
    const CalcValues calcBefore = f.window->calc();
    {
        frmOptions dlg(*f.window);
        dlg.show();
        dlg.chkShowInTray->click();
        dlg.chkShowTips->click();
        dlg.txtGCu->setText(QStringLiteral("50"));
        dlg.txtdUmax->setText(QStringLiteral("3"));
        dlg.cmdCancel->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
    QCOMPARE(f.settingsBytes(), before);
    QCOMPARE(f.window->calc().gCu, calcBefore.gCu);
    QCOMPARE(f.window->calc().dUmax, calcBefore.dUmax);
    QVERIFY(f.window->trayIcon()->isPresent());
    {
        frmOptions dlg(*f.window);
        dlg.show();
        dlg.txtGAl->setText(QStringLiteral("20"));
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
    }
    QCOMPARE(f.settingsBytes(), before);
    frmOptions again(*f.window);
    QCOMPARE(again.txtGAl->text(), QStringLiteral("37,04"));
    QCOMPARE(again.txtGCu->text(), QStringLiteral("56,18"));
    QCOMPARE(again.txtdUmax->text(), QStringLiteral("7,5"));
}

void TstOptions::refusedNumbers_data()
{
    QTest::addColumn<QString>("gAl");
    QTest::addColumn<QString>("gCu");
    QTest::addColumn<QString>("tolerance");
    QTest::addColumn<QString>("dUmax");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");

    const QString positive = QStringLiteral("Вводимое значение должно быть положительным и неравным нулю!");
    QTest::newRow("copper 0") << "37,04" << "0" << "2" << "7,5" << positive << "txtGCu";
    QTest::newRow("aluminium empty") << "" << "0" << "2" << "7,5" << QStringLiteral("Укажите численное значение!")
                                     << "txtGAl";
    QTest::newRow("tolerance text") << "37,04" << "56,18" << "два" << "-1"
                                    << QStringLiteral("Вводимое значение должно быть числовым!") << "txtTolerance";
    QTest::newRow("limit too large") << "37,04" << "56,18" << "2" << "1000001"
                                     << QStringLiteral("Вводимое значение слишком велико!") << "txtdUmax";
}

void TstOptions::refusedNumbers()
{
    QFETCH(QString, gAl);
    QFETCH(QString, gCu);
    QFETCH(QString, tolerance);
    QFETCH(QString, dUmax);
    QFETCH(QString, message);
    QFETCH(QString, field);

    Fixture f;
    const QByteArray before = f.settingsBytes();
    frmOptions dlg(*f.window);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    dlg.lstOpt->setCurrentRow(1);
    dlg.chkShowTips->click();
    dlg.txtGAl->setText(gAl);
    dlg.txtGCu->setText(gCu);
    dlg.txtTolerance->setText(tolerance);
    dlg.txtdUmax->setText(dUmax);
    dlg.cmdOk->click();

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
    QVERIFY(dlg.cmdApply->isEnabled());
    QCOMPARE(f.window->calc().gAl, 37.04);
    QCOMPARE(f.window->calc().gCu, 56.18);
    QCOMPARE(f.window->calc().dUmax, 7.5);
    QCOMPARE(f.settingsBytes(), before);
}

void TstOptions::applyTakesValuesAndUpdatesSummary()
{
    Fixture f;
    f.window->lineModel()->appendLine(checkedLine(QStringLiteral("КЛ-1"), QStringLiteral("3,1")));
    f.window->lineModel()->appendLine(checkedLine(QStringLiteral("КЛ-2"), QStringLiteral("2,4")));
    f.window->NetworkSummary();
    const QString calmPanel = f.window->statusPanel2->text();
    QCOMPARE(f.window->statusPanel2->text(), NetworkSummary(f.window->project().lines, 7.5).panel2);

    frmOptions dlg(*f.window);
    dlg.show();
    dlg.lstOpt->setCurrentRow(1);
    dlg.txtdUmax->setText(QStringLiteral("4,5"));
    dlg.txtGAl->setText(QStringLiteral("36.2"));
    dlg.txtGCu->setText(QStringLiteral("57"));
    dlg.txtTolerance->setText(QStringLiteral("3"));
    dlg.cmdApply->click();

    QVERIFY(dlg.isVisible());
    QCOMPARE(f.window->calc().dUmax, 4.5);
    QCOMPARE(f.window->calc().gAl, 36.2);
    QCOMPARE(f.window->calc().gCu, 57.0);
    QCOMPARE(f.window->calc().dTol, 3.0);
    const SummaryText expected = NetworkSummary(f.window->project().lines, 4.5);
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
    frmOptions dlg(*f.window);
    dlg.show();
    dlg.chkShowInTray->click();
    dlg.cmdApply->click();
    QVERIFY(!tray->isPresent());
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("ShowInTray")), QStringLiteral("0"));

    f.window->project().sPrjName = QStringLiteral("Проект с очень длинным названием, которое не уместится в подсказке");
    f.window->updateCaption();
    dlg.chkShowInTray->click();
    dlg.cmdApply->click();
    QVERIFY(tray->isPresent());
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("ShowInTray")), QStringLiteral("1"));
    QCOMPARE(tray->toolTip(), f.window->windowTitle().left(63));
    QCOMPARE(tray->toolTip().size(), 63);
}

void TstOptions::okAppliesAndCloses()
{
    Fixture f;
    frmOptions dlg(*f.window);
    dlg.show();
    dlg.chkPosition->click();
    dlg.txtGCu->setText(QStringLiteral("55"));
    dlg.cmdOk->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(f.window->calc().gCu, 55.0);
    QCOMPARE(f.setting(QStringLiteral("Startup"), QStringLiteral("RemPosition")), QStringLiteral("0"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstOptions::openedFromMainWindow()
{
    Fixture f;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<frmOptions *>(QApplication::activeModalWidget());
        seen = dlg != nullptr;
        if (dlg)
            dlg->cmdCancel->click();
    });
    f.window->toolButton(QStringLiteral("Prop"))->trigger();
    QVERIFY(seen);
    QCOMPARE(f.window->action(QStringLiteral("mnuProperties"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

QTEST_MAIN(TstOptions)
#include "tst_options.moc"
