#include "app/Startup.h"
#include "app/TForm1.h"
#include "display/Tnotiz.h"
#include "lists/ListGrid.h"
#include "lists/Tresdat.h"
#include "output/TQRPrint.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace orba;
using orba::test::clickInNextModal;
using orba::test::ModalSeen;
using orba::test::WorkingDir;

namespace {

const QByteArray kCatalogue = "TH100|M\xfchlenspiel|||||||||Theaterst\xfc"
                              "cke\r\n"
                              "WB200|Masken bauen|||||||||Werkb\xfc"
                              "cher\r\n"
                              "AV300|Film ab|||||||||AV-Medien\r\n";

// The program in one working directory, which survives restarts.
struct Program {
    WorkingDir dir;
    std::unique_ptr<Session> session;
    Program() { dir.write("orb32.dat", kCatalogue); }
    TForm1& start() {
        const orba::test::MessageWatch startUpMessages;
        session = startUp();
        return session->mainWindow();
    }
    TForm1& main() { return session->mainWindow(); }
    void searchAll() {
        main().Edit1->setEditText(QString());
        QTest::mouseClick(main().SpeedButton1, Qt::LeftButton);
    }
    void hitToPrivateList(int row) {
        main().StringGrid1->selectRow(row);
        main().BitBtn2->click();
    }
    void hitToBasket(int row) {
        main().StringGrid1->selectRow(row);
        main().BitBtn1->click();
    }
    QStringList column(const ListGrid* grid, int column) {
        QStringList out;
        for (int row = 1; row < grid->rowCount(); ++row)
            out << grid->cell(column, row);
        return out;
    }
};

enum EmptyList { HitList = 1, PrivateList = 2, Basket = 4 };

// Closes every dialog that opens (message, preview, print dialog, e-mail) and keeps its class.
class DialogWatch {
public:
    DialogWatch() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                m_shown.append(QString::fromLatin1(modal->metaObject()->className()));
                modal->close();
            }
        });
        m_timer.start();
    }
    const QStringList& shown() const { return m_shown; }

private:
    QTimer m_timer;
    QStringList m_shown;
};

QString inDays(int days) {
    return QDate::currentDate().addDays(days).toString(QStringLiteral("dd.MM.yyyy"));
}

QString today() {
    return inDays(0);
}

void copyMasks(const WorkingDir& dir) {
    for (const char* file : {"medien.r01", "bestell.r02", "medien.bmp", "bestell.bmp", "linie.bmp"})
        QFile::copy(QStringLiteral(ORBA_SOURCE_DIR "/demo/") + file, dir.file(file));
}

// Sets the date in the date dialog, ticked for every row or not, and confirms it.
void answerDateDialog(const QString& date, bool allRows = false, QString* shown = nullptr) {
    orba::test::answerNextModal([=](QWidget* dialog) {
        auto* field = dialog->findChild<QDateEdit*>("DateEdit1");
        if (!field)
            return static_cast<QDialog*>(dialog)->reject();
        if (shown)
            *shown = field->text();
        field->setDate(QDate::fromString(date, QStringLiteral("dd.MM.yyyy")));
        dialog->findChild<QCheckBox*>("CheckBox1")->setChecked(allRows);
        dialog->findChild<QPushButton*>("BitBtn1")->click();
    });
}

} // namespace

class TestLists : public QObject {
    Q_OBJECT

private slots:
    void addingToThePrivateListSavesItAndEnablesBothPanels() {
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        p.hitToPrivateList(2);
        QCOMPARE(m.StringGrid3->rowCount(), 2);
        QCOMPARE(p.column(m.StringGrid3, 0), QStringList{"WB 200"});
        QCOMPARE(p.column(m.StringGrid3, 1), QStringList{QString()});
        QCOMPARE(p.dir.read("orba.lst"), QByteArray("WB 200|Masken bauen|1\r\n"));
        for (QPushButton* b :
             {m.BitBtn8, m.BitBtn9, m.BitBtn10, m.BitBtn14, m.BitBtn15, m.BitBtn16})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(!m.BitBtn6->isEnabled());

        ModalSeen seen;
        clickInNextModal("OK", &seen);
        p.hitToPrivateList(2);
        QCOMPARE(seen.text, QStringLiteral("Medium ist bereits in der privaten Liste"));
        QCOMPARE(seen.caption, QStringLiteral("Fehler"));
        QCOMPARE(m.StringGrid3->rowCount(), 2);
    }

