// The quote window's geometry: the stored description converted at the
// screen's DPI, the quote label's auto-size, and the arrangement that puts
// the button under the quote and sizes the window to hold it.

#include "quotes/Failure.h"
#include "window/Form1.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cmath>
#include <optional>

using namespace quoteshow;

namespace {

constexpr double kTwipsPerInch = 1440.0;

// Worked out here from the screen, not taken from the window's own scale.
int XPixelsAtScreen(double twips)
{
    return int(std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInchX() / kTwipsPerInch));
}

int YPixelsAtScreen(double twips)
{
    return int(std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / kTwipsPerInch));
}

QString Repeated(const QString &piece, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

int LineSpacingPixels(const Form1 &form)
{
    return form.Label1->fontMetrics().lineSpacing();
}

// The quote label's height for `lines` lines of its font; the last line
// needs no leading below it.
bool IsLinesHigh(const Form1 &form, int height, int lines)
{
    const QFontMetrics metrics = form.Label1->fontMetrics();
    const int full = lines * metrics.lineSpacing();
    return height <= full && height >= full - metrics.leading() - 1;
}

std::optional<Failure> ArrangeFailure(Form1 &form)
{
    try {
        form.ArrangeWindow();
    } catch (const Failure &failure) {
        return failure;
    }
    return std::nullopt;
}

} // namespace

class Form1LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void storedGeometry();
    void headerBoxDoesNotGrow_data();
    void headerBoxDoesNotGrow();
    void quoteLineCount_data();
    void quoteLineCount();
    void longLineWraps();
    void arrangeWindow_data();
    void arrangeWindow();
    void tallerQuoteGrowsWindow_data();
    void tallerQuoteGrowsWindow();
    void tooTallWindowOverflows_data();
    void tooTallWindowOverflows();
    void handResizeMovesNothing();
    void fontsAndColours();
};

