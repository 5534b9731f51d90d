#include "base/ProjectFile.h"

#include "base/IniStore.h"
#include "base/NumberText.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace ProjectFile {

namespace {

const QString kZero = QStringLiteral("0");
const QString kTP = QStringLiteral("TP");
const QString kLines = QStringLiteral("Lines");
const QString kShields = QStringLiteral("Shields");
const QString kRooms = QStringLiteral("Rooms");
const QString kRoomKey = QStringLiteral("Room");
const QString kProjectSection = QStringLiteral("Project");

// The keys of the project's properties, in the order they are written.
struct PropertyKey {
    const char16_t *key;
    QString ProjectProperties::*field;
};
constexpr PropertyKey kPropertyKeys[] = {
    {u"Organization", &ProjectProperties::organization}, {u"Object", &ProjectProperties::object},
    {u"Code", &ProjectProperties::documentCode},         {u"Stage", &ProjectProperties::stage},
    {u"Developer", &ProjectProperties::developer},       {u"Checker", &ProjectProperties::checker},
    {u"NormControl", &ProjectProperties::normController}, {u"Approver", &ProjectProperties::approver},
    {u"Date", &ProjectProperties::date}};

// Counts are 16-bit integers in the format.
constexpr int kMaxCount = 32767;

// The damage message shows this many problems, then an ellipsis.
constexpr int ShownProblems = 8;

// "SubItem" + k; the usual ones are made once, not once per cell.
QString subItemKey(int k)
{
    static const QStringList keys = [] {
        QStringList list;
        for (int i = 0; i <= 16; ++i)
            list << QStringLiteral("SubItem") + QString::number(i);
        return list;
    }();
    return k < keys.size() ? keys.at(k) : QStringLiteral("SubItem") + QString::number(k);
}

void report(const Progress &progress, int value)
{
    if (progress)
        progress(value);
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// The number n of a name that ends in n as the writer writes it: decimal
// digits without a sign or a leading zero, within the counts of the format.
std::optional<int> plainIndex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 5 || digits.front() == QLatin1Char('0'))
        return std::nullopt;
    int n = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        n = n * 10 + (c.unicode() - '0');
    }
    if (n > kMaxCount)
        return std::nullopt;
    return n;
}

// Ids stay below this, with room above the largest for a fresh id for every
// line a file can hold, all of them written back in 9 digits.
constexpr int MaxLineId = 999000000;

// An Id, From or NextId as written: decimal digits and nothing else, up to MaxLineId.
std::optional<int> wholeNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int n = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        n = n * 10 + (c.unicode() - '0');
    }
    if (n > MaxLineId)
        return std::nullopt;
    return n;
}

// An Id that is there but is no positive whole number, until it is mended.
constexpr int BadId = -1;

// The numbers n of the names prefix + n, sorted, each once. `forEachName`
// hands every name to its argument.
template<typename ForEachName>
std::vector<int> indicesAfter(ForEachName &&forEachName, QLatin1StringView prefix)
{
    std::vector<bool> seen(kMaxCount + 1, false);
    forEachName([&](QStringView name) {
        if (name.startsWith(prefix, Qt::CaseInsensitive))
            if (const auto n = plainIndex(name.mid(prefix.size())))
                seen[*n] = true;
    });
    std::vector<int> found;
    for (int n = 0; n <= kMaxCount; ++n)
        if (seen[n])
            found.push_back(n);
    return found;
}

// The Id of a room as written: a whole number from 1 up.
std::optional<int> roomId(const QString &text)
{
    const auto number = NumberText::parse(text);
    if (!number || *number < 1 || *number > 1e9 || *number != std::floor(*number))
        return std::nullopt;
    return int(*number);
}

void mergeIndices(std::vector<int> &into, const std::vector<int> &more)
{
    into.insert(into.end(), more.begin(), more.end());
    std::sort(into.begin(), into.end());
    into.erase(std::unique(into.begin(), into.end()), into.end());
}

// Where each load of each shield stands. A plain name such as Load112 may
// belong to shield 1 load 12 or to shield 11 load 2; it stands for both, as
// the format has always been read, and the counts of the shields decide. A
// separated name (Load1_12) is exact and wins; among equals the first in the
// file does. Sorted by shield, then load, the winner of each pair first.
struct LoadSection {
    int shield = 0;
    int load = 0;
    int rank = 0; // separated names by file position, then plain ones
    int section = 0;
};

std::vector<LoadSection> collectLoadSections(const IniDocument &ini, const std::vector<bool> &shieldKnown)
{
    std::vector<LoadSection> found;
    const QLatin1StringView prefix("Load");
    const int count = ini.sectionCount();
    auto add = [&](std::optional<int> shield, std::optional<int> load, int rank, int section) {
        // Only shields that are there can hold loads.
        if (shield && load && shieldKnown[*shield])
            found.push_back(LoadSection{*shield, *load, rank, section});
    };
    for (int i = 0; i < count; ++i) {
        const QStringView name = ini.sectionName(i);
        if (name.isNull() || !name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QStringView rest = name.mid(prefix.size());
        const qsizetype sep = rest.indexOf(QLatin1Char('_'));
        if (sep >= 0) {
            add(plainIndex(rest.left(sep)), plainIndex(rest.mid(sep + 1)), i, i);
            continue;
        }
        for (qsizetype k = 1; k < rest.size() && k <= 5; ++k)
            add(plainIndex(rest.left(k)), plainIndex(rest.mid(k)), count + i, i);
    }
    std::sort(found.begin(), found.end(), [](const LoadSection &a, const LoadSection &b) {
        return std::tie(a.shield, a.load, a.rank) < std::tie(b.shield, b.load, b.rank);
    });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const LoadSection &a, const LoadSection &b) {
                                return a.shield == b.shield && a.load == b.load;
                            }),
                found.end());
    return found;
}

