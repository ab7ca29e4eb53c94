// An installed ORBA's settings: each user's own orbaw.ini over the system-wide one that the
// administrator keeps; a plain start in a working directory reads only its own.
#include "settings/DisplayList.h"
#include "settings/SystemSettings.h"
#include "TestMain.h"
#include "TestSupport.h"

using namespace orba;
using orba::test::WorkingDir;

namespace {

const QByteArray kSystem = "[mail]\r\nemail=bestellung@verein.example\r\n"
                           "SMTP Host=mail.schule.example\r\n"
                           "[Aktualisierung]\r\nAdresse=https://verein.example/neu/\r\n"
                           "Schluessel=NEU=\r\n"
                           "[Anzeige]\r\nCount=2\r\nItem0=6,1\r\nItem1=5,0\r\n";

// The system file beside the user's, whose folder is the working directory.
SettingsFile open(const WorkingDir& dir, bool installed) {
    dir.write("system.ini", kSystem);
    if (installed)
        dir.write("datenstand.dat", "");
    return openSettings("orbaw.ini", QString(), dir.file("system.ini"));
}

} // namespace

class TestSystemSettings : public QObject {
    Q_OBJECT

private slots:
    void aValueComesFrom_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QByteArray>("users");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        // The settings dialog keeps a field it cannot change from being edited.
        QTest::addColumn<bool>("fixed");
        QTest::newRow("the system, when the user has not set it") << true << QByteArray() << "mail"
                                                                  << "SMTP Host"
                                                                  << "mail.schule.example" << false;
        QTest::newRow("the user, who set it")
            << true << QByteArray("[mail]\r\nSMTP Host=privat.example\r\n") << "mail"
            << "SMTP Host"
            << "privat.example" << false;
        QTest::newRow("the organisation: order address")
            << true << QByteArray("[mail]\r\nemail=alt@verein.example\r\n") << "Mail"
            << "EMAIL"
            << "bestellung@verein.example" << true;
        QTest::newRow("the organisation: update address")
            << true << QByteArray("[Aktualisierung]\r\nAdresse=https://alt.example/\r\n")
            << "Aktualisierung"
            << "Adresse"
            << "https://verein.example/neu/" << true;
        QTest::newRow("the organisation: update key")
            << true << QByteArray("[aktualisierung]\r\nschluessel=ALT=\r\n") << "Aktualisierung"
            << "Schluessel"
            << "NEU=" << true;
        QTest::newRow("neither") << true << QByteArray() << "mail"
                                 << "betreff"
                                 << "-" << false;
        QTest::newRow("plain start: only its own file") << false << QByteArray() << "mail"
                                                        << "SMTP Host"
                                                        << "-" << false;
        QTest::newRow("plain start: its own order address")
            << false << QByteArray("[mail]\r\nemail=alt@verein.example\r\n") << "mail"
            << "email"
            << "alt@verein.example" << false;
    }
    void aValueComesFrom() {
        QFETCH(bool, installed);
        QFETCH(QByteArray, users);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(bool, fixed);
        const WorkingDir dir;
        if (!users.isEmpty())
            dir.write("orbaw.ini", users);
        const SettingsFile settings = open(dir, installed);
        QCOMPARE(settings.readString(section, key, "-"), expected);
        QCOMPARE(settings.fixedBySystem(section, key), fixed);
    }

    void theUsersFileKeepsOnlyWhatTheUserChanged() {
        const WorkingDir dir;
        SettingsFile settings = open(dir, true);
        const DisplayListLoad shown = readDisplayList(settings);
        QCOMPARE(shown.list.size(), 2);
        QCOMPARE(shown.list.first().field, 6);
        settings.writeInteger("Allgemein", "vsplit", 300);
        QCOMPARE(dir.read("orbaw.ini"), QByteArray("[Allgemein]\r\nvsplit=300\r\n"));
        QCOMPARE(settings.readInteger("Allgemein", "vsplit", 0), 300);
        QCOMPARE(settings.readString("mail", "SMTP Host", {}), QString("mail.schule.example"));
    }
};

ORBA_TEST_MAIN(TestSystemSettings)
#include "tst_systemsettings.moc"
