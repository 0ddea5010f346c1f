#pragma once
// Reading a quote file into its table of lines.
//
// A line ends at a carriage return or at a carriage return and line feed; a
// line feed on its own stays inside the line. A separator line starts with
// "***" and closes the quote written above it.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace quoteshow {

class LineTable {
public:
    // Slot `index` of the table; a read outside the table (which has no slots
    // at all after an empty file) raises a Failure "Subscript out of range".
    QStringView Slot(std::int16_t index) const;

    std::int16_t LineCount = 0;
    int SeparatorCount = 0;

private:
    friend LineTable LoadLineTable(QByteArrayView fileBytes);

    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    QString text_;
    // LineCount + 1 slots, the last one empty; no slots when no line was read.
    std::vector<Span> slots_;
};

bool IsSeparatorLine(QStringView line);

// Splits a quote file's bytes into lines. Raises an overflow Failure when the
// file has more than 32,767 lines.
LineTable LoadLineTable(QByteArrayView fileBytes);

// Opens and reads the quote file at `quotePath`, relative paths taken from the
// current directory. Raises a Failure when it cannot be opened or read, or
// when its text passes the size bound.
LineTable LoadLineTable(const QString &quotePath);

} // namespace quoteshow
