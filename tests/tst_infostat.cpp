#include "core/ScreenFit.h"
#include "display/Tinfo.h"
#include "settings/SettingsFile.h"
#include "settings/Tstat.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTreeWidget>

using orba::SettingsFile;
using orba::Tinfo;
using orba::Tstat;
using orba::test::MessageWatch;
using orba::test::WorkingDir;

namespace {

const QByteArray kInfo = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                         "{\\b Aktuelle Informationen}\\par Ausleihe ab 1.\\'c4pril\\par}";

QStringList rowsOf(const Tstat& stat) {
    QStringList rows;
    for (int i = 0; i < stat.ListBox1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = stat.ListBox1->topLevelItem(i);
        rows.append(item->text(0) + '|' + item->text(1));
    }
    return rows;
}

// The information window shown with these settings (none when empty).
struct ShownInfo {
    WorkingDir dir;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<Tinfo> window;

    explicit ShownInfo(const QByteArray& ini) {
        dir.write("info.rtf", kInfo);
        if (!ini.isEmpty())
            dir.write("orbaw.ini", ini);
        settings = std::make_unique<SettingsFile>("orbaw.ini");
        window = std::make_unique<Tinfo>(nullptr, *settings);
        window->show();
    }
    Tinfo* operator->() const { return window.get(); }
};

} // namespace

