#pragma once

#include "core/Cp1252.h"

#include <array>
#include <QByteArray>
#include <QtGlobal>

namespace orba {

// Share of each upper-cased byte in the catalogue text: it tells which bytes of a search value
// are rare enough to look for first.
using ByteShares = std::array<double, 256>;

// An upper-cased search value, found case-insensitively in raw cp1252 text. The search checks
// the value's two rarest bytes at sixteen positions at once and compares the whole value only
// where both fit, so frequent values cost no folding of every byte.
class Needle {
public:
    Needle() = default;
    Needle(QByteArray upper, const ByteShares& shares);

    qsizetype size() const { return m_bytes.size(); }
    // Expected share of text positions where the two rare bytes fit: lower is more selective.
    double candidateShare() const { return m_candidateShare; }

    bool isPrefixOf(const char* begin, const char* end) const {
        return end - begin >= size() && equalsAt(reinterpret_cast<const unsigned char*>(begin));
    }

    // The first occurrence lying wholly inside [begin, end), or nullptr.
    const char* find(const char* begin, const char* end) const;

private:
    // Byte c passes when (c | mask) == target: a superset of the bytes that fold to the value's
    // byte (a letter and its small form differ in one or two bits).
    struct Probe {
        Probe() = default;
        Probe(qsizetype at, unsigned char upper);
        bool fits(const unsigned char* at) const { return (at[offset] | mask) == target; }
        qsizetype offset = 0;
        unsigned char mask = 0;
        unsigned char target = 0;
        // Mask and target repeated for the sixteen lanes of the vector search.
        alignas(16) std::array<unsigned char, 16> maskLanes{};
        alignas(16) std::array<unsigned char, 16> targetLanes{};
    };

    bool equalsAt(const unsigned char* at) const {
        const unsigned char* const value = reinterpret_cast<const unsigned char*>(m_bytes.data());
        for (qsizetype i = 0; i < size(); ++i) {
            if (m_fold[at[i]] != value[i])
                return false;
        }
        return true;
    }

    QByteArray m_bytes;
    const unsigned char* m_fold = cp1252::upperTable();
    std::array<Probe, 2> m_rare;
    double m_candidateShare = 1.0;
};

} // namespace orba
