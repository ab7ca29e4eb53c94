// The user's own data folder that an installed ORBA works in when started from the menu: made
// and filled from the installed data set, the user's files kept, newer published data taken.
#include "app/UserDataFolder.h"
#include "core/OrbaError.h"
#include "settings/SystemSettings.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "update/UpdateManifest.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace orba;
using orba::test::filesUnder;
using orba::test::WorkingDir;

namespace {

// An installed data set and a user folder not made yet, inside the working directory.
struct Installation {
    WorkingDir dir;
    QString installed = dir.file("share/orba");
    QString user = dir.file("home/.local/share/orba");

    Installation() {
        QDir().mkpath(installed + "/html");
        install("orb32.dat", "AB123|Erster Titel\r\n");
        install("stat.dat", "01.12.2026\r\n");
        install("schlag.dat", "Masken\r\n");
        install("orbaw.ini", "[Extras]\r\ncdstart=0\r\n");
        install("benu.dat", "Becker, Anna\t\r\n");
        install("html/index.htm", "<html></html>");
        install("medien.bmp", QByteArray("BM\0\0\x36\0", 6));
    }
    void install(const QString& name, const QByteArray& bytes) const {
        dir.write("share/orba/" + name, bytes);
    }
    QByteArray installedFile(const QString& name) const { return dir.read("share/orba/" + name); }
    void writeUsers(const QString& name, const QByteArray& bytes) const {
        dir.write("home/.local/share/orba/" + name, bytes);
    }
    QByteArray users(const QString& name) const {
        return dir.read("home/.local/share/orba/" + name);
    }
    void update() const { UserDataFolder(installed, user).update(); }
};

} // namespace

class TestUserData : public QObject {
    Q_OBJECT

private slots:
    // All but the settings, which the folder's settings file finds beneath it instead.
    void theFirstUpdateMakesTheFolderAndCopiesTheWholeSet() {
        const Installation i;
        i.update();
        QStringList copied = filesUnder(i.user);
        copied.removeOne(UserDataFolder::recordName);
        QStringList installed = filesUnder(i.installed);
        installed.removeOne("orbaw.ini");
        QCOMPARE(copied, installed);
        for (const QString& name : copied)
            QCOMPARE(i.users(name), i.installedFile(name));
        QCOMPARE(openSettings(i.user + "/orbaw.ini", {}, i.installed + "/orbaw.ini")
                     .readInteger("Extras", "cdstart", 7),
                 0);
    }

    // After a first start the user works and a package update may bring new files; a second
    // update keeps the user's files and takes newer published data.
    void aLaterUpdate_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("usersVersion");
        QTest::addColumn<QByteArray>("newlyInstalled");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("newer catalogue")
            << "orb32.dat" << QByteArray() << QByteArray("CD9|Neu\r\n") << true;
        QTest::newRow("newer statistics")
            << "stat.dat" << QByteArray() << QByteArray("02.2027\r\n") << true;
        QTest::newRow("newer keywords")
            << "schlag.dat" << QByteArray() << QByteArray("Kostüme\r\n") << true;
        QTest::newRow("newer help page")
            << "html/index.htm" << QByteArray() << QByteArray("<html>neu</html>") << true;
        QTest::newRow("the user's settings")
            << "orbaw.ini" << QByteArray("[mail]\r\nemail=ich@schule.example\r\n")
            << QByteArray("[Extras]\r\ncdstart=1\r\n") << false;
        QTest::newRow("the user's list of users") << "benu.dat" << QByteArray("Albers, Tom\t\r\n")
                                                  << QByteArray("Neu, Nina\t\r\n") << false;
        // What the installed set last brought counts, not the user's copy: a catalogue that the
        // user put there stays until the package brings another.
        QTest::newRow("a catalogue of the user's, nothing newer installed")
            << "orb32.dat" << QByteArray("EF1|Eigener\r\n") << QByteArray() << false;
        QTest::newRow("a deleted catalogue comes back")
            << "orb32.dat" << QByteArray("-") << QByteArray() << true;
    }
    void aLaterUpdate() {
        QFETCH(QString, file);
        QFETCH(QByteArray, usersVersion);
        QFETCH(QByteArray, newlyInstalled);
        QFETCH(bool, replaced);
        const Installation i;
        i.update();
        i.writeUsers("orba.lst", "AB 123|Erster Titel|0\r\n");
        i.writeUsers("AB123.ntz", "Für Klasse 5\r\n");
        if (usersVersion == "-")
            QVERIFY(QFile::remove(i.user + "/" + file));
        else if (!usersVersion.isEmpty())
            i.writeUsers(file, usersVersion);
        if (!newlyInstalled.isEmpty())
            i.install(file, newlyInstalled);

        i.update();
        QCOMPARE(i.users(file), replaced ? i.installedFile(file) : usersVersion);
        QCOMPARE(i.users("orba.lst"), QByteArray("AB 123|Erster Titel|0\r\n"));
        QCOMPARE(i.users("AB123.ntz"), QByteArray("Für Klasse 5\r\n"));
    }

    // A catalogue the user's own update brought is newer than a package without a stand or with
    // an older one, and gives way only to a newer stand.
    void aCatalogueUpdateOfTheUsersMeetsAPackageUpdate_data() {
        QTest::addColumn<QString>("installedStand");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("package without a stand") << QString() << false;
        QTest::newRow("package with an older stand") << "2027-01-15T00:00:00Z" << false;
        QTest::newRow("package with a newer stand") << "2027-03-01T00:00:00Z" << true;
    }
    void aCatalogueUpdateOfTheUsersMeetsAPackageUpdate() {
        QFETCH(QString, installedStand);
        QFETCH(bool, replaced);
        auto signedList = [](const char* stand, const QByteArray& catalogue) {
            return UpdateManifest(QDateTime::fromString(stand, Qt::ISODate),
                                  {PublishedFile::describe("orb32.dat", catalogue)})
                .text();
        };
        const Installation i;
        i.update();
        const QByteArray updated = "UP1|Aktualisiert\r\n";
        i.writeUsers("orb32.dat", updated);
        i.writeUsers(UpdateManifest::fileName, signedList("2027-02-01T00:00:00Z", updated));
        i.install("orb32.dat", "PK1|Paket\r\n");
        if (!installedStand.isEmpty())
            i.install(UpdateManifest::fileName,
                      signedList(installedStand.toLatin1(), "PK1|Paket\r\n"));

        i.update();
        QCOMPARE(i.users("orb32.dat"), replaced ? QByteArray("PK1|Paket\r\n") : updated);
        QCOMPARE(UpdateManifest::standIn(i.user) == UpdateManifest::standIn(i.installed), replaced);
    }

    void aFolderThatCannotBeMadeIsReported() {
        const Installation i;
        QDir().mkpath(i.dir.file("home/.local/share"));
        i.dir.write("home/.local/share/orba", "eine Datei, kein Ordner");
        try {
            i.update();
            QFAIL("no error");
        } catch (const OrbaError& e) {
            QCOMPARE(e.message(), "Ordner " + i.user + " kann nicht erstellt werden");
        }
    }
};

ORBA_TEST_MAIN(TestUserData)
#include "tst_userdata.moc"
