// The OK button: it has the focus when the window is shown, and a click,
// Enter or Space ends the event loop with status 0.

#include "window/Form1.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace quoteshow;

namespace {

enum class Press { Click, Return, KeypadEnter, Space };

// Far longer than a press takes; only a button that does nothing reaches it.
constexpr int kSafetyTimeoutMs = 5000;
constexpr int kTimedOut = 99;

// A one-line quote window, arranged and shown as start-up leaves it.
bool ShowOneLineQuote(Form1 &form)
{
    form.SetWindowTitle();
    form.SetQuoteText(QStringLiteral("A\r"));
    form.ArrangeWindow();
    form.ShowWindow();
    return QTest::qWaitForWindowActive(&form);
}

} // namespace

Q_DECLARE_METATYPE(Press)

class Form1ButtonTest : public QObject {
    Q_OBJECT

private slots:
    void focusWhenShown();
    void pressEndsEventLoop_data();
    void pressEndsEventLoop();
    void otherKeysDoNotEnd();
};

void Form1ButtonTest::focusWhenShown()
{
    Form1 form;
    QVERIFY(ShowOneLineQuote(form));

    QCOMPARE(QApplication::focusWidget(), form.btnAck);
    QCOMPARE(form.focusWidget(), form.btnAck);
    // Only the button can take the focus.
    QCOMPARE(form.Label1->focusPolicy(), Qt::NoFocus);
    QCOMPARE(form.Label2->focusPolicy(), Qt::NoFocus);
    QCOMPARE(form.btnAck->text(), QStringLiteral("OK"));
}

void Form1ButtonTest::pressEndsEventLoop_data()
{
    QTest::addColumn<Press>("press");

    QTest::newRow("mouse click") << Press::Click;
    QTest::newRow("Enter") << Press::Return;
    QTest::newRow("keypad Enter") << Press::KeypadEnter;
    QTest::newRow("Space") << Press::Space;
}

void Form1ButtonTest::pressEndsEventLoop()
{
    QFETCH(Press, press);

    Form1 form;
    QVERIFY(ShowOneLineQuote(form));

    bool pressed = false;
    QTimer::singleShot(0, &form, [&] {
        // Keys go to the window, which hands them to the focused control,
        // as a user's keystrokes do.
        QWindow *window = form.windowHandle();
        switch (press) {
        case Press::Click:
            QTest::mouseClick(form.btnAck, Qt::LeftButton);
            break;
        case Press::Return:
            QTest::keyClick(window, Qt::Key_Return);
            break;
        case Press::KeypadEnter:
            QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case Press::Space:
            QTest::keyClick(window, Qt::Key_Space);
            break;
        }
        pressed = true;
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(kTimedOut); });
    safety.start(kSafetyTimeoutMs);

    const int status = QApplication::exec();

    QVERIFY2(status != kTimedOut, "the event loop did not end after the press");
    QVERIFY2(pressed, "the event loop ended before the press");
    QCOMPARE(status, 0);
}

void Form1ButtonTest::otherKeysDoNotEnd()
{
    Form1 form;
    QVERIFY(ShowOneLineQuote(form));

    bool pressed = false;
    QTimer::singleShot(0, &form, [&] {
        QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
        QTest::keyClick(form.windowHandle(), Qt::Key_A);
        pressed = true;
    });
    // Long enough for a wrong reaction to the keys to end the loop first.
    QTimer::singleShot(300, &form, [] { QCoreApplication::exit(kTimedOut); });

    const int status = QApplication::exec();

    QVERIFY(pressed);
    QCOMPARE(status, kTimedOut);
    QVERIFY(form.isVisible());
}

QTEST_MAIN(Form1ButtonTest)
#include "tst_Form1Button.moc"
