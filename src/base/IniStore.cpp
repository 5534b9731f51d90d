#include "base/IniStore.h"

#include "base/TextFile.h"

#include <QFile>
#include <QStringView>

namespace IniDetail {

namespace {

char16_t lowered(QChar c) noexcept
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? char16_t(u + ('a' - 'A')) : u;
    return char16_t(QChar::toLower(char32_t(u)));
}

} // namespace

bool operator==(const NameKey &a, const NameKey &b) noexcept
{
    const qsizetype n = a.name.size();
    if (n != b.name.size())
        return false;
    const QChar *pa = a.name.constData();
    const QChar *pb = b.name.constData();
    for (qsizetype i = 0; i < n; ++i)
        if (pa[i] != pb[i] && lowered(pa[i]) != lowered(pb[i]))
            return false;
    return true;
}

size_t qHash(const NameKey &key, size_t seed) noexcept
{
    // FNV-1a over the lower-case UTF-16 units.
    size_t h = seed ^ size_t(1469598103934665603ULL);
    for (const QChar c : key.name) {
        h ^= lowered(c);
        h *= size_t(1099511628211ULL);
    }
    return h;
}

} // namespace IniDetail

using IniDetail::NameKey;

namespace {

// Sections longer than this get a hash index; shorter ones are searched.
constexpr int kIndexedSection = 24;

} // namespace

int IniDocument::Section::find(const QString &key) const
{
    if (!index.isEmpty()) {
        const auto it = index.constFind(NameKey{key});
        return it == index.constEnd() ? -1 : *it;
    }
    const NameKey wanted{key};
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        if (!e.key.isEmpty() && NameKey{e.key} == wanted)
            return i;
    }
    return -1;
}

void IniDocument::Section::appended()
{
    const int last = int(entries.size()) - 1;
    if (!index.isEmpty()) {
        const QString &key = entries.at(last).key;
        if (!key.isEmpty() && !index.contains(NameKey{key}))
            index.insert(NameKey{key}, last);
        return;
    }
    if (entries.size() <= kIndexedSection)
        return;
    index.reserve(entries.size() * 2);
    for (int i = 0; i <= last; ++i)
        if (!entries.at(i).key.isEmpty() && !index.contains(NameKey{entries.at(i).key}))
            index.insert(NameKey{entries.at(i).key}, i);
}

IniDocument IniDocument::fromText(const QString &text)
{
    IniDocument doc;
    Section *current = nullptr;
    const QStringView all(text);
    qsizetype start = 0;
    const qsizetype n = all.size();
    while (start <= n) {
        qsizetype end = all.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = n;
        QStringView line = all.mid(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const bool lastLine = end >= n;
        start = end + 1;
        if (lastLine && line.isEmpty())
            break;
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close > 0) {
                QString name = trimmed.mid(1, close - 1).trimmed().toString();
                if (name.isNull())
                    name = QLatin1String("");
                current = &doc.addSection(name);
                continue;
            }
        }
        if (!current)
            current = &doc.addSection(QString());
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        Entry e;
        if (eq > 0 && !line.left(eq).trimmed().isEmpty()) {
            e.key = line.left(eq).trimmed().toString();
            e.value = line.mid(eq + 1).trimmed().toString();
        } else {
            e.value = line.toString();
        }
        current->entries.append(std::move(e));
        current->appended();
    }
    return doc;
}

bool IniDocument::load(const QString &path)
{
    QString text;
    if (!TextFile::read(path, &text)) {
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
    qsizetype size = 0;
    for (const Section &s : m_sections) {
        size += s.name.size() + 4;
        for (const Entry &e : s.entries)
            size += e.key.size() + e.value.size() + 3;
    }
    out.reserve(size);
    for (const Section &s : m_sections) {
        if (!s.name.isNull()) {
            out += QLatin1Char('[');
            out += s.name;
            out += QLatin1String("]\r\n");
        }
        for (const Entry &e : s.entries) {
            if (!e.key.isEmpty()) {
                out += e.key;
                out += QLatin1Char('=');
            }
            out += e.value;
            out += QLatin1String("\r\n");
        }
    }
    return out;
}

IniDocument::Section *IniDocument::findSection(const QString &name)
{
    const auto it = m_sectionIndex.constFind(NameKey{name.trimmed()});
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

const IniDocument::Section *IniDocument::findSection(const QString &name) const
{
    const auto it = m_sectionIndex.constFind(NameKey{name.trimmed()});
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

IniDocument::Section &IniDocument::addSection(const QString &name)
{
    Section s;
    s.name = name; // a null name holds the lines before the first header
    // Room for a usual section at once, rather than growing it key by key.
    s.entries.reserve(12);
    m_sections.append(std::move(s));
    const int idx = int(m_sections.size()) - 1;
    if (!name.isNull() && !m_sectionIndex.contains(NameKey{name}))
        m_sectionIndex.insert(NameKey{name}, idx);
    return m_sections.last();
}

bool IniDocument::hasSection(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniDocument::contains(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    return s && s->find(key.trimmed()) >= 0;
}

QString IniDocument::value(const QString &section, const QString &key, const QString &def,
                           bool whole) const
{
    const Section *s = findSection(section);
    if (!s)
        return def;
    const int at = s->find(key.trimmed());
    if (at < 0)
        return def;
    const QString &v = s->entries.at(at).value;
    return whole ? v : v.left(MaxValueLength);
}

QString IniDocument::clean(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v.trimmed();
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString k = key.trimmed();
    Section *s = findSection(section);
    if (!s) {
        QString name = section.trimmed();
        if (name.isNull())
            name = QLatin1String("");
        s = &addSection(name);
    }
    const int at = s->find(k);
    if (at >= 0) {
        s->entries[at].value = clean(value);
        return;
    }
    s->entries.append(Entry{k, clean(value)});
    s->appended();
}

void IniDocument::appendSection(const QString &section)
{
    addSection(section);
}

void IniDocument::appendValue(const QString &key, const QString &value)
{
    if (m_sections.isEmpty() || m_sections.last().name.isNull())
        return;
    Section &s = m_sections.last();
    s.entries.append(Entry{key, clean(value)});
    s.appended();
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (const Section &s : m_sections)
        if (!s.name.isNull())
            names << s.name;
    return names;
}

QStringList IniDocument::keys(const QString &section) const
{
    QStringList names;
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (!e.key.isEmpty())
                names << e.key;
    return names;
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

QString readIniString(const QString &file, const QString &section, const QString &key,
                      const QString &def)
{
    IniDocument doc;
    if (!doc.load(file))
        return def;
    return doc.value(section, key, def);
}

bool writeIniString(const QString &file, const QString &section, const QString &key,
                    const QString &value)
{
    IniDocument doc;
    doc.load(file);
    doc.setValue(section, key, value);
    return doc.save(file);
}