// Hands every section name of the document to a visitor.
auto sectionsOf(const IniDocument &ini)
{
    return [&ini](auto &&visit) {
        for (int i = 0; i < ini.sectionCount(); ++i)
            if (const QStringView name = ini.sectionName(i); !name.isNull())
                visit(name);
    };
}

// A piece of a damaged value, fit to be shown in a message.
QString shown(const QString &value)
{
    QString v = value.left(24);
    for (QChar &c : v)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_NotAssigned)
            c = QLatin1Char('?');
    if (value.size() > 24)
        v += QChar(0x2026);
    return QStringLiteral("«") + v + QStringLiteral("»");
}

// Cells 1..n "0", the rest empty, as a row without any cell reads; one list
// for every such row. Lines and loads both have nine cells.
QStringList bareRow(int n)
{
    static_assert(int(CableLine::CellCount) == int(Load::CellCount));
    static const QVector<QStringList> rows = [] {
        QVector<QStringList> all;
        for (int zeros = 0; zeros <= CableLine::CellCount; ++zeros) {
            QStringList row;
            for (int k = 0; k < CableLine::CellCount; ++k)
                row << (k < zeros ? kZero : QString());
            all << row;
        }
        return all;
    }();
    return rows.at(n);
}

// Reads values with the format's rules and keeps a list of what was wrong.
class Reader
{
public:
    Reader(const IniDocument &ini, ReadResult &result) : m_ini(ini), m_result(result) {}

    // Every absent key reads as "0". Sections are given by their index
    // (IniDocument::sectionIndex; -1 for one that is absent).
    QString text(int section, const QString &key) const
    {
        return unprotectValue(m_ini.value(section, key, kZero, true));
    }

    // A value that keys added later may lack: absent, it is `def`.
    QString text(int section, const QString &key, const QString &def) const
    {
        const QString value = m_ini.value(section, key, QString(), true);
        return value.isNull() ? def : unprotectValue(value);
    }

    bool contains(int section, const QString &key) const { return m_ini.contains(section, key); }

    // A count the writer always writes: none when it is missing or is not a count.
    std::optional<int> count(int section, const QString &key, const QString &what)
    {
        if (!m_ini.contains(section, key)) {
            problem(QStringLiteral("не указано ") + what);
            return std::nullopt;
        }
        const QString value = text(section, key);
        const auto number = NumberText::parse(value);
        const double rounded = number ? std::nearbyint(*number) : -1;
        if (!number || rounded < 0 || rounded > kMaxCount) {
            problem(QStringLiteral("неверное ") + what + QStringLiteral(": ") + shown(value));
            return std::nullopt;
        }
        return int(rounded);
    }

    // A count that may be absent (a column count, say: absent keys read "0",
    // and a file without it is not damaged); present, it must be a count.
    std::optional<int> optionalCount(int section, const QString &key, const QString &what)
    {
        if (!m_ini.contains(section, key))
            return std::nullopt;
        return count(section, key, what);
    }

    // Cells 1..count of a row (at most cellCount of them), then empty cells.
    QStringList cells(int section, int count, int cellCount) const
    {
        QStringList out;
        out.reserve(cellCount);
        const int n = qMin(count, cellCount);
        bool any = false;
        for (int k = 1; k <= n; ++k) {
            const QString value = m_ini.value(section, subItemKey(k), QString(), true);
            any = any || !value.isNull();
            out << (value.isNull() ? kZero : unprotectValue(value));
        }
        // A bare section shares one row of cells: a file made of them costs
        // no more than its own size.
        if (!any && cellCount == CableLine::CellCount)
            return bareRow(n);
        while (out.size() < cellCount)
            out << QString();
        return out;
    }

    // The inputs kept with a line, when the file has them. Each key is read
    // into its value on its own: a damaged one is told and taken as not
    // stored, its text kept for the save, and the others stay.
    std::optional<LineInputs> lineInputs(int section, const QString &lineName)
    {
        if (!m_ini.contains(section, LineInputs::presenceKey()))
            return std::nullopt;
        LineInputs inputs;
        for (const LineInputs::Key &key : LineInputs::keys())
            key.text(inputs) = m_ini.contains(section, key.name) ? text(section, key.name) : key.absent;
        inputs.readValues();
        for (const LineInputs::Key &key : LineInputs::keys())
            if (!key.sound(inputs))
                problem(damagedInputText(key.name, lineName, key.textOf(inputs)));
        return inputs;
    }

