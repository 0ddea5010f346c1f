#include "bench/QuoteFileGenerator.h"

#include <QFile>

#include <array>
#include <cstdint>

namespace quoteshow::bench {
namespace {

constexpr std::array<const char *, 16> kWords{
    "the", "early", "bird", "catches", "worm", "but", "second", "mouse",
    "gets", "cheese", "a", "watched", "pot", "never", "boils", "fortune",
};

// A fixed sequence, so that every run reads the same file.
class WordSource {
public:
    const char *Next()
    {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return kWords[(state_ >> 60) & 15u];
    }

private:
    std::uint64_t state_ = 1;
};

} // namespace

QByteArray LargestShownFile()
{
    constexpr int kQuoteLines = 4; // text lines before each "***"
    constexpr qsizetype kLineChars = 80;
    WordSource words;
    QByteArray file;
    file.reserve(qsizetype(kLargestShownLineCount) * (kLineChars + 12));
    for (int line = 0; line < kLargestShownLineCount; ++line) {
        if (line % (kQuoteLines + 1) == kQuoteLines) {
            file += "***\r\n";
            continue;
        }
        const qsizetype lineStart = file.size();
        while (file.size() - lineStart < kLineChars) {
            if (file.size() > lineStart)
                file += ' ';
            file += words.Next();
        }
        file += "\r\n";
    }
    return file;
}

QByteArray OneLongLineFile()
{
    QByteArray file;
    file.reserve(kLongLineBytes);
    WordSource words;
    while (file.size() < kLongLineBytes) {
        file += words.Next();
        file += ' ';
    }
    file.truncate(kLongLineBytes);
    return file;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.flush();
}

} // namespace quoteshow::bench
