#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// An INI text held in memory: parsed once, looked up through hashes, written
// once. Section and key names match case-insensitively, blanks around keys and
// values are trimmed, lines that are not "key=value" are kept as they stand.
//
// The document keeps the text it was read from and points into it, so a file
// costs a few times its size whatever it holds (a few bytes per line and per
// section beside the text), and reading is linear in the text.
class IniDocument
{
public:
    // Values read through the settings interface are cut to this length.
    static constexpr int MaxValueLength = 254;

    IniDocument() = default;
    static IniDocument fromText(const QString &text);

    // Loads a file; false and an empty document when it is missing or cannot
    // be read as text (*error says why).
    bool load(const QString &path, QString *error = nullptr);
    // Writes the whole document through a temporary file.
    bool save(const QString &path, QString *error = nullptr) const;

    QString toText() const;

    bool hasSection(const QString &section) const;
    bool contains(const QString &section, const QString &key) const;
    // The stored value, or def when the section or key is absent. The value is
    // cut to MaxValueLength characters unless `whole` is set.
    QString value(const QString &section, const QString &key, const QString &def = QString(),
                  bool whole = false) const;

    // The same through a section looked up once for many keys: the index of
    // the section of that name that is read (the first), or -1.
    int sectionIndex(const QString &section) const;
    bool contains(int section, const QString &key) const;
    QString value(int section, const QString &key, const QString &def = QString(), bool whole = false) const;
    // Updates the key in place, appends it to its section, or appends the
    // section at the end. CR and LF in the value become blanks.
    void setValue(const QString &section, const QString &key, const QString &value);

    QStringList sectionNames() const;
    // The key names of a section in file order (empty when it is absent).
    QStringList keys(const QString &section) const;
    int sectionCount() const;

    // For large documents, without a string made for each name: the name of
    // section `index` in file order, and every key name of a section.
    QStringView sectionName(int index) const;
    template<typename Visit>
    void forEachKey(const QString &section, Visit &&visit) const
    {
        const int s = sectionIndex(section);
        if (s >= 0)
            forEachEntryIndex(s, [&](quint32 e) {
                if (m_entries.at(e).key.length)
                    visit(view(m_entries.at(e).key));
            });
    }

private:
    // A piece of m_text.
    struct Span {
        quint32 start = 0;
        quint32 length = 0;
    };
    // A "key=value" line, or (key.length 0) a run of lines that are not.
    struct Entry {
        Span key;
        Span value;
    };
    struct Section {
        Span name; // start NoName for the lines before the first header
        quint32 first = 0; // entries first .. first + count - 1 as read
        quint32 count = 0;
    };
    static constexpr quint32 NoName = 0xFFFFFFFF;
    // Sections longer than this have their keys in the hash table; shorter
    // ones (nearly all, a project's lines with their inputs among them) are
    // searched in order, which costs less than hashing every key they have.
    static constexpr quint32 IndexedSection = 64;

    // Open addressing over indices (+1; 0 is a free slot) into m_sections or
    // m_entries; the hashes come from the text, so a table costs 4 bytes a slot.
    struct Table {
        QVector<quint32> buckets;
        qsizetype used = 0;
    };

    QStringView view(Span span) const { return QStringView(m_text).mid(span.start, span.length); }
    QString copy(Span span) const;
    Span append(QStringView text);

    int findSection(QStringView name) const;
    int findEntry(int section, QStringView key) const;
    bool belongsTo(quint32 entry, int section) const;
    size_t entryHash(int section, QStringView key) const;
    // Inserts unless an equal name is there; false when it was.
    bool insertSection(quint32 index);
    bool insertEntry(int section, quint32 index);
    static bool take(Table &table, qsizetype bucket, quint32 index);
    void grow(Table &table, bool entries);
    quint32 entryCount(int section) const;
    // Puts a section's keys into the table, and then each key added, once
    // the section is longer than IndexedSection.
    void indexKeys(int section);
    void indexAdded(int section, quint32 entry);
    // *first: the section is the first of its name, the one looked into.
    int addSection(Span name, bool *first);
    // An entry read from the text extends its section; one set later goes
    // after the section's other entries.
    quint32 addEntry(int section, const Entry &entry, bool asRead);

    // The entries of a section in file order: those read, then those set.
    template<typename F>
    void forEachEntryIndex(int section, F &&f) const
    {
        const Section &s = m_sections.at(section);
        for (quint32 i = s.first; i < s.first + s.count; ++i)
            f(i);
        const auto more = m_appended.constFind(quint32(section));
        if (more != m_appended.constEnd())
            for (const quint32 i : *more)
                f(i);
    }

    QString m_text; // the text read, then the names and values set since
    QVector<Section> m_sections;
    QVector<Entry> m_entries;
    quint32 m_readEntries = 0; // entries of the text as read; later ones were set
    QVector<quint32> m_setOwners; // the section of each entry set since reading
    QHash<quint32, QVector<quint32>> m_appended; // set entries outside their section's run
    Table m_sectionTable; // the first section of each name
    Table m_entryTable; // the first entry of each key in the long sections looked into
};

// Writes an INI text front to back, for files written whole in one go (a
// project): no document is built, values are cleaned as IniDocument does.
class IniTextWriter
{
public:
    void reserve(qsizetype size) { m_text.reserve(size); }
    void section(QStringView name);
    void value(QStringView key, const QString &value);
    const QString &text() const { return m_text; }
    QString take() { return std::move(m_text); }

private:
    QString m_text;
};

// The same, straight into Windows-1251 bytes; ok() turns false at the first
// character the code page cannot hold (the caller then writes the text form).
class IniCp1251Writer
{
public:
    void reserve(qsizetype size) { m_bytes.reserve(size); }
    void section(QStringView name);
    void value(QStringView key, const QString &value);
    bool ok() const { return m_ok; }
    QByteArray take() { return std::move(m_bytes); }

private:
    void append(QStringView text);
    QByteArray m_bytes;
    bool m_ok = true;
};
