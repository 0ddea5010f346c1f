#pragma once
// Reads a quote file's bytes, read-only, with a bound on their size so that an
// endless or enormous file ends in a message instead of exhausted memory.

#include <QByteArray>
#include <QString>

namespace quoteshow {

// Far above any quote file that can be shown (those hold at most 32,766 lines).
inline constexpr qsizetype kQuoteFileLimitBytes = qsizetype(64) * 1024 * 1024;

struct QuoteFileBytes {
    QByteArray bytes;       // at most limitBytes of the file's start
    bool passedLimit = false;
};

// Raises a Failure when the file cannot be opened or read.
QuoteFileBytes ReadQuoteFile(const QString &quotePath, qsizetype limitBytes = kQuoteFileLimitBytes);

} // namespace quoteshow
