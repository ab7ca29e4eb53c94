// Search criteria and the search engine. The input's first line holds criteria separated by TABs
// (UTF-8, as typed), the rest is a catalogue. The engine, which searches the raw catalogue buffer
// with its own fast matching, must find exactly what a plain reading of the matching rules finds,
// record by record.
#include "catalogue/Catalogue.h"
#include "catalogue/SearchCriteria.h"
#include "catalogue/SearchEngine.h"
#include "core/Cp1252.h"
#include "FuzzSupport.h"

#include <algorithm>
#include <climits>

using namespace orba;

namespace {

// The rules as the program states them, one criterion at a time on an upper-cased copy of the
// record split into its fields.
class ReferenceCriterion {
public:
    explicit ReferenceCriterion(const QString& criterion) {
        m_code = criterion.isEmpty() ? '\0'
                                     : char(cp1252::upper(static_cast<unsigned char>(
                                           cp1252::encode(QStringView(criterion).first(1))[0])));
        m_value = cp1252::upper(cp1252::encode(QStringView(criterion).mid(2), &m_encodable));
    }

    bool passes(const QByteArray& upperLine) const {
        const QList<QByteArray> fields = upperLine.split('|');
        const auto field = [&](int index) {
            return index < fields.size() ? fields[index] : QByteArray();
        };
        switch (m_code) {
        case '0':
            return !m_value.isEmpty() && m_encodable && freeText(upperLine);
        case '1':
            return m_value.isEmpty() || (m_encodable && field(0).startsWith(m_value));
        case '8':
            return ageGroup(field(14));
        case 'D':
            return players(field(4), field(5));
        default:
            break;
        }
        const int index = fieldOf(m_code);
        if (index < 0)
            return true;
        return m_value.isEmpty() || (m_encodable && field(index).contains(m_value));
    }

private:
    static int fieldOf(char code) {
        static const QByteArray codes = "234567"
                                        "9ABC";
        static const int fields[] = {1, 3, 7, 2, 8, 13, 9, 10, 11, 16};
        const qsizetype at = codes.indexOf(code);
        return code != '\0' && at >= 0 ? fields[at] : -1;
    }

    // With a full stop: the line starts with the value and a blank, holds it between blanks, or
    // holds it right before a separator. Without: it occurs from the second character on.
    bool freeText(const QByteArray& line) const {
        if (m_value.contains('.'))
            return line.startsWith(m_value + ' ') || line.contains(' ' + m_value + ' ') ||
                   line.contains(m_value + '|');
        return line.indexOf(m_value, 1) >= 0;
    }

    bool ageGroup(const QByteArray& flags) const {
        qsizetype i = 0;
        while (i < m_value.size() && m_value[i] == ' ')
            ++i;
        bool negative = false;
        if (i < m_value.size() && (m_value[i] == '+' || m_value[i] == '-'))
            negative = m_value[i++] == '-';
        qint64 number = 0;
        for (; i < m_value.size() && m_value[i] >= '0' && m_value[i] <= '9'; ++i)
            number = std::min<qint64>(number * 10 + (m_value[i] - '0'), 1000);
        if (negative)
            number = -number;
        if (number <= 0)
            return true;
        return number <= 4 && flags.size() == 4 && flags[number - 1] == '1';
    }

    // "from-to", each end digits or nothing, taken up to 1000000; any other value tests nothing.
    // Passes a record whose female and male players, each digits between blanks taken up to
    // 100000, add up to within the range.
    bool players(const QByteArray& female, const QByteArray& male) const {
        const qsizetype dash = m_value.indexOf('-');
        if (dash < 0)
            return true;
        const auto number = [](const QByteArray& digits, qint64 cap) -> qint64 {
            qint64 value = 0;
            for (const char c : digits) {
                if (c < '0' || c > '9')
                    return -1;
                value = std::min(value * 10 + (c - '0'), cap);
            }
            return value;
        };
        const QByteArray fromText = m_value.left(dash);
        const QByteArray toText = m_value.mid(dash + 1);
        const qint64 from = number(fromText, 1000000);
        const qint64 to = toText.isEmpty() ? INT_MAX : number(toText, 1000000);
        if (from < 0 || to < 0)
            return true;
        const auto count = [&](QByteArray text) -> qint64 {
            while (text.startsWith(' '))
                text.remove(0, 1);
            while (text.endsWith(' '))
                text.chop(1);
            return text.isEmpty() ? -1 : number(text, 100000);
        };
        const qint64 women = count(female);
        const qint64 men = count(male);
        return women >= 0 && men >= 0 && from <= women + men && women + men <= to;
    }

    char m_code = '\0';
    QByteArray m_value;
    bool m_encodable = true;
};

bool referencePasses(const QList<ReferenceCriterion>& criteria, const QByteArray& line) {
    const QByteArray upperLine = cp1252::upper(line);
    return std::all_of(criteria.begin(), criteria.end(),
                       [&](const ReferenceCriterion& c) { return c.passes(upperLine); });
}

void checkSearchWords(const QString& text) {
    QString withoutSeparators = text;
    withoutSeparators.remove(u' ').remove(u',').remove(u';');
    const QStringList words = splitSearchWords(text);
    FUZZ_EXPECT(words.join(QString()) == withoutSeparators);
    for (const QString& word : words)
        FUZZ_EXPECT(!word.isEmpty() && !word.contains(u' ') && !word.contains(u',') &&
                    !word.contains(u';'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [firstLine, catalogueText] = fuzz::splitFirstLine(fuzz::bytes(data, size));
    const QString criteriaLine = QString::fromUtf8(firstLine);
    checkSearchWords(criteriaLine);
    const CriteriaList criteria = criteriaLine.split(u'\t');
    fuzz::writeFile(QStringLiteral("orb32.dat"), catalogueText);
    Catalogue catalogue;
    catalogue.load(QStringLiteral("orb32.dat"));

    QList<ReferenceCriterion> reference;
    for (const QString& criterion : criteria)
        reference.append(ReferenceCriterion(criterion));
    const SearchEngine engine(catalogue, criteria);
    std::vector<qint32> expected;
    for (qsizetype index = 0; index < catalogue.count(); ++index) {
        const QByteArray line = catalogue.line(index).toByteArray();
        const bool passes = referencePasses(reference, line);
        FUZZ_EXPECT(engine.matches(index) == passes,
                    QStringLiteral("record %1: %2").arg(index).arg(QString::fromLatin1(line)));
        if (passes && line.contains('|'))
            expected.push_back(qint32(index));
    }
    std::vector<qint32> hits;
    engine.scan(0, catalogue.count(), hits);
    FUZZ_EXPECT(hits == expected);

    // A search that goes on where another stopped finds the same records.
    const qsizetype from = catalogue.count() / 3;
    std::vector<qint32> tail;
    engine.scan(from, catalogue.count(), tail);
    std::erase_if(expected, [&](qint32 index) { return index < from; });
    FUZZ_EXPECT(tail == expected);
    return 0;
}
