#include "quotes/AssembleQuote.h"

#include "quotes/CheckedCounter.h"

namespace quoteshow {

QString AssembleQuote(const LineTable &lineTable, int chosenQuote)
{
    QString quoteText;
    int currentQuote = 1;
    for (std::int16_t j = 0; j <= lineTable.LineCount; j = CheckedIncrement(j)) {
        if (currentQuote == chosenQuote) {
            const QStringView line = lineTable.Slot(j);
            if (!IsSeparatorLine(line)) {
                quoteText += line;
                quoteText += u'\r';
            }
        }
        if (IsSeparatorLine(lineTable.Slot(j)))
            ++currentQuote;
    }
    return quoteText;
}

} // namespace quoteshow
