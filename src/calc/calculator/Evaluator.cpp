#include "calc/calculator/Evaluator.h"

#include "base/NumberText.h"
#include "base/Prompter.h"

#include <charconv>
#include <cmath>
#include <string>

namespace Evaluator {

QString errorMarker()
{
    return QStringLiteral("Error");
}

QString errorMessage()
{
    return QStringLiteral("Синтаксическая ошибка!");
}

QString errorTitle()
{
    return QStringLiteral("Ошибка");
}

namespace {

struct Failure {
};

// Recursive descent over the text. Only parentheses and function arguments
// recurse (bounded by MaxDepth); chains of operators and signs are loops, so
// neither a long expression nor a run of signs can exhaust the stack.
class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) {}

    double run()
    {
        const double value = expression(0);
        skipBlanks();
        if (m_pos != m_text.size())
            throw Failure{};
        return value;
    }

private:
    static double checked(double value)
    {
        if (!std::isfinite(value))
            throw Failure{};
        return value;
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    bool take(char c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char(c)) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // + and -, from the left.
    double expression(int depth)
    {
        double value = term(depth);
        for (;;) {
            if (take('+'))
                value = checked(value + term(depth));
            else if (take('-'))
                value = checked(value - term(depth));
            else
                return value;
        }
    }

    // * and /, from the left.
    double term(int depth)
    {
        double value = signedPower(depth);
        for (;;) {
            if (take('*')) {
                value = checked(value * signedPower(depth));
            } else if (take('/')) {
                const double divisor = signedPower(depth);
                if (divisor == 0)
                    throw Failure{};
                value = checked(value / divisor);
            } else {
                return value;
            }
        }
    }

    // Leading signs; an odd number of minus signs negates.
    bool negation()
    {
        bool negative = false;
        for (;;) {
            if (take('-'))
                negative = !negative;
            else if (!take('+'))
                return negative;
        }
    }

    // The unary minus binds weaker than ^: -2^2 is -(2^2).
    double signedPower(int depth)
    {
        const bool negative = negation();
        const double value = power(depth);
        return negative ? -value : value;
    }

    // ^ from the left: 2^3^2 is (2^3)^2. An exponent may carry its own sign (2^-1).
    double power(int depth)
    {
        double value = primary(depth);
        while (take('^')) {
            const bool negative = negation();
            double exponent = primary(depth);
            if (negative)
                exponent = -exponent;
            value = checked(std::pow(value, exponent));
        }
        return value;
    }

    double primary(int depth)
    {
        if (depth > MaxDepth)
            throw Failure{};
        skipBlanks();
        if (m_pos >= m_text.size())
            throw Failure{};
        const QChar c = m_text.at(m_pos);
        if (c.isDigit() || c == QLatin1Char('.'))
            return number();
        if (c == QLatin1Char('(')) {
            ++m_pos;
            const double value = expression(depth + 1);
            if (!take(')'))
                throw Failure{};
            return value;
        }
        if (isNameStart(c))
            return function(depth);
        throw Failure{};
    }

    static bool isAsciiLetter(QChar c)
    {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
    }

    static bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }

    double number()
    {
        std::string digits;
        const qsizetype n = m_text.size();
        auto isDigitAt = [&](qsizetype k) {
            return k < n && m_text.at(k) >= QLatin1Char('0') && m_text.at(k) <= QLatin1Char('9');
        };
        int mantissaDigits = 0;
        while (isDigitAt(m_pos)) {
            digits += char(m_text.at(m_pos++).unicode());
            ++mantissaDigits;
        }
        if (m_pos < n && m_text.at(m_pos) == QLatin1Char('.')) {
            digits += '.';
            ++m_pos;
            while (isDigitAt(m_pos)) {
                digits += char(m_text.at(m_pos++).unicode());
                ++mantissaDigits;
            }
        }
        if (mantissaDigits == 0)
            throw Failure{};
        // An exponent only when digits follow it, as in a pasted 1,5E+20.
        if (m_pos < n && (m_text.at(m_pos) == QLatin1Char('e') || m_text.at(m_pos) == QLatin1Char('E'))) {
            qsizetype k = m_pos + 1;
            if (k < n && (m_text.at(k) == QLatin1Char('+') || m_text.at(k) == QLatin1Char('-')))
                ++k;
            if (isDigitAt(k)) {
                digits += 'e';
                digits.append(m_text.mid(m_pos + 1, k - m_pos - 1).toStdString());
                m_pos = k;
                while (isDigitAt(m_pos))
                    digits += char(m_text.at(m_pos++).unicode());
            }
        }
        // A digit or letter glued to the number (2.5.1, 3x) is no expression.
        if (m_pos < n && (m_text.at(m_pos) == QLatin1Char('.') || isNameStart(m_text.at(m_pos))))
            throw Failure{};
        double value = 0;
        const char *begin = digits.data();
        const char *end = begin + digits.size();
        // from_chars reads the point whatever the C locale says.
        const auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || result.ptr != end)
            throw Failure{};
        return checked(value);
    }

    double function(int depth)
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (isNameStart(m_text.at(m_pos)) || m_text.at(m_pos).isDigit()))
            ++m_pos;
        const QString name = m_text.mid(start, m_pos - start).toLower();
        for (QChar c : name)
            if (!isAsciiLetter(c))
                throw Failure{};
        static const char *const names[] = {"abs", "cos", "exp", "log", "sin", "sqr", "tan"};
        int which = -1;
        for (int i = 0; i < 7; ++i)
            if (name == QLatin1String(names[i]))
                which = i;
        if (which < 0 || !take('('))
            throw Failure{};
        const double x = expression(depth + 1);
        if (!take(')'))
            throw Failure{};
        switch (which) {
        case 0:
            return std::fabs(x);
        case 1:
            return checked(std::cos(x));
        case 2:
            return checked(std::exp(x));
        case 3:
            if (x <= 0)
                throw Failure{};
            return checked(std::log(x));
        case 4:
            return checked(std::sin(x));
        case 5:
            if (x < 0)
                throw Failure{};
            return std::sqrt(x);
        default:
            return checked(std::tan(x));
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<double> evaluate(const QString &expression)
{
    QString text = expression;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    try {
        const double value = Parser(text).run();
        return value == 0 ? 0.0 : value; // no "-0"
    } catch (const Failure &) {
        return std::nullopt;
    }
}

} // namespace Evaluator

QString evaluateExpression(const QString &expression)
{
    const auto value = Evaluator::evaluate(expression);
    return value ? NumberText::format(*value) : Evaluator::errorMarker();
}

QString evaluateExpression(const QString &expression, Prompter &prompter)
{
    const QString result = evaluateExpression(expression);
    if (result == Evaluator::errorMarker())
        prompter.message(Evaluator::errorMessage(), Evaluator::errorTitle(), Prompter::Icon::Exclamation,
                         Prompter::Buttons::Ok);
    return result;
}