void Form1LayoutTest::initTestCase()
{
    QVERIFY(QGuiApplication::primaryScreen());
    qInfo("screen logical DPI %g x %g", QGuiApplication::primaryScreen()->logicalDotsPerInchX(),
          QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}

void Form1LayoutTest::storedGeometry()
{
    Form1 form;

    QCOMPARE(form.width(), XPixelsAtScreen(11340));
    QCOMPARE(form.Label1->geometry().topLeft(), QPoint(XPixelsAtScreen(360), YPixelsAtScreen(960)));
    QCOMPARE(form.Label1->width(), XPixelsAtScreen(10800));
    QCOMPARE(form.Label2->geometry(),
             QRect(XPixelsAtScreen(2640), YPixelsAtScreen(240), XPixelsAtScreen(5895), YPixelsAtScreen(615)));
    QCOMPARE(form.btnAck->x(), XPixelsAtScreen(4680));
    QCOMPARE(form.btnAck->size(), QSize(XPixelsAtScreen(1815), YPixelsAtScreen(495)));

    // At the usual 96 dpi a twip is 1/15 pixel: the numbers a reader checks
    // against the stored description by hand.
    if (QGuiApplication::primaryScreen()->logicalDotsPerInchX() == 96.0) {
        QCOMPARE(form.width(), 756);
        QCOMPARE(form.Label1->geometry().topLeft(), QPoint(24, 64));
        QCOMPARE(form.Label1->width(), 720);
        QCOMPARE(form.Label2->geometry(), QRect(176, 16, 393, 41));
    }
}

void Form1LayoutTest::headerBoxDoesNotGrow_data()
{
    QTest::addColumn<QString>("quotePath");

    QTest::newRow("short path") << "Jokes.TXT";
    QTest::newRow("long path of words") << Repeated(QStringLiteral("/a rather long folder name"), 40);
    QTest::newRow("long path without blanks") << Repeated(QStringLiteral("/folder"), 200);
}

void Form1LayoutTest::headerBoxDoesNotGrow()
{
    QFETCH(QString, quotePath);

    Form1 form;
    const QRect stored = form.Label2->geometry();
    form.SetHeaderText(quotePath, 5);
    form.SetQuoteText(QStringLiteral("A\r"));
    form.ArrangeWindow();
    form.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // A fixed box: the text wraps and is centred within it, the rest is cut off.
    QCOMPARE(form.Label2->geometry(), stored);
    QVERIFY(form.Label2->wordWrap());
    QVERIFY(form.Label2->alignment() & Qt::AlignHCenter);
}

void Form1LayoutTest::quoteLineCount_data()
{
    QTest::addColumn<QString>("quoteText");
    QTest::addColumn<int>("lines");

    // Every carriage return ends a line; the one closing the last line adds
    // no empty line below it.
    QTest::newRow("one line") << "A\r" << 1;
    QTest::newRow("two lines") << "A\rB\r" << 2;
    QTest::newRow("blank second line") << "A\r\r" << 2;
    QTest::newRow("lone carriage return") << "\r" << 1;
    QTest::newRow("empty quote keeps one line") << "" << 1;
    QTest::newRow("five lines") << "A\rB\rC\rD\rE\r" << 5;
    QTest::newRow("blank lines inside") << "A\r\r\rB\r" << 4;
    QTest::newRow("rounding case ends in two returns") << "D\r\r" << 2;
    QTest::newRow("no closing return") << "A\rB" << 2;
}

void Form1LayoutTest::quoteLineCount()
{
    QFETCH(QString, quoteText);
    QFETCH(int, lines);

    Form1 form;
    form.SetQuoteText(quoteText);

    const int height = form.Label1->height();
    QVERIFY2(IsLinesHigh(form, height, lines),
             qPrintable(QStringLiteral("Label1 is %1 px high; %2 lines of %3 px spacing expected")
                            .arg(height)
                            .arg(lines)
                            .arg(LineSpacingPixels(form))));
    QCOMPARE(form.Label1->width(), XPixelsAtScreen(10800));
    QCOMPARE(form.Label1->pos(), QPoint(XPixelsAtScreen(360), YPixelsAtScreen(960)));
}

void Form1LayoutTest::longLineWraps()
{
    Form1 form;
    form.SetQuoteText(QStringLiteral("A\r"));
    const int oneLine = form.Label1->height();

    const QString longLine = Repeated(QStringLiteral("wrapping words "), 60);
    QVERIFY(form.Label1->fontMetrics().horizontalAdvance(longLine) > 3 * form.Label1->width());
    form.SetQuoteText(longLine + u'\r');

    QVERIFY2(form.Label1->height() >= 3 * oneLine,
             qPrintable(QStringLiteral("wrapped label is %1 px, one line is %2 px")
                            .arg(form.Label1->height())
                            .arg(oneLine)));
    QCOMPARE(form.Label1->width(), XPixelsAtScreen(10800));
    if (QGuiApplication::primaryScreen()->logicalDotsPerInchX() == 96.0)
        QCOMPARE(form.Label1->width(), 720);
}

void Form1LayoutTest::arrangeWindow_data()
{
    QTest::addColumn<QString>("quoteText");

    QTest::newRow("one line") << "A\r";
    QTest::newRow("empty quote") << "";
    QTest::newRow("four lines") << "A\rB\rC\rD\r";
    QTest::newRow("wrapped line") << Repeated(QStringLiteral("wrapping words "), 60) + u'\r';
    // Far taller than any screen: no upper limit is applied.
    QTest::newRow("taller than the screen") << Repeated(QStringLiteral("line\r"), 400);
}

void Form1LayoutTest::arrangeWindow()
{
    QFETCH(QString, quoteText);

    Form1 form;
    const QRect labelBefore = form.Label1->geometry();
    form.SetQuoteText(quoteText);
    const QRect label = form.Label1->geometry();
    form.ArrangeWindow();

    // Only the button's top and the window's height change.
    QCOMPARE(form.Label1->geometry(), label);
    QCOMPARE(label.topLeft(), labelBefore.topLeft());
    QCOMPARE(form.width(), XPixelsAtScreen(11340));
    QCOMPARE(form.btnAck->x(), XPixelsAtScreen(4680));
    QCOMPARE(form.btnAck->size(), QSize(XPixelsAtScreen(1815), YPixelsAtScreen(495)));

    // One twip under the label: the label's bottom edge, or one pixel lower
    // where that twip rounds up.
    const int labelBottom = label.y() + label.height();
    QVERIFY2(form.btnAck->y() == labelBottom || form.btnAck->y() == labelBottom + 1,
             qPrintable(QStringLiteral("button top %1, label bottom %2").arg(form.btnAck->y()).arg(labelBottom)));

    // The outer height ends 460 twips below the button.
    const double dpiY = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const double buttonBottomTwips = double(form.btnAck->y() + form.btnAck->height()) * kTwipsPerInch / dpiY;
    const int expectedOuter = YPixelsAtScreen(buttonBottomTwips + 460);
    QVERIFY2(qAbs(form.OuterHeightPixels() - expectedOuter) <= 1,
             qPrintable(QStringLiteral("outer height %1, expected %2").arg(form.OuterHeightPixels()).arg(expectedOuter)));

    // The outer height includes the frame, known only once the window is
    // shown: until then all of it is client area, afterwards the client area
    // is what the frame leaves (all of it again where nothing frames it).
    QCOMPARE(form.height(), form.OuterHeightPixels());
    form.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QMargins frame = form.windowHandle()->frameMargins();
    QTRY_COMPARE(form.frameGeometry().height(), form.OuterHeightPixels());
    QCOMPARE(form.height(), form.OuterHeightPixels() - frame.top() - frame.bottom());
    QCOMPARE(form.width(), XPixelsAtScreen(11340));
    QCOMPARE(form.Label1->geometry(), label);

    // Centred on the screen. A window taller than the screen starts above
    // it, where platforms nudge it by their frame, so only the width counts.
    const QRect screen = form.screen()->geometry();
    const QPoint offset = form.frameGeometry().center() - screen.center();
    QVERIFY2(qAbs(offset.x()) <= 1, qPrintable(QStringLiteral("off centre by %1 px across").arg(offset.x())));
    if (form.frameGeometry().height() <= screen.height())
        QVERIFY2(qAbs(offset.y()) <= 1, qPrintable(QStringLiteral("off centre by %1 px down").arg(offset.y())));
}

void Form1LayoutTest::tallerQuoteGrowsWindow_data()
{
    QTest::addColumn<QString>("tallerQuote");

    QTest::newRow("three more lines") << "A\rB\rC\rD\r";
    QTest::newRow("one blank line more") << "A\r\r";
    QTest::newRow("wrapped line") << Repeated(QStringLiteral("wrapping words "), 60) + u'\r';
}

void Form1LayoutTest::tallerQuoteGrowsWindow()
{
    QFETCH(QString, tallerQuote);

    Form1 shortForm;
    shortForm.SetQuoteText(QStringLiteral("A\r"));
    shortForm.ArrangeWindow();
    Form1 tallForm;
    tallForm.SetQuoteText(tallerQuote);
    tallForm.ArrangeWindow();
    shortForm.ShowWindow();
    tallForm.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&shortForm));
    QVERIFY(QTest::qWaitForWindowExposed(&tallForm));

    const int labelGrowth = tallForm.Label1->height() - shortForm.Label1->height();
    QVERIFY(labelGrowth > 0);
    // Each twip sum rounds to whole pixels on its own: one pixel either way.
    auto sameGrowth = [labelGrowth](int growth) { return qAbs(growth - labelGrowth) <= 1; };
    const int buttonGrowth = tallForm.btnAck->y() - shortForm.btnAck->y();
    const int outerGrowth = tallForm.OuterHeightPixels() - shortForm.OuterHeightPixels();
    const int clientGrowth = tallForm.height() - shortForm.height();
    QVERIFY2(sameGrowth(buttonGrowth) && sameGrowth(outerGrowth) && sameGrowth(clientGrowth),
             qPrintable(QStringLiteral("label +%1, button +%2, outer +%3, client +%4")
                            .arg(labelGrowth)
                            .arg(buttonGrowth)
                            .arg(outerGrowth)
                            .arg(clientGrowth)));
}

