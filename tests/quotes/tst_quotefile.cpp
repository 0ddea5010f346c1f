// Reading quote files from disk: what the file yields, how opening and
// reading fail, the size bound, and that reading leaves the file untouched.

#include "FailureCapture.h"
#include "quotes/ErrorFacility.h"
#include "quotes/LineTable.h"
#include "quotes/QuoteFileReader.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

using namespace quoteshow;
using quoteshow::testing::FailureRaisedBy;

namespace {

constexpr qint64 kReadTimeBudgetMs = 2000;

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
}

// A file of `head` followed by zero bytes up to `sizeBytes`, without writing
// the zeros: the file system keeps the hole sparse.
void WriteSparseFile(const QString &path, const QByteArray &head, qint64 sizeBytes)
{
    WriteFile(path, head);
    if (!QFile::resize(path, sizeBytes))
        qFatal("cannot extend fixture %s", qPrintable(path));
}

QByteArray Pattern(qsizetype sizeBytes)
{
    QByteArray bytes(sizeBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < sizeBytes; ++i)
        bytes[i] = char(i % 251);
    return bytes;
}

QStringList SlotsOf(const LineTable &table)
{
    QStringList slotTexts;
    for (int index = 0; index <= table.LineCount; ++index)
        slotTexts << table.Slot(std::int16_t(index));
    return slotTexts;
}

int OpenDescriptorCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

} // namespace

class QuoteFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void loadsFile_data();
    void loadsFile();
    void relativePathFromCurrentDirectory_data();
    void relativePathFromCurrentDirectory();
    void openFailures_data();
    void openFailures();
    void sizeBound_data();
    void sizeBound();
    void readLimit_data();
    void readLimit();
    void readingLeavesFileUnchanged();
    void closesFileAfterReading();

private:
    QString Path(const QString &name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString startDirectory_;
};

void QuoteFileTest::initTestCase()
{
    QVERIFY2(dir_.isValid(), qPrintable(dir_.errorString()));
    startDirectory_ = QDir::currentPath();

    WriteFile(Path("plain.TXT"), "A\r***\rB\r");
    WriteFile(Path("locked.TXT"), "A\r");
    QVERIFY(QFile::setPermissions(Path("locked.TXT"), QFileDevice::Permissions()));
    QVERIFY(QDir(dir_.path()).mkdir("lockeddir"));
    WriteFile(Path("lockeddir/Jokes.TXT"), "A\r");
    QVERIFY(QFile::setPermissions(Path("lockeddir"), QFileDevice::Permissions()));
    QVERIFY(QDir(dir_.path()).mkdir("cwd"));
    WriteFile(Path("cwd/Jokes.TXT"), "From the current directory\r***\r");
    QVERIFY(QDir(dir_.path()).mkdir("cwd/sub"));
    WriteFile(Path("cwd/sub/Jokes.TXT"), "From sub\r");
    QCOMPARE(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
}

void QuoteFileTest::cleanupTestCase()
{
    // Lets the temporary directory remove its contents when not run as root.
    QFile::setPermissions(Path("lockeddir"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void QuoteFileTest::cleanup()
{
    QDir::setCurrent(startDirectory_);
}

void QuoteFileTest::loadsFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QStringList>("expectedSlots");
    QTest::addColumn<int>("separatorCount");

    QTest::newRow("crlf quotes")
        << "Jokes.TXT" << QByteArray("An apple a day\r\n***\r\nLook before you leap.\r\n*** 2\r\n")
        << QStringList{"An apple a day", "***", "Look before you leap.", "*** 2", ""} << 2;
    QTest::newRow("windows-1252 text")
        << "old.TXT" << QByteArray("\x93Quoted\x94\r***\r")
        << QStringList{QString(QChar(0x201C)) + "Quoted" + QChar(0x201D), "***", ""} << 1;
    QTest::newRow("utf-8 file name") << QString::fromUtf8("Citations \xC3\xA9t\xC3\xA9.TXT")
                                     << QByteArray("A\r") << QStringList{"A", ""} << 0;
    QTest::newRow("blank in file name") << "my jokes.TXT" << QByteArray("A\rB")
                                        << QStringList{"A", "B", ""} << 0;
    QTest::newRow("32767 lines") << "long.TXT" << QByteArray("x\r\n").repeated(32767)
                                 << QStringList(32767, "x") + QStringList{""} << 0;
    QTest::newRow("empty file") << "empty.TXT" << QByteArray() << QStringList() << 0;
}

void QuoteFileTest::loadsFile()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, fileBytes);
    QFETCH(QStringList, expectedSlots);
    QFETCH(int, separatorCount);

    WriteFile(Path(fileName), fileBytes);
    const LineTable table = LoadLineTable(Path(fileName));
    QCOMPARE(table.SeparatorCount, separatorCount);
    if (expectedSlots.isEmpty()) {
        QCOMPARE(int(table.LineCount), 0);
        const auto failure = FailureRaisedBy([&] { table.Slot(0); });
        QVERIFY2(failure.has_value(), "an empty file must leave no slot 0");
        QCOMPARE(failure->ErrorCode, ErrorCodes::SubscriptOutOfRange);
        return;
    }
    QCOMPARE(int(table.LineCount), expectedSlots.size() - 1);
    QCOMPARE(SlotsOf(table), expectedSlots);
}

void QuoteFileTest::relativePathFromCurrentDirectory_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("file name alone") << "Jokes.TXT" << "From the current directory" << 0;
    QTest::newRow("dot slash") << "./Jokes.TXT" << "From the current directory" << 0;
    QTest::newRow("subdirectory") << "sub/Jokes.TXT" << "From sub" << 0;
    QTest::newRow("parent directory") << "../cwd/sub/../Jokes.TXT" << "From the current directory" << 0;
    QTest::newRow("missing file") << "Missing.TXT" << "" << int(ErrorCodes::FileNotFound);
    QTest::newRow("missing directory") << "nodir/Jokes.TXT" << "" << int(ErrorCodes::PathNotFound);
}

