#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace IniDetail {

// A section or key name as the index holds it: hashed and compared without
// regard to letter case, with no lower-case copy made for each lookup.
struct NameKey {
    QString name;
};
bool operator==(const NameKey &a, const NameKey &b) noexcept;
size_t qHash(const NameKey &key, size_t seed = 0) noexcept;

} // namespace IniDetail

// An INI text held in memory: parsed once, looked up through hashes, written
// once. Section and key names match case-insensitively, blanks around keys and
// values are trimmed, lines that are not "key=value" are kept as they stand.
class IniDocument
{
public:
    // Values read through the settings interface are cut to this length.
    static constexpr int MaxValueLength = 254;

    IniDocument() = default;
    static IniDocument fromText(const QString &text);

    // Loads a file; a missing file gives an empty document and false.
    bool load(const QString &path);
    // Writes the whole document through a temporary file.
    bool save(const QString &path, QString *error = nullptr) const;

    QString toText() const;

    bool hasSection(const QString &section) const;
    bool contains(const QString &section, const QString &key) const;
    // The stored value, or def when the section or key is absent. The value is
    // cut to MaxValueLength characters unless `whole` is set.
    QString value(const QString &section, const QString &key, const QString &def = QString(),
                  bool whole = false) const;
    // Updates the key in place, appends it to its section, or appends the
    // section at the end. CR and LF in the value become blanks.
    void setValue(const QString &section, const QString &key, const QString &value);
    // Appends a section known not to exist yet; a fast path for bulk writing.
    void appendSection(const QString &section);
    // Appends a key to the last section without looking for an existing one.
    void appendValue(const QString &key, const QString &value);

    QStringList sectionNames() const;
    // The key names of a section in file order (empty when it is absent).
    QStringList keys(const QString &section) const;
    int sectionCount() const { return int(m_sections.size()); }

private:
    struct Entry {
        QString key; // empty for a line that is not key=value
        QString value; // the value, or the whole line for a raw line
    };
    struct Section {
        QString name; // empty for the lines before the first section
        QVector<Entry> entries;
        // Key -> first entry. Short sections (the usual kind) are searched in
        // order instead: a hash per section costs more than it saves.
        QHash<IniDetail::NameKey, int> index;

        int find(const QString &key) const;
        // Keeps the index up to date after an entry was appended.
        void appended();
    };

    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;
    Section &addSection(const QString &name);
    static QString clean(const QString &value);

    QVector<Section> m_sections;
    QHash<IniDetail::NameKey, int> m_sectionIndex; // name -> first section
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

// The settings store: every call reads or writes the file at once, as the
// settings were always kept. Bulk work uses IniDocument directly.
QString readIniString(const QString &file, const QString &section, const QString &key,
                      const QString &def);
bool writeIniString(const QString &file, const QString &section, const QString &key,
                    const QString &value);