class TestInfoStat : public QObject {
    Q_OBJECT

private slots:
    void infoGeometry_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QSize>("size");
        const QPoint defaultPos(224, 147);
        const QSize defaultSize(519, 343);
        QTest::newRow("no settings file") << QByteArray() << false << defaultPos << defaultSize;
        QTest::newRow("all keys") << QByteArray(
                                         "[info]\r\nbreite=600\r\nhoehe=420\r\nx=30\r\ny=40\r\n")
                                  << false << QPoint(30, 40) << QSize(600, 420);
        QTest::newRow("vollbild 0") << QByteArray("[info]\r\nvollbild=0\r\nx=31\r\n") << false
                                    << QPoint(31, 147) << defaultSize;
        QTest::newRow("not an integer counts as default")
            << QByteArray("[info]\r\nbreite=breit\r\nhoehe=400\r\nx=\r\ny=12\r\n") << false
            << QPoint(224, 12) << QSize(519, 400);
        QTest::newRow("vollbild other than 0")
            << QByteArray("[info]\r\nvollbild=-3\r\nhoehe=80\r\n") << true << QPoint() << QSize();
    }
    void infoGeometry() {
        QFETCH(QByteArray, ini);
        QFETCH(bool, maximised);
        QFETCH(QPoint, position);
        QFETCH(QSize, size);
        const ShownInfo info(ini);
        QCOMPARE(info->isMaximized(), maximised);
        if (!maximised) {
            QCOMPARE(info->pos(), position);
            QCOMPARE(info->size(), size);
        }
    }

    // Whatever the settings say, the window stays on the screen's free area, whole, its title
    // bar included.
    void infoStaysOnTheScreen_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QRect>("expected");
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const int bar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const QRect screen = available.adjusted(0, 0, 0, -bar);
        QTest::newRow("larger than the screen")
            << QByteArray("[info]\r\nbreite=100000\r\nhoehe=100000\r\nx=0\r\ny=0\r\n") << screen;
        QTest::newRow("right and below every screen")
            << QByteArray("[info]\r\nbreite=300\r\nhoehe=200\r\nx=100000\r\ny=100000\r\n")
            << QRect(screen.right() - 299, screen.bottom() - 199, 300, 200);
        QTest::newRow("left and above every screen")
            << QByteArray("[info]\r\nbreite=300\r\nhoehe=200\r\nx=-5000\r\ny=-5000\r\n")
            << QRect(screen.topLeft(), QSize(300, 200));
        QTest::newRow("beyond the range of a rectangle")
            << QByteArray("[info]\r\nbreite=2147483647\r\nhoehe=2147483647\r\n"
                          "x=2147483647\r\ny=-2147483648\r\n")
            << screen;
    }
    void infoStaysOnTheScreen() {
        QFETCH(QByteArray, ini);
        QFETCH(QRect, expected);
        const ShownInfo info(ini);
        QCOMPARE(QRect(info->pos(), info->size()), expected);
    }

    // 1024x768 at scaling 2: the stored place, larger than the screen, comes onto it with the
    // title bar above.
    void theTitleBarStaysOnASmallScreen() {
        QCOMPARE(orba::fitFramedOnScreen(224, 147, 560, 420, 20, QRect(0, 0, 512, 384)),
                 QRect(0, 0, 512, 364));
    }

    // Closing only hides the window; showing it again puts it back where the settings say.
    void closingHidesAndShowingRestoresThePlace() {
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        dir.write("orbaw.ini", "[info]\r\nbreite=560\r\nhoehe=420\r\nx=224\r\ny=147\r\n");
        SettingsFile settings("orbaw.ini");
        QWidget owner;
        QPointer<Tinfo> info = new Tinfo(&owner, settings);
        info->show();
        info->move(500, 300);
        info->resize(200, 100);
        info->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(info);
        QVERIFY(!info->isVisible());
        QVERIFY(info->isWindow());
        info->show();
        QCOMPARE(info->pos(), QPoint(224, 147));
        QCOMPARE(info->size(), QSize(560, 420));
    }

    // The text is read once, formatted; a later change of the file is not picked up.
    void showsTheFormattedTextReadOnce() {
        WorkingDir dir;
        dir.write("info.rtf", kInfo);
        SettingsFile settings("orbaw.ini");
        Tinfo info(nullptr, settings);
        dir.write("info.rtf", "{\\rtf1 Neu}");
        info.show();
        info.hide();
        info.show();
        QCOMPARE(info.RxRichEdit1->toPlainText(),
                 QString("Aktuelle Informationen\nAusleihe ab 1.Äpril\n"));
        QVERIFY(info.RxRichEdit1->isReadOnly());
        // The window opens at the top of the text, not where reading it ended.
        QCOMPARE(info.RxRichEdit1->textCursor().position(), 0);
        QTextCursor heading(info.RxRichEdit1->document());
        heading.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(heading.charFormat().fontWeight(), int(QFont::Bold));
    }

    void missingInfoFile() {
        WorkingDir dir;
        SettingsFile settings("orbaw.ini");
        MessageWatch boxes;
        Tinfo info(nullptr, settings);
        QCOMPARE(boxes.texts(), QStringList{"Datei info.rtf kann nicht geöffnet werden"});
        QVERIFY(info.RxRichEdit1->toPlainText().isEmpty());
        info.show();
        QCOMPARE(info.pos(), QPoint(224, 147));
    }

    void statRows_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("delivered file")
            << QByteArray("01.12.2026\r\nTheaterst\xfc"
                          "cke\t176\r\nWerkb\xfc"
                          "cher\t97\r\n"
                          "AV-Medien\t47\r\nGesamt\t320\r\n")
            << "01.12.2026"
            << QStringList{"Theaterstücke|176", "Werkbücher|97", "AV-Medien|47", "Gesamt|320"};
        QTest::newRow("single line") << QByteArray("Mai 2026") << "Mai 2026" << QStringList{};
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
        MessageWatch boxes;
        Tstat stat(nullptr);
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(stat.Label2->text(), date);
        QCOMPARE(rowsOf(stat), rows);
        QVERIFY(stat.ListBox1->selectedItems().isEmpty());
    }

    void statFailures_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString cannotOpen = "Datei stat.dat kann nicht geöffnet werden";
        QTest::newRow("missing") << "" << cannotOpen;
        QTest::newRow("unreadable") << "folder" << cannotOpen;
        QTest::newRow("empty") << "file"
                               << "Listenindex außerhalb des zulässigen Bereichs";
    }
    void statFailures() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        WorkingDir dir;
        if (kind == "file")
            dir.write("stat.dat", QByteArray());
        if (kind == "folder")
            QVERIFY(QDir().mkdir("stat.dat"));
        MessageWatch boxes;
        Tstat stat(nullptr);
        QCOMPARE(boxes.texts(), QStringList{message});
        QVERIFY(stat.Label2->text().isEmpty());
        QCOMPARE(stat.ListBox1->topLevelItemCount(), 0);
    }
};

ORBA_TEST_MAIN(TestInfoStat)
#include "tst_infostat.moc"