    // The line's place in the network; what cannot be read is left for
    // settleLinePlaces() to tell and to mend.
    LinePlace linePlace(int section, const QString &lineName)
    {
        LinePlace place;
        if (m_ini.contains(section, QStringLiteral("Id")))
            place.id = wholeNumber(text(section, QStringLiteral("Id"))).value_or(0) > 0
                           ? *wholeNumber(text(section, QStringLiteral("Id")))
                           : BadId;
        if (m_ini.contains(section, QStringLiteral("From")))
            place.from = wholeNumber(text(section, QStringLiteral("From"))).value_or(LinePlace::NoSuchLine);
        if (m_ini.contains(section, QStringLiteral("Board")))
            place.board = text(section, QStringLiteral("Board"));
        // What the line feeds; a value that cannot be taken is told and the
        // default stands (a Shield naming no shield is settled with the shields).
        if (m_ini.contains(section, QStringLiteral("Shield"))) {
            const auto id = wholeNumber(text(section, QStringLiteral("Shield")));
            place.shield = id ? *id : BadId;
        }
        if (m_ini.contains(section, QStringLiteral("Coincidence"))) {
            const QString value = text(section, QStringLiteral("Coincidence"));
            const auto k = NumberText::parse(value);
            if (k && LinePlace::coincidenceAccepted(*k))
                place.coincidence = *k;
            else
                problem(QStringLiteral("коэффициент совмещения максимумов (Ко) линии ") + shown(lineName)
                        + QStringLiteral(" вне диапазона (0; 1]: ") + shown(value) + QStringLiteral(", принят 1"));
        }
        if (m_ini.contains(section, QStringLiteral("Phase"))) {
            const QString value = text(section, QStringLiteral("Phase"));
            if (value == QLatin1String("A") || value == QLatin1String("B") || value == QLatin1String("C"))
                place.phase = value;
            else
                problem(QStringLiteral("неверная фаза линии ") + shown(lineName) + QStringLiteral(": ") + shown(value));
        }
        if (m_ini.contains(section, QStringLiteral("NetworkLoad")))
            place.networkLoad = text(section, QStringLiteral("NetworkLoad")) != QLatin1String("False");
        return place;
    }

    // A cell written as a number that no finite number holds ("1e309",
    // "inf") would read as 0 without a word: it is damage.
    void checkNumbers(const QStringList &cells, std::initializer_list<int> numeric, const QString &where)
    {
        for (const int k : numeric)
            if (k < cells.size() && NumberText::outOfRange(cells.at(k)))
                problem(QStringLiteral("неверное число ") + where + QStringLiteral(": ") + shown(cells.at(k)));
    }

    void problem(const QString &what) { m_result.add(what); }

    void missing(int expected, int found, const QString &what)
    {
        if (found < expected)
            problem(QStringLiteral("не найдено ") + what + QStringLiteral(": ") + QString::number(expected - found)
                    + QStringLiteral(" из ") + QString::number(expected));
    }

private:
    const IniDocument &m_ini;
    ReadResult &m_result;
};

void readTransformer(const IniDocument &ini, Reader &in, Project &project)
{
    const int tp = ini.sectionIndex(kTP);
    if (tp < 0)
        in.problem(QStringLiteral("нет данных ТП"));
    project.transformerPower = in.text(tp, QStringLiteral("STP"));
    project.supplyLineUsed = NumberText::toDouble(in.text(tp, QStringLiteral("HS"))) != 0 ? 1 : 0;
    project.supplyLineMaterial = in.text(tp, QStringLiteral("Material"));
    project.supplyLineLength = in.text(tp, QStringLiteral("Length"));
    project.supplyLineSection = in.text(tp, QStringLiteral("Section"));
    // Keys added for the method of ГОСТ 28249-93; a file without them takes the defaults.
    const Project defaults;
    auto optional = [&](const char *key, const QString &fallback) {
        const QString name = QString::fromLatin1(key);
        return ini.contains(kTP, name) ? in.text(tp, name) : fallback;
    };
    project.transformerGroup = optional("Group", defaults.transformerGroup);
    project.systemPower = optional("Sk", defaults.systemPower);
    project.supplyVoltage = optional("HV", defaults.supplyVoltage);
    project.busResistance = optional("BusR", defaults.busResistance);
    project.busReactance = optional("BusX", defaults.busReactance);
    project.contactResistance = optional("ContactR", defaults.contactResistance);
    project.arcResistance = optional("ArcR", defaults.arcResistance);
    project.conductorTemperature = optional("CableTemp", defaults.conductorTemperature);
    // Added with the supply line's reactance; a file without it has a cable.
    project.supplyLineOverhead = NumberText::toDouble(optional("Overhead", QStringLiteral("0"))) != 0 ? 1 : 0;
    in.checkNumbers({project.transformerPower, project.supplyLineLength, project.supplyLineSection}, {0, 1, 2},
                    QStringLiteral("в данных ТП"));
}

