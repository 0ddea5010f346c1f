// Splitting a quote file's bytes into lines, counting separator lines, and
// the bounds of the resulting table.

#include "FailureCapture.h"
#include "quotes/ErrorFacility.h"
#include "quotes/LineTable.h"

#include <QTest>

using namespace quoteshow;
using quoteshow::testing::FailureRaisedBy;

namespace {

// Every slot, the empty last one included.
QStringList SlotsOf(const LineTable &table)
{
    QStringList slotTexts;
    for (int index = 0; index <= table.LineCount; ++index)
        slotTexts << table.Slot(std::int16_t(index));
    return slotTexts;
}

QByteArray Repeated(const QByteArray &piece, int times)
{
    return piece.repeated(times);
}

} // namespace

class LineTableTest : public QObject {
    Q_OBJECT

private slots:
    void splitsLines_data();
    void splitsLines();
    void detectsSeparatorLines_data();
    void detectsSeparatorLines();
    void emptyFileHasNoTable();
    void lineEndsAtEveryOffset_data();
    void lineEndsAtEveryOffset();
    void boundsLineCount_data();
    void boundsLineCount();
};

void LineTableTest::splitsLines_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QStringList>("expectedSlots");
    QTest::addColumn<int>("separatorCount");

    const QStringList aSepB{"A", "***", "B", ""};
    QTest::newRow("cr terminated") << QByteArray("A\r***\rB\r") << aSepB << 1;
    QTest::newRow("crlf terminated") << QByteArray("A\r\n***\r\nB\r\n") << aSepB << 1;
    QTest::newRow("no terminator after last line") << QByteArray("A\r***\rB") << aSepB << 1;
    QTest::newRow("cr and crlf mixed") << QByteArray("A\r\n***\rB\r\n") << aSepB << 1;
    QTest::newRow("lone lf stays inside line")
        << QByteArray("A\nB\rC") << QStringList{"A\nB", "C", ""} << 0;
    QTest::newRow("lf only file is one line")
        << QByteArray("A\n***\nB\n") << QStringList{"A\n***\nB\n", ""} << 0;
    QTest::newRow("lf before cr belongs to line")
        << QByteArray("A\n\rB") << QStringList{"A\n", "B", ""} << 0;
    QTest::newRow("crlf takes only one lf")
        << QByteArray("A\r\n\nB") << QStringList{"A", "\nB", ""} << 0;
    QTest::newRow("lf cr is not a terminator pair")
        << QByteArray("A\n\r\nB") << QStringList{"A\n", "B", ""} << 0;
    QTest::newRow("A cr cr gives empty second line")
        << QByteArray("A\r\r") << QStringList{"A", "", ""} << 0;
    QTest::newRow("A crlf crlf gives empty second line")
        << QByteArray("A\r\n\r\n") << QStringList{"A", "", ""} << 0;
    QTest::newRow("lone cr is one empty line") << QByteArray("\r") << QStringList{"", ""} << 0;
    QTest::newRow("lone crlf is one empty line") << QByteArray("\r\n") << QStringList{"", ""} << 0;
    QTest::newRow("lone lf is one line") << QByteArray("\n") << QStringList{"\n", ""} << 0;
    QTest::newRow("blank lines are lines")
        << QByteArray("A\r\r\rB\r") << QStringList{"A", "", "", "B", ""} << 0;
    QTest::newRow("no trimming")
        << QByteArray("  A \t\r B  \r\n\t") << QStringList{"  A \t", " B  ", "\t", ""} << 0;
    QTest::newRow("nul byte inside line")
        << QByteArray("A\0B\rC", 5) << QStringList{QString("A") + QChar(0) + "B", "C", ""} << 0;
    QTest::newRow("two quotes and trailing note")
        << QByteArray("An apple a day\r\nkeeps the doctor away.\r\n***\r\n"
                      "Look before you leap.\r\n*** 2\r\nTrailing note\r\n")
        << QStringList{"An apple a day", "keeps the doctor away.", "***",
                       "Look before you leap.", "*** 2", "Trailing note", ""}
        << 2;
    QTest::newRow("separators in a row")
        << QByteArray("***\r***\r****\r") << QStringList{"***", "***", "****", ""} << 3;
    QTest::newRow("bom before separator is part of the line")
        << QByteArray("\xEF\xBB\xBF***\rA\r***")
        << QStringList{QString(QChar(0xFEFF)) + "***", "A", "***", ""} << 1;
}

