#include "base/IniStore.h"

#include "base/TextFile.h"

#include <QHashFunctions>

namespace {

inline char16_t lowered(char16_t u) noexcept
{
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? char16_t(u + ('a' - 'A')) : u;
    return char16_t(QChar::toLower(char32_t(u)));
}

inline bool sameChar(char16_t a, char16_t b) noexcept
{
    return a == b || lowered(a) == lowered(b);
}

// n characters of two names, matched without regard to case.
inline bool sameChars(const char16_t *a, const char16_t *b, qsizetype n) noexcept
{
    // Names of one length in a section tend to differ at the end ("SubItem1", "SubItem2").
    if (n && !sameChar(a[n - 1], b[n - 1]))
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (!sameChar(a[i], b[i]))
            return false;
    return true;
}

bool sameName(QStringView a, QStringView b) noexcept
{
    return a.size() == b.size() && sameChars(a.utf16(), b.utf16(), a.size());
}

// A keyed hash of the lower-case name: the per-process seed keeps crafted
// names from piling up in one run of buckets.
size_t nameHash(QStringView name, size_t seed) noexcept
{
    // Lower-cased a piece at a time, each piece's hash seeding the next.
    char16_t piece[64] = {};
    size_t h = seed;
    const char16_t *p = name.utf16();
    for (qsizetype at = 0; at < name.size(); at += 64) {
        const qsizetype n = qMin<qsizetype>(64, name.size() - at);
        for (qsizetype i = 0; i < n; ++i)
            piece[i] = lowered(p[at + i]);
        h = qHashBits(piece, size_t(n) * sizeof(char16_t), h);
    }
    return h;
}

size_t seed() noexcept
{
    return QHashSeed::globalSeed();
}

QString emptyNotNull()
{
    return QStringLiteral("");
}

} // namespace

QString IniDocument::copy(Span span) const
{
    // A key that is there with an empty value is not an absent one.
    if (!span.length)
        return emptyNotNull();
    return QString(m_text.constData() + span.start, span.length);
}

IniDocument::Span IniDocument::append(QStringView text)
{
    const Span span{quint32(m_text.size()), quint32(text.size())};
    m_text += text;
    return span;
}

size_t IniDocument::entryHash(int section, QStringView key) const
{
    return nameHash(key, seed() ^ (size_t(section) * size_t(0x9E3779B97F4A7C15ULL)));
}

bool IniDocument::belongsTo(quint32 entry, int section) const
{
    if (entry >= m_readEntries)
        return m_setOwners.at(entry - m_readEntries) == quint32(section);
    const Section &s = m_sections.at(section);
    return entry >= s.first && entry < s.first + s.count;
}

namespace {

// Linear probing from the hash's bucket: the bucket of the first index that
// `matches`, or the free bucket where such an index would go.
template<typename Matches>
qsizetype probe(const QVector<quint32> &buckets, size_t hash, Matches &&matches)
{
    const size_t mask = size_t(buckets.size()) - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const quint32 at = buckets.at(qsizetype(i));
        if (!at || matches(at - 1))
            return qsizetype(i);
    }
}

} // namespace

int IniDocument::findSection(QStringView name) const
{
    const QVector<quint32> &buckets = m_sectionTable.buckets;
    if (buckets.isEmpty())
        return -1;
    const qsizetype b = probe(buckets, nameHash(name, seed()),
                              [&](quint32 s) { return sameName(view(m_sections.at(s).name), name); });
    return int(buckets.at(b)) - 1;
}

int IniDocument::findEntry(int section, QStringView key) const
{
    if (entryCount(section) <= IndexedSection) {
        // Only keys of the key's length are compared; the first that matches is the one.
        const char16_t *text = QStringView(m_text).utf16();
        const auto matches = [&](quint32 e) {
            const Span k = m_entries.at(e).key;
            return k.length == quint32(key.size()) && k.length && sameChars(text + k.start, key.utf16(), key.size());
        };
        const Section &s = m_sections.at(section);
        for (quint32 e = s.first; e < s.first + s.count; ++e)
            if (matches(e))
                return int(e);
        const auto more = m_appended.constFind(quint32(section));
        if (more != m_appended.constEnd())
            for (const quint32 e : *more)
                if (matches(e))
                    return int(e);
        return -1;
    }
    const QVector<quint32> &buckets = m_entryTable.buckets;
    const qsizetype b = probe(buckets, entryHash(section, key), [&](quint32 e) {
        return belongsTo(e, section) && sameName(view(m_entries.at(e).key), key);
    });
    return int(buckets.at(b)) - 1;
}

