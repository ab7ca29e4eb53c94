#include "app/Startup.h"
#include "app/TForm1.h"
#include "app/Tstart.h"
#include "catalogue/Terwsuch.h"
#include "core/Guard.h"
#include "lists/ListGrid.h"
#include "platform/WindowsDirectory.h"
#include "settings/Tsetup.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace orba;
using orba::test::clickInNextModal;
using orba::test::ModalSeen;
using orba::test::WorkingDir;

namespace {

const QByteArray kCatalogue = "AB123|Erster Titel|ca. 30 min.\r\nCD456|Zweiter Titel|\r\n";

// Starts the program; the messages of start-up (the demo's other data files are missing here)
// are answered and kept.
std::unique_ptr<Session> start(QStringList* messages = nullptr) {
    const orba::test::MessageWatch watch;
    auto session = startUp();
    if (messages)
        *messages = watch.texts();
    return session;
}

QByteArray ini(const char* text) {
    return QByteArray(text).replace("\n", "\r\n");
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void init() { qputenv("XDG_DATA_HOME", m_home.path().toLocal8Bit()); }

    void windowsAreMadeInOrderWithTheirNamesAndCaptions() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        QVERIFY(session);
        const Forms& f = session->forms();
        const QList<QPair<QWidget*, QString>> expected = {
            {reinterpret_cast<QWidget*>(f.form1), "ORBA 4.0"},
            {reinterpret_cast<QWidget*>(f.stat), "Statistik"},
            {reinterpret_cast<QWidget*>(f.erwsuch), "Erweiterte Suche"},
            {reinterpret_cast<QWidget*>(f.setup), "Einstellungen"},
            {reinterpret_cast<QWidget*>(f.email), "E-Mail-Bestellung"},
            {reinterpret_cast<QWidget*>(f.info), "Aktuelle Informationen"},
            {reinterpret_cast<QWidget*>(f.schlag), "Schlagwortliste"},
            {reinterpret_cast<QWidget*>(f.notiz), "Notiz zum Medium bearbeiten"},
            {reinterpret_cast<QWidget*>(f.benu), "Benutzerliste"},
            {reinterpret_cast<QWidget*>(f.benuNeu), "Neuen Benutzer eintragen"},
            {reinterpret_cast<QWidget*>(f.log), "Anmeldung"},
            {reinterpret_cast<QWidget*>(f.resdat), "Reservierungsdatum ändern"},
            {reinterpret_cast<QWidget*>(f.form15), "Eigene E-Mail-Adresse"},
        };
        const QStringList classes = {"TForm1", "Tstat",   "Terwsuch", "Tsetup", "Temail",
                                     "Tinfo",  "Tschlag", "Tnotiz",   "Tbenu",  "Tbenu_neu",
                                     "Tlog",   "Tresdat", "TForm15"};
        for (int i = 0; i < expected.size(); ++i) {
            QVERIFY2(expected[i].first, qPrintable(classes[i]));
            QCOMPARE(expected[i].first->objectName(), classes[i]);
            QCOMPARE(expected[i].first->windowTitle(), expected[i].second);
        }
        QVERIFY(f.form1->isVisible());
        QVERIFY(!f.start->isVisible());
        QVERIFY(!f.setup->isVisible());
        QCOMPARE(f.form1->catalogue().count(), 2);
    }