void LineTableTest::splitsLines()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(QStringList, expectedSlots);
    QFETCH(int, separatorCount);

    const LineTable table = LoadLineTable(QByteArrayView(fileBytes));
    QCOMPARE(int(table.LineCount), expectedSlots.size() - 1);
    QCOMPARE(table.SeparatorCount, separatorCount);
    QCOMPARE(SlotsOf(table), expectedSlots);

    // Reads past either end of the table are refused, not answered with junk.
    for (const int outside : {-1, int(table.LineCount) + 1}) {
        const auto failure = FailureRaisedBy([&] { table.Slot(std::int16_t(outside)); });
        QVERIFY2(failure.has_value(), qPrintable(QString("slot %1 was readable").arg(outside)));
        QCOMPARE(failure->ErrorCode, ErrorCodes::SubscriptOutOfRange);
    }
}

void LineTableTest::detectsSeparatorLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("isSeparator");

    QTest::newRow("three asterisks") << QString("***") << true;
    QTest::newRow("four asterisks") << QString("****") << true;
    QTest::newRow("three asterisks and text") << QString("*** text") << true;
    QTest::newRow("three asterisks and digit") << QString("***2") << true;
    QTest::newRow("three asterisks and trailing blank") << QString("*** ") << true;
    QTest::newRow("two asterisks") << QString("**") << false;
    QTest::newRow("one asterisk") << QString("*") << false;
    QTest::newRow("empty line") << QString("") << false;
    QTest::newRow("blank before asterisks") << QString(" ***") << false;
    QTest::newRow("tab before asterisks") << QString("\t***") << false;
    QTest::newRow("letter before asterisks") << QString("x***") << false;
    QTest::newRow("asterisks split by blank") << QString("** *") << false;
    QTest::newRow("fullwidth asterisks") << QString::fromUtf8("\uFF0A\uFF0A\uFF0A") << false;
    QTest::newRow("asterisk operators") << QString::fromUtf8("\u2217\u2217\u2217") << false;
}

void LineTableTest::detectsSeparatorLines()
{
    QFETCH(QString, line);
    QFETCH(bool, isSeparator);

    QCOMPARE(IsSeparatorLine(line), isSeparator);

    // The same line read from a file, once alone and once between quotes.
    const QByteArray alone = line.toUtf8();
    const LineTable aloneTable = LoadLineTable(QByteArrayView(alone));
    QCOMPARE(aloneTable.SeparatorCount, isSeparator ? 1 : 0);

    const QByteArray framed = "A\r\n" + alone + "\r\nB\r\n";
    const LineTable framedTable = LoadLineTable(QByteArrayView(framed));
    QCOMPARE(int(framedTable.LineCount), 3);
    QCOMPARE(framedTable.Slot(1), line);
    QCOMPARE(framedTable.SeparatorCount, isSeparator ? 1 : 0);
}

// Line ends are searched 64 bytes at a time with a byte-wise tail: a line end
// or a non-ASCII byte on either side of a block edge must be found alike.
void LineTableTest::lineEndsAtEveryOffset_data()
{
    QTest::addColumn<int>("fileBytes");
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<char>("filler");

    for (const int size : {15, 16, 17, 63, 64, 65, 127, 128, 129, 200}) {
        QTest::addRow("CR in %d bytes", size) << size << QByteArray("\r") << 'a';
        QTest::addRow("CR LF in %d bytes", size) << size << QByteArray("\r\n") << 'a';
        // 0xE9 is not UTF-8 on its own: the file is read as Windows-1252.
        QTest::addRow("CR in %d bytes of Windows-1252", size) << size << QByteArray("\r") << char(0xE9);
    }
}