void QuoteFileTest::relativePathFromCurrentDirectory()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, firstLine);
    QFETCH(int, errorCode);

    QVERIFY(QDir::setCurrent(Path("cwd")));
    LineTable table;
    const auto failure = FailureRaisedBy([&] { table = LoadLineTable(relativePath); });
    if (errorCode != 0) {
        QVERIFY2(failure.has_value(), "opening must fail");
        QCOMPARE(failure->ErrorCode, errorCode);
        return;
    }
    QVERIFY2(!failure.has_value(), qPrintable(failure ? failure->ErrorDescription : QString()));
    QCOMPARE(table.Slot(0), firstLine);
}

void QuoteFileTest::openFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("errorDescription");
    QTest::addColumn<bool>("deniedOnlyToOthers"); // root may open it anyway

    QTest::newRow("missing file in existing directory")
        << Path("Missing.TXT") << 53 << "File not found" << false;
    QTest::newRow("missing directory") << Path("nodir/Jokes.TXT") << 76 << "Path not found" << false;
    QTest::newRow("missing directory chain") << Path("a/b/c/Jokes.TXT") << 76 << "Path not found" << false;
    QTest::newRow("file used as directory") << Path("plain.TXT/Jokes.TXT") << 76 << "Path not found" << false;
    QTest::newRow("a directory") << dir_.path() << 75 << "Path/File access error" << false;
    QTest::newRow("a directory with trailing slash")
        << dir_.path() + "/" << 75 << "Path/File access error" << false;
    QTest::newRow("name too long")
        << Path(QString(300, QChar('a'))) << 52 << "Bad file name or number" << false;
    QTest::newRow("file without read permission")
        << Path("locked.TXT") << 70 << "Permission denied" << true;
    QTest::newRow("directory without permission")
        << Path("lockeddir/Jokes.TXT") << 70 << "Permission denied" << true;
}

void QuoteFileTest::openFailures()
{
    QFETCH(QString, path);
    QFETCH(int, errorCode);
    QFETCH(QString, errorDescription);
    QFETCH(bool, deniedOnlyToOthers);

    if (deniedOnlyToOthers && ::geteuid() == 0)
        QSKIP("root reads files regardless of their permission bits");

    const auto loadFailure = FailureRaisedBy([&] { LoadLineTable(path); });
    QVERIFY2(loadFailure.has_value(), "LoadLineTable must fail");
    QCOMPARE(loadFailure->ErrorCode, errorCode);
    QCOMPARE(loadFailure->ErrorDescription, errorDescription);

    const auto readFailure = FailureRaisedBy([&] { ReadQuoteFile(path); });
    QVERIFY2(readFailure.has_value(), "ReadQuoteFile must fail");
    QCOMPARE(readFailure->ErrorCode, errorCode);
}

void QuoteFileTest::sizeBound_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("errorCode");

    const qint64 pastBound = kQuoteFileLimitBytes + 1;
    WriteSparseFile(Path("huge-one-line.TXT"), "A", pastBound);
    WriteSparseFile(Path("huge-32766-lines.TXT"), QByteArray("x\r").repeated(32766), pastBound);
    WriteSparseFile(Path("huge-32767-lines.TXT"), QByteArray("x\r").repeated(32767), pastBound);
    WriteSparseFile(Path("huge-32767-crlf-lines.TXT"), QByteArray("x\r\n").repeated(32767), pastBound);

    // Endless or enormous input ends in a message instead of exhausted memory;
    // only text that already holds a 32,768th line is an overflow.
    QTest::newRow("/dev/zero") << "/dev/zero" << int(ErrorCodes::OutOfMemory);
    QTest::newRow("past bound, one line") << Path("huge-one-line.TXT") << int(ErrorCodes::OutOfMemory);
    QTest::newRow("past bound, 32766 line ends")
        << Path("huge-32766-lines.TXT") << int(ErrorCodes::OutOfMemory);
    QTest::newRow("past bound, 32767 line ends")
        << Path("huge-32767-lines.TXT") << int(ErrorCodes::Overflow);
    QTest::newRow("past bound, 32767 crlf line ends")
        << Path("huge-32767-crlf-lines.TXT") << int(ErrorCodes::Overflow);
}