// Every line gets an id: a file without any has 1..N in list order; a line
// without one, or with one that is no positive whole number or that an earlier
// line holds, gets a fresh one (the last two are damage). A start naming an id
// that two lines held could mean either: such lines get no start. Whether the
// starts name lines at all, and form no circle, the network tells.
void settleLinePlaces(Project &project, std::optional<int> nextId, Reader &in)
{
    QVector<CableLine> &lines = project.lines;
    int maxId = 0;
    bool anyId = false;
    for (const CableLine &line : std::as_const(lines)) {
        anyId = anyId || line.place.id != 0;
        maxId = qMax(maxId, line.place.id);
    }
    project.nextLineId = qMax(nextId.value_or(1), 1);
    if (!anyId) {
        for (int i = 0; i < lines.size(); ++i)
            lines[i].place.id = i + 1;
        project.nextLineId = qMax(project.nextLineId, int(lines.size()) + 1);
        return;
    }
    // Past every id written, so that a fresh one is never one of them.
    project.nextLineId = qMax(project.nextLineId, maxId + 1);
    QHash<int, int> holder; // id -> the first line that holds it
    QHash<int, QStringList> sharedBy; // id -> the names of the lines that hold it, when more than one
    QVector<int> fresh;
    for (int i = 0; i < lines.size(); ++i) {
        LinePlace &place = lines[i].place;
        if (place.id == BadId) {
            in.problem(QStringLiteral("неверный номер (Id) линии ") + shown(lines.at(i).name));
            fresh << i;
        } else if (place.id == 0) {
            fresh << i;
        } else if (const auto first = holder.constFind(place.id); first != holder.constEnd()) {
            QStringList &names = sharedBy[place.id];
            if (names.isEmpty())
                names << shown(lines.at(*first).name);
            names << shown(lines.at(i).name);
            fresh << i;
        } else {
            holder.insert(place.id, i);
        }
    }
    for (auto it = sharedBy.cbegin(); it != sharedBy.cend(); ++it)
        in.problem(QStringLiteral("один номер (Id) ") + QString::number(it.key()) + QStringLiteral(" у линий ")
                   + it.value().join(QStringLiteral(", ")));
    for (const int i : std::as_const(fresh))
        lines[i].place.id = project.nextLineId++;
    if (!sharedBy.isEmpty())
        for (CableLine &line : lines)
            if (line.place.from && sharedBy.contains(*line.place.from))
                line.place.from = LinePlace::NoSuchLine;
}

void readLines(const IniDocument &ini, Reader &in, Project &project, const Progress &progress)
{
    project.lines.clear();
    std::optional<int> lineCount;
    std::optional<int> subItemCount;
    if (const int lines = ini.sectionIndex(kLines); lines < 0) {
        in.problem(QStringLiteral("нет списка линий"));
    } else {
        lineCount = in.count(lines, QStringLiteral("LineCount"), QStringLiteral("число линий"));
        subItemCount = in.optionalCount(lines, QStringLiteral("SubItemCount"), QStringLiteral("число столбцов линий"));
    }
    report(progress, 30);

    // Only sections that are there are read: a missing one is skipped rather
    // than made up, and a count that cannot be read gives way to the sections.
    const int cellsPerLine = subItemCount.value_or(CableLine::CellCount);
    int found = 0;
    for (const int n : indicesAfter(sectionsOf(ini), QLatin1StringView("Line"))) {
        if (lineCount && n > *lineCount)
            break;
        const int section = ini.sectionIndex(QStringLiteral("Line") + QString::number(n));
        CableLine line;
        line.name = in.text(section, QStringLiteral("LineName"));
        line.checked = in.text(section, QStringLiteral("Checked")) == QLatin1String("True");
        line.cells = in.cells(section, cellsPerLine, CableLine::CellCount);
        line.inputs = in.lineInputs(section, line.name);
        line.place = in.linePlace(section, line.name);
        in.checkNumbers(line.cells,
                        {CableLine::Length, CableLine::Resistance, CableLine::LoadCurrent, CableLine::PermissibleCurrent,
                         CableLine::VoltageDrop},
                        QStringLiteral("в линии ") + shown(line.name));
        project.lines.append(std::move(line));
        ++found;
    }
    if (lineCount)
        in.missing(*lineCount, found, QStringLiteral("линий"));
    const int lines = ini.sectionIndex(kLines);
    std::optional<int> nextId;
    if (ini.contains(lines, QStringLiteral("NextId")))
        nextId = wholeNumber(in.text(lines, QStringLiteral("NextId")));
    settleLinePlaces(project, nextId, in);
}

// Every shield gets an id (older files: 1..N in list order; one used twice
// is told and the later shield gets a fresh one), and a line's Shield that
// names no shield is told and taken as no shield.
void settleShieldIds(Project &project, Reader &in)
{
    int maxId = 0;
    for (const Shield &shield : std::as_const(project.shields))
        maxId = qMax(maxId, shield.id);
    project.nextShieldId = maxId + 1;
    QHash<int, int> holder;
    for (int i = 0; i < project.shields.size(); ++i) {
        Shield &shield = project.shields[i];
        if (shield.id <= 0) {
            shield.id = maxId > 0 ? project.takeShieldId() : i + 1;
            project.nextShieldId = qMax(project.nextShieldId, shield.id + 1);
        } else if (holder.contains(shield.id)) {
            in.problem(QStringLiteral("один номер (Id) ") + QString::number(shield.id) + QStringLiteral(" у щитов ")
                       + shown(project.shields.at(holder.value(shield.id)).name) + QStringLiteral(", ")
                       + shown(shield.name));
            shield.id = project.takeShieldId();
        }
        holder.insert(shield.id, i);
    }
    for (CableLine &line : project.lines) {
        if (line.place.shield == 0)
            continue;
        if (line.place.shield < 0 || !holder.contains(line.place.shield)) {
            in.problem(QStringLiteral("линия ") + shown(line.name) + QStringLiteral(" питает щит, которого нет"));
            line.place.shield = 0;
        }
    }
}