    void removingAndClearingThePrivateList() {
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        for (int row : {1, 2, 3})
            p.hitToPrivateList(row);
        m.StringGrid3->selectRow(2);
        clickInNextModal("Nein");
        m.BitBtn9->click();
        QCOMPARE(m.StringGrid3->rowCount(), 4);
        clickInNextModal("Ja");
        m.BitBtn15->click();
        QCOMPARE(p.column(m.StringGrid3, 0), (QStringList{"TH 100", "AV 300"}));
        QCOMPARE(m.StringGrid3->selectedRow(), 2);
        QCOMPARE(p.dir.read("orba.lst"),
                 QByteArray("TH 100|M\xfchlenspiel|0\r\nAV 300|Film ab|2\r\n"));

        ModalSeen seen;
        clickInNextModal("Ja", &seen);
        m.gesamteprivateListelschen1->trigger();
        QCOMPARE(seen.text, QStringLiteral("Möchten Sie die gesamte private Liste löschen?"));
        QCOMPARE(m.StringGrid3->rowCount(), 2);
        QVERIFY(!m.StringGrid3->hasEntries());
        QVERIFY(!m.BitBtn9->isEnabled());
        QVERIFY(!m.BitBtn15->isEnabled());
        QCOMPARE(p.dir.read("orba.lst"), QByteArray());
    }

    // Start, add, note, stop, start again: the same list and its note marker.
    void privateListAndNotesSurviveARestart() {
        Program p;
        TForm1& first = p.start();
        p.searchAll();
        p.hitToPrivateList(1);
        p.hitToPrivateList(3);
        first.SelectPage(1);
        first.StringGrid3->selectRow(1);
        orba::test::answerNextModal([](QWidget* dialog) {
            dialog->findChild<QPlainTextEdit*>("Memo1")->setPlainText(
                QString::fromUtf8("Für Klasse 5 geeignet"));
            dialog->findChild<QPushButton*>("BitBtn1")->click();
        });
        first.Notiz1->trigger();
        QCOMPARE(first.StringGrid3->cell(1, 1), QStringLiteral("Ja"));
        QCOMPARE(p.dir.read("TH100.ntz"), QByteArray("F\xfcr Klasse 5 geeignet\r\n"));

        p.session.reset();
        TForm1& second = p.start();
        QCOMPARE(p.column(second.StringGrid3, 0), (QStringList{"TH 100", "AV 300"}));
        QCOMPARE(p.column(second.StringGrid3, 1), (QStringList{"Ja", "Nein"}));
        QCOMPARE(p.column(second.StringGrid3, 2),
                 (QStringList{QString::fromUtf8("Mühlenspiel"), "Film ab"}));
        QCOMPARE(second.StringGrid3->rowIndex(2), 2);
        QVERIFY(second.BitBtn8->isEnabled());
    }

    // Two copies of the program on one folder: A adds, B removes what both had and adds, A
    // removes what it added. Each save keeps what the other saved meanwhile.
    void twoCopiesKeepEachOthersEntries() {
        Program p;
        p.dir.write("orba.lst", "TH 100|M\xfchlenspiel|0\r\n");
        p.start();
        std::unique_ptr<Session> other = std::move(p.session);
        p.start();
        const auto remove = [&](int row) {
            p.main().StringGrid3->selectRow(row);
            clickInNextModal("Ja");
            p.main().BitBtn9->click();
        };
        std::swap(p.session, other);
        p.searchAll();
        p.hitToPrivateList(2);
        std::swap(p.session, other);
        remove(1);
        p.searchAll();
        p.hitToPrivateList(3);
        std::swap(p.session, other);
        remove(2);
        QCOMPARE(p.dir.read("orba.lst"), QByteArray("AV 300|Film ab|2\r\n"));
        QCOMPARE(p.column(p.main().StringGrid3, 0), QStringList{"AV 300"});
    }

