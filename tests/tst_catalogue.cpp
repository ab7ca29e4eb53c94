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
using namespace Qt::StringLiterals;

namespace {

QByteArrayList loadedLines(const Catalogue& catalogue) {
    QByteArrayList lines;
    for (qsizetype i = 0; i < catalogue.count(); ++i)
        lines.append(catalogue.line(i).toByteArray());
    return lines;
}

Catalogue loaded(const QByteArray& bytes) {
    const test::WorkingDir dir;
    dir.write(QStringLiteral("orb32.dat"), bytes);
    Catalogue catalogue;
    catalogue.load(QStringLiteral("orb32.dat"));
    return catalogue;
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
        QTest::newRow("mixed") << QByteArray("a\r\nb\rc\nd") << QByteArrayList{"a", "b", "c", "d"};
        QTest::newRow("CR CR is an empty line")
            << QByteArray("a\r\rb") << QByteArrayList{"a", "", "b"};
        QTest::newRow("trailing CR CR") << QByteArray("a\r\r") << QByteArrayList{"a", ""};
        QTest::newRow("LF CR is two line ends")
            << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"};
        QTest::newRow("only a line end") << QByteArray("\r\n") << QByteArrayList{""};
        QTest::newRow("NUL in the middle")
            << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QByteArrayList{"a", "b"};
        QTest::newRow("NUL right after a line end")
            << QByteArray("a\r\n\0b\r\n", 7) << QByteArrayList{"a"};
        QTest::newRow("NUL first") << QByteArray("\0a\r\n", 4) << QByteArrayList();
        QTest::newRow("blanks are not trimmed")
            << QByteArray("  a | b  \r\n\t\r\n") << QByteArrayList{"  a | b  ", "\t"};
        const QByteArray odd = allHighBytes() + "Satz.\x03|\x1a\x7f";
        QTest::newRow("control and high bytes kept") << odd + "\r\n" << QByteArrayList{odd};
    }

