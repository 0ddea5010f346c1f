#pragma once
// Hands back the Failure a step raised, so that a test compares its code and
// text rather than merely noticing that something was thrown.

#include "quotes/Failure.h"

#include <optional>
#include <utility>

namespace quoteshow::testing {

template <typename Step>
std::optional<Failure> FailureRaisedBy(Step &&step)
{
    try {
        std::forward<Step>(step)();
    } catch (const Failure &failure) {
        return failure;
    }
    return std::nullopt;
}

} // namespace quoteshow::testing
