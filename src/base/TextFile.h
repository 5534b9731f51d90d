#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Every file the application reads or writes is Windows-1251, so files from
// existing installations open unchanged. Reading also takes UTF-8 (with a BOM,
// or bytes that are valid UTF-8); a text that Windows-1251 cannot hold is
// written as UTF-8 with a BOM rather than losing characters.
namespace TextFile {

// No file of ours comes near this size; a larger one is refused before it is read.
constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

// The text of a file's bytes. Every byte gives a character and the text
// encodes back to the same bytes: nothing is ever replaced by U+FFFD.
QString decode(const QByteArray &bytes);

// Windows-1251 when every character fits, UTF-8 with a BOM otherwise (also
// for the rare Windows-1251 bytes that would read back as UTF-8), so that
// decode(encode(text)) == text.
QByteArray encode(const QString &text);

// True when Windows-1251 can hold every character of the text.
bool fitsWindows1251(const QString &text);

// Appends the Windows-1251 bytes of the text; false when a character has no
// byte in the code page (what was appended before it stays).
bool appendCp1251(QByteArray &out, QStringView text);

// True when Windows-1251 bytes read back as Windows-1251: they are not
// valid UTF-8 (beyond ASCII) and do not start as a byte-order mark does
// (a text starting "п»ї"). Other bytes are written as UTF-8 with a mark.
bool readsBackAsCp1251(const QByteArray &bytes);

// Reads the whole file. False when it cannot be opened or is larger than
// MaxFileSize; *error then says why.
bool read(const QString &path, QString *text, QString *error = nullptr);

// The usual causes of a failed file operation, told in Russian (no space,
// no access rights, a read-only disk, a folder, nothing there); empty for any
// other system error number.
QString systemCause(int errorNumber);

// Writes through a temporary file renamed over the old one: a failed write
// (a full disk included) leaves the old file as it was; *error says why.
bool write(const QString &path, const QString &text, QString *error = nullptr);
// The same for bytes already encoded.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace TextFile
