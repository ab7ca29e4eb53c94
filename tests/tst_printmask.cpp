#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "output/BandText.h"
#include "output/ReportValues.h"
#include "output/TQRPrint.h"
#include "output/ValueList.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QScopeGuard>

using namespace orba;
using namespace Qt::StringLiterals;

namespace {

// The lines of one element of a print mask, keyed by its stem (band prefix and number).
QStringList textElement(const QString& stem, const QString& text, int top = 10, int left = 20) {
    QStringList lines =
        u"%1_typ=1,%1_x=%2,%1_y=%3,%1_w=300,%1_h=17,%1_algn=0,%1_fs=10,%1_fn=Arial,%1_fc=0"_s
            .arg(stem, QString::number(left), QString::number(top))
            .split(u',');
    lines.insert(8, stem + "_t=" + text);
    return lines;
}

QStringList pictureElement(const QString& stem, const QString& file) {
    return {stem + "_typ=2", stem + "_x=5",    stem + "_y=6",        stem + "_w=70",
            stem + "_h=40",  stem + "_algn=0", stem + "_bmp=" + file};
}

QStringList bandHead(QChar prefix, int height, int count) {
    return {prefix + u"bnd_h="_s + QString::number(height),
            prefix + u"cnt="_s + QString::number(count)};
}

// A mask with one text element per band: the given texts for title, header and detail.
QStringList simpleMask(const QString& title, const QString& header, const QString& detail) {
    return bandHead(u'0', 41, 1) + textElement("00", title) + bandHead(u'1', 30, 1) +
           textElement("10", header) + bandHead(u'2', 25, 1) + textElement("20", detail);
}

void writeMask(const test::WorkingDir& dir, const QString& name, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += cp1252::encode(line) + "\r\n";
    dir.write(name, bytes);
}

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const OrbaError& error) {
        return error.message();
    }
    return {};
}

int elementCount(const ReportBand& band) {
    return static_cast<int>(band.elements().size());
}

QStringList entryTexts(const ValueList& list) {
    QStringList texts;
    for (const ValueEntry& entry : list.entries())
        texts.append(entry.name + "=" + entry.value);
    return texts;
}

ValueList listOf(const QStringList& entries) {
    ValueList list;
    for (const QString& entry : entries) {
        const qsizetype equals = entry.indexOf(u'=');
        list.append(entry.left(equals), entry.mid(equals + 1));
    }
    return list;
}

// A record line with all 17 fields: the leading ones given, the rest empty.
QByteArray recordLine(const QByteArray& leading) {
    return leading + QByteArray(16 - leading.count('|'), '|');
}

struct TextAt {
    int top;
    int left;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(QList<TextAt>)

class TestPrintMask : public QObject {
    Q_OBJECT

private slots:
    void valueListSet_data() {
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("appends a new name") << QStringList{"^Sig="} << "^Titel"
                                            << "Hamlet" << QStringList{"^Sig=", "^Titel=Hamlet"};
        QTest::newRow("replaces the first entry, case ignored")
            << QStringList{"^titel=", "^TITEL=alt"} << "^Titel"
            << "Hamlet" << QStringList{"^titel=Hamlet", "^TITEL=alt"};
        QTest::newRow("empty removes the first entry") << QStringList{"^Sig=a", "^SIG=b"} << "^sig"
                                                       << "" << QStringList{"^SIG=b"};
        QTest::newRow("empty for a missing name changes nothing")
            << QStringList{"^Sig=a"} << "^Titel"
            << "" << QStringList{"^Sig=a"};
    }
    void valueListSet() {
        QFETCH(QStringList, initial);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        ValueList list = listOf(initial);
        list.set(name, value);
        QCOMPARE(entryTexts(list), expected);
    }

    void valueListLookup() {
        const ValueList list = listOf({"^Sig=first", "^SIG=second", "leer="});
        QCOMPARE(list.value("^sig"), u"first"_s);
        QCOMPARE(list.value("^Fehlt"), QString());
        QVERIFY(list.contains("LEER"));
        QVERIFY(!list.contains("^Fehlt"));
    }