    void defaultsWithoutSettingsFile() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        TForm1& main = session->mainWindow();
        QCOMPARE(main.ComboBox1->currentText(), QStringLiteral("Alle"));
        QCOMPARE(main.privateListFile(), QStringLiteral("orba.lst"));
        QCOMPARE(main.localDataDir(), QString());
        QCOMPARE(main.htmlHelpMode(), 1);
        QCOMPARE(main.StringGrid1->cell(0, 0), QStringLiteral("Signatur"));
        QCOMPARE(main.StringGrid1->cell(1, 0), QStringLiteral("Titel"));
        QCOMPARE(main.StringGrid3->cell(1, 0), QStringLiteral("Notiz"));
        QCOMPARE(main.StringGrid4->cell(0, 0), QStringLiteral("Res.Datum"));
        QCOMPARE(main.Sachgebiete1->text(), QStringLiteral("Sachgebiete"));
        QVERIFY(!main.sideBySide());
        QVERIFY(main.vertikaleTeilung1->isChecked());
        QVERIFY(!main.vertikaleTeilung1->isEnabled());
        QVERIFY(!main.horizontaleTeilung1->isChecked());
        QVERIFY(main.horizontaleTeilung1->isEnabled());
        QVERIFY(!QFile::exists(dir.file("orbaw.ini")));
    }

    void startUpSettingsAreApplied() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        dir.write("orbaw.ini", ini("[anzeige]\nmedart=2\nhsplit=0x1\nhtmlhelp=0\n"
                                   "[udef]\ngrid_sp0=Nummer\ngrid_sp1=Bezeichnung\n"
                                   "btn_sachgeb=Fachbereiche\n"));
        const auto session = start();
        TForm1& main = session->mainWindow();
        QCOMPARE(main.ComboBox1->currentText(), QStringLiteral("Werkbücher"));
        QVERIFY(main.sideBySide());
        QVERIFY(main.horizontaleTeilung1->isChecked());
        QVERIFY(!main.horizontaleTeilung1->isEnabled());
        QCOMPARE(main.htmlHelpMode(), 0);
        QCOMPARE(main.StringGrid1->cell(0, 0), QStringLiteral("Nummer"));
        QCOMPARE(main.StringGrid1->cell(1, 0), QStringLiteral("Bezeichnung"));
        QCOMPARE(main.Sachgebiete1->text(), QStringLiteral("Fachbereiche"));
        QCOMPARE(main.subjectAreaCaption(), QStringLiteral("Fachbereiche"));
    }

    void mediaTypeOutsideTheListSelectsNothing() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        dir.write("orbaw.ini", ini("[Anzeige]\nmedart=7\n"));
        const auto session = start();
        QCOMPARE(session->mainWindow().ComboBox1->currentIndex(), -1);
    }

    void cdModeMovesThePrivateListToTheWindowsDirectory() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        dir.write("orbaw.ini", ini("[Extras]\ncdstart=1\nprivdatei=liste.lst\n"));
        const auto session = start();
        const QString windows = platform::windowsDirectory();
        QVERIFY(windows.endsWith('/'));
        QVERIFY(windows.startsWith(m_home.path()));
        QVERIFY(QFileInfo(windows).isDir());
        QCOMPARE(session->mainWindow().localDataDir(), windows);
        QCOMPARE(session->mainWindow().privateListFile(), windows + "liste.lst");
    }

    // A missing catalogue is reported, and the steps after it still run.
    void missingCatalogueIsReportedAndStartUpGoesOn() {
        WorkingDir dir;
        dir.write("orbaw.ini", ini("[Anzeige]\nmedart=3\n[udef]\ngrid_sp0=Nr\n"));
        QStringList messages;
        const auto session = start(&messages);
        QVERIFY(session);
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages.first(), QStringLiteral("Datei orb32.dat kann nicht geöffnet werden"));
        TForm1& main = session->mainWindow();
        QCOMPARE(main.catalogue().count(), 0);
        QCOMPARE(main.ComboBox1->currentText(), QStringLiteral("AV-Medien"));
        QCOMPARE(main.StringGrid1->cell(0, 0), QStringLiteral("Nr"));
    }

    // A note for the next error goes with the first message of start-up only.
    void aNoteGoesWithTheFirstErrorOnly() {
        WorkingDir dir;
        noteOnNextError("Hinweis");
        QStringList messages;
        const auto session = start(&messages);
        QVERIFY(messages.size() >= 2);
        QCOMPARE(messages[0], "Datei orb32.dat kann nicht geöffnet werden\n\nHinweis");
        QVERIFY(!messages[1].contains("Hinweis"));
    }

    void hiddenMenuEntriesStayHidden() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        TForm1& main = session->mainWindow();
        QVERIFY(!main.Sachgebiete1->isVisible());
        QVERIFY(!main.Katalog1->isVisible());
        QVERIFY(!main.Statistik1->isVisible());
        QVERIFY(!main.StatistikSeparator->isVisible());
        QVERIFY(!main.Drucken1->isEnabled());
        QVERIFY(!main.Drucken2->isEnabled());
        QVERIFY(main.SpeedButton1->isVisible());
        QVERIFY(!main.SpeedButton2->isVisible());
        QCOMPARE(main.SpeedButton2->geometry(), main.SpeedButton1->geometry());
    }

    void selectPage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<bool>("noteEnabled");
        QTest::newRow("hit list") << 0 << "StringGrid1" << false;
        QTest::newRow("private list") << 1 << "StringGrid3" << true;
        QTest::newRow("basket") << 2 << "StringGrid2" << false;
        QTest::newRow("no such page") << 5 << QString() << false;
    }

    void selectPage() {
        QFETCH(int, page);
        QFETCH(QString, grid);
        QFETCH(bool, noteEnabled);
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        TForm1& main = session->mainWindow();
        main.SelectPage(1);
        main.SelectPage(page);
        QCOMPARE(main.currentPage(), page);
        QCOMPARE(main.currentGrid() ? main.currentGrid()->objectName() : QString(), grid);
        QCOMPARE(main.Notiz1->isEnabled(), noteEnabled);
        QCOMPARE(main.PageControl1->currentIndex(), page < 3 ? page : 1);
    }

    void tabChangeEnablesPrintingByTheListsContents() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        TForm1& main = session->mainWindow();
        main.StringGrid3->setCell(0, 1, "AB 123");
        main.PageControl1->setCurrentIndex(1);
        QCOMPARE(main.currentPage(), 1);
        QVERIFY(main.Drucken1->isEnabled());
        QVERIFY(main.Drucken2->isEnabled());
        main.PageControl1->setCurrentIndex(2);
        QCOMPARE(main.currentGrid(), main.StringGrid2);
        QVERIFY(!main.Drucken1->isEnabled());
    }

    void closingAsksAndOnlyYesEnds() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        TForm1& main = session->mainWindow();
        main.StringGrid3->setCell(0, 1, "AB 123");

        ModalSeen seen;
        clickInNextModal("Nein", &seen);
        main.Beenden1->trigger();
        QCOMPARE(seen.caption, QStringLiteral("Warnung"));
        QCOMPARE(seen.text, QStringLiteral("ORBA 4.0 beenden ?"));
        QVERIFY(main.isVisible());
        QCOMPARE(main.StringGrid3->cell(0, 1), QStringLiteral("AB 123"));

        clickInNextModal("Ja");
        QTest::mouseClick(main.SpeedButton6, Qt::LeftButton);
        QVERIFY(!main.isVisible());
    }

    void aboutBoxShowsTheSplashWithItsOkButtonAndLicence() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        bool okVisible = false;
        QString licence;
        orba::test::answerNextModal([&](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("Tstart"));
            auto* ok = modal->findChild<QWidget*>("BitBtn1");
            okVisible = ok && ok->isVisible();
            if (auto* label = modal->findChild<QLabel*>("Lizenz"); label && label->isVisible())
                licence = label->text();
            static_cast<QDialog*>(modal)->reject();
        });
        session->mainWindow().Infober1->trigger();
        QVERIFY(okVisible);
        QVERIFY(licence.contains("EUPL-1.2"));
    }

    // Texts of the windows in plain, correct German.
    void windowTexts() {
        WorkingDir dir;
        dir.write("orb32.dat", kCatalogue);
        const auto session = start();
        const Forms& f = session->forms();
        const auto text = [](void* form, const char* name) {
            const auto* label = reinterpret_cast<QWidget*>(form)->findChild<QLabel*>(name);
            return label ? label->text() : QString();
        };
        QVERIFY(text(f.notiz, "Label1").contains("eingeben, z. B.\nfür welche Klassen"));
        QVERIFY(text(f.benu, "Label1").contains("angezeigt, damit Sie"));
        QCOMPARE(text(f.benu, "Header2"), QStringLiteral("Schule"));
        QVERIFY(text(f.form15, "Label1").contains("Eingabefeld ein, um die Mail"));
        QCOMPARE(f.start->findChild<QPushButton*>("BitBtn1")->text(), QStringLiteral("&OK"));
    }

private:
    QTemporaryDir m_home;
};

ORBA_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
