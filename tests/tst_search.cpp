#include "catalogue/Catalogue.h"
#include "catalogue/Needle.h"
#include "catalogue/Record.h"
#include "catalogue/SearchCriteria.h"
#include "catalogue/SearchEngine.h"
#include "catalogue/SearchRun.h"
#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "core/Parallel.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <atomic>
#include <mutex>
#include <QHash>
#include <QObject>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QSet>
#include <QThread>
#include <QThreadPool>

using namespace orba;
using namespace Qt::StringLiterals;

namespace {

using Hits = QList<qint32>;

QByteArray cp(const QString& text) {
    return cp1252::encode(text);
}

Catalogue catalogueOf(const QByteArray& text) {
    const test::WorkingDir dir;
    dir.write(QStringLiteral("orb32.dat"), text);
    Catalogue catalogue;
    catalogue.load(QStringLiteral("orb32.dat"));
    return catalogue;
}

// A record with the signature "AB100" and the given field texts, all other fields empty; a field
// beyond the seventeenth lengthens the line.
QByteArray recordWith(std::initializer_list<std::pair<int, QString>> texts) {
    QStringList fields(record::FieldCount);
    fields[record::Sig] = QStringLiteral("AB100");
    for (const auto& [index, text] : texts) {
        while (fields.size() <= index)
            fields.append(QString());
        fields[index] = text;
    }
    return cp(fields.join(QLatin1Char('|')));
}

QByteArray recordWith(int index, const QString& text) {
    return recordWith({{index, text}});
}

Hits scanAll(const SearchEngine& engine, const Catalogue& catalogue) {
    std::vector<qint32> hits;
    engine.scan(0, catalogue.count(), hits);
    return Hits(hits.begin(), hits.end());
}

// The same search the slow way: each record tested on its own with matches().
Hits hitsRecordByRecord(const SearchEngine& engine, const Catalogue& catalogue) {
    Hits hits;
    for (qsizetype i = 0; i < catalogue.count(); ++i) {
        if (catalogue.line(i).contains('|') && engine.matches(i))
            hits.append(qint32(i));
    }
    return hits;
}

// One record line tested both through matches() and through a scan.
void checkLine(const QByteArray& line, const CriteriaList& criteria, bool expected) {
    const Catalogue catalogue = catalogueOf(line + "\r\n");
    const SearchEngine engine(catalogue, criteria);
    QCOMPARE(engine.matches(0), expected);
    const bool listed = expected && line.contains('|');
    QCOMPARE(scanAll(engine, catalogue), listed ? Hits{0} : Hits{});
}

// The words of the generated catalogue: mixed case, umlauts, letters with unusual capitals, full
// stops.
const QStringList& catalogueWords() {
    static const QStringList words = {
        QStringLiteral("Märchen"),   QStringLiteral("MÄRCHEN"),    QStringLiteral("märchen"),
        QStringLiteral("Mond"),      QStringLiteral("mond"),       QStringLiteral("Vollmond"),
        QStringLiteral("Theater"),   QStringLiteral("Straße"),     QStringLiteral("STRASSE"),
        QStringLiteral("Œuvre"),     QStringLiteral("ÿacht"),      QStringLiteral("Ÿacht"),
        QStringLiteral("¿ß"),        QStringLiteral("3."),         QStringLiteral("3.-5."),
        QStringLiteral("Klasse"),    QStringLiteral("ca."),        QStringLiteral("Zauberer"),
        QStringLiteral("Bühne"),     QStringLiteral("Werkbücher"), QStringLiteral("Theaterstücke"),
        QStringLiteral("AV-Medien"), QStringLiteral("Šerbedžija"), QStringLiteral("0100"),
        QStringLiteral("1"),         QStringLiteral("Kinder"),     QStringLiteral("zz")};
    return words;
}

// Several thousand varied lines: short and long lines, empty lines and lines without separator,
// with all three kinds of line end.
QByteArray generatedCatalogue() {
    const QStringList& words = catalogueWords();
    const QList<QByteArray> lineEnds = {"\r\n", "\n", "\r"};
    QRandomGenerator random(4711);
    QByteArray text;
    for (int line = 0; line < 4000; ++line) {
        const int fieldCount = random.bounded(20);
        QStringList fields;
        for (int f = 0; f < fieldCount; ++f) {
            QStringList fieldWords;
            const int wordCount = random.bounded(4);
            for (int w = 0; w < wordCount; ++w)
                fieldWords.append(words[random.bounded(words.size())]);
            fields.append(fieldWords.join(QLatin1Char(' ')));
        }
        text += cp(fields.join(QLatin1Char('|'))) + lineEnds[random.bounded(lineEnds.size())];
    }
    return text;
}

// The search rules written out plainly, to hold the engine to: every line upper-cased whole and
// split at every separator, every criterion tested on it in turn. Values must have a cp1252 form.
class PlainSearch {
public:
    explicit PlainSearch(const Catalogue& catalogue) {
        for (qsizetype i = 0; i < catalogue.count(); ++i) {
            const QByteArray line = cp1252::upper(catalogue.line(i).toByteArray());
            m_lines.append({line, line.split('|')});
        }
    }

