#pragma once
// The program's one error handler: a failed start-up ends in one message box.

#include "quotes/Failure.h"

#include <QString>

namespace quoteshow {

// "Error 53: The file <path> does not exist." for a missing file, otherwise
// "Error <code> <description> occurred."
QString FailureMessage(const Failure &failure, const QString &quotePath);

// Shows the message in a modal box with one OK button and waits for it; its
// caption is the application's title, the product name.
void StartupFailureHandler(const Failure &failure, const QString &quotePath);

} // namespace quoteshow
