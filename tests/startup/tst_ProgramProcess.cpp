// The built program as a process: without a usable display it says so on
// stderr and exits with status 1 (no crash, no core dump); with one it starts
// and keeps running until it is closed. What it shows is checked in-process;
// from outside a window and a message box look alike (both keep it running).

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(QUOTESHOW_BINARY);
const QString kExamples = QStringLiteral(QUOTESHOW_EXAMPLES_DIR);

constexpr int kExitWaitMs = 15000;
// Long enough to load plugins and fonts, read the file and show the window.
constexpr int kStaysRunningMs = 1000;

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QProcessEnvironment WithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

} // namespace

class ProgramProcessTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void noDisplay_data();
    void noDisplay();
    void startsAndKeepsRunning_data();
    void startsAndKeepsRunning();
};

void ProgramProcessTest::initTestCase()
{
    QVERIFY2(QFile::exists(kProgram), qPrintable(kProgram));
    QVERIFY2(QFile::exists(kExamples + QStringLiteral("/Jokes.TXT")), qPrintable(kExamples));
}

void ProgramProcessTest::noDisplay_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");

    QTest::newRow("no display variables") << "" << "";
    QTest::newRow("X display that does not exist") << "DISPLAY" << ":987";
    QTest::newRow("Wayland display that does not exist") << "WAYLAND_DISPLAY" << "wayland-987";
    QTest::newRow("X platform asked for, no display") << "QT_QPA_PLATFORM" << "xcb";
}

void ProgramProcessTest::noDisplay()
{
    QFETCH(QString, variable);
    QFETCH(QString, value);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A good quote file, so the display is the only thing missing.
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("Jokes.TXT")), "A quote\r\n***\r\n"));

    QProcessEnvironment environment = WithoutDisplay();
    if (!variable.isEmpty())
        environment.insert(variable, value);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(dir.path());
    program.start(kProgram, {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    if (!program.waitForFinished(kExitWaitMs)) {
        program.kill();
        program.waitForFinished();
        QFAIL("the program kept running without a display");
    }

    const QString stderrText = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QVERIFY2(stderrText.startsWith(QStringLiteral("quoteshow: cannot open a display")), qPrintable(stderrText));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("core*")}), QStringList());
}

void ProgramProcessTest::startsAndKeepsRunning_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("workingDirectory");

    QTest::newRow("example file as the argument") << QStringList{kExamples + QStringLiteral("/Jokes.TXT")}
                                                  << QDir::tempPath();
    QTest::newRow("default file in the current directory") << QStringList{} << kExamples;
}

void ProgramProcessTest::startsAndKeepsRunning()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, workingDirectory);

    QProcessEnvironment environment = WithoutDisplay();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(workingDirectory);
    program.start(kProgram, arguments);
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

    const bool endedOnItsOwn = program.waitForFinished(kStaysRunningMs);
    const QString stderrText = QString::fromLocal8Bit(program.readAllStandardError());
    if (!endedOnItsOwn) {
        program.kill();
        program.waitForFinished();
    }
    QVERIFY2(!endedOnItsOwn, qPrintable(QStringLiteral("ended with status %1: %2")
                                            .arg(program.exitCode())
                                            .arg(stderrText)));
}

QTEST_GUILESS_MAIN(ProgramProcessTest)
#include "tst_ProgramProcess.moc"
