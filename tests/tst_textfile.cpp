#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "core/WholeFile.h"
#include "display/NoteFile.h"
#include "lists/ListGrid.h"
#include "lists/PrivateListFile.h"
#include "settings/SettingsFile.h"
#include "settings/Tbenu.h"
#include "settings/Tbenu_neu.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QToolButton>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using orba::test::WorkingDir;

namespace {

const QByteArray kCatalogue = "TH100|Spiel|||||||||Theaterst\xfc"
                              "cke\r\n"
                              "WB200|Masken bauen|||||||||Werkb\xfc"
                              "cher\r\n";

// A tmpfs of 64 KB in the test's own mount namespace, filled to the brim by fill().
struct SmallDisk {
    QTemporaryDir dir;
    const bool mounted =
        mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=64k") == 0;
    ~SmallDisk() {
        if (mounted)
            umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    void fill() const {
        QFile filler(dir.filePath(u"fuellung"_s));
        if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'x')) == 4096) {
            }
    }
};

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

    bool m_ownMounts = false;

private slots:
    void initTestCase() {
        m_ownMounts = unshare(CLONE_NEWNS) == 0 &&
                      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }

    // A save on a full disk (or over a quota) says so and leaves the old file byte for byte.
    void aFullDiskLeavesEveryFileWhole_data() {
        QTest::addColumn<QString>("file");
        for (const char* file : {"orba.lst", "TH100.ntz", "benu.dat", "orbaw.ini"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }
    void aFullDiskLeavesEveryFileWhole() {
        QFETCH(QString, file);
        const SmallDisk disk;
        if (!m_ownMounts || !disk.mounted)
            QSKIP("no right to mount a small file system");
        const QString previous = QDir::currentPath();
        QDir::setCurrent(disk.dir.path());
        const QByteArray old = "TH 100|Spiel|0\r\n";
        orba::test::writeFile(file, old);
        orba::WholeFile list(file);
        orba::NoteFile note(u"TH100"_s);
        orba::SettingsFile settings(file, u".\\orbaw.ini"_s);
        list.readLines();
        note.read();
        disk.fill();
        const QString more(3000, u'x');
        QString error;
        try {
            if (file == u"orba.lst")
                orba::savePrivateList(list, {{u"TH 100"_s, more, 0}});
            else if (file == u"benu.dat")
                list.writeLines({u"Anna\t"_s, more});
            else if (file == u"orbaw.ini")
                settings.writeString(u"mail"_s, u"betreff"_s, more);
            else
                note.save({more});
        } catch (const orba::OrbaError& e) {
            error = e.message();
        }
        QDir::setCurrent(previous);
        QCOMPARE(error, file == u"orbaw.ini" ? u"Nach .\\orbaw.ini kann nicht geschrieben werden"_s
                                             : u"Datei %1 kann nicht erstellt werden"_s.arg(file));
        QCOMPARE(orba::test::readFile(disk.dir.filePath(file)), old);
        QCOMPARE(QDir(disk.dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Size),
                 (QStringList{u"fuellung"_s, file}));
    }

    // A protected program folder whose files are writable: the files are written in place, once
    // the room for the new content is sure. The write runs as the unprivileged user "nobody", for
    // whom the folder's bits count.
    void savesWhereOnlyTheFileIsWritable_data() {
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("file writable") << true << false << QByteArray("neu\r\n");
        QTest::newRow("file read-only") << false << false << QByteArray("alt\r\n");
        QTest::newRow("disk full") << true << true << QByteArray("alt\r\n");
    }
    void savesWhereOnlyTheFileIsWritable() {
        QFETCH(bool, fileWritable);
        QFETCH(bool, diskFull);
        QFETCH(QByteArray, content);
        if (geteuid() != 0 || QStandardPaths::findExecutable(u"runuser"_s).isEmpty())
            QSKIP("needs root and runuser to write as an unprivileged user");
        const SmallDisk disk;
        if (diskFull && (!m_ownMounts || !disk.mounted))
            QSKIP("no right to mount a small file system");
        const QTemporaryDir dir;
        const QString folder = (diskFull ? disk.dir : dir).filePath(u"programm"_s);
        const QString file = folder + u"/orba.lst"_s;
        const QString writer = dir.filePath(u"schreiber"_s);
        QVERIFY(QDir().mkdir(folder) &&
                QFile::copy(QCoreApplication::applicationFilePath(), writer));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("alt\r\n") == 5);
        old.close();
        const auto all = QFile::ReadOwner | QFile::ReadOther;
        QFile::setPermissions(dir.path(),
                              all | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
        QFile::setPermissions(folder, all | QFile::ExeOwner | QFile::ExeOther);
        QFile::setPermissions(file, fileWritable ? all | QFile::WriteOther : all);
        if (diskFull)
            disk.fill();
        QProcess::execute(u"runuser"_s, {u"-u"_s, u"nobody"_s, u"--"_s, writer, u"--schreibe"_s,
                                         file, diskFull ? u"x"_s.repeated(20000) : u"neu"_s});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), content);
    }

    // A list file saved by another editor is read whole, or not at all and then never written
    // over; one that was read is written back as cp1252.
    void aListIsReadWholeOrLeftAlone_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString text = u"Anna\tJürgen\r\n"_s;
        const auto utf16 = [](QStringConverter::Encoding encoding, const QString& text) {
            return QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom)(text));
        };
        const QString damaged = u"Die Datei benu.dat ist beschädigt und wird nicht gelesen."_s;
        QTest::newRow("UTF-8 mark") << "\xEF\xBB\xBF" + text.toUtf8() << QString();
        QTest::newRow("UTF-16 LE") << utf16(QStringConverter::Utf16LE, text) << QString();
        QTest::newRow("UTF-16 BE") << utf16(QStringConverter::Utf16BE, text) << QString();
        QTest::newRow("NUL") << QByteArray("Anna\t\0J\xfcrgen\r\n", 14) << damaged;
        QTest::newRow("broken UTF-8") << QByteArray("\xEF\xBB\xBF\xC3\r\n") << damaged;
        QTest::newRow("no cp1252 form")
            << utf16(QStringConverter::Utf16LE, u"Łukasz\r\n"_s)
            << u"Die Datei benu.dat enthält Zeichen, die ORBA nicht speichern kann, und wird nicht "
               "gelesen. In einem Editor mit der Codierung „ANSI“ (Windows-1252) gespeichert, "
               "kann ORBA sie lesen."_s;
    }
    void aListIsReadWholeOrLeftAlone() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const WorkingDir dir;
        dir.write(u"benu.dat"_s, bytes);
        orba::WholeFile file(u"benu.dat"_s);
        QString error;
        try {
            QCOMPARE(file.readLines(), QStringList{u"Anna\tJürgen"_s});
        } catch (const orba::OrbaError& e) {
            error = e.message();
        }
        QCOMPARE(error, message);
        try {
            file.writeLines({u"Anna\tJürgen"_s, u"Neu"_s});
        } catch (const orba::OrbaError&) {
        }
        QCOMPARE(dir.read(u"benu.dat"_s),
                 message.isEmpty() ? QByteArray("Anna\tJ\xfcrgen\r\nNeu\r\n") : bytes);
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
    // Started by savesWhereOnlyTheFileIsWritable as another user: one write, and no more.
    if (argc == 4 && QByteArray(argv[1]) == "--schreibe") {
        try {
            orba::textfile::writeLines(QString::fromLocal8Bit(argv[2]),
                                       {QString::fromLocal8Bit(argv[3])});
        } catch (const orba::OrbaError&) {
            return 1;
        }
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    orba::Application app(argc, argv);
    TestTextFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_textfile.moc"
