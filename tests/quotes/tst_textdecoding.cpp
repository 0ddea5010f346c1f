// Turning a quote file's bytes into text: UTF-8 when the whole file is valid
// UTF-8, Windows-1252 byte by byte otherwise.

#include "quotes/LineTable.h"
#include "quotes/TextDecoding.h"

#include <QTest>

using namespace quoteshow;

namespace {

// Built from code points directly: QString::fromUcs4 would drop a leading U+FEFF.
QString Chars(std::initializer_list<char32_t> codePoints)
{
    QString text;
    for (const char32_t codePoint : codePoints) {
        if (QChar::requiresSurrogates(codePoint)) {
            text += QChar(QChar::highSurrogate(codePoint));
            text += QChar(QChar::lowSurrogate(codePoint));
        } else {
            text += QChar(char16_t(codePoint));
        }
    }
    return text;
}

} // namespace

class TextDecodingTest : public QObject {
    Q_OBJECT

private slots:
    void decodesQuoteText_data();
    void decodesQuoteText();
    void decodesEveryWindows1252Byte();
    void bomLineIsNotASeparator();
};

void TextDecodingTest::decodesQuoteText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    // Valid UTF-8 is read as UTF-8.
    QTest::newRow("ascii") << QByteArray("Look before you leap.") << QString("Look before you leap.");
    QTest::newRow("utf8 e acute") << QByteArray("caf\xC3\xA9") << Chars({'c', 'a', 'f', 0xE9});
    QTest::newRow("utf8 curly quotes")
        << QByteArray("\xE2\x80\x9Chi\xE2\x80\x9D") << Chars({0x201C, 'h', 'i', 0x201D});
    QTest::newRow("utf8 emoji") << QByteArray("\xF0\x9F\x98\x80!") << Chars({0x1F600, '!'});
    QTest::newRow("utf8 bom kept as character")
        << QByteArray("\xEF\xBB\xBF" "A") << Chars({0xFEFF, 'A'});
    QTest::newRow("utf8 bom alone") << QByteArray("\xEF\xBB\xBF") << Chars({0xFEFF});
    QTest::newRow("nul byte kept") << QByteArray("A\0B", 3) << Chars({'A', 0, 'B'});

    // Anything else is read as Windows-1252.
    QTest::newRow("1252 curly quotes") << QByteArray("\x93hi\x94") << Chars({0x201C, 'h', 'i', 0x201D});
    QTest::newRow("1252 e acute") << QByteArray("caf\xE9") << Chars({'c', 'a', 'f', 0xE9});
    QTest::newRow("1252 e acute before ascii")
        << QByteArray("\xE9t\xE9") << Chars({0xE9, 't', 0xE9});
    QTest::newRow("1252 euro") << QByteArray("5 \x80") << Chars({'5', ' ', 0x20AC});
    QTest::newRow("1252 undefined bytes")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << Chars({0x81, 0x8D, 0x8F, 0x90, 0x9D});
    QTest::newRow("one bad byte makes whole file 1252")
        << QByteArray("\xC3\xA9 \x93") << Chars({0xC3, 0xA9, ' ', 0x201C});
    QTest::newRow("bom in a 1252 file")
        << QByteArray("\xEF\xBB\xBF\x93") << Chars({0xEF, 0xBB, 0xBF, 0x201C});
    QTest::newRow("truncated 3-byte sequence at end")
        << QByteArray("A\xE2\x80") << Chars({'A', 0xE2, 0x20AC});
    QTest::newRow("truncated emoji at end")
        << QByteArray("A\xF0\x9F\x98") << Chars({'A', 0xF0, 0x178, 0x2DC});
    QTest::newRow("lead byte alone at end") << QByteArray("A\xC3") << Chars({'A', 0xC3});
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << Chars({0xC0, 0xAF});
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << Chars({0xED, 0xA0, 0x20AC});
    QTest::newRow("beyond U+10FFFF")
        << QByteArray("\xF4\x90\x80\x80") << Chars({0xF4, 0x0090, 0x20AC, 0x20AC});
    QTest::newRow("bytes ff fe") << QByteArray("\xFF\xFE" "A") << Chars({0xFF, 0xFE, 'A'});
}

void TextDecodingTest::decodesQuoteText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(DecodeQuoteText(QByteArrayView(bytes)), text);

    // The line table holds the same characters.
    const LineTable table = LoadLineTable(QByteArrayView(bytes));
    QCOMPARE(int(table.LineCount), 1);
    QCOMPARE(table.Slot(0), text);
}

void TextDecodingTest::decodesEveryWindows1252Byte()
{
    // 0x80..0x9F from the code page's published table; every other byte is
    // the Latin-1 code point of the same number.
    constexpr char16_t kHighControls[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QByteArray allBytes;
    for (int byte = 0; byte < 256; ++byte)
        allBytes.append(char(byte));

    const QString text = DecodeWindows1252(QByteArrayView(allBytes));
    QCOMPARE(text.size(), 256);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t expected = (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80]
                                                                 : char16_t(byte);
        QVERIFY2(text.at(byte).unicode() == expected,
                 qPrintable(QString("byte 0x%1 gave U+%2, expected U+%3")
                                .arg(byte, 2, 16, QChar('0'))
                                .arg(text.at(byte).unicode(), 4, 16, QChar('0'))
                                .arg(int(expected), 4, 16, QChar('0'))));
    }
    // All 256 bytes together are not valid UTF-8, so a file of them reads the same.
    QCOMPARE(DecodeQuoteText(QByteArrayView(allBytes)), text);
}

void TextDecodingTest::bomLineIsNotASeparator()
{
    const QByteArray fileBytes("\xEF\xBB\xBF***\r\nA\r\n***\r\n");
    const LineTable table = LoadLineTable(QByteArrayView(fileBytes));
    QCOMPARE(int(table.LineCount), 3);
    QCOMPARE(table.SeparatorCount, 1);
    QCOMPARE(table.Slot(0), Chars({0xFEFF, '*', '*', '*'}));
    QVERIFY(!IsSeparatorLine(table.Slot(0)));
}

QTEST_GUILESS_MAIN(TextDecodingTest)
#include "tst_textdecoding.moc"
