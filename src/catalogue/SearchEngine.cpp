#include "catalogue/SearchEngine.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Needle.h"
#include "catalogue/Record.h"
#include "core/Cp1252.h"
#include "core/Parallel.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <tuple>
#include <utility>

namespace orba {
namespace {

using Byte = unsigned char;

// A scan of this much text or more is shared among the cores, in pieces of about PieceBytes; a
// shorter one costs less than handing it out.
constexpr qsizetype SharedScanBytes = 4 * 1024 * 1024;
constexpr qsizetype PieceBytes = 512 * 1024;

// While a record is tested, the start of the record so many places further on is fetched into the
// cache: a test that ends early in a record leaves gaps in the reading that the processor does
// not see coming. Most records fit into the lines fetched.
constexpr qsizetype PrefetchRecords = 16;
constexpr qsizetype PrefetchLines = 7;
constexpr qsizetype CacheLine = 64;

// From this share of records holding the leading value on, looking for the value first costs
// more than it saves.
constexpr double DenseRecordShare = 0.5;

// The shares of the upper-cased bytes, judged from evenly spread samples of the text.
ByteShares sampleByteShares(const Catalogue& catalogue) {
    constexpr qsizetype SampleCount = 32;
    constexpr qsizetype SampleSize = 1024;
    const qsizetype size = catalogue.count() > 0 ? catalogue.end(catalogue.count() - 1) : 0;
    const Byte* const data = reinterpret_cast<const Byte*>(catalogue.data());
    std::array<qsizetype, 256> counts{};
    auto count = [&](qsizetype from, qsizetype length) {
        for (qsizetype i = from; i < from + length; ++i)
            ++counts[data[i]];
    };
    if (size <= SampleCount * SampleSize) {
        count(0, size);
    } else {
        for (qsizetype k = 0; k < SampleCount; ++k)
            count(size / SampleCount * k, SampleSize);
    }
    std::array<qsizetype, 256> folded;
    folded.fill(1); // no byte is ever taken for absent
    const Byte* const fold = cp1252::upperTable();
    qsizetype total = 0;
    for (int b = 0; b < 256; ++b) {
        folded[fold[b]] += counts[b];
        total += counts[b] + 1;
    }
    ByteShares shares;
    for (int b = 0; b < 256; ++b)
        shares[b] = double(folded[b]) / double(total);
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

// A players criterion names its range as "from-to", each end digits or nothing for an open one.
// None for any other value.
std::optional<std::pair<int, int>> playerRange(QByteArrayView value) {
    const qsizetype dash = value.indexOf('-');
    if (dash < 0)
        return std::nullopt;
    const auto bound = [](QByteArrayView digits, int open) -> std::optional<int> {
        if (digits.isEmpty())
            return open;
        int number = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            number = std::min(number * 10 + (c - '0'), 1000000);
        }
        return number;
    };
    const std::optional<int> from = bound(value.first(dash), 0);
    const std::optional<int> to = bound(value.sliced(dash + 1), INT_MAX);
    if (!from || !to)
        return std::nullopt;
    return std::pair(*from, *to);
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

struct SearchEngine::Term {
    enum class Kind { FreeText, FreeTextWithStop, Prefix, Contains, AgeGroup, Players };
    Kind kind = Kind::FreeText;
    int field = 0;
    int position = 0;            // age groups only
    std::pair<int, int> players; // players only: from and to
    Needle value;
    double passShare = 0;

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
        if (code == 'D') {
            const auto range = playerRange(upper);
            if (!range)
                return Verdict::AlwaysPasses;
            kind = Kind::Players;
            players = *range;
            return players.first <= players.second ? Verdict::Test : Verdict::NeverPasses;
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
        } else {
            kind = Kind::FreeText;
        }
        return Verdict::Test;
    }

    // Whether the search needs this term's value somewhere in a line, which makes the value a
    // prefilter.
    bool needsValue() const { return kind != Kind::AgeGroup && kind != Kind::Players; }

    bool passes(QByteArrayView line) const {
        const char* const begin = line.data();
        const char* const end = begin + line.size();
        if (kind == Kind::Players) {
            const std::optional<int> count = record::playerCount(line);
            return count && *count >= players.first && *count <= players.second;
        }
        const QByteArrayView text = kind == Kind::FreeText || kind == Kind::FreeTextWithStop
                                        ? QByteArrayView()
                                        : record::field(line, field);
        switch (kind) {
        case Kind::FreeText:
            // Any occurrence from the second character on; one at the very start alone is not
            // enough.
            return !line.isEmpty() && value.find(begin + 1, end);
        case Kind::FreeTextWithStop:
            // The value at the start of the line before a blank, between blanks or before a
            // separator; neither blank nor separator has another case.
            for (const char* at = value.find(begin, end); at; at = value.find(at + 1, end)) {
                const char* const after = at + value.size();
                if (after < end &&
                    (*after == '|' || (*after == ' ' && (at == begin || at[-1] == ' '))))
                    return true;
            }
            return false;
        case Kind::Prefix:
            return value.isPrefixOf(text.data(), text.data() + text.size());
        case Kind::Contains:
            return value.find(text.data(), text.data() + text.size());
        case Kind::AgeGroup:
            return text.size() == 4 && text[position - 1] == '1';
        case Kind::Players:
            break;
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
        m_nothingPasses = m_nothingPasses || verdict == Verdict::NeverPasses;
        if (verdict == Verdict::Test)
            m_terms.push_back(std::move(term));
    }
    // The term that fails most often is tested first, and the first with a value leads the scan:
    // of two alike the one with the rarer value, the longer one then. A term that most records
    // pass leads no better than testing every record in turn.
    for (Term& term : m_terms)
        term.passShare = sampledPassShare(term);
    std::stable_sort(m_terms.begin(), m_terms.end(), [](const Term& a, const Term& b) {
        const double shareA = a.value.candidateShare();
        const double shareB = b.value.candidateShare();
        return std::tuple(a.passShare, shareA, -a.value.size()) <
               std::tuple(b.passShare, shareB, -b.value.size());
    });
    const auto lead = std::find_if(m_terms.begin(), m_terms.end(),
                                   [](const Term& term) { return term.needsValue(); });
    if (lead != m_terms.end() && lead->passShare < DenseRecordShare)
        m_prefilter = &*lead;
}

SearchEngine::~SearchEngine() = default;

// The share of records that pass the term, judged from evenly spread records.
double SearchEngine::sampledPassShare(const Term& term) const {
    constexpr qsizetype SampleCount = 256;
    const qsizetype step = std::max<qsizetype>(1, m_catalogue.count() / SampleCount);
    qsizetype sampled = 0;
    qsizetype passed = 0;
    for (qsizetype index = 0; index < m_catalogue.count(); index += step, ++sampled)
        passed += term.passes(m_catalogue.line(index)) ? 1 : 0;
    return sampled > 0 ? double(passed) / double(sampled) : 0.0;
}

bool SearchEngine::matches(qsizetype index) const {
    return passes(m_catalogue.line(index));
}

qsizetype SearchEngine::scan(qsizetype from, qsizetype to, std::vector<qint32>& hits) const {
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, m_catalogue.count());
    if (from >= to || m_nothingPasses)
        return 0;
    const std::size_t before = hits.size();
    const std::vector<qsizetype> bounds = pieceBounds(from, to);
    const std::size_t pieces = bounds.size() - 1;
    if (pieces == 1) {
        scanPart(from, to, hits);
        return qsizetype(hits.size() - before);
    }
    // Each piece collects its own hits; joined in piece order they are in file order.
    std::vector<std::vector<qint32>> pieceHits(pieces);
    forEachPiece(int(pieces), [&](int piece) {
        scanPart(bounds[piece], bounds[piece + 1], pieceHits[std::size_t(piece)]);
    });
    for (const std::vector<qint32>& piece : pieceHits)
        hits.insert(hits.end(), piece.begin(), piece.end());
    return qsizetype(hits.size() - before);
}

// Cuts [from, to) into runs of records of about equal text length, or leaves it whole when it is
// not worth sharing. Returns the first record of each run and `to`.
std::vector<qsizetype> SearchEngine::pieceBounds(qsizetype from, qsizetype to) const {
    const qsizetype start = m_catalogue.begin(from);
    const qsizetype bytes = m_catalogue.end(to - 1) - start;
    const qsizetype pieces = coreCount() > 1 && bytes >= SharedScanBytes ? bytes / PieceBytes : 1;
    std::vector<qsizetype> bounds{from};
    for (qsizetype piece = 1; piece < pieces; ++piece) {
        const qsizetype offset = start + bytes / pieces * piece;
        bounds.push_back(std::min(firstRecordEndingAtOrAfter(offset, bounds.back(), to) + 1, to));
    }
    bounds.push_back(to);
    return bounds;
}

void SearchEngine::scanPart(qsizetype from, qsizetype to, std::vector<qint32>& hits) const {
    if (from >= to)
        return;
    if (m_prefilter)
        scanPrefiltered(from, to, hits);
    else
        scanEach(from, to, hits);
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

void SearchEngine::prefetchAhead(qsizetype index, qsizetype to) const {
    if (index + PrefetchRecords >= to)
        return;
    const qsizetype start = m_catalogue.begin(index + PrefetchRecords);
    const qsizetype last = m_catalogue.end(to - 1);
    for (qsizetype line = 0; line < PrefetchLines; ++line)
        __builtin_prefetch(m_catalogue.data() + std::min(start + line * CacheLine, last));
}

void SearchEngine::scanEach(qsizetype from, qsizetype to, std::vector<qint32>& hits) const {
    for (qsizetype index = from; index < to; ++index) {
        prefetchAhead(index, to);
        takeIfHit(index, hits);
    }
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
        prefetchAhead(index, to);
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
