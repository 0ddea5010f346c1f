#include "quotes/QuoteFileReader.h"

#include "quotes/Failure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quoteshow {
namespace {

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        // O_NONBLOCK keeps a FIFO without a writer from hanging the open;
        // reads are made blocking again right after.
        fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0)
            RaiseFailureFromErrno(errno, path);
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    }
    ~ReadOnlyFile() { ::close(fd_); }
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

qsizetype InitialCapacity(int fd, qsizetype limitBytes)
{
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size <= 0 || ::lseek(fd, 0, SEEK_SET) != 0)
        return 64 * 1024;
    return qsizetype(std::min<off_t>(size, off_t(limitBytes)) + 1);
}

} // namespace

QuoteFileBytes ReadQuoteFile(const QString &quotePath, qsizetype limitBytes)
{
    ReadOnlyFile file(quotePath);
    QuoteFileBytes result;
    QByteArray &bytes = result.bytes;
    // One byte past the limit tells a file of exactly the limit from a longer one.
    bytes.resize(InitialCapacity(file.fd(), limitBytes));
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, limitBytes + 1));
        const ssize_t got = ::read(file.fd(), bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseFailureFromErrno(errno, quotePath);
        }
        if (got == 0)
            break;
        used += got;
        if (used > limitBytes) {
            used = limitBytes;
            result.passedLimit = true;
            break;
        }
    }
    bytes.resize(used);
    return result;
}

} // namespace quoteshow
