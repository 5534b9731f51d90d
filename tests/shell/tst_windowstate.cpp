// The "Startup" settings: the main window's geometry between runs, the tray
// icon and hiding in it, and the tip of the day at the first paint.
#include "TestSupport.h"
#include "ui/about/TipDialog.h"
#include "base/AppContext.h"
#include "base/IniStore.h"
#include "base/StartupSettings.h"
#include "shell/MainWindow.h"
#include "shell/TrayIcon.h"
#include "ui/lines/LineListModel.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
    explicit Fixture(const QByteArray &settings = "[Startup]\r\nShowTips=0\r\n")
    {
        if (!settings.isNull())
            app.writeFile(QStringLiteral("kabinor.ini"), settings);
        MainWindow::runStartupCheck(context, prompter);
        window = std::make_unique<MainWindow>(context, prompter);
    }
    QString setting(const QString &key) const
    {
        IniDocument ini;
        ini.load(app.settingsPath());
        return ini.value(QStringLiteral("Startup"), key, QStringLiteral("<none>"));
    }
    void showAndWait() const
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

Startup::Geometry screenOf(const QWidget *w)
{
    const QRect r = w->screen()->geometry();
    return {pixelsToTwipsX(r.x(), w), pixelsToTwipsY(r.y(), w), pixelsToTwipsX(r.width(), w),
            pixelsToTwipsY(r.height(), w)};
}

// Assumes a tray for the tests that hide the window into it.
struct AssumeTray {
    explicit AssumeTray(bool available) { TrayIcon::setAssumeTrayAvailable(available); }
    ~AssumeTray() { TrayIcon::setAssumeTrayAvailable(std::nullopt); }
};

} // namespace

class TstWindowState : public QObject
{
    Q_OBJECT
private slots:
    void flags_data();
    void flags();
    void restoredGeometry_data();
    void restoredGeometry();
    void storeGeometryWritesWholeTwips();

    void geometryRestoredAtStart();
    void remPositionZeroCentresDefaultSize();
    void geometrySavedAtUnload();
    void minimisedWindowSavesNothing();

    void trayIconAtStart();
    void leftClickToggles();
    void trayMenuItems();
    void minimiseHidesToTray();
    void minimiseWithoutTrayStaysMinimised();
    void trayExitAsksFirst();

    void tipAtFirstPaint();
    void noTipWhenSwitchedOff();
};

void TstWindowState::flags_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << QStringLiteral("1") << true;
    QTest::newRow("0") << QStringLiteral("0") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("2") << QStringLiteral("2") << false;
    QTest::newRow("word") << QStringLiteral("да") << false;
}

void TstWindowState::flags()
{
    QFETCH(QString, text);
    QFETCH(bool, on);
    QCOMPARE(Startup::flagValue(text), on);
    // A missing key reads "1".
    QVERIFY(Startup::readFlag(IniDocument::fromText(QString()), Startup::ShowTips));
}

void TstWindowState::restoredGeometry_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");

    // Screen 19200 x 14400 twips: by default three quarters of it, centred.
    QTest::newRow("nothing stored") << QString() << 2400.0 << 1800.0 << 14400.0 << 10800.0;
    QTest::newRow("all stored") << QStringLiteral("[Startup]\nHeight=6000\nWidth=9000\nTop=300\nLeft=450\n") << 450.0
                                << 300.0 << 9000.0 << 6000.0;
    QTest::newRow("size stored, centred for it")
        << QStringLiteral("[Startup]\nHeight=8400\nWidth=12000\n") << 3600.0 << 3000.0 << 12000.0 << 8400.0;
    QTest::newRow("RemPosition 0 ignores stored")
        << QStringLiteral("[Startup]\nRemPosition=0\nHeight=6000\nWidth=9000\nTop=300\nLeft=450\n") << 2400.0 << 1800.0
        << 14400.0 << 10800.0;
    QTest::newRow("not a number takes the default")
        << QStringLiteral("[Startup]\nHeight=высоко\nWidth=9000\nTop=\nLeft=-150\n") << -150.0 << 1800.0 << 9000.0
        << 10800.0;
}

