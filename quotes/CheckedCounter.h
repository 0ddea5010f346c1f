#pragma once
// The 16-bit counters that bound reading and walking the quote file: going
// past 32767 is an overflow Failure, never a silent wrap.

#include "quotes/ErrorFacility.h"

#include <cstdint>
#include <limits>

namespace quoteshow {

inline std::int16_t CheckedIncrement(std::int16_t counter)
{
    if (counter == std::numeric_limits<std::int16_t>::max())
        RaiseFailure(ErrorCodes::Overflow);
    return std::int16_t(counter + 1);
}

} // namespace quoteshow
