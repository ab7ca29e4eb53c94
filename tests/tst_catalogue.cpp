#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "core/OrbaError.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace orba;

namespace {

QByteArrayList loadedLines(const Catalogue& catalogue) {
    QByteArrayList lines;
    for (qsizetype i = 0; i < catalogue.count(); ++i)
        lines.append(catalogue.line(i).toByteArray());
    return lines;
}

QByteArray allHighBytes() {
    QByteArray bytes;
    for (int c = 0x80; c <= 0xFF; ++c)
        bytes.append(static_cast<char>(c));
    return bytes;
}

// The message of the OrbaError that `action` throws, or an empty text when it throws none.
template <typename Action> QString errorOf(Action&& action) {
    try {
        action();
    } catch (const OrbaError& error) {
        return error.message();
    }
    return {};
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void loadsLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::newRow("empty file") << QByteArray() << QByteArrayList();
        QTest::newRow("no final line end")
            << QByteArray("a|b\r\nc|d") << QByteArrayList{"a|b", "c|d"};
        QTest::newRow("CR LF") << QByteArray("eins\r\nzwei\r\n") << QByteArrayList{"eins", "zwei"};
        QTest::newRow("lone CRs") << QByteArray("eins\rzwei\r") << QByteArrayList{"eins", "zwei"};
        QTest::newRow("lone LFs") << QByteArray("eins\nzwei\n") << QByteArrayList{"eins", "zwei"};
        QTest::newRow("mixed") << QByteArray("a\r\nb\rc\nd") << QByteArrayList{"a", "b", "c", "d"};
        QTest::newRow("CR CR is an empty line")
            << QByteArray("a\r\rb") << QByteArrayList{"a", "", "b"};
        QTest::newRow("trailing CR CR") << QByteArray("a\r\r") << QByteArrayList{"a", ""};
        QTest::newRow("LF CR is two line ends")
            << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"};
        QTest::newRow("only a line end") << QByteArray("\r\n") << QByteArrayList{""};
        QTest::newRow("empty lines between")
            << QByteArray("a\r\n\r\n\r\nb\r\n") << QByteArrayList{"a", "", "", "b"};
        QTest::newRow("NUL in the middle")
            << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QByteArrayList{"a", "b"};
        QTest::newRow("NUL right after a line end")
            << QByteArray("a\r\n\0b\r\n", 7) << QByteArrayList{"a"};
        QTest::newRow("NUL first") << QByteArray("\0a\r\n", 4) << QByteArrayList();
        QTest::newRow("blanks are not trimmed")
            << QByteArray("  a | b  \r\n\t\r\n") << QByteArrayList{"  a | b  ", "\t"};
        QTest::newRow("bytes 0x80 to 0xFF kept") << (allHighBytes() + "\r\n" + allHighBytes())
                                                 << QByteArrayList{allHighBytes(), allHighBytes()};
        QTest::newRow("control bytes kept") << QByteArray("Satz.\x03"
                                                          "Absatz\x1a|\x7f\r\n")
                                            << QByteArrayList{"Satz.\x03"
                                                              "Absatz\x1a|\x7f"};
    }

