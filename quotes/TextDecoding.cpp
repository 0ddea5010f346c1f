#include "quotes/TextDecoding.h"

#include <QStringDecoder>

#include <array>

namespace quoteshow {
namespace {

// 0x80..0x9F; the rest of Windows-1252 coincides with Latin-1.
constexpr std::array<char16_t, 32> kHighControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? kHighControlRange[byte - 0x80] : char16_t(byte);
    }
    return text;
}

QString DecodeUtf8KeepingBom(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    return utf8.decode(bytes);
}

QString DecodeQuoteText(QByteArrayView bytes)
{
    return bytes.isValidUtf8() ? DecodeUtf8KeepingBom(bytes) : DecodeWindows1252(bytes);
}

} // namespace quoteshow