    void valueListReplaceKeepsElementLink() {
        ReportElement element;
        ValueList list;
        list.append("^Titel", {}, &element);
        list.set("^TITEL", "Hamlet");
        QCOMPARE(list.entries().first().element, &element);
        QCOMPARE(list.entries().first().value, u"Hamlet"_s);
    }

    void loadsBandsElementsAndPlaceholders() {
        const test::WorkingDir dir;
        QImage(8, 4, QImage::Format_RGB32).save(dir.file("logo.bmp"));
        QStringList lines = bandHead(u'0', 120, 2) + textElement("00", "^Name", 30, 40) +
                            pictureElement("01", "logo.bmp") + bandHead(u'1', 30, 1) +
                            textElement("10", "^Titel") + bandHead(u'2', 25, 2) +
                            textElement("20", "^Sig") + textElement("21", "^Titel", 10, 200);
        lines.replaceInStrings(u"00_algn=0"_s, u"00_algn=2"_s);
        lines.replaceInStrings(u"00_fc=0"_s, u"00_fc=16711680"_s);
        writeMask(dir, "test.r01", lines);
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QVERIFY(print.loaded());

        const Tprint& report = print.report();
        QCOMPARE(report.QRBand1.height(), 120);
        QCOMPARE(report.QRBand2.height(), 30);
        QCOMPARE(report.QRBand3.height(), 25);
        const ReportElement& name = *report.QRBand1.elements()[0];
        QCOMPARE(name.name, u"F00"_s);
        QCOMPARE(QRect(name.left, name.top, name.width, name.height), QRect(40, 30, 300, 17));
        QCOMPARE(int(name.templateTop), 30);
        QCOMPARE(int(name.templateHeight), 17);
        QCOMPARE(name.alignment, int(ReportElement::Centred));
        QCOMPARE(name.colour, QColor(Qt::blue));
        QCOMPARE(name.font, (ReportFont{"Arial", 10}));
        const ReportElement& logo = *report.QRBand1.elements()[1];
        QCOMPARE(logo.kind, ReportElement::Kind::Picture);
        QCOMPARE(logo.name, u"F01"_s);
        QCOMPARE(logo.picture.size(), QSize(8, 4));
        QCOMPARE(report.QRBand3.elements()[1]->name, u"F21"_s);

        // Title placeholders first, then detail ones; column header texts never.
        QStringList names;
        QList<const ReportElement*> linked;
        for (const ValueEntry& entry : report.placeholders.entries()) {
            names.append(entry.name);
            linked.append(entry.element);
        }
        QCOMPARE(names, (QStringList{"^Name", "^Sig", "^Titel"}));
        QCOMPARE(linked, (QList<const ReportElement*>{report.QRBand1.elements()[0].get(),
                                                      report.QRBand3.elements()[0].get(),
                                                      report.QRBand3.elements()[1].get()}));
    }

    void detailPlaceholder_data() {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<int>("placeholders");
        QTest::addColumn<QString>("printed");
        QTest::newRow("name ignores case") << u"^titel"_s << 1 << u"Hamlet"_s;
        QTest::newRow("placeholder inside a text is none")
            << u"Titel: ^Titel"_s << 0 << u"Titel: ^Titel"_s;
    }
    void detailPlaceholder() {
        QFETCH(QString, detail);
        QFETCH(int, placeholders);
        QFETCH(QString, printed);
        const test::WorkingDir dir;
        writeMask(dir, "test.r01", simpleMask("Kopf", "Titel", detail));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QCOMPARE(print.report().placeholders.size(), placeholders);
        ValueList values = print.report().placeholders.copy();
        values.set("^Titel", "Hamlet");
        QStringList lines;
        RenderBandAsText(print.report().QRBand3, lines, &values);
        QCOMPARE(lines, QStringList{printed});
    }

