// Every reader of the delivered data files on the same bytes: the list-input
// reader, the permissible-current tables, marks, transformers, coefficient
// and lighting lists.
#include "FuzzSupport.h"
#include "base/ListInput.h"
#include "lighting/LightingCalc.h"
#include "lines/MarkList.h"
#include "lines/PermissibleTables.h"
#include "loads/LoadCalc.h"
#include "shortcircuit/Transformer.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace {

QString scratchFile()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/kabinor-fuzz-%1.dat").arg(getpid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    ListInput in(text);
    int fields = 0;
    while (in.next() && ++fields < 100000) {
    }
    for (NetworkType net : {NetworkType::SinglePhase, NetworkType::ThreePhase}) {
        for (int rows : {14, 15, 20, 25}) {
            const Permissible::PermissibleTable table = Permissible::PermissibleTable::fromText(text, net, rows);
            if (table.isUsable() && table.rowCount() != rows)
                std::abort();
        }
    }
    const QStringList marks = MarkList::parse(text);
    if (MarkList::parse(MarkList::format(marks)) != marks)
        std::abort(); // a mark list we write must read back the same
    (void)Transformer::parseTransformerTable(text);

    QFile f(scratchFile());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(reinterpret_cast<const char *>(data), qint64(size));
        f.close();
        (void)LoadCalc::readCoefficientList(scratchFile());
        (void)Lighting::readRecords(scratchFile());
        (void)Lighting::readUtilisationTable(scratchFile());
    }
    return 0;
}
