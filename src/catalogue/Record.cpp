#include "catalogue/Record.h"

#include "core/Cp1252.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orba::record {
namespace {

constexpr char Separator = '|';

#ifdef __SSE2__
// Bytes of the sixteen from `at` that are separators, as -1.
__m128i separatorsAt(QByteArrayView line, qsizetype at) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
    return _mm_cmpeq_epi8(block, _mm_set1_epi8(Separator));
}
#endif

// Position of the next separator at or after `from`, or the end of the line. Most fields are
// short: the first sixteen bytes are looked at without a call.
qsizetype nextSeparator(QByteArrayView line, qsizetype from) {
    if (from >= line.size())
        return line.size();
#ifdef __SSE2__
    if (from + 16 <= line.size()) {
        if (const int hits = _mm_movemask_epi8(separatorsAt(line, from)))
            return from + std::countr_zero(unsigned(hits));
        from += 16;
    }
#endif
    const void* hit = std::memchr(line.data() + from, Separator, line.size() - from);
    return hit ? static_cast<const char*>(hit) - line.data() : line.size();
}

// Position of the n-th separator (n from 1), or the end of the line when it has fewer. The search
// looks for one field behind a long description in every record, so the separators are counted
// 64 bytes at a time.
qsizetype nthSeparator(QByteArrayView line, int n) {
    qsizetype i = 0;
#ifdef __SSE2__
    // A found separator is -1 in its byte; the negated sum of such blocks counts them.
    auto count = [](__m128i sum) {
        const __m128i counts =
            _mm_sad_epu8(_mm_sub_epi8(_mm_setzero_si128(), sum), _mm_setzero_si128());
        return _mm_cvtsi128_si32(counts) + _mm_extract_epi16(counts, 4);
    };
    // Drops the first n - 1 separators of the bits of a block that holds the n-th.
    auto nth = [&n](qsizetype at, std::uint64_t bits) {
        for (; n > 1; --n)
            bits &= bits - 1;
        return at + std::countr_zero(bits);
    };
    auto bits = [](__m128i separators) {
        return std::uint64_t(unsigned(_mm_movemask_epi8(separators)));
    };
    for (; i + 64 <= line.size(); i += 64) {
        const __m128i first = separatorsAt(line, i);
        const __m128i second = separatorsAt(line, i + 16);
        const __m128i third = separatorsAt(line, i + 32);
        const __m128i fourth = separatorsAt(line, i + 48);
        const int found =
            count(_mm_add_epi8(_mm_add_epi8(first, second), _mm_add_epi8(third, fourth)));
        if (found >= n)
            return nth(i,
                       bits(first) | bits(second) << 16 | bits(third) << 32 | bits(fourth) << 48);
        n -= found;
    }
    for (; i + 16 <= line.size(); i += 16) {
        const __m128i separators = separatorsAt(line, i);
        const int found = count(separators);
        if (found >= n)
            return nth(i, bits(separators));
        n -= found;
    }
#endif
    for (; (i = nextSeparator(line, i)) < line.size(); ++i) {
        if (--n == 0)
            return i;
    }
    return line.size();
}

QString decode(QByteArrayView bytes) {
    return cp1252::decode(bytes.data(), bytes.size());
}

} // namespace

Fields split(QByteArrayView line) {
    Fields fields;
    qsizetype start = 0;
    for (int index = 0; index < FieldCount && start <= line.size(); ++index) {
        const qsizetype stop = nextSeparator(line, start);
        fields[index] = line.sliced(start, stop - start);
        start = stop + 1;
    }
    return fields;
}

QByteArrayView field(QByteArrayView line, int index) {
    if (index < 0 || index >= FieldCount)
        return {};
    const qsizetype start = index == 0 ? 0 : nthSeparator(line, index) + 1;
    if (start > line.size())
        return {};
    return line.sliced(start, nextSeparator(line, start) - start);
}

QStringList fieldTexts(QByteArrayView line) {
    QStringList texts;
    texts.reserve(FieldCount);
    for (QByteArrayView bytes : split(line))
        texts.append(decode(bytes));
    return texts;
}

bool hitCells(QByteArrayView line, QString* signature, QString* title) {
    const qsizetype first = nextSeparator(line, 0);
    const bool hasTitle = first < line.size();
    QByteArrayView sigBytes;
    QByteArrayView titleBytes;
    if (hasTitle) {
        sigBytes = line.first(first);
        titleBytes = line.sliced(first + 1, nextSeparator(line, first + 1) - first - 1);
    }
    if (signature)
        *signature = decode(sigBytes);
    if (title)
        *title = decode(titleBytes);
    return hasTitle;
}

QString displaySignature(const QString& signature) {
    QString shown = signature;
    if (shown.size() < 2)
        shown.append(QLatin1Char(' '));
    else
        shown.insert(2, QLatin1Char(' '));
    return shown;
}

QString storedSignature(const QString& displayed) {
    QString stored = displayed;
    const qsizetype blank = stored.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        stored.remove(blank, 1);
    return stored;
}

namespace {

// Counts beyond any cast keep the sum of two far from overflowing.
constexpr int LargestCount = 100000;

std::optional<int> count(QByteArrayView text) {
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), LargestCount);
    }
    return value;
}

} // namespace

std::optional<int> playerCount(QByteArrayView line) {
    const std::optional<int> female = count(field(line, Anzspw));
    const std::optional<int> male = count(field(line, Anzspm));
    if (!female || !male)
        return std::nullopt;
    return *female + *male;
}

int fieldOfCode(char upperCode) {
    switch (upperCode) {
    case '0':
        return -1;
    case '1':
        return Sig;
    case '2':
        return Titel;
    case '3':
        return Eignung;
    case '4':
        return Schlag;
    case '5':
        return Dauer;
    case '6':
        return Beschreibung;
    case '7':
        return Autor;
    case '8':
        return Alter;
    case '9':
        return Buehne;
    case 'A':
        return Medart;
    case 'B':
        return Mehr15;
    case 'C':
        return Neuanschaffung;
    default:
        return -2;
    }
}

const QStringList& mediaTypes() {
    static const QStringList types = {QStringLiteral("Alle"), QStringLiteral("Theaterstücke"),
                                      QStringLiteral("Werkbücher"), QStringLiteral("AV-Medien")};
    return types;
}

const QStringList& ageGroups() {
    static const QStringList groups = {
        QStringLiteral("Kindergarten-2. Klasse"), QStringLiteral("3.-5. Klasse"),
        QStringLiteral("6.-9. Klasse"), QStringLiteral("10.-13. Klasse")};
    return groups;
}

} // namespace orba::record
