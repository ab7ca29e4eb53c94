#include "app/Startup.h"
#include "app/TForm1.h"
#include "catalogue/Catalogue.h"
#include "catalogue/HitOrder.h"
#include "lists/ListGrid.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace orba;
using orba::test::WorkingDir;

namespace {

QByteArray record(const QByteArray& sig, const QByteArray& title, const QByteArray& mediaType,
                  const QByteArray& description = {}) {
    return sig + "|" + title + "|||||||" + description + "||" + mediaType + "||||||\r\n";
}

// Five records as the demo has them, with umlauts in cp1252.
QByteArray smallCatalogue() {
    return record("TH100",
                  "Der Dieb im M\xfc"
                  "hlenhof",
                  "Theaterst\xfc"
                  "cke") +
           record("WB200", "Spielen mit Masken",
                  "Werkb\xfc"
                  "cher",
                  "Masken aus Pappe") +
           record("AV300", "Masken im Film", "AV-Medien") +
           record("WB400", "Stegreif und Maske",
                  "Werkb\xfc"
                  "cher, Theaterst\xfc"
                  "cke") +
           record("TH500",
                  "GR\xd6SSTE B\xdc"
                  "HNE",
                  "Theaterst\xfc"
                  "cke");
}

// Many records, so that a search takes many slices.
QByteArray largeCatalogue(int records) {
    QByteArray bytes;
    bytes.reserve(records * 60);
    for (int i = 0; i < records; ++i)
        bytes += "TH" + QByteArray::number(i) + "|Titel " + QByteArray::number(i) +
                 "|ca. 30 min.|Kinder|2|3||Spiel|Eine lange Beschreibung zum Suchen|||\r\n";
    return bytes;
}

struct Program {
    WorkingDir dir;
    std::unique_ptr<Session> session;
    explicit Program(const QByteArray& catalogue) {
        dir.write("orb32.dat", catalogue);
        const orba::test::MessageWatch startUpMessages;
        session = startUp();
    }
    TForm1& main() { return session->mainWindow(); }
    QStringList titles() {
        QStringList out;
        for (int row = 1; row < main().StringGrid1->rowCount(); ++row)
            out << main().StringGrid1->cell(1, row);
        return out;
    }
    void search(const QString& text, int mediaType = 0) {
        main().ComboBox1->setCurrentIndex(mediaType);
        main().Edit1->setEditText(text);
        QTest::mouseClick(main().SpeedButton1, Qt::LeftButton);
    }
};

} // namespace

