#include "catalogue/SearchEngine.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "core/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orba {
namespace {

using Byte = unsigned char;

const Byte* foldTable() {
    static const Byte* const table = cp1252::upperTable();
    return table;
}

// Share of each upper-cased byte in the catalogue text, judged from evenly spread samples; it
// tells which byte of a search value is rare enough to look for first.
using ByteShares = std::array<double, 256>;

ByteShares sampleByteShares(const Catalogue& catalogue) {
    constexpr qsizetype SampleCount = 64;
    constexpr qsizetype SampleSize = 1024;
    const qsizetype size = catalogue.count() > 0 ? catalogue.end(catalogue.count() - 1) : 0;
    const Byte* const data = reinterpret_cast<const Byte*>(catalogue.data());
    const Byte* const fold = foldTable();
    std::array<qsizetype, 256> counts;
    counts.fill(1); // no byte is ever taken for absent
    auto count = [&](qsizetype from, qsizetype length) {
        for (qsizetype i = from; i < from + length; ++i)
            ++counts[fold[data[i]]];
    };
    if (size <= SampleCount * SampleSize) {
        count(0, size);
    } else {
        for (qsizetype k = 0; k < SampleCount; ++k)
            count(size / SampleCount * k, SampleSize);
    }
    qsizetype total = 0;
    for (qsizetype c : counts)
        total += c;
    ByteShares shares;
    for (int b = 0; b < 256; ++b)
        shares[b] = double(counts[b]) / double(total);
    return shares;
}

// An age-group criterion names its flag as a decimal number: leading blanks and a sign are
// allowed, digits count up to the first other character, no digits mean 0.
int agePosition(QByteArrayView value) {
    qsizetype i = 0;
    while (i < value.size() && value[i] == ' ')
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    int number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
        number = std::min(number * 10 + (value[i] - '0'), 1000); // anything above 4 fails alike
    return negative ? -number : number;
}

bool hasSeparator(const char* begin, const char* end) {
    return std::memchr(begin, '|', end - begin) != nullptr;
}

// What compiling one criterion line yields: a test, or a verdict that needs no record.
enum class Verdict { Test, AlwaysPasses, NeverPasses };

QByteArrayView view(const char* begin, const char* end) {
    return QByteArrayView(begin, end - begin);
}

} // namespace

// An upper-cased search value, found case-insensitively in raw cp1252 text. The search checks
// the value's two rarest bytes at all positions of a block at once, in a loop the compiler turns
// into vector code, and compares the whole value only where both fit.
class SearchEngine::Needle {
public:
    Needle() = default;
    Needle(QByteArray upper, const ByteShares& shares) : m_bytes(std::move(upper)) {
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

    qsizetype size() const { return m_bytes.size(); }
    // Expected share of text positions where the two rare bytes fit: lower is more selective.
    double candidateShare() const { return m_candidateShare; }

    bool isPrefixOf(const char* begin, const char* end) const {
        return end - begin >= size() && equalsAt(reinterpret_cast<const Byte*>(begin));
    }

    // The first occurrence lying wholly inside [begin, end), or nullptr.
    const char* find(const char* begin, const char* end) const {
        constexpr qsizetype Block = 64;
        if (end - begin < size())
            return nullptr;
        const Byte* const at = reinterpret_cast<const Byte*>(begin);
        const Byte* const last = reinterpret_cast<const Byte*>(end) - size();
        const Byte* const a = at + m_rare[0].offset;
        const Byte* const b = at + m_rare[1].offset;
        const Probe p = m_rare[0];
        const Probe q = m_rare[1];
        qsizetype i = 0;
        for (; last - (at + i) >= Block - 1; i += Block) {
            Byte any = 0;
            for (qsizetype j = i; j < i + Block; ++j)
                any |= Byte(((a[j] | p.mask) == p.target) & ((b[j] | q.mask) == q.target));
            if (!any)
                continue;
            for (qsizetype j = i; j < i + Block; ++j) {
                if (candidateAt(at + j) && equalsAt(at + j))
                    return reinterpret_cast<const char*>(at + j);
            }
        }
        for (; at + i <= last; ++i) {
            if (candidateAt(at + i) && equalsAt(at + i))
                return reinterpret_cast<const char*>(at + i);
        }
        return nullptr;
    }

private:
    // Byte c passes when (c | mask) == target: a superset of the bytes that fold to the value's
    // byte (a letter and its small form differ in one or two bits).
    struct Probe {
        Probe() = default;
        Probe(qsizetype at, Byte upper) : offset(at) {
            const Byte* const fold = foldTable();
            for (int c = 0; c < 256; ++c) {
                if (fold[c] == upper)
                    mask |= Byte(c ^ upper);
            }
            target = upper | mask;
        }
        qsizetype offset = 0;
        Byte mask = 0;
        Byte target = 0;
    };

    bool candidateAt(const Byte* at) const {
        return ((at[m_rare[0].offset] | m_rare[0].mask) == m_rare[0].target) &&
               ((at[m_rare[1].offset] | m_rare[1].mask) == m_rare[1].target);
    }

    bool equalsAt(const Byte* at) const {
        const Byte* const fold = foldTable();
        const Byte* const value = reinterpret_cast<const Byte*>(m_bytes.constData());
        for (qsizetype i = 0; i < size(); ++i) {
            if (fold[at[i]] != value[i])
                return false;
        }
        return true;
    }

    QByteArray m_bytes;
    std::array<Probe, 2> m_rare;
    double m_candidateShare = 1.0;
};

struct SearchEngine::Term {
    enum class Kind { FreeText, FreeTextWithStop, Prefix, Contains, AgeGroup };
    Kind kind = Kind::FreeText;
    int field = 0;
    int position = 0; // age groups only
    Needle value;
    Needle blanked;         // " value ", with a full stop only
    Needle beforeSeparator; // "value|", with a full stop only

