#pragma once
// Collecting the chosen quote's lines into the text that is shown.

#include "quotes/LineTable.h"

#include <QString>

namespace quoteshow {

// The lines of quote `chosenQuote`, in file order, each followed by one
// carriage return. Walks every slot of the table, the empty last one
// included. Raises "Subscript out of range" for the table of an empty file and
// an overflow Failure when the walk index would pass 32,767.
QString AssembleQuote(const LineTable &lineTable, int chosenQuote);

} // namespace quoteshow
