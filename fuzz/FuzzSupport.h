#pragma once

#include "base/TextFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The fuzzers see the bytes as a file would hold them. No byte is ever
// replaced while decoding, and what is written reads back the same.
inline QString fuzzText(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = TextFile::decode(bytes);
    if (text.contains(QChar(0xFFFD)) && !bytes.contains("\xEF\xBF\xBD"))
        std::abort();
    if (TextFile::decode(TextFile::encode(text)) != text)
        std::abort();
    return text;
}
