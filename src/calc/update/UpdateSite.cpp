#include "calc/update/UpdateSite.h"

#include "base/IniStore.h"
#include "base/TextFile.h"

#include <algorithm>

#include <QStringDecoder>
#include <QUrl>

namespace UpdateSite {

QString defaultSiteAddress()
{
    return QStringLiteral("http://www.kabinor.ru");
}

QString siteAddress(const IniDocument &settings)
{
    const QString stored = settings.value(Section, QStringLiteral("Site")).trimmed();
    return stored.isEmpty() ? defaultSiteAddress() : stored;
}

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), isAsciiDigit);
}

} // namespace

int timeoutSeconds(const IniDocument &settings)
{
    const QString stored = settings.value(Section, QStringLiteral("Timeout"));
    QStringView text = QStringView(stored).trimmed();
    while (text.startsWith(u'0'))
        text = text.mid(1);
    if (text.isEmpty() || !allDigits(text))
        return DefaultTimeoutSeconds;
    // Compared as digits, so that no number is too long to read.
    if (text.size() > 3)
        return MaxTimeoutSeconds;
    return qBound(MinTimeoutSeconds, text.toInt(), MaxTimeoutSeconds);
}

namespace {

// An address typed without a scheme is taken as http.
QUrl siteUrl(const QString &site)
{
    QUrl url(site.trimmed());
    if (url.scheme().isEmpty() || url.host().isEmpty())
        url = QUrl(QStringLiteral("http://") + site.trimmed());
    return url;
}

QString withPath(const QString &site, const QString &path)
{
    QUrl url = siteUrl(site);
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url.toString();
}

} // namespace

QString rootAddress(const QString &site)
{
    return withPath(site, QStringLiteral("/"));
}

QString installerAddress(const QString &site)
{
    return withPath(site, QStringLiteral("/KB_setup.exe"));
}

QString hostName(const QString &site)
{
    return siteUrl(site).host();
}

QString decodePage(const QByteArray &body, const QByteArray &contentType)
{
    const int at = contentType.toLower().indexOf("charset=");
    if (at >= 0) {
        QByteArray name = contentType.mid(at + 8);
        const int end = name.indexOf(';');
        if (end >= 0)
            name.truncate(end);
        name = name.trimmed();
        if (name.startsWith('"') && name.endsWith('"') && name.size() >= 2)
            name = name.mid(1, name.size() - 2);
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return TextFile::decode(body);
}

std::optional<QString> findVersion(const QString &page)
{
    for (int piece = 0; piece <= MaxFurtherPieces; ++piece) {
        const qsizetype start = qsizetype(piece) * PieceLength;
        if (start >= page.size())
            break; // past the end every piece is empty
        const QString text = page.mid(start, PieceLength);
        const qsizetype at = text.indexOf(Marker);
        if (at < 0)
            continue;
        QString version = text.mid(at + Marker.size(), VersionLength);
        // Only blanks are trimmed, as the page writes them.
        qsizetype first = 0;
        qsizetype last = version.size();
        while (first < last && version.at(first) == QLatin1Char(' '))
            ++first;
        while (last > first && version.at(last - 1) == QLatin1Char(' '))
            --last;
        version = version.mid(first, last - first);
        const bool isVersion = !version.isEmpty() && isAsciiDigit(version.front())
                               && allDigits(QString(version).remove(QLatin1Char('.')));
        if (!isVersion)
            return std::nullopt;
        return version;
    }
    return std::nullopt;
}

QString runningVersionText(int major, int minor, int revision)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision, 2, 10, QLatin1Char('0'));
}

bool isNewer(const QString &siteVersion, const QString &runningText)
{
    return QString::compare(siteVersion, runningText, Qt::CaseSensitive) > 0;
}

QString noNetworkMessage(const QString &host)
{
    return QStringLiteral("Попытка соединения с ") + host
           + QStringLiteral(" не удалась, так как Вы не подключены к сети!");
}

QString lanOnlyMessage(const QString &host)
{
    return QStringLiteral("Попытка соединения с ") + host
           + QStringLiteral(" не удалась, так как Вы подключены только к локальной сети (LAN)!");
}

QString connectionTitle()
{
    return QStringLiteral("Ошибка подключения");
}

QString newVersionQuestion(const QString &siteVersion, const QString &runningPlain)
{
    return QStringLiteral("Доступна новая версия: ") + siteVersion + QStringLiteral("!\r\n\r\n")
           + QStringLiteral("Ваша версия: ") + runningPlain + QStringLiteral("\r\n\r\n")
           + QStringLiteral("Загрузить новую версию программы?");
}

QString newVersionTitle()
{
    return QStringLiteral("Обновление");
}

QString noUpdateMessage(const QString &siteVersion)
{
    return QStringLiteral("Версия на сайте: ") + siteVersion + QStringLiteral(". Обновление не обнаружено.");
}

QString siteMovedMessage()
{
    return QStringLiteral("Ошибка при обновлении! Возможно, сайт был перемещен. Обратитесь к автору!");
}

QString timeoutMessage(const QString &host)
{
    return QStringLiteral("Сайт ") + host + QStringLiteral(" не ответил за отведенное время. Попробуйте позже.");
}

QString transferFailureMessage(TransferFailure failure, const QString &host, int httpStatus)
{
    const QString later = QStringLiteral(" Попробуйте позже.");
    switch (failure) {
    case TransferFailure::Refused:
        return QStringLiteral("Сайт ") + host + QStringLiteral(" отказал в соединении.") + later;
    case TransferFailure::Closed:
        return QStringLiteral("Сайт ") + host + QStringLiteral(" прервал соединение.") + later;
    case TransferFailure::HostNotFound:
        return QStringLiteral("Сайт ") + host + QStringLiteral(" не найден. Проверьте подключение к сети и адрес сайта.");
    case TransferFailure::SecureConnection:
        return QStringLiteral("Не удалось установить защищенное соединение с сайтом ") + host + QStringLiteral(".");
    case TransferFailure::Proxy:
        return QStringLiteral("Не удалось соединиться с сайтом ") + host
               + QStringLiteral(" через прокси-сервер. Проверьте настройки прокси-сервера.");
    case TransferFailure::TooManyRedirects:
        return QStringLiteral("Сайт ") + host + QStringLiteral(" перенаправляет запрос слишком много раз.");
    case TransferFailure::InsecureRedirect:
        return QStringLiteral("Сайт ") + host + QStringLiteral(" перенаправил запрос на незащищенный адрес.");
    case TransferFailure::UnsupportedAddress:
        return QStringLiteral("Адрес сайта обновлений указан неверно: поддерживаются только адреса http и https.");
    case TransferFailure::ServerAnswer:
        if (httpStatus > 0)
            return QStringLiteral("Сайт ") + host + QStringLiteral(" ответил ошибкой ") + QString::number(httpStatus)
                   + QStringLiteral(".") + later;
        break;
    case TransferFailure::Network:
        break;
    }
    return QStringLiteral("Ошибка сети при обращении к сайту ") + host + QStringLiteral(".") + later;
}

QString checkingConnectionStatus()
{
    return QStringLiteral("Проверка соединения... Пожалуйста, ждите...");
}

QString checkingUpdateStatus()
{
    return QStringLiteral("Обнаружено подключение к сети. Идет проверка обновления... Пожалуйста, ждите...");
}

} // namespace UpdateSite
