#pragma once

#include "base/TextFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The fuzzers see the bytes as a file would hold them.
inline QString fuzzText(const uint8_t *data, size_t size)
{
    return TextFile::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
}
