#include "app/Startup.h"
#include "app/TForm1.h"
#include "catalogue/Terwsuch.h"
#include "display/Tview.h"
#include "lists/ListGrid.h"
#include "settings/HelpRouter.h"
#include "settings/SettingsFile.h"
#include "settings/Tsetup.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>
#include <QToolButton>

using namespace orba;
using orba::test::WorkingDir;

namespace {

QByteArray record(const QByteArray& sig, const QByteArray& title, const QByteArray& author) {
    QList<QByteArray> fields(17);
    fields[0] = sig;
    fields[1] = title;
    fields[10] = "Werkb\xfc"
                 "cher";
    fields[13] = author;
    return fields.join('|') + "\r\n";
}

const QByteArray kCatalogue = record("WB100", "Masken bauen", "Anna Berg") +
                              record("WB200", "Licht und Ton", "Bernd Carl") +
                              record("WB300", "Spiel ohne Worte", "Clara Dorn");

QByteArray ini(const char* text) {
    return QByteArray(text).replace("\n", "\r\n");
}

struct Program {
    WorkingDir dir;
    std::unique_ptr<Session> session;
    TForm1& start(const QByteArray& settings = {}) {
        dir.write("orb32.dat", kCatalogue);
        if (!settings.isEmpty())
            dir.write("orbaw.ini", settings);
        const orba::test::MessageWatch startUpMessages;
        session = startUp();
        return session->mainWindow();
    }
    TForm1& main() { return session->mainWindow(); }
    void search(const QString& text) {
        main().Edit1->setEditText(text);
        QTest::mouseClick(main().SpeedButton1, Qt::LeftButton);
    }
};

const QByteArray kTitleAndAuthor = ini("[Anzeige]\nCount=2\nItem0=6,1\nItem1=13,1\n");

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void selectingAHitShowsItsDetails() {
        Program p;
        TForm1& m = p.start(kTitleAndAuthor);
        p.search("");
        QCOMPARE(m.view1->text(),
                 QStringLiteral("<h1>Titel<br> <n>Masken bauen<p> <h1>Autor<br> <n>Anna Berg<p> "));
        m.StringGrid1->selectRow(3);
        QVERIFY(m.view1->text().contains("Clara Dorn"));
        QCOMPARE(m.view2->text(), QString());
    }

    void sideBySideShowsDetailsInTheRightView() {
        Program p;
        TForm1& m = p.start(kTitleAndAuthor);
        p.search("licht");
        const QString shown = m.view1->text();
        m.horizontaleTeilung1->trigger();
        QVERIFY(m.sideBySide());
        QVERIFY(m.view2->text().contains("Licht und Ton"));
        QCOMPARE(m.view1->text(), shown);
        QVERIFY(!m.horizontaleTeilung1->isEnabled());
        QVERIFY(m.vertikaleTeilung1->isEnabled());
        QCOMPARE(p.session->forms().setup->findChild<QComboBox*>("teilung")->currentIndex(), 1);
        QCOMPARE(SettingsFile("orbaw.ini").readInteger("anzeige", "hsplit", 0), 1);

        p.session.reset();
        QVERIFY(p.start().sideBySide());
    }

