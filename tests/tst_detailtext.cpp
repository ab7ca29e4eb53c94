#include "display/DetailText.h"
#include "TestMain.h"

using namespace orba;

namespace {

// A record line with the given fields set, the others empty.
QByteArray line(std::initializer_list<std::pair<int, QByteArray>> fields) {
    QList<QByteArray> parts(17);
    for (const auto& [index, value] : fields)
        parts[index] = value;
    return parts.join('|');
}

DisplayList only(int field) {
    return {{field, true}};
}

} // namespace

class TestDetailText : public QObject {
    Q_OBJECT

private slots:
    void items_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("description with two line breaks")
            << line({{8, "Erster Teil\x03\x03Zweiter"}}) << 0
            << "<h1>Beschreibung<br> <n>Erster Teil<br> <br> Zweiter<p> ";
        QTest::newRow("empty description") << line({}) << 0 << "";
        QTest::newRow("age 1001") << line({{14, "1001"}}) << 1
                                  << "<h1>Alter<br> <n>Kindergarten-2. Klasse, 10.-13. Klasse<p> ";
        QTest::newRow("age 0000") << line({{14, "0000"}}) << 1 << "";
        QTest::newRow("age three chars") << line({{14, "101"}}) << 1 << "";
        QTest::newRow("age 0002 heading, empty value")
            << line({{14, "0002"}}) << 1 << "<h1>Alter<br> <n><p> ";
        QTest::newRow("keywords") << line({{7, "Masken, Clown"}}) << 2
                                  << "<h1>Schlagwörter<br> <n>Masken, Clown<p> ";
        QTest::newRow("female players")
            << line({{4, "3"}}) << 4 << "<h1>Anzahl Spieler weiblich<br> <n>3<p> ";
        QTest::newRow("signature as stored")
            << line({{0, "TH123"}}) << 5 << "<h1>Nr.<br> <n>TH123<p> ";
        QTest::newRow("empty title still shown") << line({}) << 6 << "<h1>Titel<br> <n><p> ";
        QTest::newRow("male players, umlaut heading")
            << line({{5, "4"}}) << 9 << "<h1>Anzahl Spieler männlich<br> <n>4<p> ";
        QTest::newRow("more than 15: 16")
            << line({{11, "16"}}) << 10 << "<h1>mehr als 15 Spieler<br> <p> ";
        QTest::newRow("more than 15: 3 and text")
            << line({{11, "3 Gruppen"}}) << 10 << "<h1>mehr als 15 Spieler<br> <p> ";
        QTest::newRow("more than 15: 0") << line({{11, "0"}}) << 10 << "";
        QTest::newRow("more than 15: empty") << line({}) << 10 << "";
        QTest::newRow("more than 15: letter") << line({{11, "x1"}}) << 10 << "";
        QTest::newRow("more than 15: -2") << line({{11, "-2"}}) << 10 << "";
        QTest::newRow("more than 15: tab before the number")
            << line({{11, "\t2"}}) << 10 << "<h1>mehr als 15 Spieler<br> <p> ";
        QTest::newRow("more than 15: no-break space is no blank") << line({{11, "\xa0"
                                                                                "2"}})
                                                                  << 10 << "";
        QTest::newRow("stage with umlaut value")
            << line({{9, "einfache Vorhangb\xfchne"}}) << 8
            << QString::fromUtf8("<h1>Bühne<br> <n>einfache Vorhangbühne<p> ");
        QTest::newRow("new acquisition")
            << line({{16, "1"}}) << 15 << "<h1>Neuerscheinung<br> <n>1<p> ";
        QTest::newRow("address has no display code") << line({{6, "Postfach"}}) << 16 << "";
        QTest::newRow("markup in a value takes effect")
            << line({{13, "<b>Fett"}}) << 13 << "<h1>Autor<br> <n><b>Fett<p> ";
        QTest::newRow("short line: missing fields are empty")
            << QByteArray("TH1|Titel") << 12 << "";
    }

    void items() {
        QFETCH(QByteArray, record);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(detailText(record, only(code)), text);
    }

    void listOrderAndFlagsDecide() {
        const QByteArray record = line({{0, "TH1"}, {1, "Titel"}, {13, "Autorin"}});
        QCOMPARE(detailText(record, {{13, true}, {6, true}, {5, false}}),
                 QStringLiteral("<h1>Autor<br> <n>Autorin<p> <h1>Titel<br> <n>Titel<p> "));
        QCOMPARE(detailText(record, {{5, false}, {6, false}}), QString());
        QCOMPARE(detailText(record, {}), QString());
    }
};

ORBA_TEST_MAIN(TestDetailText)
#include "tst_detailtext.moc"
