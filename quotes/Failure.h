#pragma once
// The one error type of the program: every step that fails raises a Failure,
// and start-up catches it once and reports it.

#include <QString>
#include <cstdint>

namespace quoteshow {

struct Failure {
    std::int32_t ErrorCode = 0;
    QString ErrorDescription;
};

// Raises a Failure whose description comes from the error facility's table.
[[noreturn]] void RaiseFailure(std::int32_t errorCode);

// Raises the Failure that stands for a failed system call on the quote file.
[[noreturn]] void RaiseFailureFromErrno(int err, const QString &path);

} // namespace quoteshow
