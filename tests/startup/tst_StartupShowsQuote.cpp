// A good start-up on real files: the quote file is found by the default name
// or by the argument exactly as given, one of its quotes is shown under a
// header naming it, and OK ends the program with status 0.

#include "startup/COMMON.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quoteshow;

namespace {

// Three quotes (not a power of two, so the number always names one of them),
// with CRLF line ends and markup that must stay text.
constexpr char kQuoteFile[] = "Early to bed\r\nand early to rise.\r\n***\r\n"
                              "A <b>bold</b> & bright idea.\r\n*** two\r\n"
                              "Third one\r\n****\r\n";
// As the quote label shows them: one line per carriage return.
const QStringList kShownQuotes{
    QStringLiteral("Early to bed\nand early to rise."),
    QStringLiteral("A <b>bold</b> & bright idea."),
    QStringLiteral("Third one"),
};

constexpr int kSafetyTimeoutMs = 10000;
constexpr int kTimedOut = 99;

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

Form1 *VisibleForm()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("Form1") && widget->isVisible())
            return static_cast<Form1 *>(widget);
    }
    return nullptr;
}

} // namespace

class StartupShowsQuoteTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mainShowsAQuote_data();
    void mainShowsAQuote();
    void largestFileIsShown();
    void runEndsWithZero_data();
    void runEndsWithZero();

private:
    QString originalDirectory_;
};

void StartupShowsQuoteTest::init()
{
    originalDirectory_ = QDir::currentPath();
}

void StartupShowsQuoteTest::cleanup()
{
    QDir::setCurrent(originalDirectory_);
}

void StartupShowsQuoteTest::mainShowsAQuote_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("argumentText");
    QTest::addColumn<QString>("shownPath");

    QTest::newRow("default name in the current directory") << "Jokes.TXT" << "" << "Jokes.TXT";
    QTest::newRow("argument with a blank") << "my quotes.txt" << "my quotes.txt" << "my quotes.txt";
    // A Qt option's name is only a file name to this program.
    QTest::newRow("argument named -style") << "-style" << "-style" << "-style";
    QTest::newRow("argument with several blanks") << "a  b .txt" << "a  b .txt" << "a  b .txt";
    QTest::newRow("argument with markup in the name") << "<i>q &amp;.txt" << "<i>q &amp;.txt" << "<i>q &amp;.txt";
}

void StartupShowsQuoteTest::mainShowsAQuote()
{
    QFETCH(QString, fileName);
    QFETCH(QString, argumentText);
    QFETCH(QString, shownPath);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath(fileName), kQuoteFile));
    // A different file under the default name beside it must not be read.
    if (fileName != QLatin1String("Jokes.TXT"))
        QVERIFY(WriteFile(dir.filePath(QStringLiteral("Jokes.TXT")), "Wrong file\r\n***\r\n"));
    QVERIFY(QDir::setCurrent(dir.path()));

    const std::unique_ptr<Form1> form = COMMON::Main(argumentText);
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(VisibleForm(), form.get());

    const qsizetype shown = kShownQuotes.indexOf(form->Label1->text());
    QVERIFY2(shown >= 0, qPrintable(QStringLiteral("not a quote of the file: ") + form->Label1->text()));
    // The header numbers the very quote that is shown.
    QCOMPARE(form->Label2->text(),
             QStringLiteral("File: ") + shownPath + QStringLiteral("  Quote # ") + QString::number(shown + 1));
    QCOMPARE(form->windowTitle(),
             QStringLiteral("QuoteShow- Random Quote Viewer, Vers 2.0.4 by The QuoteShow Developers"));

    bool clicked = false;
    QTimer::singleShot(0, form.get(), [&] {
        QTest::mouseClick(form->btnAck, Qt::LeftButton);
        clicked = true;
    });
    QTimer::singleShot(kSafetyTimeoutMs, form.get(), [] { QCoreApplication::exit(kTimedOut); });
    const int status = QApplication::exec();
    QVERIFY2(status != kTimedOut, "OK did not end the event loop");
    QVERIFY2(clicked, "the event loop ended before OK was clicked");
    QCOMPARE(status, 0);
}

void StartupShowsQuoteTest::largestFileIsShown()
{
    // 32,766 lines is the most a shown file can have: one-line quotes, each
    // closed by its separator line (16,383 quotes).
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("lines.txt")), QByteArray("x\r\n***\r\n").repeated(16383)));
    QVERIFY(QDir::setCurrent(dir.path()));

    const std::unique_ptr<Form1> form = COMMON::Main(QStringLiteral("lines.txt"));
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->Label1->text(), QStringLiteral("x"));
    const QString prefix = QStringLiteral("File: lines.txt  Quote # ");
    QVERIFY2(form->Label2->text().startsWith(prefix), qPrintable(form->Label2->text()));
    bool isNumber = false;
    const int number = form->Label2->text().mid(prefix.size()).toInt(&isNumber);
    QVERIFY(isNumber && number >= 1 && number <= 16383);
}

void StartupShowsQuoteTest::runEndsWithZero_data()
{
    QTest::addColumn<bool>("closeWindow");

    QTest::newRow("OK clicked") << false;
    // Closed from its title bar: no window is left, so the program ends.
    QTest::newRow("window closed") << true;
}

void StartupShowsQuoteTest::runEndsWithZero()
{
    QFETCH(bool, closeWindow);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("Jokes.TXT")), kQuoteFile));
    QVERIFY(QDir::setCurrent(dir.path()));

    QString headerWhenShown;
    bool ended = false;
    bool timedOut = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        Form1 *form = VisibleForm();
        if (!form || ended)
            return;
        headerWhenShown = form->Label2->text();
        ended = true;
        if (closeWindow)
            form->close();
        else
            QTest::mouseClick(form->btnAck, Qt::LeftButton);
    });
    poll.start(10);
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(kTimedOut);
    });
    safety.start(kSafetyTimeoutMs);

    const int status = COMMON::Run(QString());

    QVERIFY2(!timedOut, "the window was not shown, or the program did not end with it");
    QVERIFY(ended);
    QVERIFY(headerWhenShown.startsWith(QStringLiteral("File: Jokes.TXT  Quote # ")));
    QCOMPARE(status, 0);
    // The window goes with the end of the run.
    QCOMPARE(VisibleForm(), nullptr);
}

QTEST_MAIN(StartupShowsQuoteTest)
#include "tst_StartupShowsQuote.moc"