    // Whatever changes the room of a detail view, its text is laid out for the room it has: it
    // fills its scroll box up to the scroll bar and never reaches under it.
    void detailViewsFollowTheirScrollBoxes() {
        Program p;
        TForm1& m = p.start(ini("[Anzeige]\nhsplit=1\n[Allgemein]\nhsplit=260\n"));
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        auto check = [&](const char* step) {
            QApplication::processEvents();
            for (auto [view, box] : {std::pair{m.view1, m.ScrollBox1}, {m.view2, m.ScrollBox2}}) {
                if (!box->isVisible())
                    continue;
                const int room = box->viewport()->width();
                QVERIFY2(
                    view->width() <= room && view->width() >= room - 22,
                    qPrintable(
                        QStringLiteral("%1: %2 in %3").arg(step).arg(view->width()).arg(room)));
            }
        };
        check("start side by side");
        m.vertikaleTeilung1->trigger();
        check("menu: stacked");
        m.horizontaleTeilung1->trigger();
        check("menu: side by side");
        m.RxSplitter2->setSizes({150, 450});
        emit m.RxSplitter2->splitterMoved(150, 1);
        check("splitter moved");
        m.resize(m.width() + 180, m.height() + 60);
        check("window enlarged");
        orba::test::answerNextModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("teilung")->setCurrentIndex(0);
            dialog->findChild<QPushButton*>("BitBtn3")->click();
        });
        m.Einstellungen1->trigger();
        check("settings: stacked");
        orba::test::answerNextModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("teilung")->setCurrentIndex(1);
            dialog->findChild<QPushButton*>("BitBtn3")->click();
        });
        m.Einstellungen1->trigger();
        QVERIFY(m.sideBySide());
        check("settings: side by side");
    }

    // A stored index is only a hint: an entry leads to its medium by signature, or is gone.
    void aStoredIndexIsOnlyAHint() {
        Program p;
        p.dir.write("orba.lst", "XX 999|Verschwunden|999\r\nWB 100|Masken bauen|999\r\n");
        TForm1& m = p.start(kTitleAndAuthor);
        m.SelectPage(1);
        m.StringGrid3->selectRow(2);
        QVERIFY(m.view1->text().contains("Anna Berg"));
        m.StringGrid3->selectRow(1);
        QVERIFY(m.view1->text().startsWith("<h1>Nicht mehr im Katalog"));
    }

    void reorderedDisplayListTakesEffectAfterOk() {
        Program p;
        TForm1& m = p.start(kTitleAndAuthor);
        p.search("masken");
        orba::test::answerNextModal([](QWidget* dialog) {
            auto* list = dialog->findChild<QListWidget*>("RxCheckListBox1");
            list->setCurrentRow(1);
            dialog->findChild<QToolButton*>("SpeedButton1")->click();
            dialog->findChild<QPushButton*>("BitBtn3")->click();
        });
        m.Einstellungen1->trigger();
        QCOMPARE(m.view1->text(),
                 QStringLiteral("<h1>Autor<br> <n>Anna Berg<p> <h1>Titel<br> <n>Masken bauen<p> "));
    }

    // The window shows what was searched: the search's summary where the search text stood, the
    // media type that applied; the history stays, and the next simple search clears the summary.
    void advancedSearchShowsWhatWasSearched() {
        Program p;
        TForm1& m = p.start();
        p.search("spiel");
        QCOMPARE(m.Edit1->count(), 1);
        orba::test::answerNextModal([](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("Edit11")->setText("carl");
            dialog->findChild<QComboBox*>("ComboBox1")->setCurrentIndex(2);
            dialog->findChild<QPushButton*>("BitBtn5")->click();
        });
        m.erweiterteSuche1->trigger();
        QCOMPARE(m.StringGrid1->rowCount(), 2);
        QCOMPARE(m.StringGrid1->cell(1, 1), QStringLiteral("Licht und Ton"));
        QCOMPARE(m.Edit1->count(), 1);
        QCOMPARE(m.Edit1->currentText(), QString());
        QCOMPARE(m.Edit1->lineEdit()->placeholderText(), QStringLiteral("erw. Suche: Autor carl"));
        QCOMPARE(m.ComboBox1->currentText(), QString::fromUtf8("Werkbücher"));
        p.search(QString());
        QCOMPARE(m.Edit1->lineEdit()->placeholderText(), QString());
        QCOMPARE(m.StringGrid1->rowCount(), 4);
    }

    void cancellingTheAdvancedSearchChangesNothing() {
        Program p;
        TForm1& m = p.start();
        p.search("spiel");
        orba::test::clickInNextModal("Abbrechen");
        QTest::mouseClick(m.SpeedButton4, Qt::LeftButton);
        QCOMPARE(m.Edit1->currentText(), QStringLiteral("spiel"));
        QCOMPARE(m.StringGrid1->cell(1, 1), QStringLiteral("Spiel ohne Worte"));
    }

    void subjectAreaCaptionLabelsTheSuitabilityList() {
        Program p;
        TForm1& m = p.start(ini("[udef]\nbtn_sachgeb=Fachbereiche\n"));
        QString label;
        orba::test::answerNextModal([&](QWidget* dialog) {
            label = dialog->findChild<QWidget*>("Label3")->property("text").toString();
            static_cast<QDialog*>(dialog)->reject();
        });
        m.erweiterteSuche1->trigger();
        QCOMPARE(label, QStringLiteral("Fachbereiche"));
    }

    void helpEntryPointsMakeTheirRequests_data() {
        QTest::addColumn<int>("htmlHelp");
        QTest::addColumn<bool>("html");
        QTest::newRow("html help") << 1 << true;
        QTest::newRow("classic help") << 0 << false;
    }

    void helpEntryPointsMakeTheirRequests() {
        QFETCH(int, htmlHelp);
        QFETCH(bool, html);
        Program p;
        TForm1& m = p.start(
            ini(QByteArray("[Anzeige]\nhtmlhelp=" + QByteArray::number(htmlHelp)).constData()));
        QTest::mouseClick(m.SpeedButton5, Qt::LeftButton);
        p.session->forms().setup->findChild<QPushButton*>("BitBtn2")->click();
        const QList<HelpRequest>& requests = m.help().requests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].kind, HelpRequest::Contents);
        QCOMPARE(requests[0].html, html);
        QCOMPARE(requests[1].kind, html ? HelpRequest::Topic : HelpRequest::Context);
        if (html)
            QCOMPARE(requests[1].address, QStringLiteral("orbaw.chm::/html/setup.htm"));
        else
            QCOMPARE(requests[1].context, 518);
        m.help().closeHelp();
    }

    // The order mail's body comes from the order mask with the basket's entries and dates; the
    // recipient and subject come from the settings.
    void eMailOrderComposesTheBasket() {
        Program p;
        for (const char* file : {"bestell.r02", "bestell.bmp", "linie.bmp"})
            QFile::copy(QStringLiteral(ORBA_SOURCE_DIR "/demo/") + file, p.dir.file(file));
        TForm1& m = p.start(ini("[mail]\nemail=verleih@example.org\nbetreff=Bestellung 7b\n"));
        p.search("");
        m.StringGrid1->selectRow(2);
        m.BitBtn1->click();
        m.SelectPage(2);
        QString body;
        QString recipient;
        QString subject;
        orba::test::answerNextModal([&](QWidget* dialog) {
            body = dialog->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
            recipient = dialog->findChild<QLineEdit*>("Edit1")->text();
            subject = dialog->findChild<QLineEdit*>("Edit2")->text();
            static_cast<QDialog*>(dialog)->reject();
        });
        m.BitBtn5->click();
        QCOMPARE(recipient, QStringLiteral("verleih@example.org"));
        QCOMPARE(subject, QStringLiteral("Bestellung 7b"));
        QVERIFY2(body.contains("WB200") && body.contains("Licht und Ton"), qPrintable(body));
        QVERIFY(body.contains(QDate::currentDate().toString("dd.MM.yyyy")));
        QVERIFY(!body.contains("Masken bauen"));
    }

    // A drag stores the splitter once, when it is let go: each store rewrites the settings file.
    void movingTheSplitterIsStoredWhenLetGo() {
        Program p;
        TForm1& m = p.start();
        m.resize(700, 600);
        QApplication::processEvents();
        QSplitterHandle* handle = m.RxSplitter1->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(handle, grip + QPoint(0, 10 * step));
        QApplication::processEvents();
        QVERIFY(!QFile::exists("orbaw.ini"));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(0, 50));
        QTRY_COMPARE(SettingsFile("orbaw.ini").readInteger("Allgemein", "vsplit", 0),
                     m.Panel2->height());
        QVERIFY(m.Panel2->height() > 200);
    }
};

ORBA_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
