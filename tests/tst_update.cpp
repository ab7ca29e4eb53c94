// Catalogue updates: the organisation signs with its tool, a server on loopback serves over HTTPS,
// and ORBA takes a newer set over whole or leaves its folder byte for byte as it was.
#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/OrbaError.h"
#include "lists/ListGrid.h"
#include "output/ReportSource.h"
#include "settings/SettingsFile.h"
#include "settings/Tstat.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "update/CatalogueUpdate.h"
#include "update/Taktualisierung.h"
#include "update/UpdateInstaller.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <sched.h>
#include <sys/mount.h>

using namespace orba;
using orba::test::readFile;
using orba::test::WorkingDir;
using orba::test::writeFile;

namespace {

const QByteArray kOldCatalogue = "AB100|Masken bauen|\r\nAB200|Licht und Ton|\r\nAB300|Spiel|\r\n";
// AB100 moves, AB200 leaves, two media come.
const QByteArray kNewCatalogue =
    "CD400|Neu eins|\r\nAB300|Spiel|\r\nAB100|Masken bauen|\r\nCD500|Neu zwei|\r\n";
const QString kOldStand = QStringLiteral("2027-01-01T08:00:00Z");
const QString kNewStand = QStringLiteral("2027-02-01T09:30:00Z");

QString run(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(ORBA_BINARY_DIR "/bin/orbasign"), arguments);
    if (!process.waitForFinished() || process.exitCode() != 0)
        qFatal("orbasign failed: %s", process.readAllStandardError().constData());
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

void flipBit(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        qFatal("cannot open %s", qPrintable(path));
    QByteArray bytes = file.readAll();
    bytes[10] = char(bytes[10] ^ 1);
    file.seek(0);
    file.write(bytes);
}

QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : orba::test::filesUnder(folder))
        files.insert(name, readFile(QDir(folder).filePath(name)));
    return files;
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT

    orba::test::UpdateServer m_server;
    QTemporaryDir m_keys;
    QString m_secretKey = m_keys.filePath(QStringLiteral("demo.key"));
    QString m_publicKeyLine;

    // The organisation publishes a set with these files, signed with the demo key.
    void publish(const QByteArray& catalogue, const QString& stand,
                 const QByteArray& statistics = "01.02.2027\r\n") const {
        const QDir folder(m_server.folder());
        for (const QString& name : folder.entryList(QDir::Files))
            QFile::remove(folder.filePath(name));
        writeFile(folder.filePath("orb32.dat"), catalogue);
        writeFile(folder.filePath("stat.dat"), statistics);
        run({"signieren", m_secretKey, m_server.folder(), "--stand", stand});
    }

    // A school's folder as an earlier update of the given stand left it.
    void prepareSchool(const WorkingDir& dir, const QString& stand) const {
        dir.write("orb32.dat", kOldCatalogue);
        dir.write("stat.dat", "01.01.2027\r\n");
        dir.write("schlag.dat", "Masken\r\n");
        dir.write("info.rtf", "{\\rtf1 Neues}");
        dir.write("orbaw.ini", settingsText(m_server.address(), m_server.authority()));
        publish(kOldCatalogue, stand, "01.01.2027\r\n");
        for (const QString& name : {UpdateManifest::fileName, UpdateManifest::signatureName})
            QFile::copy(QDir(m_server.folder()).filePath(name), dir.file(name));
    }

    QByteArray settingsText(const QString& address, const QString& authority) const {
        return QStringLiteral(
                   "[Aktualisierung]\r\nAdresse=%1\r\n%2\r\n[mail]\r\nSMTP CA-Datei=%3\r\n")
            .arg(address, m_publicKeyLine, authority)
            .toUtf8();
    }

    // Runs an update of the working directory to its end: the message it ended with, or empty
    // when it was installed.
    static QString update(bool cancelWhenLoading = false) {
        CatalogueUpdate update(UpdateSettings::read(SettingsFile("orbaw.ini")),
                               QDir::currentPath());
        QString message;
        bool ended = false;
        auto end = [&](const QString& text) {
            message = text;
            ended = true;
        };
        connect(&update, &CatalogueUpdate::offered, [&] { update.download(); });
        connect(&update, &CatalogueUpdate::progress, [&](const QString&, qint64 done) {
            if (cancelWhenLoading && done > 0)
                update.cancel();
        });
        connect(&update, &CatalogueUpdate::failed, end);
        connect(&update, &CatalogueUpdate::upToDate, end);
        connect(&update, &CatalogueUpdate::downloaded, [&] {
            try {
                update.install();
                end(QString());
            } catch (const OrbaError& e) {
                end(e.message());
            }
        });
        update.check();
        if (!QTest::qWaitFor([&] { return ended; }, 20000))
            return QStringLiteral("no end");
        return message;
    }