    Hits hits(const CriteriaList& criteria) const {
        Hits found;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const Line& line = m_lines[i];
            if (line.fields.size() > 1 &&
                std::all_of(criteria.begin(), criteria.end(),
                            [&](const QString& criterion) { return passes(line, criterion); }))
                found.append(qint32(i));
        }
        return found;
    }

private:
    struct Line {
        QByteArray text;
        QList<QByteArray> fields;
    };

    static bool passes(const Line& line, const QString& criterion) {
        static const QHash<char, int> fieldOfCode = {{'1', 0}, {'2', 1},  {'3', 3},  {'4', 7},
                                                     {'5', 2}, {'6', 8},  {'7', 13}, {'8', 14},
                                                     {'9', 9}, {'A', 10}, {'B', 11}, {'C', 16}};
        const QByteArray upper = cp1252::upper(cp1252::encode(criterion));
        const char code = upper.isEmpty() ? '\0' : upper[0];
        const QByteArray value = upper.mid(2);
        const QByteArray& text = line.text;
        if (code == '0' && value.contains('.'))
            return text.startsWith(value + ' ') || text.contains(' ' + value + ' ') ||
                   text.contains(value + '|');
        if (code == '0')
            return !value.isEmpty() && text.indexOf(value, 1) >= 0;
        if (!fieldOfCode.contains(code))
            return true;
        const QByteArray field = line.fields.value(fieldOfCode[code]);
        if (code == '1')
            return field.startsWith(value);
        if (code == '8') {
            const int position = value.toInt();
            return position <= 0 ||
                   (field.size() == 4 && position <= 4 && field[position - 1] == '1');
        }
        return field.contains(value);
    }

    QList<Line> m_lines;
};

