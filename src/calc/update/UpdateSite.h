#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class IniDocument;

// The update check's rules that need no network: where the site is, how its
// start page announces the version, and how that version is compared.
namespace UpdateSite {

// The site's start page carries this marker, followed by the version.
inline const QString Marker = QStringLiteral("версия:");
// The page is searched in pieces of this many characters, each by itself.
constexpr int PieceLength = 100;
// The first piece and at most this many further pieces are searched.
constexpr int MaxFurtherPieces = 1000;
// Characters taken after the marker before trimming.
constexpr int VersionLength = 7;

// Settings of the check: section "Update", keys "Site" (the site's address)
// and "Timeout" (seconds to wait for the answer).
inline const QString Section = QStringLiteral("Update");
QString defaultSiteAddress();
constexpr int DefaultTimeoutSeconds = 30;
// A time-out is taken within these bounds: a longer one would leave the
// check waiting for ever (and in milliseconds would not fit a timer).
constexpr int MinTimeoutSeconds = 1;
constexpr int MaxTimeoutSeconds = 600;

QString siteAddress(const IniDocument &settings);
// "Timeout" within the bounds; the default when it is no positive whole number.
int timeoutSeconds(const IniDocument &settings);
// The site's root, requested as "GET /", and the installer on the same host.
QString rootAddress(const QString &site);
QString installerAddress(const QString &site);
QString hostName(const QString &site);

// The page's text: the charset the server named, else UTF-8 when the bytes
// are valid UTF-8, else Windows-1251.
QString decodePage(const QByteArray &body, const QByteArray &contentType);

// The version after the marker, searched piece by piece: a marker split
// between two pieces is not seen. The 7 characters after the marker (fewer
// when the piece ends sooner) with the blanks at both ends removed; none when
// they are not a version (digits and dots, a digit first): the site's text is
// never offered or shown as one.
std::optional<QString> findVersion(const QString &page);

// The running version as the site writes it: major "0", minor "0", revision
// "00" (3.2.17; a revision of 5 gives 3.2.05).
QString runningVersionText(int major, int minor, int revision);

// Compared as texts character by character: 3.10.1 is not above 3.2.17.
bool isNewer(const QString &siteVersion, const QString &runningText);

// Messages of the check.
QString noNetworkMessage(const QString &host);
QString lanOnlyMessage(const QString &host);
QString connectionTitle(); // "Ошибка подключения"
QString newVersionQuestion(const QString &siteVersion, const QString &runningPlain);
QString newVersionTitle(); // "Обновление"
QString noUpdateMessage(const QString &siteVersion);
QString siteMovedMessage();
QString timeoutMessage(const QString &host);

// Why the site's page could not be read, told in the program's words rather
// than the network library's English.
enum class TransferFailure {
    Refused, // nobody takes the connection
    Closed, // the server ended the connection early
    HostNotFound,
    SecureConnection,
    Proxy,
    TooManyRedirects,
    InsecureRedirect,
    UnsupportedAddress, // a scheme other than http or https
    ServerAnswer, // the server answered with an HTTP error
    Network, // anything else
};
// `httpStatus` is the server's status code, 0 when there was none.
QString transferFailureMessage(TransferFailure failure, const QString &host, int httpStatus);
QString checkingConnectionStatus();
QString checkingUpdateStatus();

} // namespace UpdateSite