    void degreeSignBreaksLinesButNotPlaceholderNames() {
        const test::WorkingDir dir;
        writeMask(dir, "test.r01", simpleMask(u"A°B"_s, "Titel", u"^Text°frei"_s));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QCOMPARE(print.report().QRBand1.elements()[0]->lines, (QStringList{"A", "B"}));
        QCOMPARE(print.report().QRBand3.elements()[0]->lines, (QStringList{"^Text", "frei"}));
        QCOMPARE(print.report().placeholders.entries().first().name, u"^Text°frei"_s);
    }

    void bandWithoutElementsKeepsItsHeight() {
        const test::WorkingDir dir;
        writeMask(dir, "test.r01",
                  bandHead(u'0', 77, 0) + bandHead(u'1', 30, 0) + bandHead(u'2', 0, 0));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QCOMPARE(print.report().QRBand1.height(), 77);
        QCOMPARE(elementCount(print.report().QRBand1), 0);
        QCOMPARE(print.report().QRBand3.height(), 0);
    }

    void fontNameIsCutTo31Characters() {
        const test::WorkingDir dir;
        const QString longName = u"Schrift mit einem wirklich sehr langen Namen"_s;
        writeMask(dir, "test.r01",
                  simpleMask("Kopf", "Titel", "Fest")
                      .replaceInStrings(u"20_fn=Arial"_s, "20_fn=" + longName));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QCOMPARE(print.report().QRBand3.elements()[0]->font.name, longName.left(31));
    }