    // The engine upper-cases the whole line, takes its first character as the code and all
    // after the second as the value; the second character is not looked at.
    Verdict compile(const QString& criterion, const ByteShares& shares) {
        const QStringView text(criterion);
        bool lossless = true;
        const QByteArray upper = cp1252::upper(cp1252::encode(text.mid(2), &lossless));
        const char code =
            text.isEmpty() ? '\0' : char(cp1252::upper(Byte(cp1252::encode(text.first(1))[0])));
        field = record::fieldOfCode(code);
        if (code == '8') {
            kind = Kind::AgeGroup;
            position = agePosition(upper);
            if (position <= 0)
                return Verdict::AlwaysPasses;
            return position > 4 ? Verdict::NeverPasses : Verdict::Test;
        }
        if (field == -2)
            return Verdict::AlwaysPasses;
        if (upper.isEmpty())
            return code == '0' ? Verdict::NeverPasses : Verdict::AlwaysPasses;
        // A character without a cp1252 form cannot occur in the catalogue.
        if (!lossless)
            return Verdict::NeverPasses;
        value = Needle(upper, shares);
        if (code == '1') {
            kind = Kind::Prefix;
        } else if (code != '0') {
            kind = Kind::Contains;
        } else if (upper.contains('.')) {
            kind = Kind::FreeTextWithStop;
            blanked = Needle(' ' + upper + ' ', shares);
            beforeSeparator = Needle(upper + '|', shares);
        } else {
            kind = Kind::FreeText;
        }
        return Verdict::Test;
    }

    // Whether the search needs this term's value somewhere in a line, which makes the value a
    // prefilter.
    bool needsValue() const { return kind != Kind::AgeGroup; }

