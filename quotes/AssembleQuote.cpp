#include "quotes/AssembleQuote.h"

#include "quotes/CheckedCounter.h"

namespace quoteshow {

QString AssembleQuote(const LineTable &lineTable, int chosenQuote)
{
    QString quoteText;
    int currentQuote = 1;
    for (std::int16_t j = 0; j <= lineTable.LineCount; j = CheckedIncrement(j)) {
        if (currentQuote == chosenQuote && !lineTable.IsSeparatorSlot(j)) {
            quoteText += lineTable.Slot(j);
            quoteText += u'\r';
        }
        if (lineTable.IsSeparatorSlot(j))
            ++currentQuote;
    }
    return quoteText;
}

} // namespace quoteshow
