#pragma once

#include "base/Prompter.h"

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QNetworkAccessManager;

// The update check of the main window: asks whether a network is there, reads
// the site's start page, finds the version on it and offers the installer.
// The wait processes the user interface's events; a check that hangs ends
// after the time-out.
class UpdateCheck : public QObject
{
    Q_OBJECT
public:
    enum class NetworkState { None, LanOnly, Connected };
    using NetworkProbe = std::function<NetworkState()>;

    explicit UpdateCheck(Prompter &prompter, QObject *parent = nullptr);
    ~UpdateCheck() override;

    // The system's view: the network information backend where one is
    // available, else any running interface other than the loopback.
    static NetworkState systemNetworkState();
    void setNetworkProbe(NetworkProbe probe) { m_probe = std::move(probe); }
    // Taken within what a timer holds (1 ms to about 24 days).
    void setTimeoutMs(qint64 ms);
    qint64 timeoutMs() const { return m_timeoutMs; }

    bool isRunning() const { return m_running; }

    // Runs the whole check against `site`. Status panel 2 shows the progress
    // and gets its text back; m_siteVersion keeps the version found on the site.
    // Returns false when a check was already running.
    bool run(const QString &site, QLabel *statusPanel, QString &m_siteVersion);

private:
    enum class Outcome { Page, TransferError, TimedOut, Abandoned };
    Outcome fetch(const QString &address, QString *page, QString *error);

    Prompter &m_prompter;
    NetworkProbe m_probe;
    QNetworkAccessManager *m_network = nullptr;
    qint64 m_timeoutMs = 30000;
    bool m_running = false;
};
