// A failed start-up through the real start-up and the real message box: one
// box with the exact message, caption "QuoteShow", no icon and one OK button;
// after OK the run returns status 1 and no window is left.

#include "quotes/Failure.h"
#include "startup/COMMON.h"
#include "startup/StartupFailureHandler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using namespace quoteshow;

namespace {

enum class Setup {
    Nothing,
    QuoteFile,      // a good file named "my quotes.txt"
    EmptyFile,      // "empty.txt"
    Lines32767,     // "lines.txt"
    Lines32768,     // "lines.txt"
    TallQuote,      // "tall.txt": one quote far taller than any window
    UnreadableFile, // "locked.txt"
};

constexpr int kSafetyTimeoutMs = 20000;

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Lines(int count)
{
    return QByteArray("x\r\n").repeated(count);
}

bool Prepare(Setup setup, const QTemporaryDir &dir)
{
    switch (setup) {
    case Setup::Nothing:
        return true;
    case Setup::QuoteFile:
        return WriteFile(dir.filePath(QStringLiteral("my quotes.txt")), "A quote\r\n***\r\n");
    case Setup::EmptyFile:
        return WriteFile(dir.filePath(QStringLiteral("empty.txt")), QByteArray());
    case Setup::Lines32767:
        return WriteFile(dir.filePath(QStringLiteral("lines.txt")), Lines(32767));
    case Setup::Lines32768:
        return WriteFile(dir.filePath(QStringLiteral("lines.txt")), Lines(32768));
    case Setup::TallQuote:
        // Readable, but one quote thousands of lines high (no separator, so
        // it is always quote 1).
        return WriteFile(dir.filePath(QStringLiteral("tall.txt")), Lines(5000));
    case Setup::UnreadableFile: {
        const QString path = dir.filePath(QStringLiteral("locked.txt"));
        return WriteFile(path, "A quote\r\n***\r\n") && QFile::setPermissions(path, QFileDevice::Permissions());
    }
    }
    return false;
}

struct SeenBox {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QMessageBox::StandardButtons standardButtons;
    Qt::TextFormat textFormat = Qt::AutoText;
    QStringList otherVisibleWindows;
};

} // namespace

Q_DECLARE_METATYPE(Setup)

class StartupFailureTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void failureShowsOneBox_data();
    void failureShowsOneBox();
    void failureMessage_data();
    void failureMessage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString originalDirectory_;
    bool formShown_ = false;
};

void StartupFailureTest::init()
{
    originalDirectory_ = QDir::currentPath();
    formShown_ = false;
    qApp->installEventFilter(this);
}

void StartupFailureTest::cleanup()
{
    qApp->removeEventFilter(this);
    QDir::setCurrent(originalDirectory_);
}

bool StartupFailureTest::eventFilter(QObject *watched, QEvent *event)
{
    // Catches the window showing even for a moment before the failure.
    if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("Form1"))
        formShown_ = true;
    return false;
}

void StartupFailureTest::failureShowsOneBox_data()
{
    QTest::addColumn<Setup>("setup");
    // "{dir}" stands for the temporary directory, also the current one.
    QTest::addColumn<QString>("argumentText");
    QTest::addColumn<QString>("expectedMessage");

    QTest::newRow("default file missing")
        << Setup::Nothing << "" << "Error 53: The file Jokes.TXT does not exist.";
    QTest::newRow("argument names a missing file")
        << Setup::Nothing << "{dir}/missing.txt" << "Error 53: The file {dir}/missing.txt does not exist.";
    QTest::newRow("relative argument names a missing file")
        << Setup::Nothing << "missing quotes.txt" << "Error 53: The file missing quotes.txt does not exist.";
    // The quotation marks are part of the name, so "my quotes.txt" beside it
    // is not the file asked for.
    QTest::newRow("argument in quotation marks")
        << Setup::QuoteFile << "\"my quotes.txt\"" << "Error 53: The file \"my quotes.txt\" does not exist.";
    QTest::newRow("path with markup, missing")
        << Setup::Nothing << "{dir}/<b>big & bold.txt" << "Error 53: The file {dir}/<b>big & bold.txt does not exist.";
    QTest::newRow("missing directory")
        << Setup::Nothing << "{dir}/no such folder/q.txt" << "Error 76 Path not found occurred.";
    QTest::newRow("a directory") << Setup::Nothing << "{dir}" << "Error 75 Path/File access error occurred.";
    QTest::newRow("empty file")
        << Setup::EmptyFile << "empty.txt" << "Error 9 Subscript out of range occurred.";
    QTest::newRow("32,767 lines") << Setup::Lines32767 << "lines.txt" << "Error 6 Overflow occurred.";
    QTest::newRow("32,768 lines") << Setup::Lines32768 << "lines.txt" << "Error 6 Overflow occurred.";
    QTest::newRow("endless file") << Setup::Nothing << "/dev/zero" << "Error 7 Out of memory occurred.";
    // Fails after the window came into being, hidden: it must go too.
    QTest::newRow("quote too tall for a window") << Setup::TallQuote << "tall.txt" << "Error 6 Overflow occurred.";
    QTest::newRow("unreadable file")
        << Setup::UnreadableFile << "locked.txt" << "Error 70 Permission denied occurred.";
}

