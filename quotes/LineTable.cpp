#include "quotes/LineTable.h"

#include "quotes/CheckedCounter.h"
#include "quotes/ErrorFacility.h"
#include "quotes/QuoteFileReader.h"
#include "quotes/TextDecoding.h"

#include <algorithm>

namespace quoteshow {

QStringView LineTable::Slot(std::int16_t index) const
{
    if (index < 0 || std::size_t(index) >= slots_.size())
        RaiseFailure(ErrorCodes::SubscriptOutOfRange);
    const Span span = slots_[std::size_t(index)];
    return QStringView(text_).sliced(span.start, span.length);
}

bool IsSeparatorLine(QStringView line)
{
    return line.startsWith(u"***");
}

LineTable LoadLineTable(QByteArrayView fileBytes)
{
    LineTable table;
    table.text_ = DecodeQuoteText(fileBytes);
    const QStringView text(table.text_);
    const qsizetype end = text.size();
    qsizetype pos = 0;
    while (pos < end) {
        qsizetype lineEnd = text.indexOf(u'\r', pos);
        qsizetype next = 0;
        if (lineEnd < 0) {
            lineEnd = end;
            next = end;
        } else {
            next = lineEnd + 1;
            if (next < end && text[next] == u'\n')
                ++next;
        }
        table.LineCount = CheckedIncrement(table.LineCount);
        const QStringView line = text.sliced(pos, lineEnd - pos);
        if (IsSeparatorLine(line))
            ++table.SeparatorCount;
        table.slots_.push_back({pos, lineEnd - pos});
        pos = next;
    }
    if (table.LineCount > 0)
        table.slots_.push_back({});
    return table;
}

LineTable LoadLineTable(const QString &quotePath)
{
    const QuoteFileBytes file = ReadQuoteFile(quotePath);
    if (file.passedLimit) {
        // Line by line, the 32,768th line would have been met before the end
        // of so much text; only a file that gets that far is "too large".
        const auto lineEnds = std::count(file.bytes.cbegin(), file.bytes.cend(), '\r');
        if (lineEnds >= 32767)
            RaiseFailure(ErrorCodes::Overflow);
        RaiseFailure(ErrorCodes::OutOfMemory);
    }
    return LoadLineTable(QByteArrayView(file.bytes));
}

} // namespace quoteshow
