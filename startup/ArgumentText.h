#pragma once
// The command line's argument text as one string: everything after the
// program's name. The shell has split it already, so the words are joined
// again with single blanks; quotation marks that reach the program stay.

#include <QString>

namespace quoteshow {

QString ArgumentText(int argc, const char *const *argv);

} // namespace quoteshow
