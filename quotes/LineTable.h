#pragma once
// Reading a quote file into its table of lines.
//
// A line ends at a carriage return or at a carriage return and line feed; a
// line feed on its own stays inside the line. A separator line starts with
// "***" and closes the quote written above it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace quoteshow {

class LineTable {
public:
    // Slot `index` of the table as text; a read outside the table (which has
    // no slots at all after an empty file) raises "Subscript out of range".
    QString Slot(std::int16_t index) const;
    // Whether slot `index` is a separator line, with the same bounds check.
    // Inline: the walk asks this of every slot.
    bool IsSeparatorSlot(std::int16_t index) const { return SpanAt(index).separator; }

    std::int16_t LineCount = 0;
    int SeparatorCount = 0;

private:
    friend LineTable LoadLineTableFromBytes(QByteArray fileBytes);

    // Lines are kept as spans of the file's bytes and decoded only when read:
    // a quote file is read whole, but only one quote of it is ever shown.
    // Offsets fit 32 bits: a quote file's text is bounded far below 4 GiB.
    struct Span {
        std::uint32_t start = 0;
        std::uint32_t length : 31 = 0;
        bool separator : 1 = false;
    };
    const Span &SpanAt(std::int16_t index) const
    {
        if (index < 0 || std::size_t(index) >= slots_.size())
            RaiseOutOfRange();
        return slots_[std::size_t(index)];
    }
    [[noreturn]] static void RaiseOutOfRange();

    QByteArray bytes_;
    bool utf8_ = true;
    // LineCount + 1 slots, the last one empty; no slots when no line was read.
    std::vector<Span> slots_;
};

bool IsSeparatorLine(QStringView line);

// Splits a quote file's bytes into lines. Raises an overflow Failure when the
// file has more than 32,767 lines.
LineTable LoadLineTableFromBytes(QByteArray fileBytes);
LineTable LoadLineTable(QByteArrayView fileBytes);

// Opens and reads the quote file at `quotePath`, relative paths taken from the
// current directory. Raises a Failure when it cannot be opened or read, or
// when its text passes the size bound.
LineTable LoadLineTable(const QString &quotePath);

} // namespace quoteshow
