#pragma once
// Finding the carriage returns that end a quote file's lines, in one
// vectorised pass: a quote file is mostly short lines, for which a memchr
// call per line costs more than the search itself.

#include <QByteArrayView>

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quoteshow {

class CarriageReturnFinder {
public:
    explicit CarriageReturnFinder(QByteArrayView bytes) : data_(bytes.data()), size_(bytes.size()) {}

    // The position of the next carriage return, or -1 past the last one.
    qsizetype Next()
    {
        while (hits_ == 0) {
            if (block_ >= size_)
                return -1;
            LoadBlock();
        }
        const qsizetype position = block_ - kBlockBytes + __builtin_ctzll(hits_);
        hits_ &= hits_ - 1;
        return position;
    }

    // Whether any byte seen so far is outside ASCII; once Next() has returned
    // -1, whether the whole text is.
    bool SawNonAscii() const { return highBits_ != 0; }

private:
    static constexpr qsizetype kBlockBytes = 64;

    void LoadBlock()
    {
#if defined(__SSE2__)
        if (block_ + kBlockBytes <= size_) {
            const __m128i carriageReturn = _mm_set1_epi8('\r');
            std::uint64_t hits = 0;
            __m128i any = _mm_setzero_si128();
            for (int part = 0; part < 4; ++part) {
                const __m128i chunk =
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(data_ + block_ + 16 * part));
                hits |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, carriageReturn))))
                        << (16 * part);
                any = _mm_or_si128(any, chunk);
            }
            hits_ = hits;
            highBits_ |= unsigned(_mm_movemask_epi8(any));
            block_ += kBlockBytes;
            return;
        }
#endif
        // The tail, or every block where SSE2 is missing.
        const qsizetype count = std::min(kBlockBytes, size_ - block_);
        for (qsizetype i = 0; i < count; ++i) {
            const auto byte = static_cast<unsigned char>(data_[block_ + i]);
            hits_ |= std::uint64_t(byte == '\r') << i;
            highBits_ |= byte & 0x80u;
        }
        block_ += kBlockBytes;
    }

    const char *data_;
    qsizetype size_;
    qsizetype block_ = 0; // start of the block after the one in hits_
    std::uint64_t hits_ = 0;
    unsigned highBits_ = 0;
};

} // namespace quoteshow