void readShields(const IniDocument &ini, Reader &in, Project &project, const Progress &progress)
{
    project.shields.clear();
    std::optional<int> tabs;
    std::optional<int> subItemsCount;
    const int shields = ini.sectionIndex(kShields);
    if (shields < 0) {
        in.problem(QStringLiteral("нет списка щитов"));
    } else {
        tabs = in.count(shields, QStringLiteral("TabsCount"), QStringLiteral("число щитов"));
        subItemsCount = in.optionalCount(shields, QStringLiteral("SubItemsCount"), QStringLiteral("число столбцов нагрузок"));
    }

    // A shield is known by its Tab key or by its Loads section.
    std::vector<int> numbers =
        indicesAfter([&ini](auto &&visit) { ini.forEachKey(kShields, visit); }, QLatin1StringView("Tab"));
    mergeIndices(numbers, indicesAfter(sectionsOf(ini), QLatin1StringView("Loads")));
    QVector<int> fileNumbers;
    for (const int n : numbers) {
        if (tabs && n > *tabs)
            break;
        const QString key = QStringLiteral("Tab") + QString::number(n);
        if (!ini.contains(shields, key))
            in.problem(QStringLiteral("нет имени щита ") + QString::number(n));
        project.shields.append(Shield{in.text(shields, key), {}});
        fileNumbers << n;
    }
    if (tabs)
        in.missing(*tabs, int(fileNumbers.size()), QStringLiteral("щитов"));
    report(progress, 50);
    report(progress, 60);

    std::vector<bool> shieldKnown(kMaxCount + 1, false);
    for (const int n : fileNumbers)
        shieldKnown[n] = true;
    const std::vector<LoadSection> loadSections = collectLoadSections(ini, shieldKnown);
    const int cellsPerLoad = subItemsCount.value_or(Load::CellCount);
    for (int s = 0; s < project.shields.size(); ++s) {
        Shield &shield = project.shields[s];
        const int n = fileNumbers.at(s);
        const QString shieldName = QStringLiteral("щита «") + shield.name + QStringLiteral("»");
        const int loadsSection = ini.sectionIndex(QStringLiteral("Loads") + QString::number(n));
        // A shield without loads may have no list of them at all.
        std::optional<int> loadCount;
        if (loadsSection >= 0)
            loadCount = in.count(loadsSection, QStringLiteral("LoadCount"), QStringLiteral("число нагрузок ") + shieldName);
        if (loadsSection >= 0 && in.contains(loadsSection, QStringLiteral("Id"))) {
            const auto id = wholeNumber(in.text(loadsSection, QStringLiteral("Id")));
            if (id && *id > 0)
                shield.id = *id;
            else
                in.problem(QStringLiteral("неверный номер (Id) ") + shieldName);
        }

        auto j = std::lower_bound(loadSections.begin(), loadSections.end(), n,
                                  [](const LoadSection &l, int shieldNumber) { return l.shield < shieldNumber; });
        int found = 0;
        int expectedNext = 1;
        for (; j != loadSections.end() && j->shield == n; ++j) {
            if (loadCount && j->load > *loadCount)
                break;
            // Without a count, plain names of other shields could pass for
            // later loads of this one; only the unbroken run is taken.
            if (!loadCount && j->load != expectedNext)
                break;
            ++expectedNext;
            // The first section of that name is the one read.
            const int section = ini.sectionIndex(ini.sectionName(j->section).toString());
            Load load;
            load.name = in.text(section, QStringLiteral("LoadName"));
            load.cells = in.cells(section, cellsPerLoad, Load::CellCount);
            in.checkNumbers(load.cells,
                            {Load::InstalledPower, Load::PowerFactor, Load::DemandFactor, Load::DesignPower,
                             Load::ApparentPower, Load::Current, Load::Phases, Load::Efficiency},
                            QStringLiteral("в нагрузке ") + shown(load.name));
            if (in.contains(section, kRoomKey)) {
                const QString value = in.text(section, kRoomKey);
                if (const auto id = roomId(value))
                    load.room = *id;
                else
                    in.problem(QStringLiteral("неверная связь с помещением в нагрузке ") + shown(load.name) + QStringLiteral(": ")
                               + shown(value));
            }
            if (ini.contains(section, QStringLiteral("PowerFactorName")))
                load.powerFactorName = in.text(section, QStringLiteral("PowerFactorName"));
            if (ini.contains(section, QStringLiteral("DemandFactorName")))
                load.demandFactorName = in.text(section, QStringLiteral("DemandFactorName"));
            shield.loads.append(std::move(load));
            ++found;
        }
        if (loadCount)
            in.missing(*loadCount, found, QStringLiteral("нагрузок ") + shieldName);
    }
}

