// The main window's tray icon, its hiding in the tray and its size and
// position between runs.
#include "shell/MainWindow.h"

#include "base/IniStore.h"
#include "base/StartupSettings.h"
#include "shell/TrayIcon.h"
#include "ui/widgets/WidgetHelpers.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>

void MainWindow::buildTrayMenu()
{
    QAction *show = makeAction(QStringLiteral("actionTrayShow"), QStringLiteral("&Показать"));
    show->setEnabled(false);
    connect(show, &QAction::triggered, this, &MainWindow::showFromTray);
    QAction *hide = makeAction(QStringLiteral("actionTrayHide"), QStringLiteral("&Скрыть"));
    connect(hide, &QAction::triggered, this, &MainWindow::hideToTray);
    QAction *update = makeAction(QStringLiteral("actionTrayCheckUpdate"), QStringLiteral("Проверить &обновление"));
    connect(update, &QAction::triggered, this, &MainWindow::checkForUpdate);
    QAction *exit = makeAction(QStringLiteral("actionTrayExit"), QStringLiteral("&Выход"));
    connect(exit, &QAction::triggered, this, [this] {
        // The save question first; a window hidden in the tray is no longer
        // the last visible one, so the program ends here.
        if (close())
            QCoreApplication::quit();
    });
    trayMenu->addAction(show);
    trayMenu->addAction(hide);
    trayMenu->addSeparator();
    trayMenu->addAction(update);
    trayMenu->addSeparator();
    trayMenu->addAction(exit);

    m_tray = new TrayIcon(this);
    connect(m_tray, &TrayIcon::toggleRequested, this, [this] {
        if (m_shownNormally)
            hideToTray();
        else
            showFromTray();
    });
}

void MainWindow::addTrayIcon()
{
    m_tray->add(windowIcon(), windowTitle(), trayMenu);
}

void MainWindow::removeTrayIcon()
{
    m_tray->remove();
}

void MainWindow::hideToTray()
{
    setWindowState(windowState() | Qt::WindowMinimized);
    // A hidden window has no taskbar button.
    hide();
    action(QStringLiteral("actionTrayShow"))->setEnabled(true);
    action(QStringLiteral("actionTrayHide"))->setEnabled(false);
    m_shownNormally = false;
}

void MainWindow::showFromTray()
{
    showNormal();
    action(QStringLiteral("actionTrayShow"))->setEnabled(false);
    action(QStringLiteral("actionTrayHide"))->setEnabled(true);
    m_shownNormally = true;
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void MainWindow::minimiseToTray()
{
    // Only while the icon can bring the window back: a desktop without a tray
    // keeps an ordinary minimised window.
    if (!isMinimized() || !m_shownNormally || !isVisible() || !m_tray->canRestoreFrom())
        return;
    if (!Startup::readFlag(m_context.settings().read(), Startup::ShowInTray))
        return;
    hide();
    action(QStringLiteral("actionTrayShow"))->setEnabled(true);
    action(QStringLiteral("actionTrayHide"))->setEnabled(false);
    m_shownNormally = false;
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

void MainWindow::restoreWindowGeometry()
{
    const IniDocument ini = m_context.settings().read();
    const Startup::Geometry g = Startup::restoredGeometry(ini, screenTwips(this));
    // Sizes are the window's inner size, positions its outer corner: both
    // read back exactly as they were written.
    resize(twipsToPixelsX(g.width, this), twipsToPixelsY(g.height, this));
    move(twipsToPixelsX(g.left, this), twipsToPixelsY(g.top, this));
}

void MainWindow::saveWindowGeometry(IniDocument &ini) const
{
    // A minimised window keeps the values of the last normal close.
    if (isMinimized())
        return;
    Startup::storeGeometry(ini, Startup::Geometry{pixelsToTwipsX(x(), this), pixelsToTwipsY(y(), this),
                                                  pixelsToTwipsX(width(), this), pixelsToTwipsY(height(), this)});
}
