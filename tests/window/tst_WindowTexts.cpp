// The texts the quote window shows: header, title, and quote and path shown
// exactly as written, never read as markup.

#include "resources/VersionInfo.h"
#include "window/Form1.h"
#include "window/WindowTexts.h"

#include <QImage>
#include <QLabel>
#include <QTest>

using namespace quoteshow;

namespace {

// The rightmost column holding a pixel that differs from the label's
// background, or -1 for a blank label.
int InkRightColumn(QLabel *label)
{
    const QImage image = label->grab().toImage();
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != background)
                return x;
        }
    }
    return -1;
}

} // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT

private slots:
    void headerText_data();
    void headerText();
    void windowTitle_data();
    void windowTitle();
    void programTitle();
    void shownLiterally_data();
    void shownLiterally();
};

void WindowTextsTest::headerText_data()
{
    QTest::addColumn<QString>("quotePath");
    QTest::addColumn<int>("chosenQuote");
    QTest::addColumn<QString>("expected");

    // Two blanks before "Quote", and a blank where a negative sign would be.
    QTest::newRow("default file") << "Jokes.TXT" << 7 << "File: Jokes.TXT  Quote # 7";
    QTest::newRow("first quote") << "q.txt" << 1 << "File: q.txt  Quote # 1";
    QTest::newRow("largest count") << "q.txt" << 32767 << "File: q.txt  Quote # 32767";
    QTest::newRow("zero") << "q.txt" << 0 << "File: q.txt  Quote # 0";
    QTest::newRow("negative takes the blank's place") << "q.txt" << -3 << "File: q.txt  Quote #-3";
    QTest::newRow("path with blanks and quotes")
        << "\"my quotes.txt\"" << 12 << "File: \"my quotes.txt\"  Quote # 12";
    QTest::newRow("empty path") << "" << 2 << "File:   Quote # 2";
}

void WindowTextsTest::headerText()
{
    QFETCH(QString, quotePath);
    QFETCH(int, chosenQuote);
    QFETCH(QString, expected);

    QCOMPARE(HeaderText(quotePath, chosenQuote), expected);

    Form1 form;
    form.SetHeaderText(quotePath, chosenQuote);
    QCOMPARE(form.Label2->text(), expected);
}

void WindowTextsTest::windowTitle_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");

    // Plain decimal numbers: no leading blanks, no padding.
    QTest::newRow("single digits") << 2 << 0 << 4 << "Prod- Desc, Vers 2.0.4 by Maker";
    QTest::newRow("several digits") << 10 << 20 << 304 << "Prod- Desc, Vers 10.20.304 by Maker";
}

void WindowTextsTest::windowTitle()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, expected);

    VersionInfo info;
    info.ProductName = QStringLiteral("Prod");
    info.FileDescription = QStringLiteral("Desc");
    info.CompanyName = QStringLiteral("Maker");
    info.InternalName = QStringLiteral("unused-internal");
    info.OriginalFilename = QStringLiteral("unused-original");
    info.FileVersion = QStringLiteral("9.99.9999");
    info.ProductVersion = QStringLiteral("9.99.9999");
    info.Major = major;
    info.Minor = minor;
    info.Revision = revision;
    QCOMPARE(WindowTitle(info), expected);
}

void WindowTextsTest::programTitle()
{
    const QString expected =
        QStringLiteral("QuoteShow- Random Quote Viewer, Vers 2.0.4 by The QuoteShow Developers");
    QCOMPARE(WindowTitle(ReadVersionInfo()), expected);

    Form1 form;
    form.SetWindowTitle();
    QCOMPARE(form.windowTitle(), expected);
}

void WindowTextsTest::shownLiterally_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("bold tags") << "<b>bold</b>";
    QTest::newRow("comparisons") << "a < b and c > d";
    QTest::newRow("entity") << "&amp;";
    QTest::newRow("image tag") << "<img src=x>";
    QTest::newRow("html document") << "<html><body><h1>Big</h1></body></html>";
}

void WindowTextsTest::shownLiterally()
{
    QFETCH(QString, text);

    Form1 form;
    form.SetHeaderText(text, 3);
    form.SetQuoteText(text + u'\r');

    QCOMPARE(form.Label1->text(), text);
    QCOMPARE(form.Label1->textFormat(), Qt::PlainText);
    QCOMPARE(form.Label2->text(), QStringLiteral("File: ") + text + QStringLiteral("  Quote # 3"));
    QCOMPARE(form.Label2->textFormat(), Qt::PlainText);

    // Drawn as typed: the ink ends where the literal characters end, not
    // where a rendering of the markup would.
    const int literalAdvance = form.Label1->fontMetrics().horizontalAdvance(text);
    const int inkRight = InkRightColumn(form.Label1);
    QVERIFY2(inkRight > 0, "Label1 draws nothing");
    QVERIFY2(qAbs(inkRight + 1 - literalAdvance) <= 3,
             qPrintable(QStringLiteral("ink ends at %1, the literal text is %2 px wide")
                            .arg(inkRight + 1)
                            .arg(literalAdvance)));
}

QTEST_MAIN(WindowTextsTest)
#include "tst_WindowTexts.moc"