void TstWindowState::restoredGeometry()
{
    QFETCH(QString, ini);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(double, height);
    const Startup::Geometry g = Startup::restoredGeometry(IniDocument::fromText(ini), {0, 0, 19200, 14400});
    QCOMPARE(g.left, left);
    QCOMPARE(g.top, top);
    QCOMPARE(g.width, width);
    QCOMPARE(g.height, height);
    // A second screen to the right centres on itself.
    const Startup::Geometry other = Startup::restoredGeometry(
        IniDocument::fromText(QStringLiteral("[Startup]\nRemPosition=0\n")), {19200, 0, 19200, 14400});
    QCOMPARE(other.left, 19200 + 2400.0);
}

void TstWindowState::storeGeometryWritesWholeTwips()
{
    IniDocument ini = IniDocument::fromText(QStringLiteral("[Startup]\nShowTips=0\n"));
    Startup::storeGeometry(ini, {1234.4, -15.6, 9000.5, 6000});
    QCOMPARE(ini.value(QStringLiteral("Startup"), QStringLiteral("Left")), QStringLiteral("1234"));
    QCOMPARE(ini.value(QStringLiteral("Startup"), QStringLiteral("Top")), QStringLiteral("-16"));
    QCOMPARE(ini.value(QStringLiteral("Startup"), QStringLiteral("Width")), QStringLiteral("9001"));
    QCOMPARE(ini.value(QStringLiteral("Startup"), QStringLiteral("Height")), QStringLiteral("6000"));
    QCOMPARE(ini.value(QStringLiteral("Startup"), QStringLiteral("ShowTips")), QStringLiteral("0"));
}

void TstWindowState::geometryRestoredAtStart()
{
    Fixture f("[Startup]\r\nShowTips=0\r\nHeight=6000\r\nWidth=12000\r\nTop=900\r\nLeft=1500\r\n");
    MainWindow *w = f.window.get();
    QCOMPARE(w->size(), QSize(twipsToPixelsX(12000, w), twipsToPixelsY(6000, w)));
    QCOMPARE(w->pos(), QPoint(twipsToPixelsX(1500, w), twipsToPixelsY(900, w)));
    // Below the smallest inner size the window is widened to it.
    Fixture small("[Startup]\r\nShowTips=0\r\nHeight=1000\r\nWidth=2000\r\n");
    QCOMPARE(small.window->size(), QSize(twipsToPixelsX(5000, small.window.get()), twipsToPixelsY(2400, small.window.get())));
}

void TstWindowState::remPositionZeroCentresDefaultSize()
{
    Fixture f("[Startup]\r\nShowTips=0\r\nRemPosition=0\r\nHeight=6000\r\nWidth=12000\r\nTop=900\r\nLeft=1500\r\n");
    MainWindow *w = f.window.get();
    const Startup::Geometry screen = screenOf(w);
    const double width = screen.width * 3 / 4;
    const double height = screen.height * 3 / 4;
    QCOMPARE(w->size(), QSize(twipsToPixelsX(width, w), twipsToPixelsY(height, w)));
    QCOMPARE(w->pos(), QPoint(twipsToPixelsX(screen.left + (screen.width - width) / 2, w),
                              twipsToPixelsY(screen.top + (screen.height - height) / 2, w)));
}

void TstWindowState::geometrySavedAtUnload()
{
    Fixture f;
    f.showAndWait();
    f.window->resize(700, 450);
    f.window->move(40, 30);
    f.prompter.answers = {Prompter::Answer::No};
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QVERIFY(!f.window->isVisible());
    MainWindow *w = f.window.get();
    QCOMPARE(f.setting(QStringLiteral("Width")), QString::number(qRound(pixelsToTwipsX(700, w))));
    QCOMPARE(f.setting(QStringLiteral("Height")), QString::number(qRound(pixelsToTwipsY(450, w))));
    QCOMPARE(f.setting(QStringLiteral("Left")), QString::number(qRound(pixelsToTwipsX(40, w))));
    QCOMPARE(f.setting(QStringLiteral("Top")), QString::number(qRound(pixelsToTwipsY(30, w))));

    // The next start comes back to the same place, "RemPosition" missing meaning 1.
    MainWindow second(f.context, f.prompter);
    QCOMPARE(second.size(), QSize(700, 450));
    QCOMPARE(second.pos(), QPoint(40, 30));
}

