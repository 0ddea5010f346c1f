#pragma once
// Turns a quote file's 8-bit text into wide characters.

#include <QByteArrayView>
#include <QString>

namespace quoteshow {

// UTF-8 when the whole text is valid UTF-8 (the encoding of current Linux
// locales); otherwise every byte is read as Windows-1252, the code page of
// quote files written on older Windows systems. A byte-order mark is kept
// as a character: it belongs to the first line like any other bytes.
QString DecodeQuoteText(QByteArrayView bytes);

// Valid UTF-8, with a leading byte-order mark kept as a character.
QString DecodeUtf8KeepingBom(QByteArrayView bytes);

// Every byte as Windows-1252; the five bytes that code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the code points of the same number.
QString DecodeWindows1252(QByteArrayView bytes);

} // namespace quoteshow
