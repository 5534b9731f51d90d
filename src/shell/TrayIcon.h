#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <optional>

class QMenu;

// The program's one icon in the notification area. Its state is kept here
// whether or not the desktop has a tray, so the window logic runs the same
// everywhere; the system icon itself exists only where a tray does.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    // The tip holds at most this many characters of the caption.
    static constexpr int MaxTipLength = 63;
    static QString tipText(const QString &caption);

    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    // Puts the icon in place with the caption of this moment as its tip and
    // the menu on its right button. An icon already there stays as it is.
    void add(const QIcon &icon, const QString &caption, QMenu *menu);
    // Takes the icon away; nothing when there is none.
    void remove();

    bool isPresent() const { return m_present; }
    QString toolTip() const { return m_tip; }
    // The system's icon, or null where the desktop has no tray.
    QSystemTrayIcon *systemIcon() const { return m_icon; }

    // True when a hidden window can come back through the icon: it is in
    // place and the desktop shows it.
    bool canRestoreFrom() const;

    // The desktop's tray; tests may assume one where the platform has none.
    static bool systemTrayAvailable();
    static void setAssumeTrayAvailable(std::optional<bool> available);

    // An event of the icon: the left button toggles the window, the right
    // button's menu is shown by the system, other events are ignored.
    void activate(QSystemTrayIcon::ActivationReason reason);

signals:
    void toggleRequested();

private:
    QSystemTrayIcon *m_icon = nullptr;
    QString m_tip;
    bool m_present = false;
};
