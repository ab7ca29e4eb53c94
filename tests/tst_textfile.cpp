#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "lists/ListGrid.h"
#include "settings/Tbenu.h"
#include "settings/Tbenu_neu.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <unistd.h>

using namespace Qt::StringLiterals;
using orba::test::WorkingDir;

namespace {

const QByteArray kCatalogue = "TH100|Spiel|||||||||Theaterst\xfc"
                              "cke\r\n"
                              "WB200|Masken bauen|||||||||Werkb\xfc"
                              "cher\r\n";

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    // A protected program folder whose files are writable: the files are written in place. The
    // write runs as the unprivileged user "nobody", for whom the folder's bits count.
    void savesWhereOnlyTheFileIsWritable_data() {
        QTest::addColumn<bool>("fileWritable");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("file writable") << true << QByteArray("neu\r\n");
        QTest::newRow("file read-only") << false << QByteArray("alt\r\n");
    }
    void savesWhereOnlyTheFileIsWritable() {
        QFETCH(bool, fileWritable);
        QFETCH(QByteArray, content);
        if (geteuid() != 0 || QStandardPaths::findExecutable(u"runuser"_s).isEmpty())
            QSKIP("needs root and runuser to write as an unprivileged user");
        const QTemporaryDir dir;
        const QString folder = dir.filePath(u"programm"_s);
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
        QProcess::execute(u"runuser"_s,
                          {u"-u"_s, u"nobody"_s, u"--"_s, writer, u"--schreibe"_s, file});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), content);
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
    if (argc == 3 && QByteArray(argv[1]) == "--schreibe") {
        try {
            orba::textfile::writeLines(QString::fromLocal8Bit(argv[2]), {u"neu"_s});
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
