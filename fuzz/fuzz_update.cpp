// The scan of the update site's start page for the version marker.
#include "calc/update/UpdateSite.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString page = UpdateSite::decodePage(bytes, QByteArrayLiteral("text/html"));
    if (const auto version = UpdateSite::findVersion(page)) {
        // Only digits and dots are ever offered or shown as a version.
        if (version->size() > UpdateSite::VersionLength || version->isEmpty())
            std::abort();
        for (const QChar c : *version)
            if (c != QLatin1Char('.') && (c < QLatin1Char('0') || c > QLatin1Char('9')))
                std::abort();
        (void)UpdateSite::isNewer(*version, QStringLiteral("3.2.17"));
    }
    (void)UpdateSite::decodePage(bytes, QByteArrayLiteral("text/html; charset=windows-1251"));
    return 0;
}
