#pragma once
// Error numbers and their descriptions: the only place they are written.
// File errors from the system (errno) are mapped onto the same numbering.

#include "quotes/Failure.h"

#include <QString>
#include <cstdint>

namespace quoteshow::ErrorCodes {
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t BadFileNameOrNumber = 52;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t DeviceIoError = 57;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t PathFileAccessError = 75;
inline constexpr std::int32_t PathNotFound = 76;
} // namespace quoteshow::ErrorCodes

namespace quoteshow {

// The description of one of the program's own codes; for any other number,
// the system's text for that errno value.
QString ErrorDescriptionFor(std::int32_t errorCode);

// The Failure for a system error met while opening or reading `path`.
// A missing file is 53 only when its directory exists; otherwise 76.
Failure FailureForErrno(int err, const QString &path);

} // namespace quoteshow