void LineTableTest::lineEndsAtEveryOffset()
{
    QFETCH(int, fileBytes);
    QFETCH(QByteArray, lineEnd);
    QFETCH(char, filler);

    const QString fillerText = filler == 'a' ? QStringLiteral("a") : QStringLiteral("\u00e9");
    for (int at = 0; at + lineEnd.size() <= fileBytes; ++at) {
        const QByteArray bytes =
            QByteArray(at, filler) + lineEnd + QByteArray(fileBytes - at - lineEnd.size(), filler);
        QStringList expected{fillerText.repeated(at)};
        if (at + lineEnd.size() < fileBytes)
            expected << fillerText.repeated(fileBytes - at - lineEnd.size());
        expected << QString();
        const LineTable table = LoadLineTable(QByteArrayView(bytes));
        QCOMPARE(SlotsOf(table), expected);
    }
}

void LineTableTest::emptyFileHasNoTable()
{
    const LineTable table = LoadLineTable(QByteArrayView(QByteArray()));
    QCOMPARE(int(table.LineCount), 0);
    QCOMPARE(table.SeparatorCount, 0);
    const auto failure = FailureRaisedBy([&] { table.Slot(0); });
    QVERIFY2(failure.has_value(), "an empty file must leave no slot 0");
    QCOMPARE(failure->ErrorCode, ErrorCodes::SubscriptOutOfRange);
    QCOMPARE(failure->ErrorDescription, QString("Subscript out of range"));
}

void LineTableTest::boundsLineCount_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<int>("lineCount"); // 0 when reading must fail with overflow
    QTest::addColumn<QString>("lastLine");

    QTest::newRow("32766 lines") << Repeated("x\r", 32766) << 32766 << "x";
    QTest::newRow("32767 cr lines") << Repeated("x\r", 32767) << 32767 << "x";
    QTest::newRow("32767 crlf lines") << Repeated("x\r\n", 32767) << 32767 << "x";
    QTest::newRow("32767 lines last unterminated")
        << QByteArray(Repeated("x\r", 32766) + "y") << 32767 << "y";
    QTest::newRow("32767 empty lines") << Repeated("\r", 32767) << 32767 << "";
    QTest::newRow("32768 lines") << Repeated("x\r", 32768) << 0 << "";
    QTest::newRow("32768th line unterminated")
        << QByteArray(Repeated("x\r", 32767) + "y") << 0 << "";
    QTest::newRow("32768 empty lines") << Repeated("\r", 32768) << 0 << "";
    QTest::newRow("70000 lines") << Repeated("x\r\n", 70000) << 0 << "";
}

void LineTableTest::boundsLineCount()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(int, lineCount);
    QFETCH(QString, lastLine);

    if (lineCount == 0) {
        const auto failure = FailureRaisedBy([&] { LoadLineTable(QByteArrayView(fileBytes)); });
        QVERIFY2(failure.has_value(), "more than 32767 lines must not load");
        QCOMPARE(failure->ErrorCode, ErrorCodes::Overflow);
        QCOMPARE(failure->ErrorDescription, QString("Overflow"));
        return;
    }
    const LineTable table = LoadLineTable(QByteArrayView(fileBytes));
    QCOMPARE(int(table.LineCount), lineCount);
    QCOMPARE(table.Slot(std::int16_t(lineCount - 1)), lastLine);
    QVERIFY(table.Slot(std::int16_t(lineCount)).isEmpty());
    QCOMPARE(table.SeparatorCount, 0);
}

QTEST_GUILESS_MAIN(LineTableTest)
#include "tst_linetable.moc"
