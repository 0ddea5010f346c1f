// Choosing the quote number: the single-precision arithmetic of the choice,
// the draw values the generator can give, and the drawn choice itself.

#include "quotes/ChooseQuote.h"

#include <QTest>

#include <cmath>
#include <set>
#include <vector>

using namespace quoteshow;

namespace {

// The largest single-precision value below 1: 1 - 2^-24.
constexpr float kLargestDraw = 1.0f - 1.0f / 16777216.0f;
constexpr std::uint32_t kDrawValues = 1u << 24;

} // namespace

class ChooseQuoteTest : public QObject {
    Q_OBJECT

private slots:
    void quoteNumberFor_data();
    void quoteNumberFor();
    void largestDrawRoundsUpOnlyForPowersOfTwo();
    void everyDrawValue_data();
    void everyDrawValue();
    void uniformFromBits_data();
    void uniformFromBits();
    void chooseQuoteStaysInRange_data();
    void chooseQuoteStaysInRange();
};

void ChooseQuoteTest::quoteNumberFor_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("separatorCount");
    QTest::addColumn<int>("quoteNumber");

    // Power-of-two counts: the sum ties halfway and goes to the even count + 1.
    QTest::newRow("largest r, count 1") << kLargestDraw << 1 << 2;
    QTest::newRow("largest r, count 2") << kLargestDraw << 2 << 3;
    QTest::newRow("largest r, count 4") << kLargestDraw << 4 << 5;
    QTest::newRow("largest r, count 16384") << kLargestDraw << 16384 << 16385;
    // Other counts keep the largest r on the last quote.
    QTest::newRow("largest r, count 3") << kLargestDraw << 3 << 3;
    QTest::newRow("largest r, count 30") << kLargestDraw << 30 << 30;
    QTest::newRow("largest r, count 32766") << kLargestDraw << 32766 << 32766;
    QTest::newRow("largest r, count 32767") << kLargestDraw << 32767 << 32767;
    // The next value down is an ordinary draw even for a power of two.
    QTest::newRow("second largest r, count 1") << std::nextafter(kLargestDraw, 0.0f) << 1 << 1;
    QTest::newRow("second largest r, count 16384")
        << std::nextafter(kLargestDraw, 0.0f) << 16384 << 16384;

    QTest::newRow("r 0, count 30") << 0.0f << 30 << 1;
    QTest::newRow("r 0, count 32767") << 0.0f << 32767 << 1;
    QTest::newRow("no separator, r 0") << 0.0f << 0 << 1;
    QTest::newRow("no separator, r 0.5") << 0.5f << 0 << 1;
    QTest::newRow("no separator, largest r") << kLargestDraw << 0 << 1;
    QTest::newRow("r 0.4, count 30") << 0.4f << 30 << 13;
    // The product rounded on its own lands just below a whole number, and the
    // sum then ties upward; one rounding of the exact r * count + 1 (a fused
    // multiply-add, or double precision) would stay one quote lower.
    QTest::newRow("product rounded first, count 1000")
        << 4294967.0f / 16777216.0f << 1000 << 257;
    QTest::newRow("product rounded first, count 16385")
        << 16776191.0f / 16777216.0f << 16385 << 16385;
    QTest::newRow("r 0.5, count 2") << 0.5f << 2 << 2;
    QTest::newRow("draw below 0.5, count 2") << 0.5f - 1.0f / 16777216.0f << 2 << 1;
}

void ChooseQuoteTest::quoteNumberFor()
{
    QFETCH(float, r);
    QFETCH(int, separatorCount);
    QFETCH(int, quoteNumber);

    QCOMPARE(QuoteNumberFor(r, separatorCount), quoteNumber);
}

void ChooseQuoteTest::largestDrawRoundsUpOnlyForPowersOfTwo()
{
    for (int count = 1; count <= 32767; ++count) {
        const bool powerOfTwo = (count & (count - 1)) == 0;
        const int got = QuoteNumberFor(kLargestDraw, count);
        const int expected = powerOfTwo ? count + 1 : count;
        if (got != expected)
            QFAIL(qPrintable(QString("count %1: quote %2, expected %3").arg(count).arg(got).arg(expected)));
    }
}

void ChooseQuoteTest::everyDrawValue_data()
{
    QTest::addColumn<int>("separatorCount");
    QTest::addColumn<int>("drawsAfterLastQuote");

    QTest::newRow("count 1") << 1 << 1;
    QTest::newRow("count 3") << 3 << 0;
    QTest::newRow("count 30") << 30 << 0;
    QTest::newRow("count 16384") << 16384 << 1;
    QTest::newRow("count 32767") << 32767 << 0;
}