    // A list on a share mounted only after start: the first save keeps what the share holds.
    void aListThatAppearsAfterStartIsKept() {
        Program p;
        TForm1& m = p.start();
        p.dir.write("orba.lst", "TH 100|M\xfchlenspiel|0\r\n");
        p.searchAll();
        p.hitToPrivateList(3);
        QCOMPARE(p.dir.read("orba.lst"),
                 QByteArray("TH 100|M\xfchlenspiel|0\r\nAV 300|Film ab|2\r\n"));
        QCOMPARE(p.column(m.StringGrid3, 1), (QStringList{"Nein", QString()}));
        QCOMPARE(m.StringGrid3->selectedRow(), 2);
    }

    void cancellingANoteKeepsFileAndMarker() {
        Program p;
        p.dir.write("TH100.ntz", "alt\r\n");
        p.dir.write("orba.lst", "TH 100|M\xfchlenspiel|0\r\n");
        TForm1& m = p.start();
        QCOMPARE(m.StringGrid3->cell(1, 1), QStringLiteral("Ja"));
        orba::test::answerNextModal([](QWidget* dialog) {
            dialog->findChild<QPlainTextEdit*>("Memo1")->clear();
            dialog->findChild<QPushButton*>("BitBtn2")->click();
        });
        m.StringGrid3->rowDoubleClicked(1);
        QCOMPARE(m.StringGrid3->cell(1, 1), QStringLiteral("Ja"));
        QCOMPARE(p.dir.read("TH100.ntz"), QByteArray("alt\r\n"));
    }

    void aBadIndexIsReportedOnceAndTheOtherLinesLoad() {
        Program p;
        p.dir.write("orba.lst", "TH 100|A|0\r\nWB 200|B|zwei\r\nAV 300|C|2\r\nXY 1|D|x\r\n");
        const orba::test::MessageWatch messages;
        p.session = startUp();
        // The other data files of a full installation are missing here; their messages aside:
        QStringList shown = messages.texts();
        shown.removeIf([](const QString& m) { return m.endsWith("kann nicht geöffnet werden"); });
        QCOMPARE(shown, QStringList{"'zwei' ist kein gültiger Integerwert"});
        QCOMPARE(p.column(p.main().StringGrid3, 0),
                 (QStringList{"TH 100", "WB 200", "AV 300", "XY 1"}));
    }