bool IniDocument::insertSection(quint32 index)
{
    if ((m_sectionTable.used + 1) * 2 > m_sectionTable.buckets.size())
        grow(m_sectionTable, false);
    const QStringView name = view(m_sections.at(index).name);
    const qsizetype b = probe(m_sectionTable.buckets, nameHash(name, seed()),
                              [&](quint32 s) { return sameName(view(m_sections.at(s).name), name); });
    return take(m_sectionTable, b, index);
}

bool IniDocument::insertEntry(int section, quint32 index)
{
    if ((m_entryTable.used + 1) * 2 > m_entryTable.buckets.size())
        grow(m_entryTable, true);
    const QStringView key = view(m_entries.at(index).key);
    const qsizetype b = probe(m_entryTable.buckets, entryHash(section, key), [&](quint32 e) {
        return belongsTo(e, section) && sameName(view(m_entries.at(e).key), key);
    });
    return take(m_entryTable, b, index);
}

bool IniDocument::take(Table &table, qsizetype bucket, quint32 index)
{
    quint32 &slot = table.buckets[bucket];
    if (slot)
        return false; // an equal name is there first
    slot = index + 1;
    ++table.used;
    return true;
}

// Doubles a table and puts back what it held: the sections by their names,
// the keys through the sections that hold them.
void IniDocument::grow(Table &table, bool entries)
{
    const qsizetype size = qMax<qsizetype>(16, table.buckets.size() * 2);
    const QVector<quint32> old = std::exchange(table.buckets, QVector<quint32>(size, 0));
    table.used = 0;
    if (!entries) {
        for (const quint32 at : old)
            if (at)
                insertSection(at - 1);
        return;
    }
    for (const quint32 at : std::as_const(m_sectionTable.buckets))
        if (at && entryCount(int(at - 1)) > IndexedSection)
            indexKeys(int(at - 1));
}

void IniDocument::indexKeys(int section)
{
    forEachEntryIndex(section, [&](quint32 e) {
        if (m_entries.at(e).key.length)
            insertEntry(section, e);
    });
}

void IniDocument::indexAdded(int section, quint32 entry)
{
    const quint32 count = entryCount(section);
    if (count == IndexedSection + 1)
        indexKeys(section); // the section has just grown long
    else if (count > IndexedSection + 1 && m_entries.at(entry).key.length)
        insertEntry(section, entry);
}

quint32 IniDocument::entryCount(int section) const
{
    const auto more = m_appended.constFind(quint32(section));
    return m_sections.at(section).count + quint32(more == m_appended.constEnd() ? 0 : more->size());
}

int IniDocument::addSection(Span name, bool *first)
{
    const quint32 index = quint32(m_sections.size());
    m_sections.append(Section{name, quint32(m_entries.size()), 0});
    const bool inserted = name.start != NoName && insertSection(index);
    if (first)
        *first = inserted;
    return int(index);
}

quint32 IniDocument::addEntry(int section, const Entry &entry, bool asRead)
{
    const quint32 index = quint32(m_entries.size());
    m_entries.append(entry);
    Section &s = m_sections[section];
    if (asRead) {
        ++m_readEntries;
        ++s.count;
        return index;
    }
    m_setOwners.append(quint32(section));
    if (s.first + s.count == index)
        ++s.count;
    else
        m_appended[quint32(section)].append(index);
    return index;
}

namespace {

inline bool isBlank(char16_t c)
{
    return QChar::isSpace(char32_t(c));
}

// [from, to) without the blanks at its end.
inline QStringView trimmedEnd(const char16_t *from, const char16_t *to)
{
    while (to > from && isBlank(to[-1]))
        --to;
    return QStringView(from, to - from);
}

// The same without the blanks at either end.
inline QStringView trimmedPiece(const char16_t *from, const char16_t *to)
{
    while (from < to && isBlank(*from))
        ++from;
    return trimmedEnd(from, to);
}

// One line of an INI text as the document reads it: what kind it is, and
// where its pieces are (made only when asked for).
struct ParsedLine {
    enum Kind { Header, Keyed, Other } kind = Other;
    qsizetype start = 0; // the line in the text, its CR included
    qsizetype end = 0;
    const char16_t *lead = nullptr; // the first character that is not a blank
    const char16_t *last = nullptr; // the end of the line before its CR
    const char16_t *eq = nullptr; // the first '='
    const char16_t *close = nullptr; // the first ']'

