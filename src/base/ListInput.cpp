#include "base/ListInput.h"

#include "base/TextFile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// A field ends at a comma or at the end of its line (CR, LF or both).
bool isSeparator(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

ListInput::ListInput(const QString &text) : m_text(text) {}

std::optional<ListInput> ListInput::fromFile(const QString &path)
{
    QString text;
    if (!TextFile::read(path, &text))
        return std::nullopt;
    return ListInput(text);
}

void ListInput::skipBlankAndLineEnds()
{
    while (m_pos < m_text.size()) {
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
            || c == QLatin1Char('\n') || c == QChar(0xFEFF))
            ++m_pos;
        else
            break;
    }
}

bool ListInput::atEnd() const
{
    qsizetype p = m_pos;
    while (p < m_text.size()) {
        const QChar c = m_text.at(p);
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\r')
            && c != QLatin1Char('\n') && c != QChar(0xFEFF))
            return false;
        ++p;
    }
    return true;
}

std::optional<QString> ListInput::next()
{
    skipBlankAndLineEnds();
    if (m_pos >= m_text.size())
        return std::nullopt;
    QString field;
    const qsizetype n = m_text.size();
    if (m_text.at(m_pos) == QLatin1Char('"')) {
        ++m_pos;
        while (m_pos < n) {
            const QChar c = m_text.at(m_pos);
            if (c == QLatin1Char('"')) {
                if (m_pos + 1 < n && m_text.at(m_pos + 1) == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                break;
            }
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                break; // an unclosed quote ends with its line
            field += c;
            ++m_pos;
        }
        // Whatever follows the closing quote up to the separator is dropped.
        while (m_pos < n && !isSeparator(m_text.at(m_pos)))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && !isSeparator(m_text.at(m_pos)))
            ++m_pos;
        field = m_text.mid(start, m_pos - start).trimmed();
    }
    if (m_pos < n && m_text.at(m_pos) == QLatin1Char(','))
        ++m_pos;
    return field;
}

std::optional<double> ListInput::toNumber(const QString &field)
{
    const QByteArray bytes = field.trimmed().toLatin1();
    if (bytes.isEmpty() || bytes.size() > 64)
        return std::nullopt;
    for (char c : bytes) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    }
    const char *first = bytes.constData();
    if (*first == '+')
        ++first;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(first, bytes.constData() + bytes.size(), v);
    if (ec != std::errc() || ptr != bytes.constData() + bytes.size() || std::isnan(v) || std::isinf(v))
        return std::nullopt;
    return v;
}

std::optional<double> ListInput::nextNumber()
{
    const auto f = next();
    if (!f)
        return std::nullopt;
    return toNumber(*f);
}

QStringList ListInput::rest()
{
    QStringList out;
    while (auto f = next())
        out << *f;
    return out;
}

QString ListInput::quote(const QString &field)
{
    // Whatever the reader would drop or split on must be inside quotes: commas,
    // quotes, line ends, blanks at the ends and a byte-order mark at the start.
    if (field.isEmpty() || field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
        || field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n')) || field != field.trimmed()
        || field.startsWith(QChar(0xFEFF))) {
        QString q = field;
        q.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    }
    return field;
}