void ChooseQuoteTest::everyDrawValue()
{
    QFETCH(int, separatorCount);
    QFETCH(int, drawsAfterLastQuote);

    // Runs through all 2^24 values the generator can give.
    std::vector<std::uint32_t> hits(std::size_t(separatorCount) + 2, 0);
    int previous = 1;
    for (std::uint32_t bits = 0; bits < kDrawValues; ++bits) {
        const int quote = QuoteNumberFor(UniformFromBits(bits), separatorCount);
        if (quote < previous || quote > separatorCount + 1)
            QFAIL(qPrintable(QString("draw %1 gave quote %2 after %3").arg(bits).arg(quote).arg(previous)));
        ++hits[std::size_t(quote)];
        previous = quote;
    }
    QCOMPARE(int(hits[0]), 0);
    QCOMPARE(int(hits[std::size_t(separatorCount) + 1]), drawsAfterLastQuote);
    if (drawsAfterLastQuote == 1)
        QCOMPARE(QuoteNumberFor(UniformFromBits(kDrawValues - 1), separatorCount), separatorCount + 1);

    // Every quote gets its fair share of draws, give or take the rounding
    // at each boundary.
    const double fairShare = double(kDrawValues) / separatorCount;
    for (int quote = 1; quote <= separatorCount; ++quote) {
        const double share = hits[std::size_t(quote)];
        if (std::abs(share - fairShare) > 2.0 + drawsAfterLastQuote)
            QFAIL(qPrintable(QString("quote %1 drawn by %2 values, fair share %3")
                                 .arg(quote).arg(share).arg(fairShare)));
    }
}

void ChooseQuoteTest::uniformFromBits_data()
{
    QTest::addColumn<quint64>("bits");
    QTest::addColumn<float>("r");

    QTest::newRow("zero") << quint64(0) << 0.0f;
    QTest::newRow("lowest bit") << quint64(1) << 1.0f / 16777216.0f;
    QTest::newRow("half") << quint64(0x800000) << 0.5f;
    QTest::newRow("all 24 bits") << quint64(0xFFFFFF) << std::nextafter(1.0f, 0.0f);
    QTest::newRow("bit 24 alone is ignored") << quint64(0x1000000) << 0.0f;
    QTest::newRow("high bits ignored, low bits kept") << quint64(0xFFFFFFFFFF000001) << 1.0f / 16777216.0f;
    QTest::newRow("all 64 bits") << ~quint64(0) << kLargestDraw;
}

void ChooseQuoteTest::uniformFromBits()
{
    QFETCH(quint64, bits);
    QFETCH(float, r);

    const float got = UniformFromBits(bits);
    QCOMPARE(got, r);
    QVERIFY(got >= 0.0f && got < 1.0f);
}

void ChooseQuoteTest::chooseQuoteStaysInRange_data()
{
    QTest::addColumn<int>("separatorCount");
    QTest::addColumn<int>("minimumDistinct");

    // 3000 fresh draws: how many different quotes they must reach at least
    // (far below what a working generator gives, so this never flickers).
    QTest::newRow("no separator") << 0 << 1;
    QTest::newRow("one quote") << 1 << 1;
    QTest::newRow("two quotes") << 2 << 2;
    QTest::newRow("30 quotes") << 30 << 30;
    QTest::newRow("32767 quotes") << 32767 << 2000;
}

void ChooseQuoteTest::chooseQuoteStaysInRange()
{
    QFETCH(int, separatorCount);
    QFETCH(int, minimumDistinct);

    std::set<int> seen;
    for (int call = 0; call < 3000; ++call) {
        const int quote = ChooseQuote(separatorCount);
        if (quote < 1 || quote > separatorCount + 1)
            QFAIL(qPrintable(QString("quote %1 outside 1..%2").arg(quote).arg(separatorCount + 1)));
        if (separatorCount == 0 && quote != 1)
            QFAIL(qPrintable(QString("a file without separator gave quote %1").arg(quote)));
        seen.insert(quote);
    }
    QVERIFY2(int(seen.size()) >= minimumDistinct,
             qPrintable(QString("only %1 different quotes in 3000 draws").arg(seen.size())));
}

QTEST_GUILESS_MAIN(ChooseQuoteTest)
#include "tst_choosequote.moc"
