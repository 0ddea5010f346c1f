#pragma once
// Picking a quote number at random.

#include <cstdint>

namespace quoteshow {

// The quote number for a draw r in [0, 1): floor(r * separatorCount + 1), the
// product and the sum each rounded to single precision. For a power-of-two
// count and the largest r below 1 the sum rounds up to separatorCount + 1,
// which then names the lines after the last separator.
int QuoteNumberFor(float r, int separatorCount);

// The single-precision value k / 2^24 for the low 24 bits k of `bits`: every
// one of the 2^24 values in [0, 1) that this spacing allows.
float UniformFromBits(std::uint64_t bits);

// Seeds a generator from the clock, draws r and returns QuoteNumberFor(r, ...).
int ChooseQuote(int separatorCount);

} // namespace quoteshow