    void loadsLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, lines);
        test::WorkingDir dir;
        dir.write(QStringLiteral("orb32.dat"), bytes);
        Catalogue catalogue;
        catalogue.load(QStringLiteral("orb32.dat"));
        QCOMPARE(loadedLines(catalogue), lines);
        for (qsizetype i = 0; i < catalogue.count(); ++i) {
            const QByteArrayView scanned(catalogue.data() + catalogue.begin(i),
                                         catalogue.end(i) - catalogue.begin(i));
            QCOMPARE(scanned.toByteArray(), lines[i]);
        }
    }

    void loadsMegabyteLine() {
        const QByteArray longLine = QByteArray(1024 * 1024, 'x') + "|Titel";
        test::WorkingDir dir;
        dir.write(QStringLiteral("orb32.dat"), "AB1|kurz\r\n" + longLine + "\r\nAB2|danach");
        Catalogue catalogue;
        catalogue.load(QStringLiteral("orb32.dat"));
        QCOMPARE(catalogue.count(), 3);
        QCOMPARE(catalogue.line(1).size(), longLine.size());
        QVERIFY(catalogue.line(1) == longLine);
        QVERIFY(catalogue.line(2) == QByteArrayView("AB2|danach"));
        QCOMPARE(record::field(catalogue.line(1), record::Titel).toByteArray(), "Titel");
    }

    void loadsLineWithMoreThanSeventeenFields() {
        const QByteArray line = "0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19";
        test::WorkingDir dir;
        dir.write(QStringLiteral("orb32.dat"), line + "\r\n");
        Catalogue catalogue;
        catalogue.load(QStringLiteral("orb32.dat"));
        QCOMPARE(catalogue.count(), 1);
        QVERIFY(catalogue.line(0) == line);
        const record::Fields fields = record::split(catalogue.line(0));
        QCOMPARE(fields[record::Neuanschaffung].toByteArray(), "16");
        QCOMPARE(fields[record::Sig].toByteArray(), "0");
    }

    void lineTextDecodesCp1252() {
        test::WorkingDir dir;
        dir.write(QStringLiteral("orb32.dat"), "TH1|B\xfchnenzauber \x80 5\r\n");
        Catalogue catalogue;
        catalogue.load(QStringLiteral("orb32.dat"));
        QCOMPARE(catalogue.lineText(0), QStringLiteral("TH1|Bühnenzauber € 5"));
    }

    void missingFileThrowsAndLeavesEmpty() {
        test::WorkingDir dir;
        dir.write(QStringLiteral("orb32.dat"), "AB1|Titel\r\n");
        Catalogue catalogue;
        catalogue.load(QStringLiteral("orb32.dat"));
        QCOMPARE(errorOf([&] { catalogue.load(QStringLiteral("x")); }),
                 QStringLiteral("Datei x kann nicht geöffnet werden"));
        QCOMPARE(catalogue.count(), 0);
    }

    void fileOverFourGibThrows() {
        test::WorkingDir dir;
        QFile sparse(dir.file(QStringLiteral("riesig.dat")));
        if (!sparse.open(QIODevice::WriteOnly) || !sparse.resize(Q_INT64_C(0x100000000)))
            QSKIP("the file system cannot hold a sparse 4 GiB file");
        sparse.close();
        Catalogue catalogue;
        const QString message = errorOf([&] { catalogue.load(QStringLiteral("riesig.dat")); });
        QVERIFY2(message.contains(QStringLiteral("riesig.dat")) &&
                     message.contains(QStringLiteral("4 GiB")),
                 qPrintable(message));
        QCOMPARE(catalogue.count(), 0);
    }

    void lineOutOfRangeThrows_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("index");
        QTest::newRow("empty catalogue") << QByteArray() << qsizetype(0);
        QTest::newRow("negative") << QByteArray("a\r\nb\r\n") << qsizetype(-1);
        QTest::newRow("count") << QByteArray("a\r\nb\r\n") << qsizetype(2);
        QTest::newRow("far beyond") << QByteArray("a\r\nb\r\n") << qsizetype(40);
    }

    void lineOutOfRangeThrows() {
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, index);
        test::WorkingDir dir;
        dir.write(QStringLiteral("orb32.dat"), bytes);
        Catalogue catalogue;
        catalogue.load(QStringLiteral("orb32.dat"));
        const QString expected = QStringLiteral("Listenindex außerhalb des zulässigen Bereichs");
        QVERIFY(!catalogue.contains(index));
        QCOMPARE(errorOf([&] { catalogue.line(index); }), expected);
        QCOMPARE(errorOf([&] { catalogue.lineText(index); }), expected);
    }

    void reloadReplacesContents() {
        test::WorkingDir dir;
        dir.write(QStringLiteral("alt.dat"), "A1|alt\r\nA2|alt\r\nA3|alt\r\n");
        dir.write(QStringLiteral("neu.dat"), "N1|neu\r\n");
        Catalogue catalogue;
        catalogue.load(QStringLiteral("alt.dat"));
        catalogue.load(QStringLiteral("neu.dat"));
        QCOMPARE(loadedLines(catalogue), QByteArrayList{"N1|neu"});
        catalogue.clear();
        QCOMPARE(catalogue.count(), 0);
    }

    void splitsFields_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray full = "TH123|Titel|ca. 45 min.|Kinder|3|4|Verlag|Hexe|Text\x03mehr|"
                                "ohne B\xfchne|Theaterst\xfc"
                                "cke|0|Regal 3|Autor|1100|gut|1";
        QTest::newRow("first field") << full << int(record::Sig) << QByteArray("TH123");
        QTest::newRow("middle field") << full << int(record::Eignung) << QByteArray("Kinder");
        QTest::newRow("line break byte kept")
            << full << int(record::Beschreibung) << QByteArray("Text\x03mehr");
        QTest::newRow("last field") << full << int(record::Neuanschaffung) << QByteArray("1");
        QTest::newRow("no separator: whole line is field 0")
            << QByteArray("nur Text") << 0 << QByteArray("nur Text");
        QTest::newRow("no separator: field 1 empty") << QByteArray("nur Text") << 1 << QByteArray();
        QTest::newRow("missing field empty") << QByteArray("a|b") << 5 << QByteArray();
        QTest::newRow("trailing separator") << QByteArray("a|b|") << 2 << QByteArray();
        QTest::newRow("empty between") << QByteArray("a||c") << 1 << QByteArray();
        QTest::newRow("after empty") << QByteArray("a||c") << 2 << QByteArray("c");
        QTest::newRow("leading separator") << QByteArray("|b") << 0 << QByteArray();
        QTest::newRow("empty line") << QByteArray() << 0 << QByteArray();
        QTest::newRow("17th field stops at 18th separator")
            << QByteArray("0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17") << 16 << QByteArray("16");
        QTest::newRow("blanks kept") << QByteArray(" a | b ") << 1 << QByteArray(" b ");
    }

    void splitsFields() {
        QFETCH(QByteArray, line);
        QFETCH(int, index);
        QFETCH(QByteArray, expected);
        QCOMPARE(record::split(line)[index].toByteArray(), expected);
        QCOMPARE(record::field(line, index).toByteArray(), expected);
    }

    void fieldOutsideTableIsEmpty_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("negative") << -1;
        QTest::newRow("eighteenth") << 17;
    }

    void fieldOutsideTableIsEmpty() {
        QFETCH(int, index);
        QVERIFY(record::field("0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18", index).isEmpty());
    }

    void fieldTextsDecodesAllSeventeen() {
        const QStringList texts = record::fieldTexts("WB0456|Gr\xfc\xdf"
                                                     "e|x");
        QCOMPARE(texts.size(), record::FieldCount);
        QCOMPARE(texts[record::Sig], QStringLiteral("WB0456"));
        QCOMPARE(texts[record::Titel], QStringLiteral("Grüße"));
        QCOMPARE(texts[record::Dauer], QStringLiteral("x"));
        QCOMPARE(texts[record::Neuanschaffung], QString());
    }

    void hitCells_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("title");
        QTest::newRow("full record") << QByteArray("TH123|Der Drache|ca. 45 min.|Kinder") << true
                                     << QStringLiteral("TH123") << QStringLiteral("Der Drache");
        QTest::newRow("title to end of line")
            << QByteArray("TH123|Der Drache") << true << QStringLiteral("TH123")
            << QStringLiteral("Der Drache");
        QTest::newRow("only a separator") << QByteArray("|") << true << QString() << QString();
        QTest::newRow("empty signature")
            << QByteArray("|Titel|") << true << QString() << QStringLiteral("Titel");
        QTest::newRow("cp1252 decoded")
            << QByteArray("AV0789|Stra\xdf"
                          "entheater \x84live\x93|")
            << true << QStringLiteral("AV0789") << QStringLiteral("Straßentheater „live“");
        QTest::newRow("no separator")
            << QByteArray("TH123 Der Drache") << false << QString() << QString();
        QTest::newRow("empty line") << QByteArray() << false << QString() << QString();
    }

    void hitCells() {
        QFETCH(QByteArray, line);
        QFETCH(bool, shown);
        QFETCH(QString, signature);
        QFETCH(QString, title);
        QString gotSignature = QStringLiteral("alt");
        QString gotTitle = QStringLiteral("alt");
        QCOMPARE(record::hitCells(line, &gotSignature, &gotTitle), shown);
        QCOMPARE(gotSignature, signature);
        QCOMPARE(gotTitle, title);
    }

    void displaySignature_data() {
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two letters three digits") << "AB123"
                                                  << "AB 123";
        QTest::newRow("four digits") << "WB0456"
                                     << "WB 0456";
        QTest::newRow("three characters") << "ABC"
                                          << "AB C";
        QTest::newRow("two characters") << "AB"
                                        << "AB ";
        QTest::newRow("one character") << "A"
                                       << "A ";
        QTest::newRow("empty") << ""
                               << " ";
        QTest::newRow("umlaut kept") << QStringLiteral("ÄÖ1") << QStringLiteral("ÄÖ 1");
    }

    void displaySignature() {
        QFETCH(QString, signature);
        QFETCH(QString, shown);
        QCOMPARE(record::displaySignature(signature), shown);
        QCOMPARE(record::storedSignature(shown), signature);
    }

    void storedSignature_data() {
        QTest::addColumn<QString>("displayed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("only the first blank") << "AB 1 2"
                                              << "AB1 2";
        QTest::newRow("leading blank") << " AB"
                                       << "AB";
        QTest::newRow("no blank") << "AB123"
                                  << "AB123";
        QTest::newRow("empty") << ""
                               << "";
    }

    void storedSignature() {
        QFETCH(QString, displayed);
        QFETCH(QString, stored);
        QCOMPARE(record::storedSignature(displayed), stored);
    }

    void fieldOfCode_data() {
        QTest::addColumn<char>("code");
        QTest::addColumn<int>("field");
        QTest::newRow("0 whole line") << '0' << -1;
        QTest::newRow("1 Sig") << '1' << 0;
        QTest::newRow("2 Titel") << '2' << 1;
        QTest::newRow("3 Eignung") << '3' << 3;
        QTest::newRow("4 Schlag") << '4' << 7;
        QTest::newRow("5 Dauer") << '5' << 2;
        QTest::newRow("6 Beschreibung") << '6' << 8;
        QTest::newRow("7 Autor") << '7' << 13;
        QTest::newRow("8 Alter") << '8' << 14;
        QTest::newRow("9 Buehne") << '9' << 9;
        QTest::newRow("A Medart") << 'A' << 10;
        QTest::newRow("B Mehr15") << 'B' << 11;
        QTest::newRow("C Neuanschaffung") << 'C' << 16;
        QTest::newRow("D outside") << 'D' << -2;
        QTest::newRow("Z outside") << 'Z' << -2;
        QTest::newRow("= outside") << '=' << -2;
        QTest::newRow("blank outside") << ' ' << -2;
        QTest::newRow("NUL outside") << '\0' << -2;
    }

    void fieldOfCode() {
        QFETCH(char, code);
        QFETCH(int, field);
        QCOMPARE(record::fieldOfCode(code), field);
    }

    void demoCatalogueFollowsRecordLayout() {
        Catalogue catalogue;
        catalogue.load(QStringLiteral(ORBA_SOURCE_DIR "/demo/orb32.dat"));
        QCOMPARE(catalogue.count(), 320);
        QSet<QString> signatures;
        for (qsizetype i = 0; i < catalogue.count(); ++i) {
            const QByteArrayView line = catalogue.line(i);
            QCOMPARE(line.count('|'), record::FieldCount - 1);
            const QStringList fields = record::fieldTexts(line);
            const QString where = QStringLiteral("record %1: ").arg(i) + fields[record::Sig];
            QVERIFY2(!signatures.contains(fields[record::Sig]), qPrintable(where));
            signatures.insert(fields[record::Sig]);
            QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z]{2}[0-9]{3,}$"))
                         .match(fields[record::Sig])
                         .hasMatch(),
                     qPrintable(where));
            QVERIFY2(!fields[record::Titel].isEmpty(), qPrintable(where));
            QVERIFY2(
                record::mediaTypes().mid(1).contains(fields[record::Medart].section(',', 0, 0)),
                qPrintable(where));
            QVERIFY2(QRegularExpression(QStringLiteral("^([01]{4})?$"))
                         .match(fields[record::Alter])
                         .hasMatch(),
                     qPrintable(where));
        }
    }

    void fixedListsKeepTheirUmlauts() {
        QCOMPARE(record::mediaTypes(),
                 QStringList({QStringLiteral("Alle"), QStringLiteral("Theaterst\u00fccke"),
                              QStringLiteral("Werkb\u00fccher"), QStringLiteral("AV-Medien")}));
        QCOMPARE(record::ageGroups().size(), 4);
        QCOMPARE(record::ageGroups().first(), QStringLiteral("Kindergarten-2. Klasse"));
        QCOMPARE(record::ageGroups().last(), QStringLiteral("10.-13. Klasse"));
    }
};

ORBA_TEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
