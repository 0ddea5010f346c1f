// Error numbers and texts: the program's own codes, and system errors met on
// the quote file mapped onto them or kept as the system gives them.

#include "quotes/ErrorFacility.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace quoteshow;

namespace {

QString SystemText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

class ErrorFacilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failureForErrno_data();
    void failureForErrno();
    void errorDescriptionFor_data();
    void errorDescriptionFor();

private:
    QTemporaryDir dir_;
};

void ErrorFacilityTest::initTestCase()
{
    QVERIFY2(dir_.isValid(), qPrintable(dir_.errorString()));
    QFile plain(dir_.filePath("plain.TXT"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
}

void ErrorFacilityTest::failureForErrno_data()
{
    QTest::addColumn<int>("err");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("errorDescription");

    const QString inExistingDir = dir_.filePath("Jokes.TXT");
    const QString inMissingDir = dir_.filePath("nodir/Jokes.TXT");

    QTest::newRow("ENOENT, directory exists") << ENOENT << inExistingDir << 53 << "File not found";
    QTest::newRow("ENOENT, relative name in current directory")
        << ENOENT << "Jokes.TXT" << 53 << "File not found";
    QTest::newRow("ENOENT, directory missing") << ENOENT << inMissingDir << 76 << "Path not found";
    // A "directory" that is a plain file is no directory.
    QTest::newRow("ENOENT, directory is a file")
        << ENOENT << dir_.filePath("plain.TXT/Jokes.TXT") << 76 << "Path not found";
    QTest::newRow("ENOTDIR") << ENOTDIR << inExistingDir << 76 << "Path not found";
    QTest::newRow("EISDIR") << EISDIR << dir_.path() << 75 << "Path/File access error";
    QTest::newRow("EACCES") << EACCES << inExistingDir << 70 << "Permission denied";
    QTest::newRow("EPERM") << EPERM << inExistingDir << 70 << "Permission denied";
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << inExistingDir << 52 << "Bad file name or number";
    QTest::newRow("EILSEQ") << EILSEQ << inExistingDir << 52 << "Bad file name or number";
    QTest::newRow("EIO") << EIO << inExistingDir << 57 << "Device I/O error";
    QTest::newRow("ENOMEM") << ENOMEM << inExistingDir << 7 << "Out of memory";
    // Unmapped errors keep the system's number and text, even where the
    // number is also one of the program's own codes.
    QTest::newRow("ENXIO is not Overflow") << ENXIO << inExistingDir << ENXIO << SystemText(ENXIO);
    QTest::newRow("E2BIG is not Out of memory") << E2BIG << inExistingDir << E2BIG << SystemText(E2BIG);
    QTest::newRow("EBADF is not Subscript out of range")
        << EBADF << inExistingDir << EBADF << SystemText(EBADF);
    QTest::newRow("ENOSPC") << ENOSPC << inExistingDir << ENOSPC << SystemText(ENOSPC);
}

void ErrorFacilityTest::failureForErrno()
{
    QFETCH(int, err);
    QFETCH(QString, path);
    QFETCH(int, errorCode);
    QFETCH(QString, errorDescription);

    const Failure failure = FailureForErrno(err, path);
    QCOMPARE(failure.ErrorCode, errorCode);
    QCOMPARE(failure.ErrorDescription, errorDescription);
    QVERIFY(!failure.ErrorDescription.isEmpty());
}

void ErrorFacilityTest::errorDescriptionFor_data()
{
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("errorDescription");

    QTest::newRow("6") << 6 << "Overflow";
    QTest::newRow("7") << 7 << "Out of memory";
    QTest::newRow("9") << 9 << "Subscript out of range";
    QTest::newRow("52") << 52 << "Bad file name or number";
    QTest::newRow("53") << 53 << "File not found";
    QTest::newRow("57") << 57 << "Device I/O error";
    QTest::newRow("70") << 70 << "Permission denied";
    QTest::newRow("75") << 75 << "Path/File access error";
    QTest::newRow("76") << 76 << "Path not found";
    QTest::newRow("errno of no program code") << ENOSPC << SystemText(ENOSPC);
}

void ErrorFacilityTest::errorDescriptionFor()
{
    QFETCH(int, errorCode);
    QFETCH(QString, errorDescription);

    QCOMPARE(ErrorDescriptionFor(errorCode), errorDescription);
}

QTEST_GUILESS_MAIN(ErrorFacilityTest)
#include "tst_errorfacility.moc"