void TstWindowState::minimisedWindowSavesNothing()
{
    const QByteArray stored = "[Startup]\r\nShowTips=0\r\nShowInTray=0\r\nHeight=6000\r\nWidth=12000\r\nTop=900\r\nLeft=1500\r\n";
    Fixture f(stored);
    f.showAndWait();
    f.window->resize(700, 450);
    f.window->showMinimized();
    QTRY_VERIFY(f.window->isMinimized());
    f.prompter.answers = {Prompter::Answer::No};
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QCOMPARE(f.setting(QStringLiteral("Height")), QStringLiteral("6000"));
    QCOMPARE(f.setting(QStringLiteral("Width")), QStringLiteral("12000"));
    QCOMPARE(f.setting(QStringLiteral("Top")), QStringLiteral("900"));
    QCOMPARE(f.setting(QStringLiteral("Left")), QStringLiteral("1500"));
    // The rest of the settings were still written.
    IniDocument ini;
    ini.load(f.app.settingsPath());
    QVERIFY(ini.contains(QStringLiteral("Calculation"), QStringLiteral("gCu")));
}

void TstWindowState::trayIconAtStart()
{
    {
        Fixture f("[Startup]\r\nShowTips=0\r\nShowInTray=0\r\n");
        QVERIFY(!f.window->trayIcon()->isPresent());
    }
    Fixture f;
    TrayIcon *tray = f.window->trayIcon();
    QVERIFY(tray->isPresent());
    QCOMPARE(tray->toolTip(), QStringLiteral("[Проект 1] - Кабинор 3.2"));
    // The tip keeps the caption of the moment the icon was added.
    f.window->project().projectName = QStringLiteral("Другой");
    f.window->updateCaption();
    QCOMPARE(tray->toolTip(), QStringLiteral("[Проект 1] - Кабинор 3.2"));
    // Where the desktop has no tray nothing but the state exists.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        QVERIFY(!tray->systemIcon());
    // Unloading takes the icon away.
    f.prompter.answers = {Prompter::Answer::No};
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QVERIFY(!tray->isPresent());
}

void TstWindowState::leftClickToggles()
{
    AssumeTray tray(true);
    Fixture f;
    f.showAndWait();
    MainWindow *w = f.window.get();
    w->trayIcon()->activate(QSystemTrayIcon::Trigger);
    QVERIFY(!w->isVisible());
    QVERIFY(!w->m_shownNormally);
    QVERIFY(w->action(QStringLiteral("actionTrayShow"))->isEnabled());
    QVERIFY(!w->action(QStringLiteral("actionTrayHide"))->isEnabled());

    // Other events change nothing.
    w->trayIcon()->activate(QSystemTrayIcon::Context);
    w->trayIcon()->activate(QSystemTrayIcon::MiddleClick);
    QVERIFY(!w->isVisible());

    w->trayIcon()->activate(QSystemTrayIcon::Trigger);
    QVERIFY(w->isVisible());
    QVERIFY(!w->isMinimized());
    QVERIFY(w->m_shownNormally);
    QVERIFY(!w->action(QStringLiteral("actionTrayShow"))->isEnabled());
    QVERIFY(w->action(QStringLiteral("actionTrayHide"))->isEnabled());
}

