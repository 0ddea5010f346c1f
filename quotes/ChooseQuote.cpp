#include "quotes/ChooseQuote.h"

#include <chrono>
#include <cmath>
#include <random>

namespace quoteshow {

int QuoteNumberFor(float r, int separatorCount)
{
    const float product = r * float(separatorCount);
    const float sum = product + 1.0f;
    return int(std::floor(sum));
}

float UniformFromBits(std::uint64_t bits)
{
    constexpr float kStep = 1.0f / 16777216.0f; // 2^-24
    return float(bits & 0xFFFFFFu) * kStep;
}

int ChooseQuote(int separatorCount)
{
    // Seeded afresh on every run, so that two runs pick independently.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::mt19937_64 generator(std::uint64_t(std::chrono::nanoseconds(now).count()));
    // The top bits of a Mersenne Twister draw are its best mixed.
    const float r = UniformFromBits(generator() >> 40);
    return QuoteNumberFor(r, separatorCount);
}

} // namespace quoteshow
