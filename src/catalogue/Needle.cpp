#include "catalogue/Needle.h"

#include "core/Cp1252.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orba {
namespace {

using Byte = unsigned char;

} // namespace

Needle::Probe::Probe(qsizetype at, Byte upper) : offset(at) {
    const Byte* const fold = cp1252::upperTable();
    for (int c = 0; c < 256; ++c) {
        if (fold[c] == upper)
            mask |= Byte(c ^ upper);
    }
    target = upper | mask;
}

Needle::Needle(QByteArray upper, const ByteShares& shares) : m_bytes(std::move(upper)) {
    const qsizetype size = m_bytes.size();
    auto share = [&](qsizetype at) { return shares[Byte(m_bytes[at])]; };
    qsizetype rarest = 0;
    for (qsizetype i = 1; i < size; ++i)
        rarest = share(i) < share(rarest) ? i : rarest;
    qsizetype second = rarest;
    for (qsizetype i = 0; i < size; ++i) {
        if (i != rarest && (second == rarest || share(i) < share(second)))
            second = i;
    }
    m_rare = {Probe(rarest, Byte(m_bytes[rarest])), Probe(second, Byte(m_bytes[second]))};
    m_candidateShare = second == rarest ? share(rarest) : share(rarest) * share(second);
}

const char* Needle::find(const char* begin, const char* end) const {
    if (end - begin < size())
        return nullptr;
    const Byte* const at = reinterpret_cast<const Byte*>(begin);
    const qsizetype starts = end - begin - size() + 1;
    qsizetype i = 0;
#ifdef __SSE2__
    // Sixteen starting positions per vector, four vectors per step while they last; the loads
    // stay inside [begin, end).
    const Byte* const a = at + m_rare[0].offset;
    const Byte* const b = at + m_rare[1].offset;
    const __m128i maskA = _mm_set1_epi8(char(m_rare[0].mask));
    const __m128i targetA = _mm_set1_epi8(char(m_rare[0].target));
    const __m128i maskB = _mm_set1_epi8(char(m_rare[1].mask));
    const __m128i targetB = _mm_set1_epi8(char(m_rare[1].target));
    auto candidates = [&](qsizetype from) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + from));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + from));
        return _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(x, maskA), targetA),
                             _mm_cmpeq_epi8(_mm_or_si128(y, maskB), targetB));
    };
    auto verify = [&](qsizetype from, __m128i fits) -> const char* {
        for (unsigned bits = unsigned(_mm_movemask_epi8(fits)); bits; bits &= bits - 1) {
            const Byte* const start = at + from + std::countr_zero(bits);
            if (equalsAt(start))
                return reinterpret_cast<const char*>(start);
        }
        return nullptr;
    };
    for (; i + 64 <= starts; i += 64) {
        const __m128i fits[4] = {candidates(i), candidates(i + 16), candidates(i + 32),
                                 candidates(i + 48)};
        const __m128i any =
            _mm_or_si128(_mm_or_si128(fits[0], fits[1]), _mm_or_si128(fits[2], fits[3]));
        if (_mm_movemask_epi8(any) == 0)
            continue;
        for (int k = 0; k < 4; ++k) {
            if (const char* found = verify(i + 16 * k, fits[k]))
                return found;
        }
    }
    for (; i + 16 <= starts; i += 16) {
        if (const char* found = verify(i, candidates(i)))
            return found;
    }
#endif
    for (; i < starts; ++i) {
        if (m_rare[0].fits(at + i) && m_rare[1].fits(at + i) && equalsAt(at + i))
            return reinterpret_cast<const char*>(at + i);
    }
    return nullptr;
}

} // namespace orba
