#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Reads the data files in their sequential list form: fields separated by
// commas or line ends, a field may be enclosed in double quotes (which may
// then hold commas), blanks around a field are dropped, empty lines skipped.
class ListInput
{
public:
    explicit ListInput(const QString &text);

    // Loads a file (Windows-1251 or UTF-8); false when it cannot be read.
    static std::optional<ListInput> fromFile(const QString &path);

    bool atEnd() const;
    // The next field, or nothing at the end of the text.
    std::optional<QString> next();
    // The next field read as a number with the decimal point (as the data
    // files store them); nothing at the end or when the field is not a number.
    std::optional<double> nextNumber();

    // All remaining fields.
    QStringList rest();

    // Reads a number the way data files store them: point decimal, blanks allowed.
    static std::optional<double> toNumber(const QString &field);

    // Quotes a field for writing when it holds a comma, a quote or edge blanks;
    // a quote inside is doubled so that it reads back unchanged.
    static QString quote(const QString &field);

private:
    void skipBlankAndLineEnds();
    QString m_text;
    qsizetype m_pos = 0;
};
