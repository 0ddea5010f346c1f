#pragma once
// The start-up sequence: settles the quote file, reads it, picks and
// assembles a quote, fills in the window and shows it.

#include "window/Form1.h"

#include <QString>

#include <memory>

namespace quoteshow::COMMON {

// The default quote file, looked for in the current directory.
inline constexpr char16_t kDefaultQuotePath[] = u"Jokes.TXT";

// Runs the start-up. Returns the shown window, which the caller keeps for the
// event loop; returns none after a failure, once its message was dismissed.
std::unique_ptr<Form1> Main(const QString &argumentText);

// Main, then the event loop while the window is open. Returns the exit
// status: 0 once the shown window was closed, 1 after a start-up failure, so
// that a script can tell a failed start from a good one.
int Run(const QString &argumentText);

} // namespace quoteshow::COMMON
