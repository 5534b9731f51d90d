#include "FuzzSupport.h"
#include "base/DataFileRegistry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList entries = DataFiles::parseRegistry(fuzzText(data, size));
    if (entries.size() > DataFiles::SlotCount)
        std::abort();
    for (const QString &e : entries)
        (void)DataFiles::joinEntry(QStringLiteral("/app"), e);
    return 0;
}
