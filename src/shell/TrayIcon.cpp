#include "shell/TrayIcon.h"

#include <QMenu>

namespace {

std::optional<bool> &assumedTray()
{
    static std::optional<bool> value;
    return value;
}

} // namespace

QString TrayIcon::tipText(const QString &caption)
{
    return caption.left(MaxTipLength);
}

TrayIcon::TrayIcon(QObject *parent) : QObject(parent) {}

TrayIcon::~TrayIcon()
{
    remove();
}

bool TrayIcon::systemTrayAvailable()
{
    if (assumedTray())
        return *assumedTray();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setAssumeTrayAvailable(std::optional<bool> available)
{
    assumedTray() = available;
}

void TrayIcon::add(const QIcon &icon, const QString &caption, QMenu *menu)
{
    if (m_present)
        return;
    m_present = true;
    m_tip = tipText(caption);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_icon = new QSystemTrayIcon(icon, this);
    m_icon->setToolTip(m_tip);
    m_icon->setContextMenu(menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activate);
    m_icon->show();
}

void TrayIcon::remove()
{
    m_present = false;
    if (m_icon) {
        m_icon->hide();
        m_icon->setContextMenu(nullptr);
        delete m_icon;
        m_icon = nullptr;
    }
}

bool TrayIcon::canRestoreFrom() const
{
    return m_present && systemTrayAvailable();
}

void TrayIcon::activate(QSystemTrayIcon::ActivationReason reason)
{
    if (!m_present)
        return;
    if (reason == QSystemTrayIcon::Trigger)
        emit toggleRequested();
}