    // A header's section name.
    QStringView name() const { return trimmedPiece(lead + 1, close); }
    QStringView key() const { return trimmedEnd(lead, eq); }
    QStringView value() const { return trimmedPiece(eq + 1, last); }
};

// Hands every line of the text to `visit`, front to back. Each character is
// looked at once: the line's end, its first '=' and its first ']' in one go.
template<typename Visit>
void forEachLine(QStringView all, Visit &&visit)
{
    const char16_t *const text = all.utf16();
    const char16_t *const textEnd = text + all.size();
    const char16_t *first = text;
    while (first <= textEnd) {
        ParsedLine line;
        const char16_t *p = first;
        for (; p < textEnd && *p != u'\n'; ++p) {
            if (*p == u'=') {
                if (!line.eq)
                    line.eq = p;
            } else if (*p == u']' && !line.close) {
                line.close = p;
            }
        }
        line.start = first - text;
        line.end = p - text;
        line.last = p > first && p[-1] == u'\r' ? p - 1 : p;
        const bool lastLine = p >= textEnd;
        const char16_t *next = p + 1;
        if (lastLine && line.last == first)
            break;
        line.lead = first;
        while (line.lead < line.last && isBlank(*line.lead))
            ++line.lead;
        if (line.lead < line.last && *line.lead == u'[' && line.close)
            line.kind = ParsedLine::Header;
        else if (line.eq && line.lead < line.eq)
            line.kind = ParsedLine::Keyed;
        visit(line);
        first = next;
    }
}

} // namespace

IniDocument IniDocument::fromText(const QString &text)
{
    IniDocument doc;
    // Offsets are 32-bit: far beyond any file that is read (TextFile::MaxFileSize).
    doc.m_text = text.size() < qsizetype(NoName / 2) ? text : text.left(NoName / 2);
    const QStringView all(doc.m_text);

    // Counted first, so that sections and entries take the room they need
    // at once: growing them would leave the room of every earlier size behind.
    qsizetype sections = 0;
    qsizetype entries = 0;
    ParsedLine::Kind previous = ParsedLine::Header;
    forEachLine(all, [&](const ParsedLine &line) {
        sections += line.kind == ParsedLine::Header || (sections == 0) ? 1 : 0;
        // Lines that are not "key=value" in a row are one entry.
        entries += line.kind == ParsedLine::Keyed || (line.kind == ParsedLine::Other && previous != ParsedLine::Other) ? 1 : 0;
        previous = line.kind;
    });
    doc.m_sections.reserve(sections);
    doc.m_entries.reserve(entries);

    const char16_t *base = all.utf16();
    auto spanOf = [base](QStringView v) {
        return v.utf16() ? Span{quint32(v.utf16() - base), quint32(v.size())} : Span{};
    };
    int current = -1;
    bool currentIndexed = false; // only the first section of a name is ever looked into
    forEachLine(all, [&](const ParsedLine &line) {
        if (line.kind == ParsedLine::Header) {
            current = doc.addSection(spanOf(line.name()), &currentIndexed);
            return;
        }
        if (current < 0)
            current = doc.addSection(Span{NoName, 0}, &currentIndexed);
        if (line.kind == ParsedLine::Keyed) {
            const quint32 at = doc.addEntry(current, Entry{spanOf(line.key()), spanOf(line.value())}, true);
            if (currentIndexed)
                doc.indexAdded(current, at);
            return;
        }
        // A run of lines that are not "key=value" reaches to the end of the
        // last one's line: blank lines and comments cost nothing each.
        const Section &s = doc.m_sections.at(current);
        if (s.count && !doc.m_entries.last().key.length) {
            Entry &run = doc.m_entries.last();
            run.value.length = quint32(line.end - run.value.start);
        } else {
            const quint32 at = doc.addEntry(current, Entry{Span{}, Span{quint32(line.start), quint32(line.end - line.start)}}, true);
            if (currentIndexed)
                doc.indexAdded(current, at);
        }
    });
    return doc;
}

bool IniDocument::load(const QString &path, QString *error)
{
    QString text;
    if (!TextFile::read(path, &text, error)) {
        *this = IniDocument();
        return false;
    }
    *this = fromText(text);
    return true;
}

bool IniDocument::save(const QString &path, QString *error) const
{
    return TextFile::write(path, toText(), error);
}

