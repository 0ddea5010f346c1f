#include "quotes/LineTable.h"

#include "quotes/CheckedCounter.h"
#include "quotes/ErrorFacility.h"
#include "quotes/LineEnds.h"
#include "quotes/QuoteFileReader.h"
#include "quotes/TextDecoding.h"

#include <algorithm>

namespace quoteshow {

namespace {

// "***" is plain ASCII, so in UTF-8 and in Windows-1252 alike the first three
// characters are "***" exactly when the first three bytes are.
bool StartsWithSeparator(const char *line, qsizetype length)
{
    return length >= 3 && line[0] == '*' && line[1] == '*' && line[2] == '*';
}

} // namespace

void LineTable::RaiseOutOfRange()
{
    RaiseFailure(ErrorCodes::SubscriptOutOfRange);
}

QString LineTable::Slot(std::int16_t index) const
{
    const Span &span = SpanAt(index);
    const QByteArrayView line = QByteArrayView(bytes_).sliced(span.start, span.length);
    // A line of a valid UTF-8 file is valid UTF-8 on its own: it was cut at
    // carriage returns, which never occur inside a multi-byte sequence.
    return utf8_ ? DecodeUtf8KeepingBom(line) : DecodeWindows1252(line);
}

bool IsSeparatorLine(QStringView line)
{
    return line.startsWith(u"***");
}

LineTable LoadLineTableFromBytes(QByteArray fileBytes)
{
    LineTable table;
    table.bytes_ = std::move(fileBytes);
    const char *const text = table.bytes_.constData();
    const qsizetype end = table.bytes_.size();
    // A guess that spares most regrowing for files of typical line lengths.
    table.slots_.reserve(std::size_t(std::min<qsizetype>(32768, end / 32 + 2)));
    CarriageReturnFinder lineEnds{QByteArrayView(table.bytes_)};
    qsizetype pos = 0;
    while (pos < end) {
        const qsizetype carriageReturn = lineEnds.Next();
        // The last line needs no terminator.
        const qsizetype lineEnd = carriageReturn < 0 ? end : carriageReturn;
        table.LineCount = CheckedIncrement(table.LineCount);
        const bool separator = StartsWithSeparator(text + pos, lineEnd - pos);
        table.SeparatorCount += separator ? 1 : 0;
        table.slots_.push_back({std::uint32_t(pos), std::uint32_t(lineEnd - pos), separator});
        pos = lineEnd + 1;
        if (pos < end && text[pos] == '\n')
            ++pos;
    }
    if (table.LineCount > 0)
        table.slots_.push_back({});
    // Pure ASCII, the common case, is valid UTF-8 without a second look.
    while (lineEnds.Next() >= 0) {
    }
    table.utf8_ = !lineEnds.SawNonAscii() || QByteArrayView(table.bytes_).isValidUtf8();
    return table;
}

LineTable LoadLineTable(QByteArrayView fileBytes)
{
    return LoadLineTableFromBytes(fileBytes.toByteArray());
}

LineTable LoadLineTable(const QString &quotePath)
{
    QuoteFileBytes file = ReadQuoteFile(quotePath);
    if (file.passedLimit) {
        // Line by line, the 32,768th line would have been met before the end
        // of so much text; only a file that gets that far is "too large".
        CarriageReturnFinder finder{QByteArrayView(file.bytes)};
        int lineEnds = 0;
        while (lineEnds < 32767 && finder.Next() >= 0)
            ++lineEnds;
        if (lineEnds >= 32767)
            RaiseFailure(ErrorCodes::Overflow);
        RaiseFailure(ErrorCodes::OutOfMemory);
    }
    return LoadLineTableFromBytes(std::move(file.bytes));
}

} // namespace quoteshow
