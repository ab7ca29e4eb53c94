#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "catalogue/SearchCriteria.h"
#include "catalogue/SearchEngine.h"
#include "catalogue/SearchRun.h"
#include "core/Cp1252.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QObject>
#include <QRandomGenerator>

using namespace orba;

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

Hits hitsOf(const Catalogue& catalogue, const CriteriaList& criteria) {
    const SearchEngine engine(catalogue, criteria);
    return scanAll(engine, catalogue);
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

// Several thousand varied lines: mixed case, umlauts, full stops, short and long lines, empty
// lines and lines without separator, with all three kinds of line end.
QByteArray generatedCatalogue() {
    const QStringList words = {
        QStringLiteral("Märchen"),   QStringLiteral("MÄRCHEN"),    QStringLiteral("märchen"),
        QStringLiteral("Mond"),      QStringLiteral("mond"),       QStringLiteral("Vollmond"),
        QStringLiteral("Theater"),   QStringLiteral("Straße"),     QStringLiteral("STRASSE"),
        QStringLiteral("Œuvre"),     QStringLiteral("ÿacht"),      QStringLiteral("Ÿacht"),
        QStringLiteral("¿ß"),        QStringLiteral("3."),         QStringLiteral("3.-5."),
        QStringLiteral("Klasse"),    QStringLiteral("ca."),        QStringLiteral("Zauberer"),
        QStringLiteral("Bühne"),     QStringLiteral("Werkbücher"), QStringLiteral("Theaterstücke"),
        QStringLiteral("AV-Medien"), QStringLiteral("Šerbedžija"), QStringLiteral("0100"),
        QStringLiteral("1"),         QStringLiteral("Kinder"),     QStringLiteral("zz")};
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

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void splitSearchWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("one word") << "Mond" << QStringList{"Mond"};
        QTest::newRow("blanks") << "der Mond geht" << QStringList{"der", "Mond", "geht"};
        QTest::newRow("comma and blank") << "Mond, Sonne" << QStringList{"Mond", "Sonne"};
        QTest::newRow("semicolon") << "Mond;Sonne" << QStringList{"Mond", "Sonne"};
        QTest::newRow("comma") << "Mond,Sonne" << QStringList{"Mond", "Sonne"};
        QTest::newRow("leading and trailing") << " ;Mond, " << QStringList{"Mond"};
        QTest::newRow("double delimiters") << "Mond  ;;Sonne" << QStringList{"Mond", "Sonne"};
        QTest::newRow("case kept") << "mOnD Äpfel" << QStringList{"mOnD", "Äpfel"};
        QTest::newRow("full stop stays") << "3. Klasse" << QStringList{"3.", "Klasse"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("only delimiters") << " , ; " << QStringList{};
        QTest::newRow("tab is no delimiter") << "a\tb" << QStringList{"a\tb"};
    }
    void splitSearchWords() {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(orba::splitSearchWords(text), words);
    }

    void addCriterion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("split");
        QTest::addColumn<QChar>("code");
        QTest::addColumn<QStringList>("added");
        QTest::newRow("empty text") << "" << false << QChar('0') << QStringList{};
        QTest::newRow("empty text split") << "" << true << QChar('0') << QStringList{};
        QTest::newRow("whole text")
            << "Mond, Sonne" << false << QChar('A') << QStringList{"A=Mond, Sonne"};
        QTest::newRow("one per word")
            << "Mond, Sonne" << true << QChar('0') << QStringList{"0=Mond", "0=Sonne"};
        QTest::newRow("lower-case code")
            << "Werkbücher" << false << QChar('a') << QStringList{"a=Werkbücher"};
        QTest::newRow("no words") << " ,; " << true << QChar('0') << QStringList{};
    }
    void addCriterion() {
        QFETCH(QString, text);
        QFETCH(bool, split);
        QFETCH(QChar, code);
        QFETCH(QStringList, added);
        CriteriaList list{QStringLiteral("2=vorher")};
        orba::addCriterion(list, text, split, code);
        QCOMPARE(list, QStringList{QStringLiteral("2=vorher")} + added);
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
            QTest::newRow(qPrintable(name + "in its field"))
                << recordWith(field, "Der Mond") << criterion << true;
            QTest::newRow(qPrintable(name + "case-blind"))
                << recordWith(field, "MOND") << criterion << true;
            QTest::newRow(qPrintable(name + "whole field"))
                << recordWith(field, "ond") << criterion << true;
            QTest::newRow(qPrintable(name + "field before"))
                << recordWith(field - 1, "Der Mond") << criterion << false;
            QTest::newRow(qPrintable(name + "field after"))
                << recordWith(field + 1, "Der Mond") << criterion << false;
            QTest::newRow(qPrintable(name + "not across separator"))
                << recordWith({{field, "Der Mo"}, {field + 1, "nd"}})
                << QString(code) + QStringLiteral("=mo|nd") << false;
            QTest::newRow(qPrintable(name + "field missing"))
                << QByteArray("AB100|ond") << criterion << (field == record::Titel);
            QTest::newRow(qPrintable(name + "empty value"))
                << QByteArray("AB100|x") << QString(code) + QStringLiteral("=") << true;
        }
        QTest::newRow("1 prefix") << recordWith(record::Titel, "x") << "1=AB" << true;
        QTest::newRow("1 whole signature") << recordWith(record::Titel, "x") << "1=ab100" << true;
        QTest::newRow("1 not a prefix") << recordWith(record::Titel, "x") << "1=B100" << false;
        QTest::newRow("1 longer than field")
            << recordWith(record::Titel, "x") << "1=AB100|" << false;
        QTest::newRow("1 only in title") << recordWith(record::Titel, "CD") << "1=CD" << false;
        QTest::newRow("1 empty value") << recordWith(record::Titel, "x") << "1=" << true;
        QTest::newRow("1 line without separator") << QByteArray("AB100") << "1=ab1" << true;
        QTest::newRow("second character ignored")
            << recordWith(record::Titel, "Mond") << "2:mond" << true;
        QTest::newRow("second character dropped")
            << recordWith(record::Titel, "Xond") << "2mond" << true;
        QTest::newRow("unknown code D") << recordWith(record::Titel, "x") << "D=nirgends" << true;
        QTest::newRow("unknown code Z") << recordWith(record::Titel, "x") << "Z=nirgends" << true;
        QTest::newRow("unknown code blank")
            << recordWith(record::Titel, "x") << " =nirgends" << true;
        QTest::newRow("empty criterion") << recordWith(record::Titel, "x") << "" << true;
        QTest::newRow("code only") << recordWith(record::Titel, "x") << "2" << true;
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
        const QByteArray five = recordWith(record::Alter, "01000");
        QTest::newRow("four, flag set") << second << "2" << true;
        QTest::newRow("four, flag clear") << second << "1" << false;
        QTest::newRow("four, last flag") << recordWith(record::Alter, "0001") << "4" << true;
        QTest::newRow("four, zero") << second << "0" << true;
        QTest::newRow("four, negative") << second << "-1" << true;
        QTest::newRow("four, above four") << recordWith(record::Alter, "1111") << "5" << false;
        QTest::newRow("four, blank and trailing text") << second << " 2x" << true;
        QTest::newRow("four, plus sign") << second << "+2" << true;
        QTest::newRow("four, no digits") << second << "x" << true;
        QTest::newRow("four, empty value") << second << "" << true;
        QTest::newRow("three, flag there") << three << "2" << false;
        QTest::newRow("three, zero") << three << "0" << true;
        QTest::newRow("three, negative") << three << "-1" << true;
        QTest::newRow("three, above four") << three << "5" << false;
        QTest::newRow("three, blank and trailing text") << three << " 2x" << false;
        QTest::newRow("five, flag there") << five << "2" << false;
        QTest::newRow("five, zero") << five << "0" << true;
        QTest::newRow("five, negative") << five << "-1" << true;
        QTest::newRow("five, above four") << five << "5" << false;
        QTest::newRow("five, blank and trailing text") << five << " 2x" << false;
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
        QTest::newRow("ä finds Ä") << "AB100|MÄRCHEN"
                                   << "0=märchen" << true;
        QTest::newRow("Ä finds ä") << "AB100|Märchen"
                                   << "2=MÄRCHEN" << true;
        QTest::newRow("ä is not a") << "AB100|Marchen"
                                    << "0=märchen" << false;
        QTest::newRow("ß stays") << "AB100|Straße"
                                 << "0=STRASSE" << false;
        QTest::newRow("ß finds ß") << "AB100|STRAßE"
                                   << "0=straße" << true;
        QTest::newRow("š finds Š") << "AB100|ŠERBEDŽIJA"
                                   << "0=šerbedžija" << true;
        QTest::newRow("Š finds š") << "AB100|šerbedžija"
                                   << "2=ŠERBEDŽIJA" << true;
        QTest::newRow("ÿ finds Ÿ") << "AB100|Ÿacht"
                                   << "0=ÿacht" << true;
        QTest::newRow("Ÿ finds ÿ") << "AB100|ÿacht"
                                   << "2=Ÿ" << true;
        QTest::newRow("ÿ is not ¿ or ß") << "AB100|¿ß"
                                         << "0=ÿ" << false;
        QTest::newRow("œ finds Œ") << "AB100|Œuvre"
                                   << "0=œuvre" << true;
        QTest::newRow("non-cp1252 character") << "AB100|Zeichen ? hier"
                                              << "0=\u0416" << false;
        QTest::newRow("non-cp1252 in a word") << "AB100|Ma?"
                                              << "2=ma\u0416" << false;
        QTest::newRow("question mark itself") << "AB100|Ma?"
                                              << "2=ma?" << true;
        QTest::newRow("non-cp1252 code passes") << "AB100|x"
                                                << "\u0416=nirgends" << true;
    }
    void caseFolding() {
        QFETCH(QString, line);
        QFETCH(QString, criterion);
        QFETCH(bool, passes);
        checkLine(cp(line), {criterion}, passes);
    }

    void emptyCriteriaListEveryRecordWithSeparator_data() {
        QTest::addColumn<CriteriaList>("criteria");
        QTest::newRow("no criteria") << CriteriaList{};
        QTest::newRow("only passing criteria")
            << CriteriaList{"2=", "D=nirgends", "8=0", "1=", "a="};
    }
    void emptyCriteriaListEveryRecordWithSeparator() {
        QFETCH(CriteriaList, criteria);
        const Catalogue catalogue =
            catalogueOf("AB100|Titel\r\n\r\nohne Trenner\r\nCD200|\r\n|nur Titel\r\nEF300|T|x");
        QCOMPARE(hitsOf(catalogue, criteria), (Hits{0, 3, 4, 5}));
    }

    void mediaType() {
        const Catalogue catalogue =
            catalogueOf(recordWith(record::Medart, "Werkbücher") + "\r\n" +
                        recordWith(record::Medart, "Theaterstücke") + "\r\n" +
                        cp(QStringLiteral("AB100|Werkbücher|||||||||AV-Medien\r\n")) +
                        recordWith(record::Medart, "WERKBÜCHER") + "\r\n" +
                        recordWith(record::Medart, "Theaterstücke, Werkbücher") + "\r\n" +
                        recordWith(record::Medart, "Werkbucher") + "\r\n");
        CriteriaList criteria;
        orba::addCriterion(criteria, QStringLiteral("Werkbücher"), false, 'A');
        QCOMPARE(hitsOf(catalogue, criteria), (Hits{0, 3, 4}));
    }

    void twoWordsMustBothOccur() {
        const Catalogue catalogue = catalogueOf("AB1|Mond|Sonne\nAB2|Mond\nAB3|Sonne\n"
                                                "AB4|Sonnenmond\nAB5|Sonne, Mond\n");
        CriteriaList criteria;
        orba::addCriterion(criteria, QStringLiteral("mond, sonne"), true, '0');
        QCOMPARE(criteria.size(), 2);
        QCOMPARE(hitsOf(catalogue, criteria), (Hits{0, 3, 4}));
    }

    void hitsInFileOrderEachOnce() {
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

    void occurrenceAcrossLineEndIsNoHit() {
        const Catalogue catalogue = catalogueOf("AB1|Der Mond\nMond|x\n");
        QCOMPARE(hitsOf(catalogue, {QStringLiteral("0=mond\nmond")}), Hits{});
        QCOMPARE(hitsOf(catalogue, {QStringLiteral("0=d\nM")}), Hits{});
        QCOMPARE(hitsOf(catalogue, {QStringLiteral("0=mond")}), Hits{0});
    }

    void scanEqualsTestingEveryRecord_data() {
        QTest::addColumn<CriteriaList>("criteria");
        QTest::newRow("one word") << CriteriaList{"0=mond"};
        QTest::newRow("two words") << CriteriaList{"0=märchen", "0=THEATER"};
        QTest::newRow("rare and common") << CriteriaList{"0=e", "0=ŠERBEDŽIJA"};
        QTest::newRow("one letter") << CriteriaList{"0=ÿ"};
        QTest::newRow("full stop") << CriteriaList{"0=3."};
        QTest::newRow("full stop and word") << CriteriaList{"0=ca.", "0=klasse"};
        QTest::newRow("signature prefix") << CriteriaList{"1=mond"};
        QTest::newRow("title") << CriteriaList{"2=straße"};
        QTest::newRow("media type and word") << CriteriaList{"a=Werkbücher", "0=zauberer"};
        QTest::newRow("age group and word") << CriteriaList{"8=2", "0=kinder"};
        QTest::newRow("age group only") << CriteriaList{"8=2"};
        QTest::newRow("new acquisition") << CriteriaList{"c=1", "3=zz"};
        QTest::newRow("across fields") << CriteriaList{"0=mond|"};
        QTest::newRow("nothing") << CriteriaList{};
    }
    void scanEqualsTestingEveryRecord() {
        QFETCH(CriteriaList, criteria);
        const Catalogue catalogue = catalogueOf(generatedCatalogue());
        const SearchEngine engine(catalogue, criteria);
        const Hits expected = hitsRecordByRecord(engine, catalogue);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(scanAll(engine, catalogue), expected);
        for (qsizetype chunk : {1, 7, 1000}) {
            std::vector<qint32> hits;
            for (qsizetype from = 0; from < catalogue.count(); from += chunk)
                engine.scan(from, from + chunk, hits);
            QCOMPARE(Hits(hits.begin(), hits.end()), expected);
        }
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

    void fullRunEqualsScan() {
        const Catalogue catalogue = catalogueOf(generatedCatalogue().repeated(3));
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

    void emptyCatalogueFindsNothing() {
        const Catalogue catalogue = catalogueOf(QByteArray());
        QCOMPARE(hitsOf(catalogue, {}), Hits{});
        QCOMPARE(hitsOf(catalogue, {QStringLiteral("0=mond")}), Hits{});
        const SearchEngine engine(catalogue, {});
        SearchRun run(engine, catalogue.count());
        std::vector<qint32> hits;
        QVERIFY(!run.step(hits, 30));
        QVERIFY(hits.empty());
    }
};

ORBA_TEST_MAIN(TestSearch)
#include "tst_search.moc"
