#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "core/WholeFile.h"
#include "lists/ListGrid.h"
#include "settings/Tbenu.h"
#include "settings/Tbenu_neu.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <cstdio>
#include <pwd.h>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <unistd.h>

using namespace Qt::StringLiterals;
using orba::test::WorkingDir;

namespace {

// What this program does when a test starts it as another user: one action on one file, told on
// standard output.
int childMain(const QString& action, const QString& path) {
    const auto tell = [](const QString& text) { std::puts(qPrintable(text)); };
    try {
        if (action == u"write") {
            orba::textfile::writeLines(path, {u"neu"_s});
            tell(u"geschrieben"_s);
            return 0;
        }
        orba::WholeFile file(path);
        try {
            file.readLines();
        } catch (const orba::OrbaError& e) {
            tell(e.message());
        }
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                file.writeLines({u"neu"_s});
                tell(u"weiter"_s);
            } catch (const orba::OrbaError& e) {
                tell(e.message());
            }
        }
        return 0;
    } catch (const orba::OrbaError& e) {
        tell(e.message());
        return 1;
    }
}

// A folder the unprivileged user "nobody" may enter, with this program copied into it.
struct NobodysFolder {
    QTemporaryDir dir;
    bool usable() const {
        return geteuid() == 0 && getpwnam("nobody") &&
               !QStandardPaths::findExecutable(u"runuser"_s).isEmpty();
    }
    NobodysFolder() {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        QFile::copy(QCoreApplication::applicationFilePath(), dir.filePath(u"kind"_s));
    }
    // Runs `action` on `file` as "nobody"; what the run said.
    QString run(const QString& action, const QString& file) const {
        QProcess child;
        child.start(u"runuser"_s, {u"-u"_s, u"nobody"_s, u"--"_s, dir.filePath(u"kind"_s),
                                   u"--als-kind"_s, action, file});
        child.waitForFinished();
        return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
    }
};

void setMode(const QString& path, QFile::Permissions mode) {
    QFile::setPermissions(path, mode);
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QFile::Permissions kReadOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;

const QByteArray kCatalogue = "TH100|Spiel|||||||||Theaterst\xfc"
                              "cke\r\n"
                              "WB200|Masken bauen|||||||||Werkb\xfc"
                              "cher\r\n";

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    // A protected program folder whose files are writable: the files are written in place.
    void savesWhereOnlyTheFileIsWritable_data() {
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("file writable") << true << u"geschrieben"_s << QByteArray("neu\r\n");
        QTest::newRow("file read-only")
            << false << u"Datei %1 kann nicht erstellt werden"_s << QByteArray("alt\r\n");
    }
    void savesWhereOnlyTheFileIsWritable() {
        QFETCH(bool, fileWritable);
        QFETCH(QString, said);
        QFETCH(QByteArray, content);
        const NobodysFolder folder;
        if (!folder.usable())
            QSKIP("needs root and runuser to write as an unprivileged user");
        const QString sub = folder.dir.filePath(u"programm"_s);
        const QString file = sub + u"/orba.lst"_s;
        QDir().mkdir(sub);
        put(file, "alt\r\n");
        setMode(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                          (fileWritable ? QFile::WriteOther : QFile::Permissions()));
        setMode(sub, kReadOnlyFolder);
        QCOMPARE(folder.run(u"write"_s, file), said.arg(file));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), content);
        QVERIFY(!QFile::exists(sub + u"/orba.lst.tmp"_s));
    }

    // The user may write the list but not read it: it is told once and the file keeps its lines.
    void anUnreadableFileIsNeverWrittenOver() {
        const NobodysFolder folder;
        if (!folder.usable())
            QSKIP("needs root and runuser to read as an unprivileged user");
        const QString file = folder.dir.filePath(u"orba.lst"_s);
        put(file, "A 1|alt|1\r\n");
        const passwd* nobody = getpwnam("nobody");
        QCOMPARE(::chown(qPrintable(file), nobody->pw_uid, nobody->pw_gid), 0);
        setMode(file, QFile::WriteOwner);
        const QStringList said = folder.run(u"whole"_s, file).split(u'\n');
        QCOMPARE(said.size(), 3);
        QCOMPARE(said[0], u"Datei %1 kann nicht geöffnet werden"_s.arg(file));
        QVERIFY2(said[1].contains(u"nicht gespeichert"_s), qPrintable(said[1]));
        QCOMPARE(said[2], u"weiter"_s);
        setMode(file, QFile::ReadOwner);
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("A 1|alt|1\r\n"));
    }

    void noNulIsEverWritten() {
        const WorkingDir dir;
        orba::textfile::writeLines(u"notiz.ntz"_s, {u"Bestellung\0x"_s, QString(u'\0')});
        QCOMPARE(dir.read(u"notiz.ntz"_s), QByteArray("Bestellungx\r\n\r\n"));
    }

    // A folder where a list file belongs cannot be read: the list works in memory for the run,
    // and its first change says once that nothing is saved.
    void aListThatCouldNotBeReadLivesInMemory_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("private list") << u"orba.lst"_s;
        QTest::newRow("user list") << u"benu.dat"_s;
    }
    void aListThatCouldNotBeReadLivesInMemory() {
        QFETCH(QString, file);
        const WorkingDir dir;
        dir.write(u"orb32.dat"_s, kCatalogue);
        QVERIFY(QDir(dir.path()).mkdir(file));
        std::unique_ptr<orba::Session> session;
        {
            const orba::test::MessageWatch startUp;
            session = orba::startUp();
            QVERIFY(startUp.texts().contains(u"Datei %1 kann nicht geöffnet werden"_s.arg(file)));
        }
        orba::TForm1& m = session->mainWindow();
        QTest::mouseClick(m.SpeedButton1, Qt::LeftButton);
        const orba::test::MessageWatch changes;
        int entries = 0;
        for (int row : {1, 2}) {
            if (file == u"orba.lst") {
                m.StringGrid1->selectRow(row);
                m.BitBtn2->click();
                entries = m.StringGrid3->rowCount() - 1;
            } else {
                orba::Tbenu* users = session->forms().benu;
                orba::test::answerNextModal([&](QWidget*) {
                    session->forms().benuNeu->Edit1->setText(u"Name %1"_s.arg(row));
                    session->forms().benuNeu->BitBtn1->click();
                });
                users->BitBtn3->click();
                entries = int(users->entries().size());
            }
        }
        QCOMPARE(entries, 2);
        QCOMPARE(changes.texts().size(), 1);
        QCOMPARE(changes.texts().first(),
                 u"Die Datei %1 konnte beim Start nicht gelesen werden. Damit ihr Inhalt erhalten "
                 "bleibt, werden Änderungen an dieser Liste bis zum Programmende nicht "
                 "gespeichert."_s.arg(file));
        QVERIFY(QFileInfo(dir.file(file)).isDir());
    }
};

int main(int argc, char** argv) {
    if (argc == 4 && QByteArray(argv[1]) == "--als-kind")
        return childMain(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    orba::Application app(argc, argv);
    TestTextFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_textfile.moc"