    void loadsLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, lines);
        const Catalogue catalogue = loaded(bytes);
        QCOMPARE(loadedLines(catalogue), lines);
        for (qsizetype i = 0; i < catalogue.count(); ++i) {
            const QByteArrayView scanned(catalogue.data() + catalogue.begin(i),
                                         catalogue.end(i) - catalogue.begin(i));
            QCOMPARE(scanned.toByteArray(), lines[i]);
        }
    }

    void loadsMegabyteLine() {
        const QByteArray longLine = QByteArray(1024 * 1024, 'x') + "|Titel";
        const Catalogue catalogue = loaded("AB1|kurz\r\n" + longLine + "\r\nAB2|danach");
        QCOMPARE(catalogue.count(), 3);
        QCOMPARE(catalogue.line(1).size(), longLine.size());
        QVERIFY(catalogue.line(1) == longLine);
        QVERIFY(catalogue.line(2) == QByteArrayView("AB2|danach"));
        QCOMPARE(record::field(catalogue.line(1), record::Titel).toByteArray(), "Titel");
    }

    void lineTextDecodesCp1252() {
        QCOMPARE(loaded("TH1|B\xfchnenzauber \x80 5\r\n").lineText(0),
                 QStringLiteral("TH1|Bühnenzauber € 5"));
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
    }

    void lineOutOfRangeThrows() {
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, index);
        const Catalogue catalogue = loaded(bytes);
        const QString expected = QStringLiteral("Listenindex außerhalb des zulässigen Bereichs");
        QVERIFY(!catalogue.contains(index));
        QCOMPARE(errorOf([&] { catalogue.line(index); }), expected);
        QCOMPARE(errorOf([&] { catalogue.lineText(index); }), expected);
    }

    void reloadReplacesContentsAndFailedLoadEmpties() {
        test::WorkingDir dir;
        dir.write(QStringLiteral("alt.dat"), "A1|alt\r\nA2|alt\r\nA3|alt\r\n");
        dir.write(QStringLiteral("neu.dat"), "N1|neu\r\n");
        Catalogue catalogue;
        catalogue.load(QStringLiteral("alt.dat"));
        catalogue.load(QStringLiteral("neu.dat"));
        QCOMPARE(loadedLines(catalogue), QByteArrayList{"N1|neu"});
        catalogue.clear();
        QCOMPARE(catalogue.count(), 0);
        catalogue.load(QStringLiteral("neu.dat"));
        QCOMPARE(errorOf([&] { catalogue.load(QStringLiteral("x")); }),
                 QStringLiteral("Datei x kann nicht geöffnet werden"));
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
        QTest::newRow("line break byte kept")
            << full << int(record::Beschreibung) << QByteArray("Text\x03mehr");
        QTest::newRow("last field") << full << int(record::Neuanschaffung) << QByteArray("1");
        QTest::newRow("no separator: whole line is field 0")
            << QByteArray("nur Text") << 0 << QByteArray("nur Text");
        QTest::newRow("missing field empty") << QByteArray("a|b") << 5 << QByteArray();
        QTest::newRow("trailing separator") << QByteArray("a|b|") << 2 << QByteArray();
        QTest::newRow("empty between") << QByteArray("a||c") << 1 << QByteArray();
        QTest::newRow("leading separator") << QByteArray("|b") << 0 << QByteArray();
        QTest::newRow("17th field stops at 18th separator")
            << QByteArray("0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17") << 16 << QByteArray("16");
    }

    void splitsFields() {
        QFETCH(QByteArray, line);
        QFETCH(int, index);
        QFETCH(QByteArray, expected);
        QCOMPARE(record::split(line)[index].toByteArray(), expected);
        QCOMPARE(record::field(line, index).toByteArray(), expected);
    }

    // Fields of every length around the sixteen and sixty-four bytes the field search takes at
    // once, and lines of separators only.
    void fieldsOfLongLines_data() {
        QTest::addColumn<QByteArray>("line");
        for (int length : {1, 14, 15, 16, 17, 31, 63, 64, 65}) {
            QByteArrayList fields;
            for (int index = 0; index < 18; ++index)
                fields.append(QByteArray(length, char('a' + index)));
            QTest::newRow(qPrintable(QStringLiteral("fields of %1").arg(length)))
                << fields.join('|');
            QTest::newRow(qPrintable(QStringLiteral("ten fields of %1").arg(length)))
                << fields.mid(0, 10).join('|');
        }
        QTest::newRow("separators only") << QByteArray(100, '|');
        QTest::newRow("long field, then separators") << QByteArray(70, 'x') + QByteArray(20, '|');
    }
    void fieldsOfLongLines() {
        QFETCH(QByteArray, line);
        const QByteArrayList expected = line.split('|');
        const record::Fields fields = record::split(line);
        for (int index = 0; index < record::FieldCount; ++index) {
            QCOMPARE(record::field(line, index).toByteArray(), expected.value(index));
            QCOMPARE(fields[index].toByteArray(), expected.value(index));
        }
    }

    void fieldOutsideTableIsEmpty() {
        const QByteArray line = "0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18";
        QVERIFY(record::field(line, -1).isEmpty());
        QVERIFY(record::field(line, 17).isEmpty());
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
        QTest::newRow("empty signature")
            << QByteArray("|Titel|") << true << QString() << QStringLiteral("Titel");
        QTest::newRow("cp1252 decoded")
            << QByteArray("AV0789|Stra\xdf"
                          "entheater \x84live\x93|")
            << true << QStringLiteral("AV0789") << QStringLiteral("Straßentheater „live“");
        QTest::newRow("no separator")
            << QByteArray("TH123 Der Drache") << false << QString() << QString();
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
        const auto row = [](const char* name, const QString& signature, const QString& shown) {
            QTest::newRow(name) << signature << shown;
        };
        row("four digits", u"WB0456"_s, u"WB 0456"_s);
        row("three characters", u"ABC"_s, u"AB C"_s);
        row("one character", u"A"_s, u"A "_s);
        row("empty", u""_s, u" "_s);
        row("umlaut kept", u"ÄÖ1"_s, u"ÄÖ 1"_s);
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
        const auto row = [](const char* name, const QString& displayed, const QString& stored) {
            QTest::newRow(name) << displayed << stored;
        };
        row("only the first blank", u"AB 1 2"_s, u"AB1 2"_s);
        row("leading blank", u" AB"_s, u"AB"_s);
        row("no blank", u"AB123"_s, u"AB123"_s);
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
        QTest::newRow("8 Alter") << '8' << 14;
        QTest::newRow("D outside") << 'D' << -2;
        QTest::newRow("= outside") << '=' << -2;
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
        const QRegularExpression signature(u"^[A-Z]{2}[0-9]{3,}$"_s);
        const QRegularExpression ageFlags(u"^([01]{4})?$"_s);
        QSet<QString> signatures;
        for (qsizetype i = 0; i < catalogue.count(); ++i) {
            const QByteArrayView line = catalogue.line(i);
            QCOMPARE(line.count('|'), record::FieldCount - 1);
            const QStringList fields = record::fieldTexts(line);
            const QString& sig = fields[record::Sig];
            const bool valid =
                !signatures.contains(sig) && signature.match(sig).hasMatch() &&
                !fields[record::Titel].isEmpty() &&
                ageFlags.match(fields[record::Alter]).hasMatch() &&
                record::mediaTypes().mid(1).contains(fields[record::Medart].section(',', 0, 0));
            QVERIFY2(valid, qPrintable(QStringLiteral("record %1: ").arg(i) + sig));
            signatures.insert(sig);
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
