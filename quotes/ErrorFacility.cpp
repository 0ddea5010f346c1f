#include "quotes/ErrorFacility.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace quoteshow {
namespace {

struct KnownError {
    std::int32_t code;
    const char *description;
};

constexpr std::array kKnownErrors{
    KnownError{ErrorCodes::Overflow, "Overflow"},
    KnownError{ErrorCodes::OutOfMemory, "Out of memory"},
    KnownError{ErrorCodes::SubscriptOutOfRange, "Subscript out of range"},
    KnownError{ErrorCodes::BadFileNameOrNumber, "Bad file name or number"},
    KnownError{ErrorCodes::FileNotFound, "File not found"},
    KnownError{ErrorCodes::DeviceIoError, "Device I/O error"},
    KnownError{ErrorCodes::PermissionDenied, "Permission denied"},
    KnownError{ErrorCodes::PathFileAccessError, "Path/File access error"},
    KnownError{ErrorCodes::PathNotFound, "Path not found"},
};

QString SystemText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

bool ContainingDirectoryExists(const QString &path)
{
    const QString dir = QFileInfo(path).path();
    struct stat info {};
    return ::stat(QFile::encodeName(dir).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

QString ErrorDescriptionFor(std::int32_t errorCode)
{
    for (const KnownError &known : kKnownErrors) {
        if (known.code == errorCode)
            return QString::fromLatin1(known.description);
    }
    return SystemText(errorCode);
}

Failure FailureForErrno(int err, const QString &path)
{
    auto known = [](std::int32_t code) { return Failure{code, ErrorDescriptionFor(code)}; };
    switch (err) {
    case ENOENT:
        return known(ContainingDirectoryExists(path) ? ErrorCodes::FileNotFound
                                                     : ErrorCodes::PathNotFound);
    case ENOTDIR:
        return known(ErrorCodes::PathNotFound);
    case EISDIR:
        return known(ErrorCodes::PathFileAccessError);
    case EACCES:
    case EPERM:
        return known(ErrorCodes::PermissionDenied);
    case ENAMETOOLONG:
    case EILSEQ:
        return known(ErrorCodes::BadFileNameOrNumber);
    case EIO:
        return known(ErrorCodes::DeviceIoError);
    case ENOMEM:
        return known(ErrorCodes::OutOfMemory);
    default:
        // Unmapped errors keep the system's own number and text, so that
        // they cannot be mistaken for one of the program's codes above.
        return Failure{err, SystemText(err)};
    }
}

} // namespace quoteshow