void TstWindowState::trayMenuItems()
{
    Fixture f;
    QStringList captions;
    for (QAction *a : f.window->trayMenu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(captions, (QStringList{QStringLiteral("&Показать"), QStringLiteral("&Скрыть"), QStringLiteral("-"),
                                    QStringLiteral("Проверить &обновление"), QStringLiteral("-"), QStringLiteral("&Выход")}));
    QVERIFY(!f.window->action(QStringLiteral("actionTrayShow"))->isEnabled());
    QVERIFY(f.window->action(QStringLiteral("actionTrayHide"))->isEnabled());
    QVERIFY(f.window->action(QStringLiteral("actionTrayCheckUpdate"))->isEnabled());
    // The tray menu is not part of the menu bar.
    for (QAction *a : f.window->menuBar()->actions())
        QVERIFY(a->menu() != f.window->trayMenu);

    f.showAndWait();
    f.window->action(QStringLiteral("actionTrayHide"))->trigger();
    QVERIFY(!f.window->isVisible());
    f.window->action(QStringLiteral("actionTrayShow"))->trigger();
    QVERIFY(f.window->isVisible());
    QVERIFY(f.window->m_shownNormally);
}

void TstWindowState::minimiseHidesToTray()
{
    AssumeTray tray(true);
    Fixture f;
    f.showAndWait();
    f.window->showMinimized();
    QTRY_VERIFY(!f.window->isVisible());
    QVERIFY(!f.window->m_shownNormally);
    QVERIFY(f.window->action(QStringLiteral("actionTrayShow"))->isEnabled());
    QVERIFY(!f.window->action(QStringLiteral("actionTrayHide"))->isEnabled());
    f.window->trayIcon()->activate(QSystemTrayIcon::Trigger);
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->isMinimized());
}

void TstWindowState::minimiseWithoutTrayStaysMinimised()
{
    // The setting is off: an ordinary minimised window.
    {
        AssumeTray tray(true);
        Fixture f("[Startup]\r\nShowTips=0\r\nShowInTray=0\r\n");
        f.showAndWait();
        f.window->showMinimized();
        QTRY_VERIFY(f.window->isMinimized());
        QCoreApplication::processEvents();
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->m_shownNormally);
    }
    // The setting is on but the desktop has no tray to come back from.
    {
        AssumeTray tray(false);
        Fixture f;
        f.showAndWait();
        f.window->showMinimized();
        QTRY_VERIFY(f.window->isMinimized());
        QCoreApplication::processEvents();
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->m_shownNormally);
    }
}

void TstWindowState::trayExitAsksFirst()
{
    AssumeTray tray(true);
    Fixture f;
    f.showAndWait();
    f.window->action(QStringLiteral("actionTrayHide"))->trigger();
    QVERIFY(!f.window->isVisible());
    // Something unsaved: Cancel keeps the program running in the tray.
    f.window->lineModel()->appendLine(CableLine());
    f.prompter.answers = {Prompter::Answer::Cancel};
    f.window->action(QStringLiteral("actionTrayExit"))->trigger();
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Сохранить проект 'Проект 1'?"));
    QVERIFY(f.window->trayIcon()->isPresent());

    f.prompter.answers = {Prompter::Answer::No};
    f.window->action(QStringLiteral("actionTrayExit"))->trigger();
    QVERIFY(!f.window->trayIcon()->isPresent());
    IniDocument ini;
    ini.load(f.app.settingsPath());
    QVERIFY(ini.contains(QStringLiteral("Calculation"), QStringLiteral("gAl")));
    // Hidden in the tray means minimised: no geometry was written.
    QCOMPARE(f.setting(QStringLiteral("Width")), QStringLiteral("<none>"));
}

void TstWindowState::tipAtFirstPaint()
{
    Fixture f{QByteArray()}; // an empty settings file: no "ShowTips"
    QVERIFY(!f.window->findChild<TipDialog *>());
    f.showAndWait();
    QTRY_VERIFY(f.window->findChild<TipDialog *>());
    auto *tip = f.window->findChild<TipDialog *>();
    QTRY_VERIFY(tip->isVisible());
    QVERIFY(tip->isModal());
    QVERIFY(tip->showAtStartupCheck->isChecked());
    QVERIFY(!tip->tips().isEmpty()); // the delivered tip file
    // Only the first paint opens it.
    tip->close();
    f.window->repaint();
    QCoreApplication::processEvents();
    QTRY_VERIFY(!f.window->findChild<TipDialog *>());
    f.window->update();
    QTest::qWait(20);
    QVERIFY(!f.window->findChild<TipDialog *>());
}

void TstWindowState::noTipWhenSwitchedOff()
{
    Fixture f("[Startup]\r\nShowTips=0\r\n");
    f.showAndWait();
    QTest::qWait(20);
    QVERIFY(!f.window->findChild<TipDialog *>());
}

QTEST_MAIN(TstWindowState)
#include "tst_windowstate.moc"
