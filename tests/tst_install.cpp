// ORBA as a package installs it: the build installed under /usr into a folder of its own, the
// desktop files checked by the desktop's own tools, the installed program started as its menu
// entry starts it, and the Debian package built from the same install.
#include "platform/Installation.h"
#include "settings/SystemSettings.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using orba::test::filesUnder;

namespace {

constexpr int kProcessMs = 120000;
const QString kAppId = QStringLiteral(ORBA_APP_ID);

struct Run {
    int exitCode = -1;
    QByteArray output;
};

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kProcessMs) || process.exitStatus() != QProcess::NormalExit)
        return {-1, process.readAll()};
    return {process.exitCode(), process.readAll()};
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_destdir;
    QString usr(const QString& path) const { return m_destdir.filePath("usr/" + path); }

private slots:
    void initTestCase() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DESTDIR", m_destdir.path());
        const Run install =
            run(CMAKE_COMMAND, {"--install", ORBA_BINARY_DIR, "--prefix", "/usr", "--strip"},
                environment);
        QVERIFY2(install.exitCode == 0, install.output.constData());
    }

    void programsDataAndDesktopFilesGoToTheirPlaces() {
        for (const char* program : {"bin/orba", "libexec/orba/send.exe"})
            QVERIFY2(QFileInfo(usr(program)).isExecutable(), program);
        for (const QString& file : QStringList{
                 "share/applications/" + kAppId + ".desktop",
                 "share/metainfo/" + kAppId + ".metainfo.xml",
                 "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
                 "share/icons/hicolor/16x16/apps/" + kAppId + ".png",
                 "share/icons/hicolor/256x256/apps/" + kAppId + ".png", "share/doc/orba/copyright",
                 "share/doc/orba/changelog.gz", "share/man/man1/orba.1.gz"})
            QVERIFY2(QFileInfo(usr(file)).isFile(), qPrintable(file));

        // The demo data set, but not the people of its user list; its settings are the
        // system-wide settings, where the program looks for them.
        const QString demo = QStringLiteral(ORBA_SOURCE_DIR "/demo");
        QCOMPARE(read(m_destdir.path() + orba::SystemSettings::defaultPath()),
                 read(demo + "/orbaw.ini"));
        QStringList expected = filesUnder(demo);
        QVERIFY(expected.removeOne("benu.dat") && expected.removeOne("orbaw.ini"));
        QCOMPARE(filesUnder(usr("share/orba")), expected);
        for (const QString& file : expected)
            QVERIFY2(read(usr("share/orba/" + file)) == read(demo + "/" + file), qPrintable(file));
    }

    void theProgramFindsItsInstalledParts() {
        const QTemporaryDir workingDir;
        const QString programDir = usr("bin");
        QCOMPARE(orba::platform::installedDataDir(programDir), usr("share/orba"));
        QCOMPARE(orba::platform::mailerProgram(workingDir.path(), programDir),
                 usr("libexec/orba/send.exe"));
        // A mailer in the working directory comes first, as it always did.
        write(workingDir.filePath("send.exe"), "#!/bin/sh\n");
        QCOMPARE(orba::platform::mailerProgram(workingDir.path(), programDir),
                 workingDir.filePath("send.exe"));
    }

    void nothingInstalledNamesTheSourceOrBuildTree() {
#ifdef ORBA_SANITIZED
        QSKIP("The sanitizers keep the source file names in the programs for their reports.");
#endif
        for (const QString& file : filesUnder(m_destdir.path())) {
            const QByteArray bytes = read(m_destdir.filePath(file));
            QVERIFY2(!bytes.contains(ORBA_SOURCE_DIR) && !bytes.contains(ORBA_BINARY_DIR),
                     qPrintable(file));
        }
    }

    void theDesktopsToolsAcceptMenuEntryAndMetainfo() {
        const Run desktop =
            run("desktop-file-validate", {usr("share/applications/" + kAppId + ".desktop")});
        QVERIFY2(desktop.exitCode == 0 && desktop.output.isEmpty(), desktop.output.constData());
        const Run metainfo =
            run("appstreamcli",
                {"validate", "--no-net", usr("share/metainfo/" + kAppId + ".metainfo.xml")});
        QVERIFY2(metainfo.exitCode == 0, metainfo.output.constData());
    }

    // Asked on a console without a display, the program answers and ends.
    void theHelpNamesTheOptionsInGerman() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        const Run help = run(usr("bin/orba"), {"--help"}, environment);
        QCOMPARE(help.exitCode, 0);
        const QString text = QString::fromUtf8(help.output);
        QVERIFY2(text.contains("Aufruf:") && text.contains("--benutzerdaten") &&
                     text.contains("eigenen Datenordner des Benutzers") &&
                     text.contains("Dies ist eine Demo"),
                 help.output.constData());
    }

    // Started as the menu entry starts it, in a fresh home: the first start fills the user's
    // folder; after a package update with a newer catalogue, the next start takes it and keeps
    // the user's private list and settings.
    void theMenuEntryWorksInTheUsersOwnFolder() {
        QStringList command;
        for (const QByteArray& line :
             read(usr("share/applications/" + kAppId + ".desktop")).split('\n')) {
            if (line.startsWith("Exec="))
                command = QString::fromUtf8(line.mid(5)).split(' ', Qt::SkipEmptyParts);
        }
        QVERIFY(!command.isEmpty());
        const QString program = QStandardPaths::findExecutable(command.first(), {usr("bin")});
        QVERIFY(!program.isEmpty());

        const QTemporaryDir home;
        const QTemporaryDir elsewhere;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.remove("XDG_DATA_HOME");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        const QString folder = home.filePath(".local/share/orba");
        const QString record = folder + "/datenstand.dat";

        // The record is written when the folder is up to date; the program then goes on to
        // its windows and runs until it is stopped.
        const auto startUntilRecorded = [&](const QByteArray& previousRecord) {
            QProcess orba;
            orba.setProcessEnvironment(environment);
            orba.setWorkingDirectory(elsewhere.path());
            orba.start(program, command.mid(1));
            const bool recorded = QTest::qWaitFor(
                [&] {
                    return orba.state() == QProcess::NotRunning ||
                           (QFile::exists(record) && read(record) != previousRecord);
                },
                kProcessMs);
            const bool running = orba.state() == QProcess::Running;
            orba.kill();
            orba.waitForFinished();
            return recorded && running;
        };

        QVERIFY(startUntilRecorded(QByteArray()));
        QCOMPARE(read(folder + "/orb32.dat"), read(usr("share/orba/orb32.dat")));
        QCOMPARE(read(folder + "/html/index.htm"), read(usr("share/orba/html/index.htm")));
        QVERIFY(filesUnder(elsewhere.path()).isEmpty());

        const QByteArray privateList = "MA 001|Masken bauen|0\r\n";
        const QByteArray settings = "[mail]\r\nreturn Path=lehrerin@schule.example\r\n";
        write(folder + "/orba.lst", privateList);
        write(folder + "/orbaw.ini", settings);
        const QByteArray newerCatalogue = read(usr("share/orba/orb32.dat")) + "ZZ999|Neu|\r\n";
        write(usr("share/orba/orb32.dat"), newerCatalogue);

        QVERIFY(startUntilRecorded(read(record)));
        QCOMPARE(read(folder + "/orb32.dat"), newerCatalogue);
        QCOMPARE(read(folder + "/orba.lst"), privateList);
        QCOMPARE(read(folder + "/orbaw.ini"), settings);
    }

    // The package holds exactly what the install holds, and its dependencies come from the
    // libraries the programs link.
    void thePackageHoldsTheInstallAndNamesItsLibraries() {
        const QTemporaryDir out;
        const Run cpack = run(CPACK_COMMAND,
                              {"--config", ORBA_BINARY_DIR "/CPackConfig.cmake", "-B", out.path()});
        QVERIFY2(cpack.exitCode == 0, cpack.output.constData());
        const QStringList packages = QDir(out.path()).entryList({"orba_" ORBA_VERSION "_*.deb"});
        QVERIFY2(packages.size() == 1, cpack.output.constData());
        const QString deb = out.filePath(packages.first());

        const Run contents = run("dpkg-deb", {"--contents", deb});
        QCOMPARE(contents.exitCode, 0);
        QStringList files;
        for (const QByteArray& line : contents.output.split('\n')) {
            if (line.startsWith('-'))
                files << QString::fromUtf8(line.mid(line.lastIndexOf(' ') + 1)).mid(2);
        }
        files.sort();
        QCOMPARE(files, filesUnder(m_destdir.path()));

        const Run fields = run("dpkg-deb", {"--field", deb, "Version", "Depends", "Description"});
        QCOMPARE(fields.exitCode, 0);
        QVERIFY2(fields.output.startsWith("Version: " ORBA_VERSION "\n") &&
                     fields.output.contains("(Demo)"),
                 fields.output.constData());
        for (const char* library : {"libqt6widgets6", "libqt6printsupport6", "libcurl4", "libchm1"})
            QVERIFY2(fields.output.contains(library), fields.output.constData());
        const Run conffiles = run("dpkg-deb", {"--info", deb, "conffiles"});
        QCOMPARE(conffiles.output, (orba::SystemSettings::defaultPath() + "\n").toUtf8());

        if (QStandardPaths::findExecutable("lintian").isEmpty())
            QSKIP("lintian is not installed (scripts/deps.sh installs it)");
        const Run lintian = run("lintian", {deb});
        for (const QByteArray& line : lintian.output.split('\n'))
            QVERIFY2(!line.startsWith("E:") && !line.startsWith("W:"), lintian.output.constData());
    }

    // A data set whose update key is the demo's is refused unless it is built as a demo.
    void theDemoKeyIsRefusedUnlessItIsADemo_data() {
        QTest::addColumn<QString>("demo");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("declared a demo") << "ON" << 0;
        QTest::newRow("an organisation's") << "OFF" << 1;
    }
    void theDemoKeyIsRefusedUnlessItIsADemo() {
        QFETCH(QString, demo);
        QFETCH(int, exitCode);
        const Run check =
            run(CMAKE_COMMAND, {"-DORBA_DATA_SET=" ORBA_SOURCE_DIR "/demo", "-DORBA_DEMO=" + demo,
                                "-P", ORBA_SOURCE_DIR "/cmake/CheckDataSet.cmake"});
        QCOMPARE(check.exitCode, exitCode);
        QCOMPARE(check.output.contains("Demo-Schl"), exitCode != 0);
    }
};

ORBA_TEST_MAIN(TestInstall)
#include "tst_install.moc"
