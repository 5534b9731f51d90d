#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The user's lists of conductor marks: one mark a line, read field by field
// (so a line "ВВГ, АВВГ" gives two marks).
namespace MarkList {

// The marks of a text, in order; empty fields are dropped.
QStringList parse(const QString &text);
// The file text: each mark on its own line ended by CR LF. A mark that holds a
// comma, a double quote or edge blanks is quoted so that it reads back unchanged.
QString format(const QStringList &marks);

// The marks of a file; an absent file is an empty list, a file that exists
// but cannot be read, or holds what no mark list does (control characters, as
// a binary file does), gives nothing, with `problem` saying why for the user.
std::optional<QStringList> read(const QString &path, QString *problem = nullptr);
// Replaces the file (through a temporary file); false with the reason on failure.
bool write(const QString &path, const QStringList &marks, QString *error = nullptr);

// A mark as typed, made fit for a line of the file (line breaks become blanks).
QString clean(const QString &typed);

} // namespace MarkList
