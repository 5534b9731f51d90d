#pragma once

#include <QString>

#include <optional>

class Prompter;

// Arithmetic typed instead of a number: + - * / ^, unary minus, parentheses,
// decimal numbers and the functions Abs Cos Exp Log Sin Sqr Tan. Precedence:
// ^ first, then the unary minus, then * and /, then + and -; equal ranks group
// from the left (2^3^2 = 64, -2^2 = -4). Every comma is read as a point.
namespace Evaluator {

// The text returned instead of a value when the expression cannot be computed.
QString errorMarker();
// What the user is told about any failure, and its title.
QString errorMessage();
QString errorTitle();

// Deeper nesting of parentheses and functions is refused rather than risking the stack.
constexpr int MaxDepth = 200;

// The value, or nothing for a syntax error, an unknown name, a division by
// zero, a logarithm of a number <= 0, a root of a negative number, an overflow
// or any other result that is not a finite number.
std::optional<double> evaluate(const QString &expression);

} // namespace Evaluator

// The value as a number text ("2,5", "0,333333333333333", "1E+20") or the
// marker "Error". Says nothing to the user.
QString evaluateExpression(const QString &expression);

// The same, and on failure tells the user "Синтаксическая ошибка!" (title
// "Ошибка", exclamation icon) before returning the marker.
QString evaluateExpression(const QString &expression, Prompter &prompter);
