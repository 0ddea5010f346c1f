#pragma once
// The quote files the benchmarks read, written on the fly so that no large
// file lives in the repository.

#include <QByteArray>
#include <QString>

namespace quoteshow::bench {

// The most lines a file may have and still be shown.
inline constexpr int kLargestShownLineCount = 32766;
inline constexpr qsizetype kLongLineBytes = qsizetype(16) * 1024 * 1024;

// 32,766 CRLF lines of about 80 characters; every fifth line is "***".
QByteArray LargestShownFile();

// One line of 16 MiB, no line terminator and no separator.
QByteArray OneLongLineFile();

// Writes `bytes` to `path`; false when that fails.
bool WriteFile(const QString &path, const QByteArray &bytes);

} // namespace quoteshow::bench
