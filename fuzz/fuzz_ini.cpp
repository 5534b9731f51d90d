#include "FuzzSupport.h"
#include "base/IniStore.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    IniDocument doc = IniDocument::fromText(text);
    const QStringList sections = doc.sectionNames();
    const QString added = text.left(40);
    for (const QString &s : sections) {
        (void)doc.value(s, QStringLiteral("Key"), QStringLiteral("0"));
        doc.setValue(s, QStringLiteral("Added"), added);
    }
    doc.setValue(QStringLiteral("New"), QStringLiteral("k"), text.left(300));
    // What we write must read back to the same document.
    const QString written = doc.toText();
    const IniDocument again = IniDocument::fromText(written);
    if (again.value(QStringLiteral("New"), QStringLiteral("k"), QString(), true)
        != doc.value(QStringLiteral("New"), QStringLiteral("k"), QString(), true))
        std::abort();
    return 0;
}