// One to three criteria of any code: whole words of the generated catalogue or pieces of them,
// in any case; age groups as plain numbers.
CriteriaList randomCriteria(QRandomGenerator& random) {
    const QString codes = QStringLiteral("0000001234567899ABCabcD");
    CriteriaList criteria;
    for (int count = random.bounded(1, 4); count > 0; --count) {
        const QChar code = codes[random.bounded(codes.size())];
        QString value = catalogueWords()[random.bounded(catalogueWords().size())];
        if (random.bounded(3) == 0)
            value = value.mid(random.bounded(value.size()), random.bounded(1, 5));
        if (random.bounded(2) == 0)
            value = random.bounded(2) ? value.toLower() : value.toUpper();
        if (code == QLatin1Char('8'))
            value = QString::number(random.bounded(-1, 6));
        criteria.append(code + QLatin1Char('=') + value);
    }
    return criteria;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void addCriterion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("split");
        QTest::addColumn<QStringList>("added");
        QTest::newRow("empty text") << "" << false << QStringList{};
        QTest::newRow("only delimiters") << " , ; " << true << QStringList{};
        QTest::newRow("whole text") << "Mond, Sonne" << false << QStringList{"A=Mond, Sonne"};
        QTest::newRow("blanks") << "der Mond" << true << QStringList{"A=der", "A=Mond"};
        QTest::newRow("comma and semicolon")
            << "Mond,Sonne;Stern" << true << QStringList{"A=Mond", "A=Sonne", "A=Stern"};
        QTest::newRow("doubled, leading and trailing delimiters")
            << " ;Mond,  ;;Sonne, " << true << QStringList{"A=Mond", "A=Sonne"};
        QTest::newRow("case and full stop kept")
            << "3. Äpfel" << true << QStringList{"A=3.", "A=Äpfel"};
        QTest::newRow("tab is no delimiter") << "a\tb" << true << QStringList{"A=a\tb"};
    }
    void addCriterion() {
        QFETCH(QString, text);
        QFETCH(bool, split);
        QFETCH(QStringList, added);
        CriteriaList list{QStringLiteral("2=vorher")};
        orba::addCriterion(list, text, split, 'A');
        QCOMPARE(list, QStringList{QStringLiteral("2=vorher")} + added);
        if (split)
            QCOMPARE(orba::splitSearchWords(text), added.replaceInStrings("A=", ""));
    }

    void fieldCodes_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<bool>("passes");
        const QList<QPair<QChar, int>> containment = {
            {'2', record::Titel},          {'3', record::Eignung},      {'4', record::Schlag},
            {'5', record::Dauer},          {'6', record::Beschreibung}, {'7', record::Autor},
            {'9', record::Buehne},         {'A', record::Medart},       {'B', record::Mehr15},
            {'C', record::Neuanschaffung}, {'a', record::Medart},       {'b', record::Mehr15},
            {'c', record::Neuanschaffung}};
        for (const auto& [code, field] : containment) {
            const QString name = QString(code) + QLatin1Char(' ');
            const QString criterion = QString(code) + QStringLiteral("=ond");
            QTest::newRow(qPrintable(name + "case-blind in its field"))
                << recordWith(field, "Der MOND") << criterion << true;
            QTest::newRow(qPrintable(name + "not in the neighbouring fields"))
                << recordWith({{field - 1, "Der Mond"}, {field + 1, "Der Mond"}}) << criterion
                << false;
            QTest::newRow(qPrintable(name + "not across separator"))
                << recordWith({{field, "Der Mo"}, {field + 1, "nd"}})
                << QString(code) + QStringLiteral("=mo|nd") << false;
            QTest::newRow(qPrintable(name + "field missing"))
                << QByteArray("AB100|ond") << criterion << (field == record::Titel);
            QTest::newRow(qPrintable(name + "empty value"))
                << QByteArray("AB100|x") << QString(code) + QStringLiteral("=") << true;
        }
        const QByteArray titleX = recordWith(record::Titel, "x");
        QTest::newRow("1 case-blind prefix") << titleX << "1=ab1" << true;
        QTest::newRow("1 not a prefix") << titleX << "1=B100" << false;
        QTest::newRow("1 longer than field") << titleX << "1=AB100|" << false;
        QTest::newRow("1 only in title") << recordWith(record::Titel, "CD") << "1=CD" << false;
        QTest::newRow("1 empty value") << titleX << "1=" << true;
        QTest::newRow("1 line without separator") << QByteArray("AB100") << "1=ab1" << true;
        QTest::newRow("second character ignored")
            << recordWith(record::Titel, "Mond") << "2:mond" << true;
        QTest::newRow("second character dropped")
            << recordWith(record::Titel, "Xond") << "2mond" << true;
        QTest::newRow("unknown code") << titleX << "D=nirgends" << true;
        QTest::newRow("unknown code blank") << titleX << " =nirgends" << true;
        QTest::newRow("empty criterion") << titleX << "" << true;
        QTest::newRow("code only") << titleX << "2" << true;
    }
    void fieldCodes() {
        QFETCH(QByteArray, line);
        QFETCH(QString, criterion);
        QFETCH(bool, passes);
        checkLine(line, {criterion}, passes);
    }

    void ageGroup_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("passes");
        const QByteArray second = recordWith(record::Alter, "0100");
        const QByteArray three = recordWith(record::Alter, "010");
        QTest::newRow("four, flag set") << second << "2" << true;
        QTest::newRow("four, flag clear") << second << "1" << false;
        QTest::newRow("four, last flag") << recordWith(record::Alter, "0001") << "4" << true;
        QTest::newRow("four, negative") << second << "-1" << true;
        QTest::newRow("four, above four") << recordWith(record::Alter, "1111") << "5" << false;
        QTest::newRow("four, blank and trailing text") << second << " 2x" << true;
        QTest::newRow("four, plus sign") << second << "+2" << true;
        QTest::newRow("four, no digits") << second << "x" << true;
        QTest::newRow("three, flag there") << three << "2" << false;
        QTest::newRow("three, zero") << three << "0" << true;
        QTest::newRow("three, above four") << three << "5" << false;
        QTest::newRow("five, flag there") << recordWith(record::Alter, "01000") << "2" << false;
        QTest::newRow("field missing") << QByteArray("AB100|Titel") << "2" << false;
        QTest::newRow("flags in another field") << recordWith(record::Stdo, "0100") << "2" << false;
    }
    void ageGroup() {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        QFETCH(bool, passes);
        checkLine(line, {QStringLiteral("8=") + value}, passes);
    }

    void freeText_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("passes");
        QTest::newRow("in the title") << QByteArray("AB100|Der Mond") << "mond" << true;
        QTest::newRow("inside a word") << QByteArray("AB100|Vollmondnacht") << "MOND" << true;
        QTest::newRow("across fields") << QByteArray("AB100|Der Mo|nd") << "mo|nd" << true;
        QTest::newRow("at the second character") << QByteArray("XMOND|x") << "mond" << true;
        QTest::newRow("only at line start") << QByteArray("MOND1|Sonne") << "mond" << false;
        QTest::newRow("at line start and again") << QByteArray("MOND1|Der Mond") << "mond" << true;
        QTest::newRow("whole line") << QByteArray("MOND|") << "mond|" << false;
        QTest::newRow("absent") << QByteArray("AB100|Sonne") << "mond" << false;
        QTest::newRow("empty value") << QByteArray("AB100|Sonne") << "" << false;
        QTest::newRow("stop: line start and blank") << QByteArray("3. Klasse|x") << "3." << true;
        QTest::newRow("stop: between blanks")
            << QByteArray("AB100|für die 3. Klasse") << "3." << true;
        QTest::newRow("stop: ends a field") << QByteArray("AB100|Klasse 3.|x") << "3." << true;
        QTest::newRow("stop: after separator") << QByteArray("AB100|3. Klasse") << "3." << false;
        QTest::newRow("stop: line end") << QByteArray("AB100|Klasse 3.") << "3." << false;
        QTest::newRow("stop: ends the first field") << QByteArray("3.|x") << "3." << true;
        QTest::newRow("stop: line start, no blank") << QByteArray("3.x y|z") << "3." << false;
        QTest::newRow("stop: inside a word") << QByteArray("AB100|x3. y") << "3." << false;
        QTest::newRow("stop: after separator, other case")
            << QByteArray("AB100|CA. 20 min") << "ca." << false;
        QTest::newRow("stop: case-blind between blanks")
            << QByteArray("AB100|x CA. 20") << "ca." << true;
    }
    void freeText() {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        QFETCH(bool, passes);
        checkLine(line, {QStringLiteral("0=") + value}, passes);
    }

    void caseFolding_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<bool>("passes");
        const auto row = [](const char* name, const QString& line, const QString& criterion,
                            bool passes) { QTest::newRow(name) << line << criterion << passes; };
        row("ä finds Ä", u"MÄRCHEN"_s, u"0=märchen"_s, true);
        row("Ä finds ä", u"Märchen"_s, u"2=MÄRCHEN"_s, true);
        row("ä is not a", u"Marchen"_s, u"0=märchen"_s, false);
        row("ß stays", u"Straße"_s, u"0=STRASSE"_s, false);
        row("š finds Š", u"ŠERBEDŽIJA"_s, u"0=šerbedžija"_s, true);
        row("ÿ finds Ÿ", u"Ÿacht"_s, u"0=ÿacht"_s, true);
        row("ÿ is not ¿ or ß", u"¿ß"_s, u"0=ÿ"_s, false);
        row("œ finds Œ", u"Œuvre"_s, u"0=œuvre"_s, true);
        row("non-cp1252 character", u"Zeichen ? hier"_s, u"0=\u0416"_s, false);
        row("non-cp1252 in a word", u"Ma?"_s, u"2=ma\u0416"_s, false);
        row("question mark itself", u"Ma?"_s, u"2=ma?"_s, true);
        row("non-cp1252 code passes", u"x"_s, u"\u0416=nirgends"_s, true);
    }
    void caseFolding() {
        QFETCH(QString, line);
        QFETCH(QString, criterion);
        QFETCH(bool, passes);
        checkLine(cp(QStringLiteral("AB100|") + line), {criterion}, passes);
    }

    void hitsInCatalogue_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<CriteriaList>("criteria");
        QTest::addColumn<Hits>("hits");
        const QByteArray mixed =
            "AB100|Titel\r\n\r\nohne Trenner\r\nCD200|\r\n|nur Titel\r\nEF300|T|x";
        QTest::newRow("no criteria: every line with separator")
            << mixed << CriteriaList{} << Hits{0, 3, 4, 5};
        QTest::newRow("only passing criteria")
            << mixed << CriteriaList{"2=", "D=nirgends", "8=0", "1=", "a="} << Hits{0, 3, 4, 5};
        QTest::newRow("media type, case-blind, in a list")
            << recordWith(record::Medart, "Werkbücher") + "\r\n" +
                   recordWith(record::Medart, "Theaterstücke") + "\r\n" +
                   cp(QStringLiteral("AB100|Werkbücher|||||||||AV-Medien\r\n")) +
                   recordWith(record::Medart, "WERKBÜCHER") + "\r\n" +
                   recordWith(record::Medart, "Theaterstücke, Werkbücher") + "\r\n" +
                   recordWith(record::Medart, "Werkbucher") + "\r\n"
            << CriteriaList{"A=Werkbücher"} << Hits{0, 3, 4};
        QTest::newRow("two words must both occur")
            << QByteArray("AB1|Mond|Sonne\nAB2|Mond\nAB3|Sonne\nAB4|Sonnenmond\nAB5|Sonne, Mond\n")
            << CriteriaList{"0=mond", "0=sonne"} << Hits{0, 3, 4};
        const QByteArray twoLines = "AB1|Der Mond\nMond|x\n";
        QTest::newRow("not across a line end")
            << twoLines << CriteriaList{"0=mond\nmond"} << Hits{};
        QTest::newRow("not across a line end, short")
            << twoLines << CriteriaList{"0=d\nM"} << Hits{};
        QTest::newRow("empty catalogue") << QByteArray() << CriteriaList{} << Hits{};
        QTest::newRow("empty catalogue, a word")
            << QByteArray() << CriteriaList{"0=mond"} << Hits{};
    }
    void hitsInCatalogue() {
        QFETCH(QByteArray, file);
        QFETCH(CriteriaList, criteria);
        QFETCH(Hits, hits);
        const Catalogue catalogue = catalogueOf(file);
        QCOMPARE(scanAll(SearchEngine(catalogue, criteria), catalogue), hits);
    }

    void scanInFileOrderEachOnceAndByRange() {
        const Catalogue catalogue = catalogueOf("XY1|Mond Mond mond\r\nXY2|Sonne\r\nXY3|mond|MOND"
                                                "\r\nXY4|\r\nXY5|Halbmond\r\nMOND\r\n");
        const SearchEngine engine(catalogue, {QStringLiteral("0=mond")});
        QCOMPARE(scanAll(engine, catalogue), (Hits{0, 2, 4}));
        std::vector<qint32> part;
        QCOMPARE(engine.scan(1, 4, part), 1);
        QCOMPARE(part, std::vector<qint32>{2});
        QCOMPARE(engine.scan(3, 99, part), 1);
        QCOMPARE(part, (std::vector<qint32>{2, 4}));
        QCOMPARE(engine.scan(-5, 0, part), 0);
    }

    void scanEqualsTestingEveryRecord_data() {
        QTest::addColumn<CriteriaList>("criteria");
        QTest::newRow("one word") << CriteriaList{"0=mond"};
        QTest::newRow("two words") << CriteriaList{"0=märchen", "0=THEATER"};
        QTest::newRow("rare and common") << CriteriaList{"0=e", "0=ŠERBEDŽIJA"};
        QTest::newRow("one letter") << CriteriaList{"0=ÿ"};
        QTest::newRow("full stop and word") << CriteriaList{"0=ca.", "0=klasse"};
        QTest::newRow("signature prefix") << CriteriaList{"1=mond"};
        QTest::newRow("media type and word") << CriteriaList{"a=Werkbücher", "0=zauberer"};
        QTest::newRow("age group only") << CriteriaList{"8=2"};
        QTest::newRow("new acquisition") << CriteriaList{"c=1", "3=zz"};
        QTest::newRow("across fields") << CriteriaList{"0=mond|"};
        QTest::newRow("nothing") << CriteriaList{};
    }
    // The catalogue is large enough for a scan to be shared among the cores.
    void scanEqualsTestingEveryRecord() {
        QFETCH(CriteriaList, criteria);
        static const Catalogue catalogue = catalogueOf(generatedCatalogue().repeated(12));
        static const PlainSearch plain(catalogue);
        const SearchEngine engine(catalogue, criteria);
        const Hits expected = plain.hits(criteria);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(hitsRecordByRecord(engine, catalogue), expected);
        QCOMPARE(scanAll(engine, catalogue), expected);
        for (qsizetype chunk : {1, 7, 1000}) {
            std::vector<qint32> hits;
            for (qsizetype from = 0; from < catalogue.count(); from += chunk)
                engine.scan(from, from + chunk, hits);
            QCOMPARE(Hits(hits.begin(), hits.end()), expected);
        }
    }

    void scanFollowsThePlainRules() {
        const Catalogue catalogue = catalogueOf(generatedCatalogue().repeated(2));
        const PlainSearch plain(catalogue);
        QRandomGenerator random(1848);
        int withHits = 0;
        for (int query = 0; query < 400; ++query) {
            const CriteriaList criteria = randomCriteria(random);
            const Hits expected = plain.hits(criteria);
            withHits += expected.isEmpty() ? 0 : 1;
            QVERIFY2(scanAll(SearchEngine(catalogue, criteria), catalogue) == expected,
                     qPrintable(criteria.join(QStringLiteral(" & "))));
        }
        QVERIFY(withHits > 100);
    }

    void valueFoundAtEveryPosition_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("one letter") << QByteArray("E") << QByteArray("e");
        QTest::newRow("umlaut first") << cp(u"ÄRGER"_s) << cp(u"ärger"_s);
        QTest::newRow("longer than a vector")
            << cp(u"STRASSENTHEATER-ÜBUNG"_s) << cp(u"Strassentheater-übung"_s);
    }
    void valueFoundAtEveryPosition() {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, written);
        ByteShares lastRarest; // the rare bytes at the end of the value
        for (int b = 0; b < 256; ++b)
            lastRarest[b] = 1.0 / (1 + value.lastIndexOf(char(b)));
        for (const ByteShares& shares : {ByteShares{}, lastRarest}) {
            const Needle needle(value, shares);
            for (qsizetype at = 0; at < 150; ++at) {
                QByteArray text(200, 'x');
                text.replace(at, written.size(), written);
                text.append(written); // a later occurrence is not the first
                const char* const begin = text.constData();
                QCOMPARE(qsizetype(needle.find(begin, begin + text.size()) - begin), at);
                QCOMPARE(qsizetype(needle.find(begin, begin + at + value.size()) - begin), at);
                QVERIFY(!needle.find(begin, begin + at + value.size() - 1));
                QVERIFY(!needle.find(begin + at + 1, begin + 200));
            }
        }
    }

    void piecesRunOnceAndFailuresComeBack() {
        std::vector<std::atomic<int>> ran(40);
        forEachPiece(40, [&](int piece) { ++ran[std::size_t(piece)]; });
        QVERIFY(std::all_of(ran.begin(), ran.end(), [](const auto& runs) { return runs == 1; }));
        std::atomic<int> finished = 0;
        QString message;
        try {
            forEachPiece(6, [&](int piece) {
                if (piece == 2 || piece == 3)
                    throw OrbaError(QStringLiteral("Teil %1").arg(piece));
                ++finished;
            });
        } catch (const OrbaError& error) {
            message = error.message();
        }
        QCOMPARE(message, QStringLiteral("Teil 2"));
        QCOMPARE(finished.load(), 4);
    }

    // With every pool thread held up elsewhere, the calling thread takes all pieces itself and
    // does not wait for the pool.
    void busyPoolDoesNotHoldTheCallerUp() {
        QThreadPool* const pool = QThreadPool::globalInstance();
        QSemaphore started;
        QSemaphore release;
        for (int i = 0; i < pool->maxThreadCount(); ++i) {
            pool->start([&] {
                started.release();
                release.acquire();
            });
        }
        started.acquire(pool->maxThreadCount());
        std::mutex mutex;
        QSet<QThread*> threads;
        forEachPiece(5, [&](int) {
            const std::lock_guard lock(mutex);
            threads.insert(QThread::currentThread());
        });
        release.release(pool->maxThreadCount());
        pool->waitForDone();
        QCOMPARE(threads, QSet<QThread*>{QThread::currentThread()});
    }

    void firstStepEndsAfterItsFirstChunk() {
        const Catalogue catalogue = catalogueOf(generatedCatalogue().repeated(3));
        const SearchEngine engine(catalogue, {});
        SearchRun run(engine, catalogue.count());
        std::vector<qint32> hits;
        QVERIFY(run.step(hits, 60000));
        QVERIFY(run.position() > 0 && run.position() < catalogue.count());
        QVERIFY(!run.step(hits, 60000));
        QCOMPARE(run.position(), catalogue.count());
    }

    void stoppedRunKeepsItsHits() {
        const Catalogue catalogue = catalogueOf(generatedCatalogue().repeated(3));
        const SearchEngine engine(catalogue, {QStringLiteral("0=mond")});
        SearchRun run(engine, catalogue.count());
        std::vector<qint32> hits;
        QVERIFY(run.step(hits, 0));
        const qsizetype position = run.position();
        QVERIFY(position > 0 && position < catalogue.count());
        std::vector<qint32> expected;
        engine.scan(0, position, expected);
        QVERIFY(!expected.empty());
        QCOMPARE(hits, expected);
        run.stop();
        QVERIFY(!run.step(hits, 30));
        QCOMPARE(hits, expected);
        QCOMPARE(run.position(), position);
    }

    void fullRunEqualsScan_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("generated") << generatedCatalogue().repeated(3);
        QTest::newRow("empty") << QByteArray();
    }
    void fullRunEqualsScan() {
        QFETCH(QByteArray, file);
        const Catalogue catalogue = catalogueOf(file);
        const SearchEngine engine(catalogue, {QStringLiteral("0=mond"), QStringLiteral("0=3.")});
        SearchRun run(engine, catalogue.count());
        std::vector<qint32> hits;
        int steps = 0;
        while (run.step(hits, steps % 2 ? 5 : 0))
            ++steps;
        QCOMPARE(run.position(), catalogue.count());
        QCOMPARE(Hits(hits.begin(), hits.end()), scanAll(engine, catalogue));
        QVERIFY(!run.step(hits, 30));
        QCOMPARE(Hits(hits.begin(), hits.end()), scanAll(engine, catalogue));
    }
};

ORBA_TEST_MAIN(TestSearch)
#include "tst_search.moc"