void Form1LayoutTest::tooTallWindowOverflows_data()
{
    QTest::addColumn<int>("labelPixels");
    QTest::addColumn<bool>("overflows");

    // No window is taller than 32,767 pixels.
    QTest::newRow("just under the largest window") << 32000 << false;
    QTest::newRow("label alone past the largest window") << 33000 << true;
    QTest::newRow("far past the largest window") << 60000 << true;
}

void Form1LayoutTest::tooTallWindowOverflows()
{
    QFETCH(int, labelPixels);
    QFETCH(bool, overflows);

    Form1 form;
    const int lines = labelPixels / LineSpacingPixels(form);
    form.SetQuoteText(Repeated(QStringLiteral("line\r"), lines));
    QVERIFY(IsLinesHigh(form, form.Label1->height(), lines));

    const std::optional<Failure> failure = ArrangeFailure(form);
    if (!overflows) {
        QVERIFY2(!failure, failure ? qPrintable(failure->ErrorDescription) : "");
        QVERIFY(form.OuterHeightPixels() <= 32767);
        QCOMPARE(form.height(), form.OuterHeightPixels());
        return;
    }
    QVERIFY2(failure, "a window taller than 32,767 pixels was arranged");
    QCOMPARE(failure->ErrorCode, 6);
    QCOMPARE(failure->ErrorDescription, QStringLiteral("Overflow"));
}