QString IniDocument::toText() const
{
    QString out;
    out.reserve(m_text.size() + 4 * (m_sections.size() + m_entries.size()));
    for (int s = 0; s < m_sections.size(); ++s) {
        const Section &section = m_sections.at(s);
        if (section.name.start != NoName) {
            out += u'[';
            out += view(section.name);
            out += u"]\r\n";
        }
        forEachEntryIndex(s, [&](quint32 at) {
            const Entry &e = m_entries.at(at);
            if (e.key.length) {
                out += view(e.key);
                out += u'=';
                out += view(e.value);
                out += u"\r\n";
                return;
            }
            // A run of lines: each as it was read, ended by CR LF.
            const QStringView run = view(e.value);
            qsizetype from = 0;
            while (true) {
                qsizetype to = run.indexOf(u'\n', from);
                const bool last = to < 0;
                if (last)
                    to = run.size();
                QStringView line = run.mid(from, to - from);
                if (line.endsWith(u'\r'))
                    line.chop(1);
                out += line;
                out += u"\r\n";
                if (last)
                    break;
                from = to + 1;
            }
        });
    }
    return out;
}

bool IniDocument::hasSection(const QString &section) const
{
    return sectionIndex(section) >= 0;
}

int IniDocument::sectionIndex(const QString &section) const
{
    return findSection(QStringView(section).trimmed());
}

bool IniDocument::contains(const QString &section, const QString &key) const
{
    return contains(sectionIndex(section), key);
}

bool IniDocument::contains(int section, const QString &key) const
{
    return section >= 0 && findEntry(section, QStringView(key).trimmed()) >= 0;
}

QString IniDocument::value(const QString &section, const QString &key, const QString &def, bool whole) const
{
    return value(sectionIndex(section), key, def, whole);
}

QString IniDocument::value(int section, const QString &key, const QString &def, bool whole) const
{
    const int at = section < 0 ? -1 : findEntry(section, QStringView(key).trimmed());
    if (at < 0)
        return def;
    Span v = m_entries.at(at).value;
    if (!whole)
        v.length = qMin<quint32>(v.length, MaxValueLength);
    return copy(v);
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    // A value never spans lines.
    QString cleaned = value;
    cleaned.replace(u'\r', u' ');
    cleaned.replace(u'\n', u' ');
    const QStringView v = QStringView(cleaned).trimmed();
    const QStringView k = QStringView(key).trimmed();

    const QStringView name = QStringView(section).trimmed();
    int s = findSection(name);
    if (s < 0)
        s = addSection(append(name), nullptr);
    const int at = k.isEmpty() ? -1 : findEntry(s, k);
    if (at >= 0) {
        // A value that fits where the old one stood takes its place: a key
        // set over and over does not grow the document.
        Span &old = m_entries[at].value;
        if (v.size() <= qsizetype(old.length)) {
            std::copy(v.begin(), v.end(), m_text.begin() + old.start);
            old.length = quint32(v.size());
        } else {
            old = append(v);
        }
        return;
    }
    const Span keySpan = append(k);
    indexAdded(s, addEntry(s, Entry{keySpan, append(v)}, false));
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (const Section &s : m_sections)
        if (s.name.start != NoName)
            names << copy(s.name);
    return names;
}

QStringList IniDocument::keys(const QString &section) const
{
    QStringList names;
    forEachKey(section, [&](QStringView key) { names << key.toString(); });
    return names;
}

int IniDocument::sectionCount() const
{
    return int(m_sections.size());
}

QStringView IniDocument::sectionName(int index) const
{
    const Section &s = m_sections.at(index);
    return s.name.start == NoName ? QStringView() : view(s.name);
}

void IniTextWriter::section(QStringView name)
{
    m_text += QLatin1Char('[');
    m_text += name;
    m_text += QLatin1String("]\r\n");
}

void IniTextWriter::value(QStringView key, const QString &value)
{
    m_text += key;
    m_text += QLatin1Char('=');
    const QStringView v = QStringView(value).trimmed();
    const qsizetype start = m_text.size();
    m_text += v;
    // A value never spans lines.
    QChar *data = m_text.data() + start;
    for (qsizetype i = 0; i < v.size(); ++i)
        if (data[i] == QLatin1Char('\r') || data[i] == QLatin1Char('\n'))
            data[i] = QLatin1Char(' ');
    m_text += QLatin1String("\r\n");
}

void IniCp1251Writer::append(QStringView text)
{
    if (m_ok && !TextFile::appendCp1251(m_bytes, text))
        m_ok = false;
}

void IniCp1251Writer::section(QStringView name)
{
    m_bytes += '[';
    append(name);
    m_bytes += "]\r\n";
}

void IniCp1251Writer::value(QStringView key, const QString &value)
{
    append(key);
    m_bytes += '=';
    const QStringView v = QStringView(value).trimmed();
    const qsizetype start = m_bytes.size();
    append(v);
    // A value never spans lines.
    char *data = m_bytes.data();
    for (qsizetype i = start; i < m_bytes.size(); ++i)
        if (data[i] == '\r' || data[i] == '\n')
            data[i] = ' ';
    m_bytes += "\r\n";
}
