#include "base/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <optional>

namespace TextFile {

namespace {

// Windows-1251 through two tables built once from the system's converter:
// projects of megabytes are converted a character at a time by lookup.
struct Cp1251Tables {
    char16_t toUnicode[128] = {}; // bytes 0x80..0xFF
    QByteArray fromUnicode; // 65536 entries; 0 where the character has no byte
    bool valid = false;

    Cp1251Tables() : fromUnicode(65536, '\0')
    {
        QStringDecoder dec("windows-1251");
        if (!dec.isValid())
            return;
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        const QString text = dec.decode(high);
        if (text.size() != 128)
            return;
        for (int i = 0; i < 128; ++i) {
            char16_t u = text.at(i).unicode();
            // A byte the converter leaves without a character (0x98 on some
            // systems) reads as the control character of its number, as on
            // others, so that no byte is ever lost.
            if (u == 0xFFFD || u < 0x80)
                u = char16_t(0x80 + i);
            toUnicode[i] = u;
            fromUnicode[u] = char(0x80 + i);
        }
        valid = true;
    }
};

const Cp1251Tables &cp1251()
{
    static const Cp1251Tables tables;
    return tables;
}

// Stops at the first byte that cannot be UTF-8, which for Windows-1251 text
// is the first Cyrillic letter, instead of converting the whole file.
bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = p[i + k];
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

bool appendCp1251(QByteArray &out, QStringView text)
{
    const Cp1251Tables &t = cp1251();
    if (!t.valid)
        return false;
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *dst = out.data() + start;
    const char16_t *src = reinterpret_cast<const char16_t *>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = src[i];
        if (u < 0x80) {
            dst[i] = char(u);
            continue;
        }
        const char b = t.fromUnicode.at(u);
        if (b == '\0') {
            out.resize(start + i);
            return false;
        }
        dst[i] = b;
    }
    return true;
}

namespace {

// The Windows-1251 bytes of the text, or nothing when a character has none.
std::optional<QByteArray> toCp1251(const QString &text)
{
    QByteArray bytes;
    if (!appendCp1251(bytes, text))
        return std::nullopt;
    return bytes;
}

} // namespace

bool readsBackAsCp1251(const QByteArray &bytes)
{
    return !bytes.startsWith("\xEF\xBB\xBF") && (isAscii(bytes) || !isValidUtf8(bytes));
}

namespace {

QString decodeCp1251(const char *data, qsizetype size)
{
    const Cp1251Tables &t = cp1251();
    if (!t.valid)
        return QString::fromLatin1(data, size);
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        out[i] = b < 0x80 ? char16_t(b) : t.toUnicode[b - 0x80];
    }
    return text;
}

// UTF-8 with every character kept: QString::fromUtf8 drops a byte-order mark
// at the start, which after our own mark is a character of the text.
QString decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString decode(const QByteArray &bytes)
{
    // A byte-order mark over text that is not UTF-8 (an editor put it over a
    // Windows-1251 file) must not cost the Cyrillic letters.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArray body = QByteArray::fromRawData(bytes.constData() + 3, bytes.size() - 3);
        if (isValidUtf8(body))
            return decodeUtf8(body);
        return decodeCp1251(body.constData(), body.size());
    }
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (isValidUtf8(bytes))
        return decodeUtf8(bytes);
    return decodeCp1251(bytes.constData(), bytes.size());
}

bool fitsWindows1251(const QString &text)
{
    return toCp1251(text).has_value();
}

QByteArray encode(const QString &text)
{
    // Reading takes bytes that are valid UTF-8 as UTF-8, so a rare text such
    // as "Г№" would not come back as it was written; the BOM form is unambiguous.
    if (const auto bytes = toCp1251(text); bytes && readsBackAsCp1251(*bytes))
        return *bytes;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString systemCause(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("на диске нет места");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав доступа");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case ENOENT:
        return QStringLiteral("файл или папка не найдены");
    case ENOTDIR:
        return QStringLiteral("в пути к файлу вместо папки стоит файл");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    case EEXIST:
        return QStringLiteral("файл с таким именем уже есть");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("файл занят другой программой");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    case EFBIG:
        return QStringLiteral("файл слишком велик для диска");
    case EIO:
        return QStringLiteral("ошибка чтения или записи диска");
    case ELOOP:
        return QStringLiteral("в пути к файлу слишком много символических ссылок");
    case EINVAL:
        return QStringLiteral("недопустимое имя файла");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("устройство недоступно");
    default:
        return QString();
    }
}

namespace {

// The cause of a failure just reported by `file`: ours in Russian where the
// system names a usual one, else the system's own words, never "Unknown error".
QString failureCause(int errorNumber, const QFileDevice &file)
{
    // Qt refuses a folder itself, without a system error.
    if (errorNumber == 0 && QFileInfo(file.fileName()).isDir())
        errorNumber = EISDIR;
    const QString cause = systemCause(errorNumber);
    if (!cause.isEmpty())
        return cause;
    // The system's and Qt's own words are English: ours name the number.
    if (errorNumber != 0)
        return QStringLiteral("ошибка системы номер ") + QString::number(errorNumber);
    if (file.error() == QFileDevice::NoError)
        return QString();
    return QStringLiteral("ошибка ввода-вывода");
}

} // namespace

bool read(const QString &path, QString *text, QString *error)
{
    QFile f(path);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = failureCause(errno, f);
        return false;
    }
    if (f.size() > MaxFileSize) {
        if (error)
            *error = QStringLiteral("файл слишком велик: %1 МБ при наибольших %2 МБ")
                         .arg((f.size() + 1024 * 1024 - 1) / (1024 * 1024))
                         .arg(MaxFileSize / (1024 * 1024));
        return false;
    }
    *text = decode(f.readAll());
    return true;
}

bool write(const QString &path, const QString &text, QString *error)
{
    return writeBytes(path, encode(text), error);
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered, so that a full disk fails the write itself: a buffered
    // write that only fails when flushed at the commit would still rename
    // the cut-off file over the old one.
    QSaveFile f(path);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = failureCause(errno, f);
        return false;
    }
    errno = 0;
    if (f.write(bytes) != bytes.size()) {
        if (error)
            *error = failureCause(errno, f);
        f.cancelWriting();
        return false;
    }
    errno = 0;
    if (!f.commit()) {
        if (error)
            *error = failureCause(errno, f);
        return false;
    }
    return true;
}

} // namespace TextFile