private slots:
    void initTestCase() {
        m_publicKeyLine = run({"schluessel", "--demo", m_secretKey});
        // The demo settings carry the demo organisation's key.
        QVERIFY(SettingsFile(ORBA_SOURCE_DIR "/demo/orbaw.ini")
                    .readString("Aktualisierung", "Schluessel", {}) ==
                m_publicKeyLine.section(QLatin1Char('='), 1));
    }

    void cleanup() { m_server.failNothing(); }

    void whatIsNotANewerSignedSetLeavesTheFolderAsItWas_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("said");
        QTest::newRow("one bit of the list") << "list"
                                             << "Unterschrift der Aktualisierung ist ungültig";
        QTest::newRow("one bit of the signature") << "signature"
                                                  << "Unterschrift der Aktualisierung ist ungültig";
        QTest::newRow("one bit of the catalogue")
            << "catalogue"
            << "orb32.dat stimmt nicht mit der unterschriebenen Liste";
        QTest::newRow("an older set replayed") << "older"
                                               << "älter als Ihr Katalog";
        QTest::newRow("the same set again") << "same"
                                            << "Ihr Katalog ist auf dem neuesten Stand";
        QTest::newRow("a truncated download") << "kurz"
                                              << "orb32.dat kam nicht vollständig an";
        QTest::newRow("a server error") << "fehler"
                                        << "meldet beim Abruf von orb32.dat einen Fehler (HTTP 500";
        QTest::newRow("cancelled while loading") << "haengen"
                                                 << "Die Aktualisierung wurde abgebrochen.";
        QTest::newRow("no server") << "dead"
                                   << "Keine Verbindung zum Server 127.0.0.1";
        QTest::newRow("a certificate not trusted")
            << "untrusted"
            << "nicht mit einem vertrauenswürdigen Zertifikat";
        QTest::newRow("an old file that cannot step aside") << "stuck"
                                                            << "kann nicht erstellt werden";
    }
    void whatIsNotANewerSignedSetLeavesTheFolderAsItWas() {
        QFETCH(QString, fault);
        QFETCH(QString, said);
        const WorkingDir dir;
        prepareSchool(dir, kOldStand);
        const QDir served(m_server.folder());
        publish(kNewCatalogue, fault == "older"  ? "2026-12-01T00:00:00Z"
                               : fault == "same" ? kOldStand
                                                 : kNewStand);
        if (fault == "list")
            flipBit(served.filePath(UpdateManifest::fileName));
        else if (fault == "signature") {
            QByteArray signature =
                QByteArray::fromBase64(readFile(served.filePath(UpdateManifest::signatureName)));
            signature[10] = char(signature[10] ^ 1);
            writeFile(served.filePath(UpdateManifest::signatureName), signature.toBase64());
        } else if (fault == "catalogue")
            flipBit(served.filePath("orb32.dat"));
        else if (fault == "kurz" || fault == "fehler" || fault == "haengen")
            m_server.fail("orb32.dat", fault);
        else if (fault == "dead")
            dir.write("orbaw.ini",
                      settingsText(
                          QStringLiteral("https://127.0.0.1:%1/").arg(orba::test::deadPort()), {}));
        else if (fault == "untrusted")
            dir.write("orbaw.ini", settingsText(m_server.address(), {}));
        else if (fault == "stuck")
            QDir(dir.path()).mkpath("stat.dat.alt/belegt");
        const QMap<QString, QByteArray> before = contents(dir.path());

        const QString message = update(fault == "haengen");
        QVERIFY2(message.contains(said), qPrintable(message));
        QCOMPARE(contents(dir.path()), before);
    }

    void aNewerSetIsTakenOverAndTheListsFindTheirMediaAgain() {
        const WorkingDir dir;
        prepareSchool(dir, kOldStand);
        dir.write("orba.lst",
                  "AB 100|Masken bauen|0\r\nAB 200|Licht und Ton|1\r\nAB 300|Spiel|2\r\n");
        const auto session = startUp();
        TForm1& m = session->mainWindow();
        QCOMPARE(m.Optionen1->actions().constLast(), m.Katalogaktualisieren1);
        QVERIFY(m.Katalogaktualisieren1->isVisible());
        QTest::mouseClick(m.SpeedButton1, Qt::LeftButton);
        for (int row : {2, 3}) {
            m.StringGrid1->selectRow(row);
            m.BitBtn1->click();
        }
        publish(kNewCatalogue, kNewStand);

        // A first try is cancelled in its window, the second goes through.
        m_server.fail("orb32.dat", "haengen");
        m.Katalogaktualisieren1->trigger();
        auto* window = m.findChild<Taktualisierung*>();
        QTRY_VERIFY_WITH_TIMEOUT(window->ProgressBar1->value() > 0, 20000);
        orba::test::ModalSeen seen;
        orba::test::clickInNextModal("OK", &seen);
        window->BitBtn1->click();
        QVERIFY(seen.text.startsWith("Die Aktualisierung wurde abgebrochen."));
        QVERIFY(!window->isVisible());
        m_server.failNothing();

        seen = {};
        orba::test::clickInNextModal("OK", &seen);
        m.Katalogaktualisieren1->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(seen.shown, 20000);
        QCOMPARE(seen.text,
                 "Die Aktualisierung mit dem Stand " +
                     standText(QDateTime::fromString(kNewStand, Qt::ISODate)) +
                     " ist übernommen.\n2 Medien sind neu, 1 Medium ist entfallen.\n"
                     "Die Trefferliste ist geleert; bitte suchen Sie neu.\n"
                     "1 Medium Ihrer privaten Liste ist nicht mehr im Katalog. Es bleibt "
                     "durchgestrichen in der Liste, kann aber nicht bestellt werden.\n"
                     "Nicht mehr im Katalog und darum aus dem Bestellkorb genommen: AB 200.");
        QCOMPARE(dir.read("orb32.dat"), kNewCatalogue);
        QCOMPARE(dir.read("stat.dat"), QByteArray("01.02.2027\r\n"));
        QCOMPARE(m.statusPanelText(3), "2 neu, 1 entfallen");
        QCOMPARE(session->forms().stat->Label2->text(), "01.02.2027");
        QVERIFY(!m.StringGrid1->hasEntries());
        QCOMPARE(m.StringGrid2->rowCount(), 2);
        QCOMPARE(m.StringGrid2->cell(0, 1), "AB 300");
        QCOMPARE(m.StringGrid2->rowIndex(1), 1);
        QCOMPARE(
            dir.read("orba.lst"),
            QByteArray("AB 100|Masken bauen|2\r\nAB 200|Licht und Ton|-1\r\nAB 300|Spiel|1\r\n"));
        QVERIFY(m.StringGrid3->model()->index(1, 0).data(Qt::FontRole).value<QFont>().strikeOut());

        // The medium that left can be neither printed nor ordered.
        m.SelectPage(1);
        QCOMPARE(m.reportSource()->recordCount(), 1 + 2);
        m.StringGrid3->selectRow(2);
        seen = {};
        orba::test::clickInNextModal("OK", &seen);
        m.BitBtn8->click();
        QCOMPARE(seen.text, "Medium ist nicht mehr im Katalog und kann nicht bestellt werden");
        QCOMPARE(m.StringGrid2->rowCount(), 2);
    }

    void withoutAnAddressNothingIsOffered() {
        const WorkingDir dir;
        dir.write("orb32.dat", kOldCatalogue);
        const orba::test::MessageWatch missingFiles;
        const auto session = startUp();
        QVERIFY(!session->mainWindow().Katalogaktualisieren1->isVisible());
    }

    // Switched on, the look at start-up asks before it loads, and looks once a day.
    void theLookAtStartUpAsksOnceADay() {
        const WorkingDir dir;
        prepareSchool(dir, kOldStand);
        SettingsFile settings("orbaw.ini");
        settings.writeInteger("Aktualisierung", "beimStart", 1);
        settings.writeString("Aktualisierung", "letztePruefung",
                             QDate::currentDate().addDays(-1).toString(Qt::ISODate));
        publish(kNewCatalogue, kNewStand);
        orba::test::ModalSeen seen;
        orba::test::clickInNextModal("Nein", &seen);
        auto session = startUp();
        QTRY_VERIFY_WITH_TIMEOUT(seen.shown, 20000);
        QVERIFY2(seen.text.endsWith("Jetzt herunterladen?"), qPrintable(seen.text));
        QCOMPARE(dir.read("orb32.dat"), kOldCatalogue);
        QCOMPARE(SettingsFile("orbaw.ini").readString("Aktualisierung", "letztePruefung", {}),
                 QDate::currentDate().toString(Qt::ISODate));
        session.reset();
        session = startUp();
        QCOMPARE(session->mainWindow().findChild<CatalogueUpdate*>(), nullptr);
    }

    // The organisation's tool writes the list it read; the stand must survive to the millisecond.
    void aListWrittenReadsAsTheListRead_data() {
        QTest::addColumn<QString>("stand");
        QTest::newRow("UTC") << "2027-02-01T09:30:00Z";
        QTest::newRow("milliseconds") << "2027-02-01T09:30:00.123Z";
        QTest::newRow("an offset") << "2027-02-01T10:30:00+01:00";
    }
    void aListWrittenReadsAsTheListRead() {
        QFETCH(QString, stand);
        const UpdateManifest list =
            UpdateManifest::parse("ORBA-Aktualisierung 1\r\nStand=" + stand.toLatin1() +
                                  "\r\norb32.dat|3|" + QByteArray(64, 'a') + "\r\n");
        const UpdateManifest again = UpdateManifest::parse(list.text());
        QCOMPARE(again.stand(), QDateTime::fromString(stand, Qt::ISODate));
        QCOMPARE(again.text(), list.text());
    }

    // Last: it leaves the test in a mount namespace of its own.
    void aFullDiskIsSaidAndTheOldFilesStay() {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            QSKIP("no right to mount a small file system");
        const QTemporaryDir disk;
        QVERIFY(mount("tmpfs", QFile::encodeName(disk.path()).constData(), "tmpfs", 0,
                      "size=64k") == 0);
        writeFile(disk.filePath("orb32.dat"), kOldCatalogue);
        try {
            replaceFiles(disk.path(), {{"orb32.dat", QByteArray(100000, 'x')}});
            QFAIL("no error");
        } catch (const OrbaError& e) {
            QVERIFY2(e.message().startsWith("Auf dem Datenträger ist nicht genug Platz"),
                     qPrintable(e.message()));
        }
        QCOMPARE(readFile(disk.filePath("orb32.dat")), kOldCatalogue);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList{"orb32.dat"});
        umount(QFile::encodeName(disk.path()).constData());
    }
};

ORBA_TEST_MAIN(TestUpdate)
#include "tst_update.moc"
