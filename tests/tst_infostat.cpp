#include "display/Tinfo.h"
#include "settings/SettingsFile.h"
#include "settings/Tstat.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

using orba::SettingsFile;
using orba::Tinfo;
using orba::Tstat;
using orba::test::WorkingDir;

namespace {

const QByteArray kInfo = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                         "{\\b Aktuelle Informationen}\\par Ausleihe ab 1.\\'c4pril\\par}";

// Answers every message box shown while it lives and keeps their texts.
class MessageBoxes {
public:
    MessageBoxes() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                box->done(0);
            }
        });
        m_timer.start(10);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

QStringList rowsOf(const Tstat& stat) {
    QStringList rows;
    for (int i = 0; i < stat.ListBox1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = stat.ListBox1->topLevelItem(i);
        rows.append(item->text(0) + '|' + item->text(1));
    }
    return rows;
}

} // namespace

class TestInfoStat : public QObject {
    Q_OBJECT

private slots:
    void infoGeometry_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QSize>("size");
        QTest::newRow("no settings file") << QByteArray() << QPoint(224, 147) << QSize(519, 343);
        QTest::newRow("no section info")
            << QByteArray("[Anzeige]\r\nhtmlhelp=1\r\n") << QPoint(224, 147) << QSize(519, 343);
        QTest::newRow("all keys") << QByteArray(
                                         "[info]\r\nbreite=600\r\nhoehe=420\r\nx=30\r\ny=40\r\n")
                                  << QPoint(30, 40) << QSize(600, 420);
        QTest::newRow("vollbild 0")
            << QByteArray("[info]\r\nvollbild=0\r\nx=31\r\n") << QPoint(31, 147) << QSize(519, 343);
        QTest::newRow("not an integer counts as default")
            << QByteArray("[info]\r\nbreite=breit\r\nhoehe=400\r\nx=\r\ny=12\r\n")
            << QPoint(224, 12) << QSize(519, 400);
    }
    void infoGeometry() {
        QFETCH(QByteArray, ini);
        QFETCH(QPoint, position);
        QFETCH(QSize, size);
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        if (!ini.isEmpty())
            dir.write("orbaw.ini", ini);
        SettingsFile settings("orbaw.ini");
        Tinfo info(nullptr, settings);
        info.show();
        QVERIFY(!info.isMaximized());
        QCOMPARE(info.pos(), position);
        QCOMPARE(info.size(), size);
    }

    void vollbildMaximises_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("1") << QByteArray("1");
        QTest::newRow("any other than 0") << QByteArray("-3");
    }
    void vollbildMaximises() {
        QFETCH(QByteArray, value);
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        dir.write("orbaw.ini", "[info]\r\nvollbild=" + value + "\r\nbreite=100\r\nhoehe=80\r\n");
        SettingsFile settings("orbaw.ini");
        Tinfo info(nullptr, settings);
        info.show();
        QVERIFY(info.isMaximized());
    }

    void showingAgainRestoresThePlace() {
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        dir.write("orbaw.ini", "[info]\r\nbreite=560\r\nhoehe=420\r\nx=224\r\ny=147\r\n");
        SettingsFile settings("orbaw.ini");
        Tinfo info(nullptr, settings);
        info.show();
        info.move(500, 300);
        info.resize(200, 100);
        info.close();
        info.show();
        QCOMPARE(info.pos(), QPoint(224, 147));
        QCOMPARE(info.size(), QSize(560, 420));
    }

    void closingOnlyHides() {
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        SettingsFile settings("orbaw.ini");
        QWidget owner;
        QPointer<Tinfo> info = new Tinfo(&owner, settings);
        info->show();
        info->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(info);
        QVERIFY(!info->isVisible());
        QVERIFY(info->isWindow());
    }

    void showsTheFormattedText() {
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        SettingsFile settings("orbaw.ini");
        Tinfo info(nullptr, settings);
        QCOMPARE(info.RxRichEdit1->toPlainText(),
                 QString("Aktuelle Informationen\nAusleihe ab 1.Äpril\n"));
        QVERIFY(info.RxRichEdit1->isReadOnly());
        QTextCursor heading(info.RxRichEdit1->document());
        heading.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(heading.charFormat().fontWeight(), int(QFont::Bold));
    }

    void textIsReadOnlyOnce() {
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        SettingsFile settings("orbaw.ini");
        Tinfo info(nullptr, settings);
        dir.write("info.rtf", "{\\rtf1 Neu}");
        info.show();
        info.hide();
        info.show();
        QVERIFY(info.RxRichEdit1->toPlainText().startsWith("Aktuelle Informationen"));
    }

    void missingInfoFile() {
        WorkingDir dir;
        SettingsFile settings("orbaw.ini");
        MessageBoxes boxes;
        Tinfo info(nullptr, settings);
        QCOMPARE(boxes.texts, QStringList{"Datei info.rtf kann nicht geöffnet werden"});
        QVERIFY(info.RxRichEdit1->toPlainText().isEmpty());
        info.show();
        QCOMPARE(info.pos(), QPoint(224, 147));
    }

    void statRows_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("delivered file")
            << QByteArray("Stand: 01.12.2026\r\nTheaterst\xfc"
                          "cke\t176\r\nWerkb\xfc"
                          "cher\t97\r\n"
                          "AV-Medien\t47\r\nGesamt\t320\r\n")
            << "Stand: 01.12.2026"
            << QStringList{"Theaterstücke|176", "Werkbücher|97", "AV-Medien|47", "Gesamt|320"};
        QTest::newRow("single line")
            << QByteArray("Stand: Mai 2026") << "Stand: Mai 2026" << QStringList{};
        QTest::newRow("file order kept") << QByteArray("heute\nZeitschriften\t3\nAudio\t9\n")
                                         << "heute" << QStringList{"Zeitschriften|3", "Audio|9"};
        QTest::newRow("row without TAB") << QByteArray("heute\rohne Zahl\rmit\t1\r") << "heute"
                                         << QStringList{"ohne Zahl|", "mit|1"};
        QTest::newRow("first TAB splits")
            << QByteArray("heute\r\na\tb\tc\r\n") << "heute" << QStringList{"a|b\tc"};
        QTest::newRow("empty lines are rows")
            << QByteArray("\r\n\r\nx\t1\r\n") << "" << QStringList{"|", "x|1"};
    }
    void statRows() {
        QFETCH(QByteArray, file);
        QFETCH(QString, date);
        QFETCH(QStringList, rows);
        WorkingDir dir;
        dir.write("stat.dat", file);
        MessageBoxes boxes;
        Tstat stat(nullptr);
        QVERIFY(boxes.texts.isEmpty());
        QCOMPARE(stat.Label2->text(), date);
        QCOMPARE(rowsOf(stat), rows);
        QVERIFY(stat.ListBox1->selectedItems().isEmpty());
    }

    void statFailures_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << false << "Datei stat.dat kann nicht geöffnet werden";
        QTest::newRow("empty") << true << "Listenindex außerhalb des zulässigen Bereichs";
    }
    void statFailures() {
        QFETCH(bool, present);
        QFETCH(QString, message);
        WorkingDir dir;
        if (present)
            dir.write("stat.dat", QByteArray());
        MessageBoxes boxes;
        Tstat stat(nullptr);
        QCOMPARE(boxes.texts, QStringList{message});
        QVERIFY(stat.Label2->text().isEmpty());
        QCOMPARE(stat.ListBox1->topLevelItemCount(), 0);
    }

    void unreadableStatFile() {
        WorkingDir dir;
        QVERIFY(QDir().mkdir("stat.dat"));
        MessageBoxes boxes;
        Tstat stat(nullptr);
        QCOMPARE(boxes.texts, QStringList{"Datei stat.dat kann nicht geöffnet werden"});
        QCOMPARE(stat.ListBox1->topLevelItemCount(), 0);
    }

    void abbrechenCloses() {
        WorkingDir dir;
        dir.write("stat.dat", "heute\r\n");
        Tstat stat(nullptr);
        stat.show();
        stat.BitBtn1->click();
        QVERIFY(!stat.isVisible());
        QCOMPARE(stat.result(), int(QDialog::Rejected));
    }
};

ORBA_TEST_MAIN(TestInfoStat)
#include "tst_infostat.moc"
