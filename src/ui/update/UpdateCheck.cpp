#include "ui/update/UpdateCheck.h"

#include "base/Version.h"
#include "calc/update/UpdateSite.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace {

UpdateSite::TransferFailure failureOf(QNetworkReply::NetworkError error)
{
    using F = UpdateSite::TransferFailure;
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return F::Refused;
    case QNetworkReply::RemoteHostClosedError:
        return F::Closed;
    case QNetworkReply::HostNotFoundError:
        return F::HostNotFound;
    case QNetworkReply::SslHandshakeFailedError:
        return F::SecureConnection;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return F::Proxy;
    case QNetworkReply::TooManyRedirectsError:
        return F::TooManyRedirects;
    case QNetworkReply::InsecureRedirectError:
        return F::InsecureRedirect;
    case QNetworkReply::ProtocolUnknownError:
        return F::UnsupportedAddress;
    default:
        break;
    }
    // Every answer of the server with an error status lies in these two ranges.
    if ((error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError))
        return F::ServerAnswer;
    return F::Network;
}

// More than enough for the pieces that are searched, in any encoding; a
// larger page is not read further.
constexpr qint64 kPageLimit = 1024 * 1024;

} // namespace

UpdateCheck::UpdateCheck(Prompter &prompter, QObject *parent)
    : QObject(parent), m_prompter(prompter), m_probe(&UpdateCheck::systemNetworkState)
{
}

UpdateCheck::~UpdateCheck() = default;

void UpdateCheck::setTimeoutMs(qint64 ms)
{
    m_timeoutMs = std::clamp<qint64>(ms, 1, std::numeric_limits<int>::max());
}

UpdateCheck::NetworkState UpdateCheck::systemNetworkState()
{
    if (QNetworkInformation::instance() || QNetworkInformation::loadDefaultBackend()) {
        switch (QNetworkInformation::instance()->reachability()) {
        case QNetworkInformation::Reachability::Online:
            return NetworkState::Connected;
        case QNetworkInformation::Reachability::Local:
        case QNetworkInformation::Reachability::Site:
            return NetworkState::LanOnly;
        case QNetworkInformation::Reachability::Disconnected:
            return NetworkState::None;
        case QNetworkInformation::Reachability::Unknown:
            break; // the backend cannot tell: ask the interfaces
        }
    }
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : iface.addressEntries())
            if (!entry.ip().isLoopback() && !entry.ip().isNull())
                return NetworkState::Connected;
    }
    return NetworkState::None;
}

UpdateCheck::Outcome UpdateCheck::fetch(const QString &address, QString *page, QString *error)
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Kabinor/") + Version::fullText());
    QPointer<QNetworkReply> reply = m_network->get(request);

    QByteArray body;
    bool enough = false;
    bool timedOut = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (body.size() >= kPageLimit) {
            enough = true;
            loop.quit();
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(int(m_timeoutMs));
    if (!reply->isFinished())
        loop.exec();
    timer.stop();

    const auto cleanup = qScopeGuard([&] {
        if (reply) {
            reply->disconnect(&loop);
            reply->abort();
            reply->deleteLater();
        }
    });
    if (!reply)
        return Outcome::Abandoned;
    if (timedOut)
        return Outcome::TimedOut;
    if (!enough && !reply->isFinished())
        return Outcome::Abandoned; // the application is closing
    if (!enough && reply->error() != QNetworkReply::NoError) {
        *error = UpdateSite::transferFailureMessage(failureOf(reply->error()), UpdateSite::hostName(address),
                                                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt());
        return Outcome::TransferError;
    }
    body += reply->readAll();
    *page = UpdateSite::decodePage(body, reply->header(QNetworkRequest::ContentTypeHeader).toString().toLatin1());
    return Outcome::Page;
}

bool UpdateCheck::run(const QString &site, QLabel *statusPanel, QString &m_siteVersion)
{
    if (m_running)
        return false;
    m_running = true;

    const QString host = UpdateSite::hostName(site);
    const QString savedStatus = statusPanel ? statusPanel->text() : QString();
    auto setStatus = [statusPanel](const QString &text) {
        if (statusPanel)
            statusPanel->setText(text);
    };
    bool waiting = true;
    auto endWait = [&] {
        if (!waiting)
            return;
        waiting = false;
        QGuiApplication::restoreOverrideCursor();
        setStatus(savedStatus);
    };
    const auto finish = qScopeGuard([&] {
        endWait();
        m_running = false;
    });

    setStatus(UpdateSite::checkingConnectionStatus());
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);

    switch (m_probe ? m_probe() : NetworkState::Connected) {
    case NetworkState::None:
        endWait();
        m_prompter.message(UpdateSite::noNetworkMessage(host), UpdateSite::connectionTitle(),
                           Prompter::Icon::Exclamation);
        return true;
    case NetworkState::LanOnly:
        endWait();
        m_prompter.message(UpdateSite::lanOnlyMessage(host), UpdateSite::connectionTitle(),
                           Prompter::Icon::Exclamation);
        return true;
    case NetworkState::Connected:
        break;
    }

    setStatus(UpdateSite::checkingUpdateStatus());
    QString page;
    QString error;
    const Outcome outcome = fetch(UpdateSite::rootAddress(site), &page, &error);
    endWait();

    // A check that failed says so and offers nothing: an earlier or empty
    // version must not be reported as the site's.
    switch (outcome) {
    case Outcome::Abandoned:
        return true;
    case Outcome::TimedOut:
        m_prompter.message(UpdateSite::timeoutMessage(host), QString(), Prompter::Icon::Critical);
        return true;
    case Outcome::TransferError:
        m_prompter.message(error, QString(), Prompter::Icon::Critical);
        return true;
    case Outcome::Page:
        break;
    }
    const std::optional<QString> found = UpdateSite::findVersion(page);
    if (!found) {
        m_prompter.message(UpdateSite::siteMovedMessage(), QStringLiteral("Ошибка"), Prompter::Icon::Critical);
        return true;
    }
    m_siteVersion = *found;

    const QString running = UpdateSite::runningVersionText(Version::Major, Version::Minor, Version::Patch);
    if (UpdateSite::isNewer(m_siteVersion, running)) {
        const auto answer = m_prompter.message(UpdateSite::newVersionQuestion(m_siteVersion, Version::fullText()),
                                               UpdateSite::newVersionTitle(), Prompter::Icon::Question,
                                               Prompter::Buttons::YesNo);
        if (answer == Prompter::Answer::Yes)
            QDesktopServices::openUrl(QUrl(UpdateSite::installerAddress(site)));
    } else {
        m_prompter.message(UpdateSite::noUpdateMessage(m_siteVersion), QString(), Prompter::Icon::Information);
    }
    return true;
}
