// The main window's tray icon, its hiding in the tray and its size and
// position between runs.
#include "app/frmMain.h"

#include "app/IniStore.h"
#include "app/StartupSettings.h"
#include "app/TrayIcon.h"
#include "app/UiHelpers.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>

void frmMain::buildTrayMenu()
{
    QAction *show = makeAction(QStringLiteral("mnuTrayShow"), QStringLiteral("&Показать"));
    show->setEnabled(false);
    connect(show, &QAction::triggered, this, &frmMain::ShowFromTray);
    QAction *hide = makeAction(QStringLiteral("mnuTrayHide"), QStringLiteral("&Скрыть"));
    connect(hide, &QAction::triggered, this, &frmMain::HideToTray);
    QAction *update = makeAction(QStringLiteral("mnuTrayUpdate"), QStringLiteral("Проверить &обновление"));
    connect(update, &QAction::triggered, this, &frmMain::cmdUpdate);
    QAction *exit = makeAction(QStringLiteral("mnuTrayExit"), QStringLiteral("&Выход"));
    connect(exit, &QAction::triggered, this, [this] {
        // Leaves at once, without the save question; a window hidden in the
        // tray is no longer the last visible one, so the program ends here.
        m_closeWithoutAsking = true;
        if (close())
            QCoreApplication::quit();
    });
    mnuTray->addAction(show);
    mnuTray->addAction(hide);
    mnuTray->addSeparator();
    mnuTray->addAction(update);
    mnuTray->addSeparator();
    mnuTray->addAction(exit);

    m_tray = new TrayIcon(this);
    connect(m_tray, &TrayIcon::toggleRequested, this, [this] {
        if (FlagShow)
            HideToTray();
        else
            ShowFromTray();
    });
}

void frmMain::AddTrayIcon()
{
    m_tray->add(windowIcon(), windowTitle(), mnuTray);
}

void frmMain::RemoveTrayIcon()
{
    m_tray->remove();
}

void frmMain::HideToTray()
{
    setWindowState(windowState() | Qt::WindowMinimized);
    // A hidden window has no taskbar button.
    hide();
    action(QStringLiteral("mnuTrayShow"))->setEnabled(true);
    action(QStringLiteral("mnuTrayHide"))->setEnabled(false);
    FlagShow = false;
}

void frmMain::ShowFromTray()
{
    showNormal();
    action(QStringLiteral("mnuTrayShow"))->setEnabled(false);
    action(QStringLiteral("mnuTrayHide"))->setEnabled(true);
    FlagShow = true;
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void frmMain::minimiseToTray()
{
    // Only while the icon can bring the window back: a desktop without a tray
    // keeps an ordinary minimised window.
    if (!isMinimized() || !FlagShow || !isVisible() || !m_tray->canRestoreFrom())
        return;
    if (!Startup::readFlag(m_context.settingsPath(), Startup::ShowInTray))
        return;
    hide();
    action(QStringLiteral("mnuTrayShow"))->setEnabled(true);
    action(QStringLiteral("mnuTrayHide"))->setEnabled(false);
    FlagShow = false;
}

namespace {

Startup::Geometry screenTwips(const QWidget *w)
{
    const QScreen *s = w->screen();
    const QRect r = s ? s->geometry() : QRect(0, 0, 1024, 768);
    return Startup::Geometry{pixelsToTwipsX(r.x(), w), pixelsToTwipsY(r.y(), w), pixelsToTwipsX(r.width(), w),
                             pixelsToTwipsY(r.height(), w)};
}

} // namespace

void frmMain::RestoreWindowGeometry()
{
    IniDocument ini;
    ini.load(m_context.settingsPath());
    const Startup::Geometry g = Startup::restoredGeometry(ini, screenTwips(this));
    // Sizes are the window's inner size, positions its outer corner: both
    // read back exactly as they were written.
    resize(twipsToPixelsX(g.width, this), twipsToPixelsY(g.height, this));
    move(twipsToPixelsX(g.left, this), twipsToPixelsY(g.top, this));
}

void frmMain::saveWindowGeometry(IniDocument &ini) const
{
    // A minimised window keeps the values of the last normal close.
    if (isMinimized())
        return;
    Startup::storeGeometry(ini, Startup::Geometry{pixelsToTwipsX(x(), this), pixelsToTwipsY(y(), this),
                                                  pixelsToTwipsX(width(), this), pixelsToTwipsY(height(), this)});
}
