// Every reader of the delivered data files on the same bytes: the list-input
// reader, the permissible-current tables, marks, transformers, coefficient
// and lighting lists, the utilisation tables by type, cable reactances, the
// impedance tables and the devices.
#include "FuzzSupport.h"
#include "base/ListInput.h"
#include "calc/lighting/LightingCalc.h"
#include "calc/lighting/UtilisationTables.h"
#include "calc/lines/CableReactance.h"
#include "calc/lines/MarkList.h"
#include "calc/lines/PermissibleTables.h"
#include "calc/loads/LoadCalc.h"
#include "calc/protection/Protection.h"
#include "calc/shortcircuit/FaultCurrents.h"
#include "calc/shortcircuit/Transformer.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
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

    // A table that reads as usable holds only finite values: nothing beyond
    // the range of numbers may reach a calculation as a figure.
    const CableReactance reactance = CableReactance::fromText(text);
    for (double section : {1.5, 16.0, 95.0, 240.0})
        if (const auto x = reactance.perMetre(section); x && (!reactance.isUsable() || !std::isfinite(*x)))
            std::abort();
    auto finite = [](const FaultCurrents::Sequences &z) {
        return std::isfinite(z.r1) && std::isfinite(z.x1) && std::isfinite(z.r0) && std::isfinite(z.x0);
    };
    const auto transformers = FaultCurrents::TransformerTable::fromText(text);
    for (const char *group : {"Y", "D"})
        if (const auto z = transformers.find(400, QString::fromLatin1(group)); z && !finite(*z))
            std::abort();
    const auto cables = FaultCurrents::CableTable::fromText(text);
    for (const QString &material : {QStringLiteral("Медь"), QStringLiteral("Алюминий")})
        if (const auto z = cables.find(material, 95); z && !finite(*z))
            std::abort();
    const auto breakers = Protection::BreakerTable::fromText(text);
    for (const QString &characteristic : breakers.characteristics()) {
        double previous = 0;
        for (const Protection::Breaker &b : breakers.ofCharacteristic(characteristic)) {
            // By rated current, each a finite positive figure.
            if (!(b.rated >= previous) || !std::isfinite(b.rated) || !std::isfinite(b.instantaneous)
                || !std::isfinite(b.breakingCapacity))
                std::abort();
            previous = b.rated;
        }
    }

    // η read from a table lies within the table's own values, wherever the
    // room index and the reflectances fall.
    const Lighting::UtilisationTables utilisation = Lighting::UtilisationTables::fromText(text);
    for (const Lighting::UtilisationTable &table : utilisation.tables()) {
        double least = INFINITY;
        double most = -INFINITY;
        for (const Lighting::ReflectanceRow &row : table.rows)
            for (const double v : row.percent) {
                least = std::min(least, v);
                most = std::max(most, v);
            }
        for (const double index : {0.1, 1.3, 7.0})
            for (const double rho : {0.0, 45.0, 90.0}) {
                const double eta = Lighting::utilisation(table, index, rho, rho / 2, rho / 3).eta * 100;
                if (!(eta >= least - 1e-9 * std::abs(least) && eta <= most + 1e-9 * std::abs(most)))
                    std::abort();
            }
    }

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
