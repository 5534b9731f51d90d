#include "calc/shortcircuit/Transformer.h"

#include "base/DataFileRegistry.h"
#include "base/ListInput.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "calc/lines/LineCalc.h"

#include <QFileInfo>

#include <cmath>

QStringList TransformerTable::powerTexts() const
{
    QStringList texts;
    texts.reserve(records.size());
    for (const TransformerRecord &r : records)
        texts << NumberText::format(r.power);
    return texts;
}

QString TransformerTable::problem() const
{
    switch (status) {
    case Status::Ok:
        return QString();
    case Status::Missing:
        return DataFiles::missingFileMessage(shownPath);
    case Status::Damaged:
        return QStringLiteral("Файл ") + shownPath + QStringLiteral(" поврежден: запись ") + QString::number(badRecord)
               + QStringLiteral(" не удалось прочитать!");
    }
    return QString();
}

namespace Transformer {

TransformerTable parseTransformerTable(const QString &text)
{
    TransformerTable table;
    ListInput in(text);
    while (!in.atEnd()) {
        double v[4];
        bool ok = true;
        for (double &field : v) {
            const auto n = in.nextNumber();
            if (!n) {
                ok = false;
                break;
            }
            field = *n;
        }
        // A power of 0 would be taken for "no transformer" by every command.
        if (ok && (v[0] <= 0 || v[1] < 0 || v[2] < 0 || v[3] < 0))
            ok = false;
        if (!ok) {
            table.status = TransformerTable::Status::Damaged;
            table.badRecord = int(table.records.size()) + 1;
            break;
        }
        table.records.append(TransformerRecord{v[0], v[1], v[2], v[3]});
    }
    return table;
}

TransformerTable readTransformerTable(const QString &appDir)
{
    const QString entry = DataFiles::dataFileName(appDir, DataFiles::Transformers);
    const QString shown = DataFiles::shownPath(appDir, entry.isEmpty() ? QStringLiteral("\\files.fls") : entry);
    QString text;
    const QString path = DataFiles::entryPath(appDir, entry);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !TextFile::read(path, &text)) {
        TransformerTable table;
        table.status = TransformerTable::Status::Missing;
        table.shownPath = shown;
        return table;
    }
    TransformerTable table = parseTransformerTable(text);
    table.shownPath = shown;
    return table;
}

void reportTableProblem(const TransformerTable &table, Prompter &prompter)
{
    const QString text = table.problem();
    if (!text.isEmpty())
        prompter.message(text, QStringLiteral("Ошибка"), Prompter::Icon::Critical);
}

float powerValue(const QString &transformerPower)
{
    return float(NumberText::toDouble(transformerPower));
}

std::optional<TransformerRecord> recordOf(const TransformerTable &table, float power)
{
    // The scan goes on past a match: the last record of a power wins.
    std::optional<TransformerRecord> found;
    for (const TransformerRecord &r : table.records)
        if (float(r.power) == power)
            found = r;
    return found;
}

double faultImpedance(double Rt, double Xt, double Zt, const QString &group)
{
    if (group.trimmed().toUpper() == QLatin1String("D"))
        return 3 * std::hypot(Rt, Xt);
    return Zt;
}

int selectTransformer(const TransformerTable &table, float power, Project &project)
{
    if (const auto r = recordOf(table, power)) {
        project.Rt = r->Rt;
        project.Xt = r->Xt;
        project.Zt = r->Zt;
    }
    int selected = -1;
    const QStringList texts = table.powerTexts();
    for (int i = 0; i < texts.size(); ++i)
        if (float(NumberText::toDouble(texts.at(i))) == power)
            selected = i;
    return selected;
}

double supplyLineResistance(const QString &length, const QString &material, const QString &section, const CalcValues &calc)
{
    const double l = NumberText::toDouble(length);
    const double s = NumberText::toDouble(section);
    if (s == 0)
        return 0;
    // The line formula with the length in km gives Ohm; (0.4 / 10)^2 refers it
    // to the 0.4 kV side, 1.6 mOhm for every Ohm.
    const double r = LineCalc::lineResistance(l, material, s, calc).value_or(0.0);
    return 1.6 * r;
}

TransformerTable updateProjectValues(Project &project, const QString &appDir, const CalcValues &calc)
{
    project.Rnet = supplyLineResistance(project.supplyLineLength, project.supplyLineMaterial, project.supplyLineSection, calc);
    TransformerTable table = readTransformerTable(appDir);
    selectTransformer(table, powerValue(project.transformerPower), project);
    return table;
}

QString noPowerMessage()
{
    return QStringLiteral("Укажите мощность трансформатора и данные питающей линии!");
}

} // namespace Transformer