    bool passes(QByteArrayView line) const {
        const char* const begin = line.data();
        const char* const end = begin + line.size();
        switch (kind) {
        case Kind::FreeText:
            // Any occurrence from the second character on; one at the very start alone is not
            // enough.
            return !line.isEmpty() && value.find(begin + 1, end);
        case Kind::FreeTextWithStop:
            return (value.isPrefixOf(begin, end) && line.size() > value.size() &&
                    line[value.size()] == ' ') ||
                   blanked.find(begin, end) || beforeSeparator.find(begin, end);
        case Kind::Prefix: {
            const QByteArrayView text = record::field(line, field);
            return value.isPrefixOf(text.data(), text.data() + text.size());
        }
        case Kind::Contains: {
            const QByteArrayView text = record::field(line, field);
            return value.find(text.data(), text.data() + text.size());
        }
        case Kind::AgeGroup: {
            const QByteArrayView flags = record::field(line, field);
            return flags.size() == 4 && flags[position - 1] == '1';
        }
        }
        return false;
    }
};

SearchEngine::SearchEngine(const Catalogue& catalogue, const CriteriaList& criteria)
    : m_catalogue(catalogue) {
    const ByteShares shares = sampleByteShares(catalogue);
    for (const QString& criterion : criteria) {
        Term term;
        const Verdict verdict = term.compile(criterion, shares);
        if (verdict == Verdict::NeverPasses)
            m_nothingPasses = true;
        if (verdict == Verdict::Test)
            m_terms.push_back(std::move(term));
    }
    // The most selective value leads the scan; of two alike, the longer one.
    auto leads = [](const Term& term, const Term* best) {
        if (!best)
            return true;
        const double share = term.value.candidateShare();
        const double bestShare = best->value.candidateShare();
        return share < bestShare || (share == bestShare && term.value.size() > best->value.size());
    };
    for (const Term& term : m_terms) {
        if (term.needsValue() && leads(term, m_prefilter))
            m_prefilter = &term;
    }
}

SearchEngine::~SearchEngine() = default;

bool SearchEngine::matches(qsizetype index) const {
    return passes(m_catalogue.line(index));
}

qsizetype SearchEngine::scan(qsizetype from, qsizetype to, std::vector<qint32>& hits) const {
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, m_catalogue.count());
    if (from >= to || m_nothingPasses)
        return 0;
    const std::size_t before = hits.size();
    if (m_prefilter)
        scanPrefiltered(from, to, hits);
    else
        scanEach(from, to, hits);
    return qsizetype(hits.size() - before);
}

bool SearchEngine::passes(QByteArrayView line) const {
    if (m_nothingPasses)
        return false;
    return std::all_of(m_terms.begin(), m_terms.end(),
                       [line](const Term& term) { return term.passes(line); });
}

void SearchEngine::takeIfHit(qsizetype index, std::vector<qint32>& hits) const {
    const char* const data = m_catalogue.data();
    const char* const begin = data + m_catalogue.begin(index);
    const char* const end = data + m_catalogue.end(index);
    if (hasSeparator(begin, end) && passes(view(begin, end)))
        hits.push_back(qint32(index));
}

void SearchEngine::scanEach(qsizetype from, qsizetype to, std::vector<qint32>& hits) const {
    for (qsizetype index = from; index < to; ++index)
        takeIfHit(index, hits);
}

// Finds the prefilter value in the text of all records at once and tests only the records that
// can hold it, each once, however often the value occurs in it.
void SearchEngine::scanPrefiltered(qsizetype from, qsizetype to, std::vector<qint32>& hits) const {
    const Needle& needle = m_prefilter->value;
    const char* const data = m_catalogue.data();
    const char* const rangeEnd = data + m_catalogue.end(to - 1);
    const char* searchFrom = data + m_catalogue.begin(from);
    qsizetype index = from;
    while (const char* const found = needle.find(searchFrom, rangeEnd)) {
        // No record that ends before this occurrence can hold one, as none was found earlier.
        // An occurrence running across a line end fails the full test of the record it ends in.
        index = firstRecordEndingAtOrAfter(found - data + needle.size(), index, to);
        takeIfHit(index, hits);
        if (++index == to)
            return;
        searchFrom = data + m_catalogue.begin(index);
    }
}

// The first record from `index` on whose line ends at `offset` or later; such a record exists
// below `to`, as the search never looks past the end of record to - 1.
qsizetype SearchEngine::firstRecordEndingAtOrAfter(qsizetype offset, qsizetype index,
                                                   qsizetype to) const {
    // Hits are often close together: a few steps forward usually suffice.
    for (int step = 0; step < 8 && index < to; ++step, ++index) {
        if (m_catalogue.end(index) >= offset)
            return index;
    }
    qsizetype low = index;
    qsizetype high = to - 1;
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (m_catalogue.end(middle) >= offset)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace orba
