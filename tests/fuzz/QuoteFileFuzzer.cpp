// libFuzzer target: arbitrary bytes as a quote file, read into the line table,
// a quote chosen for three draws and assembled. Every result is compared with
// a deliberately simple second reading of the same text written here, so a
// wrong line, quote or error code stops the run, not only a crash.

#include "quotes/AssembleQuote.h"
#include "quotes/ChooseQuote.h"
#include "quotes/ErrorFacility.h"
#include "quotes/Failure.h"
#include "quotes/LineTable.h"
#include "quotes/TextDecoding.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using quoteshow::Failure;
namespace ErrorCodes = quoteshow::ErrorCodes;

constexpr int kMaxLines = 32767;
constexpr float kLargestBelowOne = 1.0f - 1.0f / 16777216.0f; // 1 - 2^-24

[[noreturn]] void Violated(const char *what, const QString &detail = {})
{
    std::fprintf(stderr, "quote file invariant violated: %s %s\n", what,
                 detail.toUtf8().constData());
    std::abort();
}

void Expect(bool holds, const char *what, const QString &detail = {})
{
    if (!holds)
        Violated(what, detail);
}

// Lines end at CR or CRLF; a lone LF is text; a final terminator adds no line.
struct SplitText {
    std::vector<QString> lines;
    std::vector<QString> terminators; // "" only for an unterminated last line
};

SplitText SplitSimply(const QString &text)
{
    SplitText split;
    QString current;
    bool lineOpen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            const bool crlf = i + 1 < text.size() && text[i + 1] == u'\n';
            split.lines.push_back(current);
            split.terminators.push_back(crlf ? QStringLiteral("\r\n") : QStringLiteral("\r"));
            current.clear();
            lineOpen = false;
            if (crlf)
                ++i;
        } else {
            current += text[i];
            lineOpen = true;
        }
    }
    if (lineOpen) {
        split.lines.push_back(current);
        split.terminators.push_back(QString());
    }
    return split;
}

bool StartsWithThreeAsterisks(const QString &line)
{
    return line.size() >= 3 && line[0] == u'*' && line[1] == u'*' && line[2] == u'*';
}

// Quote k runs from after separator k-1 up to separator k. One past the last
// separator is the rounding case: the trailing lines plus the empty last slot.
QString ExpectedQuoteText(const std::vector<QString> &lines, int chosenQuote)
{
    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (StartsWithThreeAsterisks(lines[i]))
            separators.push_back(i);
    }
    QString text;
    auto appendLines = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            text += lines[i] + u'\r';
    };
    const auto quoteCount = int(separators.size());
    if (chosenQuote >= 1 && chosenQuote <= quoteCount) {
        const std::size_t from = chosenQuote == 1 ? 0 : separators[std::size_t(chosenQuote) - 2] + 1;
        appendLines(from, separators[std::size_t(chosenQuote) - 1]);
    } else if (chosenQuote == quoteCount + 1) {
        appendLines(quoteCount == 0 ? 0 : separators.back() + 1, lines.size());
        text += u'\r';
    }
    return text;
}

void ExpectFailureCode(const Failure &failure, std::int32_t expectedCode, const char *step)
{
    Expect(failure.ErrorCode == expectedCode, step,
           QStringLiteral("raised code %1, expected %2").arg(failure.ErrorCode).arg(expectedCode));
    Expect(failure.ErrorDescription == quoteshow::ErrorDescriptionFor(expectedCode)
               && !failure.ErrorDescription.isEmpty(),
           step, QStringLiteral("description \"%1\"").arg(failure.ErrorDescription));
}

std::uint64_t Fnv1a(const std::uint8_t *data, std::size_t size)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