class TestHitList : public QObject {
    Q_OBJECT

private slots:
    void searches_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mediaType");
        QTest::addColumn<QStringList>("titles");
        const QString dieb = QString::fromUtf8("Der Dieb im Mühlenhof");
        const QString buehne = QString::fromUtf8("GRÖSSTE BÜHNE");
        QTest::newRow("empty, Alle: everything in file order")
            << "" << 0
            << QStringList{dieb, "Spielen mit Masken", "Masken im Film", "Stegreif und Maske",
                           buehne};
        QTest::newRow("empty, Werkbücher")
            << "" << 2 << QStringList{"Spielen mit Masken", "Stegreif und Maske"};
        QTest::newRow("two words, comma and blank")
            << "maske, spiel" << 0 << QStringList{"Spielen mit Masken"};
        QTest::newRow("lower case finds umlaut capitals")
            << QString::fromUtf8("bühne") << 0 << QStringList{buehne};
        QTest::newRow("word with media type") << "masken" << 3 << QStringList{"Masken im Film"};
        QTest::newRow("no hit") << "Zauberflöte" << 0 << QStringList{QString()};
    }

    void searches() {
        QFETCH(QString, text);
        QFETCH(int, mediaType);
        QFETCH(QStringList, titles);
        Program p(smallCatalogue());
        p.search(text, mediaType);
        QCOMPARE(p.titles(), titles);
        const int listed = titles.first().isEmpty() ? 0 : int(titles.size());
        QCOMPARE(p.main().statusPanelText(2), QString::number(listed));
        QVERIFY(!p.main().searching());
        QVERIFY(!p.main().SpeedButton2->isVisible());
        QVERIFY(p.main().SpeedButton1->isVisible());
        if (listed > 0)
            QCOMPARE(p.main().StringGrid1->selectedRow(), 1);
    }

    void signaturesShowInDisplayForm() {
        Program p(smallCatalogue());
        p.search("");
        QCOMPARE(p.main().StringGrid1->cell(0, 1), QStringLiteral("TH 100"));
        QCOMPARE(p.main().StringGrid1->rowIndex(3), 2);
    }

    // The hit list shows exactly the counted hits: a line with a signature but no second "|"
    // shows the rest as title, a line without "|" is neither listed nor counted.
    void linesWithoutSeparatorsAreListedSoundly() {
        Program p("AB1|nur Titel\r\nohne Trenner\r\n\r\nCD2|Titel|x\r\n");
        p.search("");
        QCOMPARE(p.titles(), (QStringList{"nur Titel", "Titel"}));
        QCOMPARE(p.main().StringGrid1->rowIndex(2), 3);
        QCOMPARE(p.main().statusPanelText(2), QStringLiteral("2"));
    }

    void enterSearchesAndTheHistoryStaysSortedAndUnique() {
        Program p(smallCatalogue());
        QLineEdit* field = p.main().Edit1->lineEdit();
        for (const char* text : {"Masken", "dieb", "masken", "Bühne"}) {
            field->clear();
            field->insert(QString::fromUtf8(text));
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(field->text(), QString::fromUtf8(text));
        }
        QStringList history;
        for (int i = 0; i < p.main().Edit1->count(); ++i)
            history << p.main().Edit1->itemText(i);
        QCOMPARE(history, (QStringList{QString::fromUtf8("Bühne"), "dieb", "Masken"}));
        QCOMPARE(p.titles(), (QStringList{QString::fromUtf8("GRÖSSTE BÜHNE")}));
    }

    void aHitEnablesTheButtonsAndTheyStayEnabled() {
        Program p(smallCatalogue());
        TForm1& m = p.main();
        QVERIFY(!m.BitBtn1->isEnabled());
        p.search("maske");
        for (QPushButton* b : {m.BitBtn1, m.BitBtn2, m.BitBtn3, m.BitBtn11, m.BitBtn12, m.BitBtn13})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(m.Drucken1->isEnabled());
        p.search("nichtda");
        QCOMPARE(m.StringGrid1->rowCount(), 2);
        QVERIFY(m.BitBtn1->isEnabled());
        QVERIFY(m.Drucken2->isEnabled());
    }

    void searchBringsTheHitListToTheFront() {
        Program p(smallCatalogue());
        p.main().SelectPage(2);
        p.search("film");
        QCOMPARE(p.main().currentPage(), 0);
        QCOMPARE(p.main().currentGrid(), p.main().StringGrid1);
    }

    void stopEndsALongSearchWithTheCountEqualToTheRows() {
        Program p(largeCatalogue(400000));
        TForm1& m = p.main();
        bool stopWasVisible = false;
        QTimer::singleShot(0, [&] {
            stopWasVisible = m.SpeedButton2->isVisible();
            QTest::mouseClick(m.SpeedButton2, Qt::LeftButton);
        });
        p.search("beschreibung");
        QVERIFY(stopWasVisible);
        const int rows = m.StringGrid1->hasEntries() ? m.StringGrid1->rowCount() - 1 : 0;
        QVERIFY(rows < 400000);
        QCOMPARE(m.statusPanelText(2), QString::number(rows));
        QVERIFY(!m.SpeedButton2->isVisible());
        QVERIFY(!m.busy());
        QVERIFY(!m.findChild<QWidget*>("ProgressBar1"));
    }

    void aSecondSearchWaitsForTheFirst() {
        Program p(largeCatalogue(200000));
        TForm1& m = p.main();
        int nestedRequests = 0;
        QTimer::singleShot(0, [&] {
            ++nestedRequests;
            m.Edit1->setEditText("Titel 7");
            QTest::keyClick(m.Edit1->lineEdit(), Qt::Key_Return);
        });
        p.search("");
        QCOMPARE(nestedRequests, 1);
        QCOMPARE(m.StringGrid1->rowCount() - 1, 200000);
        QCOMPARE(m.statusPanelText(2), QStringLiteral("200000"));
    }

    void closingDuringASearchEndsItFirst() {
        Program p(largeCatalogue(400000));
        TForm1& m = p.main();
        QTimer::singleShot(0, [&] {
            orba::test::clickInNextModal("Ja");
            m.close();
        });
        p.search("beschreibung");
        QVERIFY(!m.isVisible());
        QVERIFY(!m.searching());
        QVERIFY(m.StringGrid1->rowCount() - 1 < 400000);
    }

    void rightClickOpensTheMenuOnlyWithEntries() {
        Program p(smallCatalogue());
        TForm1& m = p.main();
        auto rightClickRow = [&](int row) {
            const QRect cell = m.StringGrid1->visualRect(m.StringGrid1->model()->index(row - 1, 0));
            QTest::mouseClick(m.StringGrid1->viewport(), Qt::RightButton, {}, cell.center());
        };
        rightClickRow(1);
        QVERIFY(!m.PopupMenu1->isVisible());
        p.search("");
        rightClickRow(3);
        QCOMPARE(m.StringGrid1->selectedRow(), 3);
        QVERIFY(m.PopupMenu1->isVisible());
        m.PopupMenu1->close();
    }

    // German order, case aside, numbers by value; the same text keeps file order either way.
    void hitOrder() {
        const WorkingDir dir;
        dir.write("orb32.dat", "TH10|Zauber\r\nTH9|\xc4pfel\r\nth8|apfel\r\nAB1|B\xfchne\r\n"
                               "AB2|B\xfchne\r\n");
        Catalogue catalogue;
        catalogue.load("orb32.dat");
        const auto sorted = [&](HitColumn column, Qt::SortOrder order) {
            std::vector<qint32> hits{0, 1, 2, 3, 4};
            sortHits(hits, catalogue, column, order);
            return QList<qint32>(hits.begin(), hits.end());
        };
        QCOMPARE(sorted(HitColumn::Signature, Qt::AscendingOrder), (QList<qint32>{3, 4, 2, 1, 0}));
        QCOMPARE(sorted(HitColumn::Title, Qt::AscendingOrder), (QList<qint32>{2, 1, 3, 4, 0}));
        QCOMPARE(sorted(HitColumn::Title, Qt::DescendingOrder), (QList<qint32>{0, 3, 4, 1, 2}));
    }

    // A click on a heading sorts, a second one turns the order round; the selected medium stays
    // selected, and the next search lists in file order again.
    void aClickOnAHeadingSortsUntilTheNextSearch() {
        Program p(smallCatalogue());
        TForm1& m = p.main();
        p.search("");
        m.StringGrid1->selectRow(2);
        QHeaderView* headings = m.StringGrid1->horizontalHeader();
        const auto click = [&](int column) {
            const QPoint at(headings->sectionViewportPosition(column) + 5, 5);
            QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, at);
        };
        const QStringList byTitle{QString::fromUtf8("Der Dieb im Mühlenhof"),
                                  QString::fromUtf8("GRÖSSTE BÜHNE"), "Masken im Film",
                                  "Spielen mit Masken", "Stegreif und Maske"};
        click(1);
        QCOMPARE(p.titles(), byTitle);
        QCOMPARE(m.StringGrid1->cell(1, m.StringGrid1->selectedRow()), "Spielen mit Masken");
        click(1);
        QCOMPARE(p.titles(), QList<QString>(byTitle.rbegin(), byTitle.rend()));
        m.nachSignatursortieren1->trigger();
        QCOMPARE(m.StringGrid1->cell(0, 1), QStringLiteral("AV 300"));
        p.search("");
        QCOMPARE(m.StringGrid1->cell(0, 1), QStringLiteral("TH 100"));
        QVERIFY(!headings->isSortIndicatorShown());
    }
};

ORBA_TEST_MAIN(TestHitList)
#include "tst_hitlist.moc"
