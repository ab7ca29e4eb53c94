// The command line, answered on a console without a display as well: help and version, German
// refusals of what the program does not take, and the hint of a plain start towards the
// installed data set.
#include "app/CommandLine.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QProcess>

using orba::test::WorkingDir;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void answeredWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown option")
            << QStringList{"--unsinn"} << 1 << "Unbekannte Option \"--unsinn\".";
        QTest::newRow("unknown letter") << QStringList{"-x"} << 1 << "Unbekannte Option \"-x\".";
        QTest::newRow("a value for a switch")
            << QStringList{"--benutzerdaten=ja"} << 1 << "\"--benutzerdaten\" nimmt keinen Wert";
        QTest::newRow("a file") << QStringList{"datei.txt"} << 1
                                << "Unerwartetes Argument \"datei.txt\"";
        QTest::newRow("-?") << QStringList{"-?"} << 0 << "--benutzerdaten";
        QTest::newRow("--help-all") << QStringList{"--help-all"} << 0 << "--benutzerdaten";
        QTest::newRow("Qt's own options pass")
            << QStringList{"-platform", "offscreen", "--version"} << 0 << "ORBA 4.0";
    }
    void answeredWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, text);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess orba;
        orba.setProcessEnvironment(environment);
        orba.start(ORBA_BINARY_DIR "/bin/orba", arguments);
        QVERIFY(orba.waitForFinished());
        const QString output = QString::fromUtf8(orba.readAll() + orba.readAllStandardError());
        QCOMPARE(orba.exitStatus(), QProcess::NormalExit);
        QCOMPARE(orba.exitCode(), exitCode);
        QVERIFY2(output.contains(text) && !output.contains("Displays"), qPrintable(output));
    }

    void aPlainStartWithoutCatalogueHintsAtTheInstalledOne_data() {
        QTest::addColumn<bool>("here");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("hint");
        QTest::newRow("installed, none here") << false << true << true;
        QTest::newRow("one here") << true << true << false;
        QTest::newRow("none installed") << false << false << false;
    }
    void aPlainStartWithoutCatalogueHintsAtTheInstalledOne() {
        QFETCH(bool, here);
        QFETCH(bool, installed);
        QFETCH(bool, hint);
        const WorkingDir dir;
        QDir().mkpath(dir.file("here"));
        QDir().mkpath(dir.file("share"));
        if (here)
            dir.write("here/orb32.dat", "AB1|Titel\r\n");
        if (installed)
            dir.write("share/orb32.dat", "AB1|Titel\r\n");
        const QString text = orba::installedDataHint(dir.file("here"), dir.file("share"));
        QCOMPARE(text.contains("orba --benutzerdaten"), hint);
    }
};

ORBA_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
