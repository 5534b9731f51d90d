// The scan of the update site's start page for the version marker.
#include "update/UpdateSite.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString page = UpdateSite::decodePage(bytes, QByteArrayLiteral("text/html"));
    if (const auto version = UpdateSite::findVersion(page)) {
        if (version->size() > UpdateSite::VersionLength)
            std::abort();
        (void)UpdateSite::isNewer(*version, QStringLiteral("3.2.17"));
    }
    (void)UpdateSite::decodePage(bytes, QByteArrayLiteral("text/html; charset=windows-1251"));
    return 0;
}