void QuoteFileTest::sizeBound()
{
    QFETCH(QString, path);
    QFETCH(int, errorCode);

    QElapsedTimer timer;
    timer.start();
    const auto failure = FailureRaisedBy([&] { LoadLineTable(path); });
    const qint64 elapsedMs = timer.elapsed();
    QVERIFY2(failure.has_value(), "a file past the size bound must not load");
    QCOMPARE(failure->ErrorCode, errorCode);
    QCOMPARE(failure->ErrorDescription, ErrorDescriptionFor(errorCode));
    QVERIFY2(elapsedMs < kReadTimeBudgetMs, qPrintable(QString("took %1 ms").arg(elapsedMs)));
}

void QuoteFileTest::readLimit_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qsizetype>("limitBytes");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("passedLimit");

    const QByteArray big = Pattern(300000);
    for (const qsizetype sizeBytes : {0, 99, 100, 101, 10000}) {
        const QString name = QString("limit-%1.TXT").arg(sizeBytes);
        WriteFile(Path(name), big.first(sizeBytes));
        QTest::addRow("%d bytes, limit 100", int(sizeBytes))
            << Path(name) << qsizetype(100) << big.first(std::min<qsizetype>(sizeBytes, 100))
            << (sizeBytes > 100);
    }
    WriteFile(Path("big.TXT"), big);
    QTest::newRow("300000 bytes, default limit") << Path("big.TXT") << kQuoteFileLimitBytes << big << false;
    QTest::newRow("300000 bytes, exact limit") << Path("big.TXT") << qsizetype(300000) << big << false;
    QTest::newRow("300000 bytes, one short") << Path("big.TXT") << qsizetype(299999) << big.first(299999) << true;
    // /dev/zero reports no size, so the buffer grows while it is read.
    QTest::newRow("/dev/zero, limit 4096")
        << "/dev/zero" << qsizetype(4096) << QByteArray(4096, '\0') << true;
    QTest::newRow("/dev/zero, limit 1 MiB")
        << "/dev/zero" << qsizetype(1 << 20) << QByteArray(1 << 20, '\0') << true;
    // A FIFO without a writer must not hang the start-up.
    QTest::newRow("fifo without writer") << Path("fifo") << kQuoteFileLimitBytes << QByteArray() << false;
}

void QuoteFileTest::readLimit()
{
    QFETCH(QString, path);
    QFETCH(qsizetype, limitBytes);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, passedLimit);

    QElapsedTimer timer;
    timer.start();
    const QuoteFileBytes file = ReadQuoteFile(path, limitBytes);
    QVERIFY2(timer.elapsed() < kReadTimeBudgetMs, qPrintable(QString("took %1 ms").arg(timer.elapsed())));
    QCOMPARE(file.passedLimit, passedLimit);
    QCOMPARE(file.bytes.size(), bytes.size());
    QVERIFY2(file.bytes == bytes, "the bytes read differ from the file's");
}

void QuoteFileTest::readingLeavesFileUnchanged()
{
    const QString path = Path("unchanged.TXT");
    const QByteArray original("A\r\n***\r\nB\r\n");
    WriteFile(path, original);
    const QDateTime oldTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(oldTime, QFileDevice::FileModificationTime));
    }
    const QFileDevice::Permissions permissions = QFile::permissions(path);

    const LineTable table = LoadLineTable(path);
    QCOMPARE(int(table.LineCount), 3);
    const QuoteFileBytes file = ReadQuoteFile(path);
    QCOMPARE(file.bytes, original);

    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), original);
    const QFileInfo info(path);
    QCOMPARE(info.lastModified().toUTC(), oldTime);
    QCOMPARE(info.size(), qint64(original.size()));
    QCOMPARE(QFile::permissions(path), permissions);
}

void QuoteFileTest::closesFileAfterReading()
{
    // The file is held open only while it is read.
    WriteFile(Path("closing.TXT"), "A\r***\rB\r");
    const int before = OpenDescriptorCount();
    for (int round = 0; round < 50; ++round) {
        QCOMPARE(int(LoadLineTable(Path("closing.TXT")).LineCount), 3);
        QVERIFY(ReadQuoteFile(QStringLiteral("/dev/zero"), 16).passedLimit);
    }
    QCOMPARE(OpenDescriptorCount(), before);
}

QTEST_GUILESS_MAIN(QuoteFileTest)
#include "tst_quotefile.moc"