    void basketEntriesCarryTodaysDateAndKeepItWhenOthersGo() {
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        for (int row : {1, 2, 3})
            p.hitToBasket(row);
        QCOMPARE(p.column(m.StringGrid4, 0), (QStringList{today(), today(), today()}));
        m.StringGrid4->setCell(0, 3, "01.02.2027");
        for (QPushButton* b : {m.BitBtn4, m.BitBtn5, m.BitBtn6, m.BitBtn7, m.BitBtn17, m.BitBtn18})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));

        m.StringGrid2->selectRow(2);
        QCOMPARE(m.StringGrid4->selectedRow(), 2);
        m.BitBtn6->click();
        QCOMPARE(p.column(m.StringGrid2, 0), (QStringList{"TH 100", "AV 300"}));
        QCOMPARE(p.column(m.StringGrid4, 0), (QStringList{today(), "01.02.2027"}));

        ModalSeen seen;
        clickInNextModal("OK", &seen);
        p.searchAll();
        p.hitToBasket(3);
        QCOMPARE(seen.text, QStringLiteral("Medium ist bereits im Bestellkorb"));

        clickInNextModal("Ja");
        m.gesamteListelschen1->trigger();
        QCOMPARE(m.StringGrid2->rowCount(), 2);
        QCOMPARE(m.StringGrid4->rowCount(), 2);
        QVERIFY(!m.StringGrid2->hasEntries());
        QCOMPARE(m.StringGrid4->cell(0, 1), QString());
        QVERIFY(!m.BitBtn5->isEnabled());
        QVERIFY(!m.BitBtn18->isEnabled());
    }

    void fromThePrivateListIntoTheBasket() {
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        p.hitToBasket(2);
        p.hitToPrivateList(2);
        m.StringGrid3->selectRow(1);
        ModalSeen seen;
        clickInNextModal("OK", &seen);
        m.BitBtn8->click();
        QCOMPARE(seen.text, QStringLiteral("Medium ist bereits im Bestellkorb"));
        p.hitToPrivateList(3);
        m.StringGrid3->selectRow(2);
        m.BitBtn14->click();
        QCOMPARE(p.column(m.StringGrid2, 1), (QStringList{"Masken bauen", "Film ab"}));
        QCOMPARE(m.StringGrid2->rowIndex(2), 2);
    }

    void changingTheReservationDate_data() {
        QTest::addColumn<bool>("allRows");
        QTest::addColumn<QStringList>("dates");
        QTest::newRow("selected row") << false << QStringList{today(), inDays(7)};
        QTest::newRow("every row") << true << QStringList{inDays(7), inDays(7)};
    }

    void changingTheReservationDate() {
        QFETCH(bool, allRows);
        QFETCH(QStringList, dates);
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        p.hitToBasket(1);
        p.hitToBasket(2);
        m.StringGrid2->selectRow(2);
        QString shown;
        answerDateDialog(inDays(7), allRows, &shown);
        m.Reservierungsdatumndern1->trigger();
        QCOMPARE(shown, today());
        QCOMPARE(p.column(m.StringGrid4, 0), dates);
    }

    // Collected on one day, ordered on another: the basket, its dates and its count come back;
    // emptied, it leaves no file.
    void theBasketIsKeptBetweenRuns() {
        Program p;
        TForm1& first = p.start();
        p.searchAll();
        p.hitToBasket(1);
        p.hitToBasket(3);
        answerDateDialog(inDays(7));
        first.Reservierungsdatumndern1->trigger();
        QCOMPARE(p.dir.read("bestell.lst"), "TH 100|M\xfchlenspiel|0|" + today().toLatin1() +
                                                "\r\nAV 300|Film ab|2|" + inDays(7).toLatin1() +
                                                "\r\n");
        ModalSeen seen;
        clickInNextModal("Nein", &seen);
        first.Beenden1->trigger();
        QVERIFY(seen.text.endsWith("Der Bestellkorb mit 2 Medien bleibt bis zum nächsten Start "
                                   "erhalten."));
        p.session.reset();
        TForm1& second = p.start();
        QCOMPARE(p.column(second.StringGrid4, 0), (QStringList{today(), inDays(7)}));
        QCOMPARE(second.PageControl1->tabText(2), QStringLiteral("&Bestellkorb (2)"));
        clickInNextModal("Ja");
        second.gesamteListelschen1->trigger();
        QCOMPARE(second.PageControl1->tabText(2), QStringLiteral("&Bestellkorb"));
        QVERIFY(!QFile::exists(p.dir.file("bestell.lst")));
    }

    // Entries come back by signature; one the catalogue lost leaves, named; a date that is no
    // date is shown as it is and stops the order until it is corrected.
    void anOlderBasketFileIsFoundAgainAndChecked() {
        Program p;
        copyMasks(p.dir);
        p.dir.write("bestell.lst", "WB 200|Masken bauen|0|ab.xy.\r\nXY 999|Weg|5|01.01.2030\r\n"
                                   "TH 100|M\xfchlenspiel|7|" +
                                       inDays(3).toLatin1() + "\r\n");
        {
            const orba::test::MessageWatch startMessages;
            p.session = startUp();
            QVERIFY(startMessages.texts().contains(
                "Nicht mehr im Katalog und darum aus dem Bestellkorb genommen: XY 999."));
        }
        TForm1& m = p.main();
        QCOMPARE(p.column(m.StringGrid4, 0), (QStringList{"ab.xy.", inDays(3)}));
        QCOMPARE(m.StringGrid2->rowIndex(1), 1);
        QVERIFY(!p.dir.read("bestell.lst").contains("XY 999"));

        m.SelectPage(2);
        m.StringGrid2->selectRow(2);
        for (QPushButton* order : {m.BitBtn4, m.BitBtn5}) {
            ModalSeen seen;
            clickInNextModal("OK", &seen);
            order->click();
            QCOMPARE(seen.text, QStringLiteral("Das Reservierungsdatum „ab.xy.“ von „Masken "
                                               "bauen“ ist kein gültiges Datum. Bitte ändern Sie "
                                               "es vor der Bestellung."));
            QCOMPARE(m.StringGrid4->selectedRow(), 1);
            QCOMPARE(m.print().lastPageCount(), 0);
        }
    }

    // Two copies on one folder each add to the basket: both entries stay, dates with them.
    void twoCopiesKeepEachOthersBasket() {
        Program p;
        p.start();
        std::unique_ptr<Session> other = std::move(p.session);
        p.start();
        p.searchAll();
        p.hitToBasket(1);
        std::swap(p.session, other);
        p.searchAll();
        p.hitToBasket(3);
        QCOMPARE(p.column(p.main().StringGrid2, 0), (QStringList{"TH 100", "AV 300"}));
        QCOMPARE(p.column(p.main().StringGrid4, 0), (QStringList{inDays(0), inDays(0)}));
        QCOMPARE(p.dir.read("bestell.lst").count("|" + inDays(0).toLatin1() + "\r\n"), 2);
    }

    // A file in the basket's place that cannot be read is never written over in that run, and
    // ending says that the basket is not kept.
    void aBasketFileThatCannotBeReadIsLeftAlone() {
        Program p;
        QVERIFY(QDir(p.dir.path()).mkdir("bestell.lst"));
        TForm1& m = p.start();
        p.searchAll();
        ModalSeen seen;
        clickInNextModal("OK", &seen);
        p.hitToBasket(1);
        QVERIFY2(seen.text.contains("beim Start nicht gelesen werden"), qPrintable(seen.text));
        QCOMPARE(m.PageControl1->tabText(2), QStringLiteral("&Bestellkorb (1)"));
        QVERIFY(QDir(p.dir.file("bestell.lst")).exists());
        clickInNextModal("Nein", &seen);
        m.Beenden1->trigger();
        QVERIFY2(seen.text.contains("konnte nicht gespeichert werden"), qPrintable(seen.text));
    }

    // Typed into the date column itself: a date field, which refuses days gone by.
    void theDateColumnTakesDatesFromTodayOn() {
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        p.hitToBasket(1);
        m.SelectPage(2);
        const auto enter = [&](int days) {
            m.StringGrid4->edit(m.StringGrid4->model()->index(0, 0));
            auto* field = m.StringGrid4->findChild<QDateEdit*>("DateEdit1");
            QVERIFY(field);
            field->setDate(QDate::currentDate().addDays(days));
            QTest::keyClick(field, Qt::Key_Return);
        };
        const orba::test::MessageWatch messages;
        enter(-1);
        QTRY_COMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().contains("in der Vergangenheit"));
        QCOMPARE(m.StringGrid4->cell(0, 1), today());
        enter(3);
        QTRY_COMPARE(m.StringGrid4->cell(0, 1), inDays(3));
        QVERIFY(p.dir.read("bestell.lst").endsWith(inDays(3).toLatin1() + "\r\n"));
    }

    // Escape or the close box of the user list before an order ends the command.
    void cancellingTheUserListEndsTheOrder() {
        Program p;
        copyMasks(p.dir);
        p.dir.write("orbaw.ini", "[Benutzer]\r\nBenutzerliste=1\r\n");
        TForm1& m = p.start();
        p.searchAll();
        p.hitToBasket(1);
        m.SelectPage(2);
        const DialogWatch dialogs;
        m.BitBtn4->click();
        m.BitBtn5->click();
        QStringList shown = dialogs.shown();
        shown.removeAll("orba::Tprogbar");
        QCOMPARE(shown, (QStringList{"orba::Tbenu", "orba::Tbenu"}));
        QCOMPARE(m.print().lastPageCount(), 0);
    }

    void menuKeyOpensTheListsMenuAtTheSelectedRow_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("menu");
        QTest::newRow("hit list") << 0 << "StringGrid1"
                                  << "PopupMenu1";
        QTest::newRow("private list") << 1 << "StringGrid3"
                                      << "PopupMenu2";
        QTest::newRow("basket") << 2 << "StringGrid2"
                                << "PopupMenu3";
        QTest::newRow("basket dates") << 2 << "StringGrid4"
                                      << "PopupMenu3";
    }
    void menuKeyOpensTheListsMenuAtTheSelectedRow() {
        QFETCH(int, page);
        QFETCH(QString, grid);
        QFETCH(QString, menu);
        Program p;
        TForm1& m = p.start();
        p.searchAll();
        for (int row : {1, 2, 3}) {
            p.hitToPrivateList(row);
            p.hitToBasket(row);
        }
        m.SelectPage(page);
        auto* list = m.findChild<ListGrid*>(grid);
        auto* popup = m.findChild<QMenu*>(menu);
        list->selectRow(2);
        QTest::keyClick(list, Qt::Key_Menu);
        QVERIFY(popup->isVisible());
        const QRect cell = list->visualRect(list->currentIndex());
        QCOMPARE(popup->pos(), list->viewport()->mapToGlobal(cell.bottomLeft()));
        popup->close();
    }

    // An empty list's single row keeps the index of the medium it last held; no command may take
    // that row for a medium: nothing is copied, printed, previewed or mailed, and nothing claims
    // that the medium is already in the target list.
    void anEmptyListYieldsNoEntry_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("empty");
        const auto copies = [](const char* source, int emptyList, int target,
                               std::initializer_list<const char*> routes) {
            for (const char* route : routes) {
                QTest::addRow("%s: %s", source, route) << route << 0 << emptyList;
                QTest::addRow("%s: %s, empty target", source, route)
                    << route << 0 << (emptyList | target);
            }
        };
        copies("hit list", HitList, PrivateList,
               {"BitBtn2", "BitBtn13", "MediuminprivateListekopieren1"});
        copies("hit list", HitList, Basket, {"BitBtn1", "BitBtn11", "MediuminWarenkorbkopieren1"});
        copies("private list", PrivateList, Basket,
               {"BitBtn8", "BitBtn14", "MediuminBestellkorbkopieren2"});
        const std::pair<const char*, int> pages[] = {
            {"hit list", HitList}, {"private list", PrivateList}, {"basket", Basket}};
        const std::initializer_list<const char*> prints[] = {
            {"BitBtn3", "BitBtn12", "Drucken1", "Drucken2"},
            {"BitBtn10", "BitBtn16", "Drucken1", "Drucken2"},
            {"BitBtn4", "BitBtn7", "BitBtn5", "BitBtn17", "Drucken1", "Drucken2"}};
        for (int page = 0; page < 3; ++page) {
            for (const char* route : prints[page])
                QTest::addRow("%s: %s", pages[page].first, route)
                    << route << page << pages[page].second;
        }
    }
    void anEmptyListYieldsNoEntry() {
        QFETCH(QString, route);
        QFETCH(int, page);
        QFETCH(int, empty);
        Program p;
        for (const char* file : {"medien.r01", "bestell.r02", "medien.bmp", "bestell.bmp"})
            QFile::copy(QStringLiteral(ORBA_SOURCE_DIR "/demo/") + file, p.dir.file(file));
        TForm1& m = p.start();
        m.print().setPrintDialog(false);
        m.print().printer().setOutputFileName(p.dir.file("druck.pdf"));
        p.searchAll();
        p.hitToPrivateList(1);
        p.hitToBasket(2);
        if (empty & PrivateList) {
            clickInNextModal("Ja");
            m.BitBtn9->click();
        }
        if (empty & Basket)
            m.BitBtn6->click();
        if (empty & HitList) {
            m.Edit1->setEditText("nichtda");
            QTest::mouseClick(m.SpeedButton1, Qt::LeftButton);
        }
        m.SelectPage(page);
        const QStringList privateList = p.column(m.StringGrid3, 0);
        const QStringList basket = p.column(m.StringGrid2, 0);

        const DialogWatch dialogs;
        if (auto* button = m.findChild<QPushButton*>(route))
            button->click();
        else
            m.findChild<QAction*>(route)->trigger();
        QCOMPARE(dialogs.shown(), QStringList());
        QCOMPARE(p.column(m.StringGrid3, 0), privateList);
        QCOMPARE(p.column(m.StringGrid2, 0), basket);
        QCOMPARE(m.print().lastPageCount(), 0);
        QVERIFY(!QFile::exists(p.dir.file("druck.pdf")));
    }

    void pressingAnEmptyBasketRowDisablesTheDateEntry() {
        Program p;
        TForm1& m = p.start();
        m.SelectPage(2);
        const QRect cell = m.StringGrid2->visualRect(m.StringGrid2->model()->index(0, 0));
        QTest::mouseClick(m.StringGrid2->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!m.Reservierungsdatumndern1->isEnabled());
    }
};

ORBA_TEST_MAIN(TestLists)
#include "tst_lists.moc"