// The rooms follow everything else; a file without them has none. A room
// whose Id is missing or taken gets a new one: the loads linked to that Id
// stay with the first room that has it.
void readRooms(const IniDocument &ini, Reader &in, Project &project)
{
    project.rooms.clear();
    const std::vector<int> numbers = indicesAfter(sectionsOf(ini), QLatin1StringView("Room"));
    const int rooms = ini.sectionIndex(kRooms);
    if (rooms < 0) {
        if (!numbers.empty())
            in.problem(QStringLiteral("нет списка помещений"));
        return;
    }
    const std::optional<int> roomCount = in.count(rooms, QStringLiteral("RoomCount"), QStringLiteral("число помещений"));
    QSet<int> ids;
    QVector<int> withoutId;
    for (const int n : numbers) {
        if (roomCount && n > *roomCount)
            break;
        const int section = ini.sectionIndex(QStringLiteral("Room") + QString::number(n));
        LightingRoom room;
        const LightingRoom defaults;
        room.name = in.text(section, QStringLiteral("Name"), QString());
        room.length = in.text(section, QStringLiteral("Length"), QString());
        room.width = in.text(section, QStringLiteral("Width"), QString());
        room.height = in.text(section, QStringLiteral("Height"), QString());
        room.plane = in.text(section, QStringLiteral("Plane"), defaults.plane);
        room.mountedHeight = in.text(section, QStringLiteral("Mounted"), QStringLiteral("0")) == QLatin1String("1");
        room.hang = in.text(section, QStringLiteral("Hang"), defaults.hang);
        room.ceiling = in.text(section, QStringLiteral("Ceiling"), defaults.ceiling);
        room.walls = in.text(section, QStringLiteral("Walls"), defaults.walls);
        room.floor = in.text(section, QStringLiteral("Floor"), defaults.floor);
        room.norm = in.text(section, QStringLiteral("Norm"), QString());
        room.illuminance = in.text(section, QStringLiteral("Illuminance"), defaults.illuminance);
        room.maintenance = in.text(section, QStringLiteral("Kz"), defaults.maintenance);
        room.uniformity = in.text(section, QStringLiteral("Z"), defaults.uniformity);
        room.curve = in.text(section, QStringLiteral("Curve"), QString());
        room.led = in.text(section, QStringLiteral("Led"), QStringLiteral("1")) != QLatin1String("0");
        room.flux = in.text(section, QStringLiteral("Flux"), QString());
        room.power = in.text(section, QStringLiteral("Power"), QString());
        room.lamps = in.text(section, QStringLiteral("Lamps"), defaults.lamps);
        room.efficiency = in.text(section, QStringLiteral("Efficiency"), defaults.efficiency);
        room.count = in.text(section, QStringLiteral("Count"), QString());
        const QString idText = in.text(section, QStringLiteral("Id"), QString());
        const auto id = roomId(idText);
        if (id && !ids.contains(*id)) {
            room.id = *id;
            ids.insert(*id);
        } else {
            in.problem(QStringLiteral("неверный номер помещения ") + shown(room.name) + QStringLiteral(": ") + shown(idText));
            withoutId << int(project.rooms.size());
        }
        project.rooms.append(std::move(room));
    }
    int next = 1;
    for (const int k : std::as_const(withoutId)) {
        while (ids.contains(next))
            ++next;
        project.rooms[k].id = next;
        ids.insert(next);
    }
    if (roomCount)
        in.missing(*roomCount, int(project.rooms.size()), QStringLiteral("помещений"));
}

// The properties of the title block; a file without them (every file of
// earlier versions) has none.
void readProperties(const IniDocument &ini, Project &project)
{
    project.properties = ProjectProperties();
    const int section = ini.sectionIndex(kProjectSection);
    if (section < 0)
        return;
    for (const PropertyKey &k : kPropertyKeys)
        project.properties.*k.field =
            unprotectValue(ini.value(section, QString::fromUtf16(k.key), QString(), true));
}

} // namespace

void ReadResult::add(const QString &what)
{
    if (!damaged)
        problem = what;
    damaged = true;
    // What the message shows and a sign that there is more.
    if (problems.size() <= ShownProblems)
        problems << what;
}

QString damagedInputText(const QString &key, const QString &lineName, const QString &text)
{
    return QStringLiteral("неверное значение ") + key + QStringLiteral(" в линии ") + shown(lineName)
           + QStringLiteral(": ") + shown(text);
}

void addProblem(ReadResult &result, const QString &what)
{
    result.add(what);
}

QString loadSectionName(int shield, int load)
{
    return QStringLiteral("Load") + QString::number(shield) + QString::number(load);
}

QString separatedLoadSectionName(int shield, int load)
{
    return QStringLiteral("Load") + QString::number(shield) + QLatin1Char('_') + QString::number(load);
}

