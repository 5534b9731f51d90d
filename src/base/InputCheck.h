#pragma once

#include "base/Prompter.h"

#include <QString>

// The shared check of numeric fields: 0 < value <= 1000000.
namespace InputCheck {

enum class Numeric { Ok, Empty, NotNumber, NotPositive, TooLarge };

Numeric classify(const QString &text);
// The message of a failed check (empty for Ok).
QString message(Numeric result);
// The title of every input-check message.
QString title();

// Reports a failed check through the prompter; true when the text is accepted.
// Windows add the focus and selection (see the ui helper checkNumericEntry).
bool report(const QString &text, Prompter &prompter, Numeric *result = nullptr);

} // namespace InputCheck

// True when the caller must NOT write: the file exists and the user declined.
bool confirmOverwrite(const QString &path, Prompter &prompter);
