#include "app/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace TextFile {

namespace {

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = dec.decode(bytes); // the decoder works when converted
    return !dec.hasError();
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (!isAscii(bytes) && isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    QStringDecoder dec("windows-1251");
    if (!dec.isValid())
        return QString::fromLatin1(bytes);
    return dec.decode(bytes);
}

bool fitsWindows1251(const QString &text)
{
    QStringEncoder enc("windows-1251");
    if (!enc.isValid())
        return false;
    const QByteArray bytes = enc.encode(text);
    return !enc.hasError();
}

QByteArray encode(const QString &text)
{
    QStringEncoder enc("windows-1251");
    if (enc.isValid()) {
        QByteArray bytes = enc.encode(text);
        // Reading takes bytes that are valid UTF-8 as UTF-8, so a rare text
        // such as "Г№" would not come back as it was written; the BOM form
        // is unambiguous.
        if (!enc.hasError() && (isAscii(bytes) || !isValidUtf8(bytes)))
            return bytes;
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool read(const QString &path, QString *text, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    *text = decode(f.readAll());
    return true;
}

bool write(const QString &path, const QString &text, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray bytes = encode(text);
    if (f.write(bytes) != bytes.size()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace TextFile