void StartupFailureTest::failureShowsOneBox()
{
    QFETCH(Setup, setup);
    QFETCH(QString, argumentText);
    QFETCH(QString, expectedMessage);

    if (setup == Setup::UnreadableFile && ::geteuid() == 0)
        QSKIP("root reads a file without read permission; the denial cannot happen");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(Prepare(setup, dir));
    QVERIFY(QDir::setCurrent(dir.path()));
    argumentText.replace(QStringLiteral("{dir}"), dir.path());
    expectedMessage.replace(QStringLiteral("{dir}"), dir.path());

    QList<SeenBox> boxes;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        SeenBox seen;
        seen.text = box->text();
        seen.caption = box->windowTitle();
        seen.icon = box->icon();
        seen.buttonCount = int(box->buttons().size());
        seen.standardButtons = box->standardButtons();
        seen.textFormat = box->textFormat();
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget != box && widget->isVisible())
                seen.otherVisibleWindows.append(widget->objectName() + u'/' + widget->metaObject()->className());
        }
        boxes.append(seen);
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        if (ok)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            box->reject();
    });
    poll.start(10);
    bool timedOut = false;
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [&] {
        timedOut = true;
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QCoreApplication::exit(1);
    });
    safety.start(kSafetyTimeoutMs);

    const int status = COMMON::Run(argumentText);
    poll.stop();
    safety.stop();

    QVERIFY2(!timedOut, "the run did not end after the message box");
    QCOMPARE(boxes.size(), 1);
    const SeenBox &box = boxes.first();
    QCOMPARE(box.text, expectedMessage);
    QCOMPARE(box.caption, QStringLiteral("QuoteShow"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttonCount, 1);
    QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.textFormat, Qt::PlainText);
    QCOMPARE(box.otherVisibleWindows, QStringList());
    QCOMPARE(status, 1);

    QVERIFY2(!formShown_, "the quote window was shown before the failure");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName() + QStringLiteral(" is still visible")));
        QVERIFY2(widget->objectName() != QLatin1String("Form1"), "the hidden quote window outlived the failure");
    }
}

void StartupFailureTest::failureMessage_data()
{
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("quotePath");
    QTest::addColumn<QString>("expected");

    QTest::newRow("code 53 names the path")
        << 53 << "File not found" << "dir/q.txt" << "Error 53: The file dir/q.txt does not exist.";
    QTest::newRow("code 53 keeps quotation marks and blanks")
        << 53 << "File not found" << "\" a b \"" << "Error 53: The file \" a b \" does not exist.";
    QTest::newRow("general form") << 9 << "Subscript out of range" << "Jokes.TXT"
                                  << "Error 9 Subscript out of range occurred.";
    QTest::newRow("negative code keeps its sign, no blank")
        << -5 << "Odd failure" << "Jokes.TXT" << "Error -5 Odd failure occurred.";
    QTest::newRow("largest code") << 2147483647 << "Big" << "q" << "Error 2147483647 Big occurred.";
    QTest::newRow("smallest code") << int(-2147483647 - 1) << "Small" << "q" << "Error -2147483648 Small occurred.";
    QTest::newRow("empty description") << 1234 << "" << "q" << "Error 1234  occurred.";
}

void StartupFailureTest::failureMessage()
{
    QFETCH(int, errorCode);
    QFETCH(QString, description);
    QFETCH(QString, quotePath);
    QFETCH(QString, expected);

    QCOMPARE(FailureMessage(Failure{errorCode, description}, quotePath), expected);
}

QTEST_MAIN(StartupFailureTest)
#include "tst_StartupFailure.moc"