// r = 0 always picks quote 1; r = 1 - 2^-24 picks the last quote, or the one
// past it when the count is a power of two; any other r stays in 1..count,
// equal to the exact floor(r * count) + 1 or one above it.
void CheckQuoteNumber(float r, int separatorCount, int number)
{
    const QString detail = QStringLiteral("r=%1 count=%2 number=%3")
                               .arg(double(r), 0, 'g', 10).arg(separatorCount).arg(number);
    const bool powerOfTwo = separatorCount > 0 && (separatorCount & (separatorCount - 1)) == 0;
    if (r == 0.0f) {
        Expect(number == 1, "QuoteNumberFor(0) is not 1", detail);
    } else if (r == kLargestBelowOne) {
        const int expected = separatorCount == 0 ? 1 : powerOfTwo ? separatorCount + 1 : separatorCount;
        Expect(number == expected, "QuoteNumberFor(1 - 2^-24) is wrong", detail);
    } else {
        const double exact = std::floor(double(r) * separatorCount) + 1.0;
        Expect(number >= 1 && number <= std::max(separatorCount, 1), "QuoteNumberFor out of range", detail);
        Expect(number == int(exact) || number == int(exact) + 1, "QuoteNumberFor far from floor(r*n+1)", detail);
    }
}

void CheckAssembly(const quoteshow::LineTable &table, const SplitText &split, int chosenQuote)
{
    const auto lineCount = int(split.lines.size());
    std::optional<QString> quoteText;
    try {
        quoteText = quoteshow::AssembleQuote(table, chosenQuote);
    } catch (const Failure &failure) {
        if (lineCount == 0)
            ExpectFailureCode(failure, ErrorCodes::SubscriptOutOfRange, "AssembleQuote of an empty file");
        else if (lineCount == kMaxLines)
            ExpectFailureCode(failure, ErrorCodes::Overflow, "AssembleQuote of 32767 lines");
        else
            Violated("AssembleQuote raised a Failure", QStringLiteral("code %1, %2 lines, quote %3")
                                                           .arg(failure.ErrorCode).arg(lineCount).arg(chosenQuote));
        return;
    }
    Expect(lineCount != 0, "AssembleQuote of an empty file did not raise code 9");
    Expect(lineCount != kMaxLines, "AssembleQuote of 32767 lines did not raise code 6");
    const QString expected = ExpectedQuoteText(split.lines, chosenQuote);
    Expect(*quoteText == expected, "QuoteText differs",
           QStringLiteral("quote %1: got %2 chars, expected %3").arg(chosenQuote).arg(quoteText->size()).arg(expected.size()));
}

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no encoded
// surrogates, nothing past U+10FFFF.
bool IsWellFormedUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    auto continuation = [&](qsizetype i, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return i < n && p[i] >= low && p[i] <= high;
    };
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            i += 1;
        } else if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF
                   && continuation(i + 1, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF)
                   && continuation(i + 2)) {
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4
                   && continuation(i + 1, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF)
                   && continuation(i + 2) && continuation(i + 3)) {
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

void CheckQuoteFile(const QByteArray &bytes, float middleR)
{
    const QString text = quoteshow::DecodeQuoteText(QByteArrayView(bytes));
    // Well-formed UTF-8 must come through unchanged (a byte-order mark kept
    // as a character); anything else is read byte for byte as Windows-1252.
    if (IsWellFormedUtf8(bytes)) {
        Expect(text.toUtf8() == bytes, "well-formed UTF-8 was not decoded losslessly");
    } else {
        Expect(text.size() == bytes.size() && text == quoteshow::DecodeWindows1252(QByteArrayView(bytes)),
               "malformed UTF-8 was not read as Windows-1252");
    }
    // Both decodings map byte 13 to CR and nothing else to it, so the line
    // structure is that of the bytes.
    Expect(text.count(u'\r') == bytes.count('\r'), "decoding changed the carriage returns");

    const SplitText split = SplitSimply(text);
    QString rejoined;
    for (std::size_t i = 0; i < split.lines.size(); ++i)
        rejoined += split.lines[i] + split.terminators[i];
    Expect(rejoined == text, "the simple split does not cover the text");
    const auto lineCount = int(split.lines.size());

    std::optional<quoteshow::LineTable> table;
    try {
        table = quoteshow::LoadLineTable(QByteArrayView(bytes));
    } catch (const Failure &failure) {
        Expect(lineCount > kMaxLines, "LoadLineTable raised a Failure",
               QStringLiteral("code %1 for %2 lines").arg(failure.ErrorCode).arg(lineCount));
        ExpectFailureCode(failure, ErrorCodes::Overflow, "LoadLineTable of more than 32767 lines");
        return;
    }
    Expect(lineCount <= kMaxLines, "LoadLineTable accepted more than 32767 lines");
    Expect(table->LineCount == lineCount, "LineCount differs",
           QStringLiteral("got %1, expected %2").arg(table->LineCount).arg(lineCount));

    int separatorCount = 0;
    for (const QString &line : split.lines)
        separatorCount += StartsWithThreeAsterisks(line) ? 1 : 0;
    Expect(table->SeparatorCount == separatorCount, "SeparatorCount differs");

    // Slots 0..LineCount-1 are the lines, slot LineCount is empty, nothing
    // else exists; an empty file has no slot at all.
    for (int i = 0; i < lineCount; ++i) {
        Expect(table->Slot(std::int16_t(i)) == split.lines[std::size_t(i)], "slot differs from line",
               QString::number(i));
        const bool separator = StartsWithThreeAsterisks(split.lines[std::size_t(i)]);
        Expect(table->IsSeparatorSlot(std::int16_t(i)) == separator, "IsSeparatorSlot differs", QString::number(i));
        Expect(quoteshow::IsSeparatorLine(table->Slot(std::int16_t(i))) == separator, "IsSeparatorLine differs",
               QString::number(i));
    }
    std::vector<int> outside{-1, lineCount + 1};
    if (lineCount == 0)
        outside.push_back(0);
    else
        Expect(table->Slot(std::int16_t(lineCount)).isEmpty() && !table->IsSeparatorSlot(std::int16_t(lineCount)),
               "the last slot is not empty");
    for (const int index : outside) {
        if (index > kMaxLines)
            continue;
        try {
            (void)table->Slot(std::int16_t(index));
            Violated("a slot outside the table was read", QString::number(index));
        } catch (const Failure &failure) {
            ExpectFailureCode(failure, ErrorCodes::SubscriptOutOfRange, "Slot outside the table");
        }
        try {
            (void)table->IsSeparatorSlot(std::int16_t(index));
            Violated("a slot outside the table was tested", QString::number(index));
        } catch (const Failure &failure) {
            ExpectFailureCode(failure, ErrorCodes::SubscriptOutOfRange, "IsSeparatorSlot outside the table");
        }
    }

    std::vector<int> chosen;
    for (const float r : {0.0f, middleR, kLargestBelowOne}) {
        const int number = quoteshow::QuoteNumberFor(r, separatorCount);
        CheckQuoteNumber(r, separatorCount, number);
        if (std::find(chosen.begin(), chosen.end(), number) == chosen.end())
            chosen.push_back(number);
    }
    for (const int number : chosen)
        CheckAssembly(*table, split, number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const std::uint64_t hash = Fnv1a(data, size);
        const float middleR = quoteshow::UniformFromBits(hash >> 8);
        QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
        // One input in 64 is pushed to the 16-bit line limit: lines in front
        // bring it to 32766, 32767 or 32768 lines, where loading and the walk
        // must fail with an overflow exactly at their bounds. Half the time
        // they are separators, for quote numbers in the tens of thousands.
        // Rarely, because such an input costs as much as a thousand short ones.
        if ((hash & 63u) == 0 && !bytes.isEmpty()) {
            const auto ownLines = qsizetype(SplitSimply(quoteshow::DecodeQuoteText(QByteArrayView(bytes))).lines.size());
            const qsizetype target = kMaxLines - 1 + qsizetype((hash >> 6) % 3);
            const QByteArray paddingLine = (hash >> 40) & 1u ? QByteArray("***\r") : QByteArray("\r");
            if (ownLines < target)
                bytes.prepend(paddingLine.repeated(target - ownLines));
        }
        CheckQuoteFile(bytes, middleR);
    } catch (const Failure &failure) {
        Violated("a Failure escaped", QStringLiteral("code %1").arg(failure.ErrorCode));
    } catch (...) {
        Violated("an unexpected exception escaped");
    }
    return 0;
}
