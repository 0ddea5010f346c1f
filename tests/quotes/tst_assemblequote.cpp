// Collecting the chosen quote's lines, each followed by a carriage return,
// from a walk over every slot of the line table.

#include "FailureCapture.h"
#include "quotes/AssembleQuote.h"
#include "quotes/ErrorFacility.h"
#include "quotes/LineTable.h"

#include <QTest>

using namespace quoteshow;
using quoteshow::testing::FailureRaisedBy;

class AssembleQuoteTest : public QObject {
    Q_OBJECT

private slots:
    void assemblesQuote_data();
    void assemblesQuote();
};

void AssembleQuoteTest::assemblesQuote_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<int>("chosenQuote");
    QTest::addColumn<QString>("quoteText");
    QTest::addColumn<int>("errorCode"); // 0: the quote is assembled

    const QByteArray twoQuotes("A\r***\rB\rC\r***\rD");

    QTest::newRow("A sep B, quote 1") << QByteArray("A\r***\rB\r") << 1 << "A\r" << 0;
    QTest::newRow("A sep B unterminated, quote 1") << QByteArray("A\r***\rB") << 1 << "A\r" << 0;
    QTest::newRow("A sep B, after last separator") << QByteArray("A\r***\rB\r") << 2 << "B\r\r" << 0;
    QTest::newRow("two quotes, quote 1") << twoQuotes << 1 << "A\r" << 0;
    QTest::newRow("two quotes, quote 2") << twoQuotes << 2 << "B\rC\r" << 0;
    QTest::newRow("two quotes, after last separator") << twoQuotes << 3 << "D\r\r" << 0;
    QTest::newRow("ends with separator, after last separator")
        << QByteArray("A\r***\r") << 2 << "\r" << 0;
    QTest::newRow("no separator") << QByteArray("A\rB") << 1 << "A\rB\r\r" << 0;
    QTest::newRow("first line separator, quote 1") << QByteArray("***\rA\r***\r") << 1 << "" << 0;
    QTest::newRow("first line separator, quote 2") << QByteArray("***\rA\r***\r") << 2 << "A\r" << 0;
    QTest::newRow("separators in a row, empty quote")
        << QByteArray("A\r***\r***\rB\r***\r") << 2 << "" << 0;
    QTest::newRow("separators in a row, next quote")
        << QByteArray("A\r***\r***\rB\r***\r") << 3 << "B\r" << 0;
    QTest::newRow("blank line inside quote")
        << QByteArray("A\r\rB\r***\r") << 1 << "A\r\rB\r" << 0;
    QTest::newRow("crlf file gives cr only")
        << QByteArray("A\r\nB\r\n***\r\nC\r\n") << 1 << "A\rB\r" << 0;
    QTest::newRow("lf only file is quote 1 whole")
        << QByteArray("A\nB\n***\nC\n") << 1 << "A\nB\n***\nC\n\r\r" << 0;
    QTest::newRow("text after asterisks never shown")
        << QByteArray("A\r*** by B\rC\r**** D\r") << 2 << "C\r" << 0;
    QTest::newRow("short asterisk lines are quote lines")
        << QByteArray("*\r**\r ***\r***\rB") << 1 << "*\r**\r ***\r" << 0;

    QTest::newRow("empty file, quote 1") << QByteArray() << 1 << "" << int(ErrorCodes::SubscriptOutOfRange);
    // The separator test reads slot 0 even when quote 1 is not the chosen one.
    QTest::newRow("empty file, quote 2") << QByteArray() << 2 << "" << int(ErrorCodes::SubscriptOutOfRange);

    const QByteArray closedQuote("A\r***\r");
    QTest::newRow("32766 lines, quote 1")
        << QByteArray(closedQuote + QByteArray("x\r").repeated(32764)) << 1 << "A\r" << 0;
    QTest::newRow("32766 lines, after last separator")
        << QByteArray(closedQuote + QByteArray("x\r").repeated(32764)) << 2
        << QString("x\r").repeated(32764) + "\r" << 0;
    QTest::newRow("32766 lines without separator")
        << QByteArray("x\r").repeated(32766) << 1 << QString("x\r").repeated(32766) + "\r" << 0;
    // The walk goes on past a finished quote, so its index still overflows.
    QTest::newRow("32767 lines, quote 1 finished early")
        << QByteArray(closedQuote + QByteArray("x\r").repeated(32765)) << 1 << ""
        << int(ErrorCodes::Overflow);
    QTest::newRow("32767 lines, after last separator")
        << QByteArray(closedQuote + QByteArray("x\r").repeated(32765)) << 2 << ""
        << int(ErrorCodes::Overflow);
    QTest::newRow("32767 separator lines")
        << QByteArray("***\r").repeated(32767) << 1 << "" << int(ErrorCodes::Overflow);
}

void AssembleQuoteTest::assemblesQuote()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(int, chosenQuote);
    QFETCH(QString, quoteText);
    QFETCH(int, errorCode);

    const LineTable table = LoadLineTable(QByteArrayView(fileBytes));
    QString assembled;
    const auto failure = FailureRaisedBy([&] { assembled = AssembleQuote(table, chosenQuote); });
    if (errorCode != 0) {
        QVERIFY2(failure.has_value(), "the walk must fail");
        QCOMPARE(failure->ErrorCode, errorCode);
        QCOMPARE(failure->ErrorDescription, ErrorDescriptionFor(errorCode));
        return;
    }
    QVERIFY2(!failure.has_value(),
             qPrintable(QString("failed with %1 %2").arg(failure ? failure->ErrorCode : 0)
                            .arg(failure ? failure->ErrorDescription : QString())));
    QCOMPARE(assembled, quoteText);
}

QTEST_GUILESS_MAIN(AssembleQuoteTest)
#include "tst_assemblequote.moc"