    // Numbers beyond what a page can use are brought into range, so that no layout sum can
    // overflow; tops and heights stay within the 16 bits of their templates.
    void numbersAreBroughtIntoRange_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected"); // "left,top,width,height,font size"
        QTest::newRow("top beyond 16 bits") << "20_y"
                                            << "70000"
                                            << "20,65535,300,17,10";
        QTest::newRow("negative top") << "20_y"
                                      << "-5"
                                      << "20,0,300,17,10";
        QTest::newRow("smallest left") << "20_x"
                                       << "-2147483648"
                                       << "-65535,10,300,17,10";
        QTest::newRow("largest width") << "20_w"
                                       << "2147483647"
                                       << "20,10,65535,17,10";
        QTest::newRow("largest height") << "20_h"
                                        << "2147483647"
                                        << "20,10,300,65535,10";
        QTest::newRow("negative height") << "20_h"
                                         << "-17"
                                         << "20,10,300,0,10";
        QTest::newRow("huge font size") << "20_fs"
                                        << "22369622"
                                        << "20,10,300,17,750";
        QTest::newRow("font size 0") << "20_fs"
                                     << "0"
                                     << "20,10,300,17,1";
    }
    void numbersAreBroughtIntoRange() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        const test::WorkingDir dir;
        writeMask(dir, "test.r01",
                  simpleMask("Kopf", "Titel", "Fest")
                      .replaceInStrings(QRegularExpression("^" + key + "=.*"), key + "=" + value));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        const ReportElement& element = *print.report().QRBand3.elements()[0];
        QCOMPARE(u"%1,%2,%3,%4,%5"_s.arg(element.left)
                     .arg(element.top)
                     .arg(element.width)
                     .arg(element.height)
                     .arg(element.font.pointSize),
                 expected);
        QCOMPARE(int(element.templateTop), element.top);
        QCOMPARE(int(element.templateHeight), element.height);
    }

    void bandHeightIsBroughtIntoRange() {
        const test::WorkingDir dir;
        writeMask(dir, "test.r01",
                  bandHead(u'0', -1, 0) + bandHead(u'1', 30, 0) + bandHead(u'2', 2147483647, 0));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QCOMPARE(print.report().QRBand1.height(), 0);
        QCOMPARE(print.report().QRBand3.height(), 65535);
    }

    void keysIgnoreCaseAndFirstLineWins() {
        const test::WorkingDir dir;
        QStringList lines = simpleMask("Kopf", "Titel", "Fest");
        lines.prepend(u"2bnd_H=55"_s);
        lines.append(u"20_T=Spät"_s);
        lines.append(u"keine Zuweisung"_s);
        writeMask(dir, "test.r01", lines);
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QCOMPARE(print.report().QRBand3.height(), 55);
        QCOMPARE(print.report().QRBand3.elements()[0]->lines, QStringList{"Fest"});
    }

    void missingMaskIsReportedAndKeepsTheBands() {
        const test::WorkingDir dir;
        writeMask(dir, "test.r01", simpleMask("Kopf", "Titel", "^Sig"));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        test::ModalSeen seen;
        test::clickInNextModal("OK", &seen);
        QVERIFY(!print.LoadPrintMask("fehlt.r02"));
        QVERIFY(seen.shown);
        QCOMPARE(seen.caption, u"Fehler"_s);
        QCOMPARE(seen.text, u"Druckmaskenformat 'fehlt.r02' nicht vorhanden."_s);
        QCOMPARE(print.report().QRBand3.elements()[0]->lines, QStringList{"^Sig"});
        QCOMPARE(print.report().placeholders.size(), 1);
        QVERIFY(print.loaded());
    }

    void missingMaskBeforeAnyLoadLeavesNothingLoaded() {
        const test::WorkingDir dir;
        TQRPrint print(nullptr);
        test::clickInNextModal("OK");
        QVERIFY(!print.LoadPrintMask("medien.r01"));
        QVERIFY(!print.loaded());
    }

    void brokenNumberEndsTheLoad_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QList<int>>("elementsLeft");
        QTest::newRow("missing width") << "21_w=300"
                                       << ""
                                       << "'' ist kein gültiger Integerwert" << QList<int>{1, 1, 1};
        QTest::newRow("missing colour: element already placed")
            << "21_fc=0"
            << ""
            << "'' ist kein gültiger Integerwert" << QList<int>{1, 1, 2};
        QTest::newRow("band height of the header")
            << "1bnd_h=30"
            << "1bnd_h=dreißig"
            << "'dreißig' ist kein gültiger Integerwert" << QList<int>{1, 0, 0};
        QTest::newRow("count larger than the elements present")
            << "2cnt=2"
            << "2cnt=3"
            << "'' ist kein gültiger Integerwert" << QList<int>{1, 1, 2};
        QTest::newRow("decimal point")
            << "00_fs=10"
            << "00_fs=10.5"
            << "'10.5' ist kein gültiger Integerwert" << QList<int>{0, 0, 0};
    }
    void brokenNumberEndsTheLoad() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        QFETCH(QList<int>, elementsLeft);
        const test::WorkingDir dir;
        QStringList lines = bandHead(u'0', 41, 1) + textElement("00", "Kopf") +
                            bandHead(u'1', 30, 1) + textElement("10", "Titel") +
                            bandHead(u'2', 25, 2) + textElement("20", "^Sig") +
                            textElement("21", "^Titel");
        QVERIFY(lines.contains(from));
        lines.replaceInStrings(from, to);
        lines.removeAll(QString());
        writeMask(dir, "test.r01", lines);
        TQRPrint print(nullptr);
        QCOMPARE(errorOf([&] { print.LoadPrintMask("test.r01"); }), message);
        const Tprint& report = print.report();
        QCOMPARE((QList<int>{elementCount(report.QRBand1), elementCount(report.QRBand2),
                             elementCount(report.QRBand3)}),
                 elementsLeft);
        QVERIFY(!print.loaded());
    }

    void unreadablePictureEndsTheLoad() {
        const test::WorkingDir dir;
        dir.write("kaputt.bmp", "kein Bild");
        writeMask(dir, "test.r01",
                  bandHead(u'0', 41, 2) + pictureElement("00", "fehlt.bmp") +
                      pictureElement("01", "kaputt.bmp"));
        TQRPrint print(nullptr);
        QCOMPARE(errorOf([&] { print.LoadPrintMask("test.r01"); }),
                 u"Datei fehlt.bmp kann nicht geöffnet werden"_s);
        QCOMPARE(elementCount(print.report().QRBand1), 1);
        QVERIFY(!print.loaded());

        writeMask(dir, "test.r01", bandHead(u'0', 41, 1) + pictureElement("00", "kaputt.bmp"));
        QCOMPARE(errorOf([&] { print.LoadPrintMask("test.r01"); }),
                 u"Die Datei kaputt.bmp enthält kein lesbares Bild."_s);
    }

    // Five hundred elements of one picture file cost one decoded picture, not five hundred.
    void aPictureFileIsDecodedOncePerMask() {
        const test::WorkingDir dir;
        QImage(300, 200, QImage::Format_RGB32).save(dir.file("logo.bmp"));
        QStringList lines = bandHead(u'0', 41, 1) + pictureElement("00", "logo.bmp") +
                            bandHead(u'1', 30, 0) + bandHead(u'2', 25, 500);
        for (int i = 0; i < 500; ++i)
            lines += pictureElement(u"2"_s + QString::number(i), "logo.bmp");
        writeMask(dir, "test.r01", lines);
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        const qint64 shared = print.report().QRBand1.elements()[0]->picture.cacheKey();
        for (const auto& element : print.report().QRBand3.elements())
            QCOMPARE(element->picture.cacheKey(), shared);
    }

    void aPictureTooLargeForMemoryIsNamedSo() {
        const test::WorkingDir dir;
        QImage(1000, 1000, QImage::Format_RGB32).save(dir.file("gross.bmp"));
        writeMask(dir, "test.r01", bandHead(u'0', 41, 1) + pictureElement("00", "gross.bmp"));
        const int limit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(1);
        const auto restore = qScopeGuard([limit] { QImageReader::setAllocationLimit(limit); });
        TQRPrint print(nullptr);
        QCOMPARE(errorOf([&] { print.LoadPrintMask("test.r01"); }),
                 u"Das Bild gross.bmp kann nicht geladen werden: Die Datei ist beschädigt, oder "
                 "das Bild ist zu groß für den verfügbaren Speicher."_s);
    }

    void pictureWithoutFileIsAnEmptyPicture() {
        const test::WorkingDir dir;
        writeMask(dir, "test.r01",
                  bandHead(u'0', 41, 1) + pictureElement("00", "") + bandHead(u'1', 30, 0) +
                      bandHead(u'2', 25, 0));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("test.r01"));
        QVERIFY(print.report().QRBand1.elements()[0]->picture.isNull());
    }

    void loadReplacesThePreviousMask() {
        const test::WorkingDir dir;
        writeMask(dir, "a.r01", simpleMask("^Name", "Titel", "^Sig"));
        writeMask(dir, "b.r01", simpleMask("Kopf", "Titel", "^Titel"));
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("a.r01"));
        QVERIFY(print.LoadPrintMask("b.r01"));
        QCOMPARE(elementCount(print.report().QRBand1), 1);
        QCOMPARE(print.report().placeholders.size(), 1);
        QCOMPARE(print.report().placeholders.entries().first().name, u"^Titel"_s);
    }

    void tenThousandElementsLoad() {
        const test::WorkingDir dir;
        constexpr int count = 10000;
        QStringList lines =
            bandHead(u'0', 41, 0) + bandHead(u'1', 30, 0) + bandHead(u'2', 25, count);
        for (int i = 0; i < count; ++i)
            lines += textElement("2" + QString::number(i), "^Feld" + QString::number(i), i, 7);
        writeMask(dir, "gross.r01", lines);
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("gross.r01"));
        const auto& elements = print.report().QRBand3.elements();
        QCOMPARE(elementCount(print.report().QRBand3), count);
        QCOMPARE(elements.back()->name, u"F29999"_s);
        QCOMPARE(elements.back()->top, count - 1);
        QCOMPARE(print.report().placeholders.size(), count);
        QCOMPARE(print.report().placeholders.entries().back().name, u"^Feld9999"_s);
    }

    void recordValues_data() {
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QStringList>("expected");
        const QStringList placeholders{"^Sig=", "^Dauer=", "^Titel="};
        QTest::newRow("empty duration leaves ^Dauer unset")
            << placeholders << recordLine("TH1|Hamlet")
            << QStringList{"^Sig=TH1", "^Dauer=", "^Titel=Hamlet"};
        QTest::newRow("duration set when present")
            << placeholders << recordLine("TH1|Hamlet|90 min")
            << QStringList{"^Sig=TH1", "^Dauer=90 min", "^Titel=Hamlet"};
        QTest::newRow("empty number removes ^Sig")
            << placeholders << recordLine("|Hamlet") << QStringList{"^Dauer=", "^Titel=Hamlet"};
        QTest::newRow("every field in table order, field 11 left out")
            << QStringList{} << QByteArray("S|T|D|E|W|M|A|K|B|U|R|X|O|V|1010|5|1")
            << QStringList{"^Sig=S",    "^Titel=T",    "^Dauer=D",     "^Eignung=E",
                           "^Anzspw=W", "^Anzspm=M",   "^Adress=A",    "^Schlag=K",
                           "^Text=B",   "^Buehne=U",   "^Medart=R",    "^Stdo=O",
                           "^Autor=V",  "^Alter=1010", "^Bewertung=5", "^Neuanschaffung=1"};
        QTest::newRow("values as stored: cp1252, line-break code, blanks")
            << QStringList{}
            << recordLine(" TH 1 |B\xfchne|||||||a\x03"
                          "b")
            << QStringList{"^Sig= TH 1 ", u"^Titel=Bühne"_s,
                           "^Text=a\x03"
                           "b"};
        QTest::newRow("short line: missing fields are empty")
            << QStringList{} << QByteArray("TH1") << QStringList{"^Sig=TH1"};
    }
    void recordValues() {
        QFETCH(QStringList, initial);
        QFETCH(QByteArray, record);
        QFETCH(QStringList, expected);
        ValueList list = listOf(initial);
        orba::recordValues(list, record, nullptr);
        QCOMPARE(entryTexts(list), expected);
    }

    void reservationDate_data() {
        QTest::addColumn<bool>("basket");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("trimmed") << true << " \t12.03.2025\r\n"
                                 << QStringList{"^Resdatum=12.03.2025", "^Sig=TH1"};
        QTest::newRow("empty removes the entry") << true << "" << QStringList{"^Sig=TH1"};
        QTest::newRow("blanks only remove it too") << true << "   " << QStringList{"^Sig=TH1"};
        QTest::newRow("outside the basket: kept")
            << false << QString() << QStringList{"^Resdatum=alt", "^Sig=TH1"};
    }
    void reservationDate() {
        QFETCH(bool, basket);
        QFETCH(QString, date);
        QFETCH(QStringList, expected);
        ValueList list = listOf({"^Resdatum=alt"});
        orba::recordValues(list, "TH1", basket ? &date : nullptr);
        QCOMPARE(entryTexts(list), expected);
    }

    void titleValues_data() {
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<bool>("basket");
        QTest::addColumn<bool>("showUserList");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("asked");
        const QStringList withName{"^Name=", "^Schulname="};
        QTest::newRow("basket, user list off: question marks")
            << withName << true << false << QStringList{"^Name=?", "^Schulname=?"} << 0;
        QTest::newRow("basket, user list on: the chosen user")
            << withName << true << true
            << QStringList{"^Name=Maria Muster", "^Schulname=Realschule"} << 1;
        QTest::newRow("hit list page: nothing") << withName << false << true << withName << 0;
        QTest::newRow("mask without ^Name: nothing")
            << QStringList{"^Schulname="} << true << true << QStringList{"^Schulname="} << 0;
        QTest::newRow("school appended when the mask lacks it")
            << QStringList{"^name="} << true << false << QStringList{"^name=?", "^Schulname=?"}
            << 0;
    }
    void titleValues() {
        QFETCH(QStringList, initial);
        QFETCH(bool, basket);
        QFETCH(bool, showUserList);
        QFETCH(QStringList, expected);
        QFETCH(int, asked);
        ValueList list = listOf(initial);
        int calls = 0;
        orba::titleValues(list, basket, showUserList, [&calls] {
            ++calls;
            return std::pair<QString, QString>("Maria Muster", "Realschule");
        });
        QCOMPARE(entryTexts(list), expected);
        QCOMPARE(calls, asked);
    }

    void renderBandAsText_data() {
        QTest::addColumn<QList<TextAt>>("elements");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("same top joined by left edge, then the lower one")
            << QList<TextAt>{{5, 100, "A"}, {5, 10, "B"}, {40, 0, "C"}} << QStringList{}
            << QStringList{"B  A", "C"};
        QTest::newRow("no elements: one empty line")
            << QList<TextAt>{} << QStringList{} << QStringList{""};
        QTest::newRow("equal but for letter case: the first once")
            << QList<TextAt>{{5, 10, "abc"}, {5, 10, "ABC"}} << QStringList{} << QStringList{"abc"};
        QTest::newRow("placeholder without value shows nothing")
            << QList<TextAt>{{5, 10, "Nr."}, {5, 100, "^Dauer"}, {5, 200, "^Titel"}}
            << QStringList{"^titel=Hamlet"} << QStringList{"Nr.    Hamlet"};
        QTest::newRow("nothing behind the last text with a value")
            << QList<TextAt>{{5, 10, "^Sig"}, {5, 100, "Schule:"}, {5, 200, "^Schulname"}}
            << QStringList{} << QStringList{"Schule:"};
        QTest::newRow("multi-line value gives several lines")
            << QList<TextAt>{{5, 10, "Nr."}, {5, 100, "^Text"}, {60, 0, "Ende"}}
            << QStringList{"^Text=eins\r\nzwei"} << QStringList{"Nr.  eins", "zwei", "Ende"};
        QTest::newRow("multi-line element text")
            << QList<TextAt>{{5, 10, "A\r\nB"}} << QStringList{} << QStringList{"A", "B"};
        QTest::newRow("tops agreeing in three digits share a line")
            << QList<TextAt>{{1001, 10, "unten"}, {1000, 50, "oben"}} << QStringList{}
            << QStringList{"0oben  0unten"};
        QTest::newRow("empty texts leave empty lines")
            << QList<TextAt>{{5, 10, ""}, {40, 10, "X"}} << QStringList{} << QStringList{"", "X"};
    }
    void renderBandAsText() {
        QFETCH(QList<TextAt>, elements);
        QFETCH(QStringList, values);
        QFETCH(QStringList, expected);
        ReportBand band(u'2');
        for (const TextAt& item : elements) {
            auto element = std::make_unique<ReportElement>();
            element->top = item.top;
            element->left = item.left;
            element->setText(item.text);
            band.add(std::move(element));
        }
        const ValueList list = listOf(values);
        QStringList lines{"vorher"};
        RenderBandAsText(band, lines, &list);
        QCOMPARE(lines, QStringList{"vorher"} + expected);
    }

    void renderBandAsTextWithoutValues() {
        ReportBand band(u'2');
        auto element = std::make_unique<ReportElement>();
        element->setText("^Titel");
        band.add(std::move(element));
        QStringList lines;
        RenderBandAsText(band, lines, nullptr);
        QCOMPARE(lines, QStringList{"^Titel"});
    }
};

ORBA_TEST_MAIN(TestPrintMask)
#include "tst_printmask.moc"
