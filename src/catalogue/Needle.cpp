#include "catalogue/Needle.h"

#include "core/Cp1252.h"

#include <bit>
#include <cstdint>

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
    maskLanes.fill(mask);
    targetLanes.fill(target);
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
    auto lanes = [](const std::array<Byte, 16>& bytes) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes.data()));
    };
    const __m128i maskA = lanes(m_rare[0].maskLanes);
    const __m128i targetA = lanes(m_rare[0].targetLanes);
    const __m128i maskB = lanes(m_rare[1].maskLanes);
    const __m128i targetB = lanes(m_rare[1].targetLanes);
    auto candidates = [&](qsizetype from) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + from));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + from));
        return _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(x, maskA), targetA),
                             _mm_cmpeq_epi8(_mm_or_si128(y, maskB), targetB));
    };
    auto bits = [](__m128i fits) { return std::uint64_t(unsigned(_mm_movemask_epi8(fits))); };
    // Compares the value at each candidate start, bit k of `fits` standing for from + k.
    auto verify = [&](qsizetype from, std::uint64_t fits) -> const char* {
        for (; fits; fits &= fits - 1) {
            const Byte* const start = at + from + std::countr_zero(fits);
            if (equalsAt(start))
                return reinterpret_cast<const char*>(start);
        }
        return nullptr;
    };
    for (; i + 64 <= starts; i += 64) {
        const __m128i fits0 = candidates(i);
        const __m128i fits1 = candidates(i + 16);
        const __m128i fits2 = candidates(i + 32);
        const __m128i fits3 = candidates(i + 48);
        if (_mm_movemask_epi8(
                _mm_or_si128(_mm_or_si128(fits0, fits1), _mm_or_si128(fits2, fits3))) == 0)
            continue;
        const std::uint64_t fits =
            bits(fits0) | bits(fits1) << 16 | bits(fits2) << 32 | bits(fits3) << 48;
        if (const char* found = verify(i, fits))
            return found;
    }
    for (; i + 16 <= starts; i += 16) {
        if (const char* found = verify(i, bits(candidates(i))))
            return found;
    }
    if (i < starts && starts >= 16) {
        // The last starts once more in a vector that overlaps the ones already tested.
        const qsizetype last = starts - 16;
        return verify(last, bits(candidates(last)) >> (i - last) << (i - last));
    }
#endif
    for (; i < starts; ++i) {
        if (m_rare[0].fits(at + i) && m_rare[1].fits(at + i) && equalsAt(at + i))
            return reinterpret_cast<const char*>(at + i);
    }
    return nullptr;
}

} // namespace orba
