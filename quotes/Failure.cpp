#include "quotes/Failure.h"

#include "quotes/ErrorFacility.h"

namespace quoteshow {

void RaiseFailure(std::int32_t errorCode)
{
    throw Failure{errorCode, ErrorDescriptionFor(errorCode)};
}

void RaiseFailureFromErrno(int err, const QString &path)
{
    throw FailureForErrno(err, path);
}

} // namespace quoteshow