void Form1LayoutTest::handResizeMovesNothing()
{
    Form1 form;
    form.SetQuoteText(QStringLiteral("A\rB\r"));
    form.ArrangeWindow();
    form.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect label1 = form.Label1->geometry();
    const QRect label2 = form.Label2->geometry();
    const QRect button = form.btnAck->geometry();

    const QSize wanted(form.width() + 300, form.height() + 200);
    form.resize(wanted);
    QTRY_COMPARE(form.size(), wanted);
    QCOMPARE(form.Label1->geometry(), label1);
    QCOMPARE(form.Label2->geometry(), label2);
    QCOMPARE(form.btnAck->geometry(), button);
}

void Form1LayoutTest::fontsAndColours()
{
    Form1 form;
    form.SetQuoteText(QStringLiteral("WWWW\r"));

    struct Expected {
        QWidget *widget;
        const char *family;
        double pointSize;
    };
    const Expected expected[] = {
        {&form, "Comic Sans MS", 15.75},
        {form.Label2, "Comic Sans MS", 15.75},
        {form.Label1, "MS Sans Serif", 12.0},
        {form.btnAck, "Comic Sans MS", 24.0},
    };
    for (const Expected &item : expected) {
        const QFont font = item.widget->font();
        QCOMPARE(font.family(), QString::fromLatin1(item.family));
        QCOMPARE(font.pointSizeF(), item.pointSize);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    }

    QCOMPARE(form.Label1->palette().color(QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QVERIFY(form.Label1->autoFillBackground());

    // As drawn: a black band with yellow letters.
    const QImage image = form.Label1->grab().toImage();
    QCOMPARE(QColor(image.pixel(image.width() - 1, image.height() - 1)), QColor(0, 0, 0));
    bool yellowInk = false;
    for (int y = 0; y < image.height() && !yellowInk; ++y) {
        for (int x = 0; x < image.width() && !yellowInk; ++x)
            yellowInk = QColor(image.pixel(x, y)) == QColor(255, 255, 0);
    }
    QVERIFY2(yellowInk, "no yellow pixel in the quote label");
}

QTEST_MAIN(Form1LayoutTest)
#include "tst_Form1Layout.moc"
