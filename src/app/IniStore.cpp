#include "app/IniStore.h"

#include "app/TextFile.h"

#include <QFile>
#include <QStringView>

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
            const QString lower = e.key.toLower();
            if (!current->index.contains(lower))
                current->index.insert(lower, int(current->entries.size()));
        } else {
            e.value = line.toString();
        }
        current->entries.append(std::move(e));
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
    const auto it = m_sectionIndex.constFind(name.trimmed().toLower());
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

const IniDocument::Section *IniDocument::findSection(const QString &name) const
{
    const auto it = m_sectionIndex.constFind(name.trimmed().toLower());
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

IniDocument::Section &IniDocument::addSection(const QString &name)
{
    Section s;
    s.name = name; // a null name holds the lines before the first header
    m_sections.append(std::move(s));
    const int idx = int(m_sections.size()) - 1;
    if (!name.isNull()) {
        const QString lower = name.toLower();
        if (!m_sectionIndex.contains(lower))
            m_sectionIndex.insert(lower, idx);
    }
    return m_sections.last();
}

bool IniDocument::hasSection(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniDocument::contains(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    return s && s->index.contains(key.trimmed().toLower());
}

QString IniDocument::value(const QString &section, const QString &key, const QString &def,
                           bool whole) const
{
    const Section *s = findSection(section);
    if (!s)
        return def;
    const auto it = s->index.constFind(key.trimmed().toLower());
    if (it == s->index.constEnd())
        return def;
    const QString &v = s->entries.at(*it).value;
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
    const auto it = s->index.constFind(k.toLower());
    if (it != s->index.constEnd()) {
        s->entries[*it].value = clean(value);
        return;
    }
    s->index.insert(k.toLower(), int(s->entries.size()));
    s->entries.append(Entry{k, clean(value)});
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
    const QString lower = key.toLower();
    if (!s.index.contains(lower))
        s.index.insert(lower, int(s.entries.size()));
    s.entries.append(Entry{key, clean(value)});
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (const Section &s : m_sections)
        if (!s.name.isNull())
            names << s.name;
    return names;
}

QString ReadIniString(const QString &file, const QString &section, const QString &key,
                      const QString &def)
{
    IniDocument doc;
    if (!doc.load(file))
        return def;
    return doc.value(section, key, def);
}

bool WriteIniString(const QString &file, const QString &section, const QString &key,
                    const QString &value)
{
    IniDocument doc;
    doc.load(file);
    doc.setValue(section, key, value);
    return doc.save(file);
}