QString protectValue(const QString &value)
{
    if (value.isEmpty())
        return value;
    const QChar first = value.front();
    const QChar last = value.back();
    const bool blanks = first.isSpace() || last.isSpace();
    const bool quoted = value.size() >= 2 && first == last && isQuote(first);
    if (!blanks && !quoted)
        return value;
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString unprotectValue(const QString &value)
{
    if (value.size() >= 2 && value.front() == value.back() && isQuote(value.front()))
        return value.mid(1, value.size() - 2);
    return value;
}

ReadResult readText(const QString &text, Project &project, const Progress &progress)
{
    ReadResult result;
    result.opened = true;
    const IniDocument ini = IniDocument::fromText(text);
    Reader in(ini, result);

    readTransformer(ini, in, project);
    report(progress, 10);
    report(progress, 20);
    readLines(ini, in, project, progress);
    report(progress, 40);
    readShields(ini, in, project, progress);
    readProperties(ini, project);
    // A project always has at least one shield.
    if (project.shields.isEmpty())
        project.shields = Project::initialShields();
    project.currentShield = 0;
    settleShieldIds(project, in);
    readRooms(ini, in, project);
    report(progress, 70);
    return result;
}

ReadResult read(const QString &path, Project &project, const Progress &progress)
{
    QString text;
    QString error;
    if (!TextFile::read(path, &text, &error)) {
        ReadResult r;
        r.opened = false;
        r.problem = error;
        r.problems << error;
        return r;
    }
    return readText(text, project, progress);
}

namespace {

// The inputs of a line follow its cells, so that readers that know only the
// cells pass them over.
template<typename Writer>
void writeLineInputs(Writer &out, const LineInputs &in)
{
    for (const LineInputs::Key &key : LineInputs::keys())
        out.value(key.name, protectValue(key.textOf(in)));
}

// The line's place in the network follows everything else of the line.
template<typename Writer>
void writeLinePlace(Writer &out, const LinePlace &place, int id, const QSet<int> &shieldIds)
{
    out.value(u"Id", QString::number(id));
    if (place.from)
        out.value(u"From", QString::number(*place.from));
    out.value(u"Board", protectValue(place.board));
    // Written only where they say more than the defaults.
    // A link to a shield deleted since is no link: the file stays sound.
    if (place.shield > 0 && shieldIds.contains(place.shield))
        out.value(u"Shield", QString::number(place.shield));
    if (place.coincidence != 1)
        out.value(u"Coincidence", NumberText::format(place.coincidence));
    if (place.phase != QLatin1String("A"))
        out.value(u"Phase", place.phase);
    if (!place.networkLoad)
        out.value(u"NetworkLoad", QStringLiteral("False"));
}

// The whole file in the write order of the format, written front to back
// into a text or straight into Windows-1251 bytes.
template<typename Writer>
void writeProject(Writer &out, const Project &project, const Progress &progress)
{
    qsizetype size = 256;
    for (const CableLine &line : project.lines) {
        size += 120 + line.name.size();
        for (const QString &c : line.cells)
            size += c.size();
    }
    for (const Shield &shield : project.shields)
        size += 40 + shield.loads.size() * 200;
    size += project.rooms.size() * 400;
    out.reserve(size);

    out.section(kTP);
    out.value(u"STP", protectValue(project.transformerPower));
    out.value(u"HS", QString::number(project.supplyLineUsed));
    out.value(u"Material", protectValue(project.supplyLineMaterial));
    out.value(u"Length", protectValue(project.supplyLineLength));
    out.value(u"Section", protectValue(project.supplyLineSection));
    out.value(u"Group", protectValue(project.transformerGroup));
    out.value(u"Sk", protectValue(project.systemPower));
    out.value(u"HV", protectValue(project.supplyVoltage));
    out.value(u"BusR", protectValue(project.busResistance));
    out.value(u"BusX", protectValue(project.busReactance));
    out.value(u"ContactR", protectValue(project.contactResistance));
    out.value(u"ArcR", protectValue(project.arcResistance));
    out.value(u"CableTemp", protectValue(project.conductorTemperature));
    out.value(u"Overhead", QString::number(project.supplyLineOverhead));
    report(progress, 20);

    // A line made outside the list has no id yet: it is written with a
    // fresh one, past every id the project has given.
    int nextId = project.nextLineId;
    for (const CableLine &line : project.lines)
        nextId = qMax(nextId, line.place.id + 1);
    const int firstFreshId = nextId;
    for (const CableLine &line : project.lines)
        nextId += line.place.id <= 0 ? 1 : 0;

    QSet<int> shieldIds;
    for (const Shield &shield : project.shields)
        shieldIds.insert(shield.id);
    out.section(kLines);
    out.value(u"SubItemCount", QString::number(CableLine::CellCount));
    out.value(u"LineCount", QString::number(project.lines.size()));
    out.value(u"NextId", QString::number(nextId));
    int freshId = firstFreshId;
    for (int i = 0; i < project.lines.size(); ++i) {
        const CableLine &line = project.lines.at(i);
        out.section(QString(QStringLiteral("Line") + QString::number(i + 1)));
        out.value(u"LineName", protectValue(line.name));
        out.value(u"Checked", line.checked ? QStringLiteral("True") : QStringLiteral("False"));
        for (int j = 0; j < line.cells.size(); ++j)
            out.value(subItemKey(j + 1), protectValue(line.cells.at(j)));
        if (line.inputs)
            writeLineInputs(out, *line.inputs);
        writeLinePlace(out, line.place, line.place.id > 0 ? line.place.id : freshId++, shieldIds);
    }
    report(progress, 40);

    // Plain load section names that more than one load would share.
    QHash<QString, int> uses;
    int lastCells = 0;
    for (int i = 0; i < project.shields.size(); ++i) {
        for (int j = 0; j < project.shields.at(i).loads.size(); ++j) {
            ++uses[loadSectionName(i + 1, j + 1)];
            lastCells = int(project.shields.at(i).loads.at(j).cells.size());
        }
    }

    // The counts follow the Tab keys: they were always written after all
    // shields and loads, into the section that stands before them.
    out.section(kShields);
    for (int i = 0; i < project.shields.size(); ++i)
        out.value(QString(QStringLiteral("Tab") + QString::number(i + 1)), protectValue(project.shields.at(i).name));
    out.value(u"TabsCount", QString::number(project.shields.size()));
    out.value(u"SubItemsCount", QString::number(lastCells));
    for (int i = 0; i < project.shields.size(); ++i) {
        const Shield &shield = project.shields.at(i);
        out.section(QString(QStringLiteral("Loads") + QString::number(i + 1)));
        out.value(u"LoadCount", QString::number(shield.loads.size()));
        if (shield.id > 0)
            out.value(u"Id", QString::number(shield.id));
        for (int j = 0; j < shield.loads.size(); ++j) {
            const Load &load = shield.loads.at(j);
            const QString plain = loadSectionName(i + 1, j + 1);
            out.section(uses.value(plain) > 1 ? separatedLoadSectionName(i + 1, j + 1) : plain);
            out.value(u"LoadName", protectValue(load.name));
            for (int k = 0; k < load.cells.size(); ++k)
                out.value(subItemKey(k + 1), protectValue(load.cells.at(k)));
            if (load.room > 0)
                out.value(kRoomKey, QString::number(load.room));
            // Only what the list gave: a load typed in is written as it always was.
            if (!load.powerFactorName.isEmpty())
                out.value(u"PowerFactorName", protectValue(load.powerFactorName));
            if (!load.demandFactorName.isEmpty())
                out.value(u"DemandFactorName", protectValue(load.demandFactorName));
        }
    }
    report(progress, 80);
    // A project without rooms is written as it always was.
    if (!project.rooms.isEmpty()) {
        out.section(kRooms);
        out.value(u"RoomCount", QString::number(project.rooms.size()));
        for (int k = 0; k < project.rooms.size(); ++k) {
            const LightingRoom &room = project.rooms.at(k);
            out.section(QString(QStringLiteral("Room") + QString::number(k + 1)));
            out.value(u"Id", QString::number(room.id));
            out.value(u"Name", protectValue(room.name));
            out.value(u"Length", protectValue(room.length));
            out.value(u"Width", protectValue(room.width));
            out.value(u"Height", protectValue(room.height));
            out.value(u"Plane", protectValue(room.plane));
            out.value(u"Mounted", room.mountedHeight ? QStringLiteral("1") : QStringLiteral("0"));
            out.value(u"Hang", protectValue(room.hang));
            out.value(u"Ceiling", protectValue(room.ceiling));
            out.value(u"Walls", protectValue(room.walls));
            out.value(u"Floor", protectValue(room.floor));
            out.value(u"Norm", protectValue(room.norm));
            out.value(u"Illuminance", protectValue(room.illuminance));
            out.value(u"Kz", protectValue(room.maintenance));
            out.value(u"Z", protectValue(room.uniformity));
            out.value(u"Curve", protectValue(room.curve));
            out.value(u"Led", room.led ? QStringLiteral("1") : QStringLiteral("0"));
            out.value(u"Flux", protectValue(room.flux));
            out.value(u"Power", protectValue(room.power));
            out.value(u"Lamps", protectValue(room.lamps));
            out.value(u"Efficiency", protectValue(room.efficiency));
            out.value(u"Count", protectValue(room.count));
        }
    }

    // After every section of earlier versions, and only when there is
    // something to keep, so that a project without properties is written
    // as it always was.
    if (!project.properties.isEmpty()) {
        out.section(kProjectSection);
        for (const PropertyKey &k : kPropertyKeys)
            out.value(k.key, protectValue(project.properties.*k.field));
    }
    report(progress, 90);
}

QString projectText(const Project &project, const Progress &progress)
{
    IniTextWriter out;
    writeProject(out, project, progress);
    return out.take();
}

} // namespace

QString toText(const Project &project)
{
    return projectText(project, {});
}

bool write(const QString &path, const Project &project, QString *error, const Progress &progress)
{
    // Windows-1251 bytes directly; a project holding characters the code page
    // lacks (or bytes that would not read back as Windows-1251) goes through the text form.
    IniCp1251Writer bytes;
    writeProject(bytes, project, progress);
    if (bytes.ok()) {
        const QByteArray data = bytes.take();
        if (TextFile::readsBackAsCp1251(data))
            return TextFile::writeBytes(path, data, error);
    }
    return TextFile::write(path, projectText(project, {}), error);
}

QString missingMessage(const QString &path)
{
    const QFileInfo file(path);
    if (file.isFile())
        return QString();
    const QString shown = QDir::toNativeSeparators(path);
    if (file.isDir())
        return QStringLiteral("'") + shown + QStringLiteral("' - это папка, а не файл проекта!");
    return QStringLiteral("Файл '") + shown + QStringLiteral("' не найден!");
}

QString unreadableMessage(const QString &path, const ReadResult &result)
{
    QString text = QStringLiteral("Не удалось прочитать файл '") + QDir::toNativeSeparators(path) + QStringLiteral("'.");
    if (!result.problem.isEmpty())
        text += QStringLiteral("\r\n(") + result.problem + QLatin1Char(')');
    return text;
}

QString damagedMessage(const QString &path, const ReadResult &result)
{
    QStringList shown = result.problems.mid(0, ShownProblems);
    if (result.problems.size() > shown.size())
        shown << QString(QChar(0x2026));
    return QStringLiteral("Файл '") + QDir::toNativeSeparators(path)
           + QStringLiteral("' поврежден. Открыто всё, что удалось прочитать.\r\n\r\n") + shown.join(QStringLiteral("\r\n"));
}

} // namespace ProjectFile
