#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/Cp1252.h"
#include "lists/ListGrid.h"
#include "platform/CompiledHelpCheck.h"
#include "platform/HelpViewer.h"
#include "settings/HelpRouter.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using orba::HelpRequest;
using orba::HelpRouter;
using orba::HelpViewer;
using orba::test::WorkingDir;

Q_DECLARE_METATYPE(HelpRequest)

namespace {

HelpRequest topicRequest(const QString& topic) {
    return {HelpRequest::Topic, true, topic, 0, "orbaw.chm::/" + topic};
}

HelpRequest contextRequest(int context, bool html) {
    return {HelpRequest::Context, html, QString(), context, html ? "orbaw.chm" : "orbaw32.hlp"};
}

HelpRequest contentsRequest(bool html) {
    return {HelpRequest::Contents, html, QString(), 0, html ? "orbaw.chm" : "orbaw32.hlp"};
}

QByteArray page(const QByteArray& body) {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
           "charset=windows-1252\"></head><body>" +
           body + "</body></html>";
}

// A picture file of the given size, as a help page would carry it.
QByteArray picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void appendLittleEndian(QByteArray& out, quint64 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// The variable-length number of the compiled help directory: 7 bits a byte, high bit "more".
QByteArray encodedNumber(quint64 value) {
    QByteArray out(1, char(value & 0x7F));
    while (value >>= 7)
        out.prepend(char(0x80 | (value & 0x7F)));
    return out;
}

// An object of a compiled help file. Those of section 1 are compressed: their bytes are not
// stored, only their place in the compressed content is named.
struct HelpObject {
    QByteArray name;
    QByteArray data;
    int section = 0;
};

// A compiled help file: the file header, the directory header, one directory listing block and
// the content.
QByteArray compiledHelp(const QList<HelpObject>& objects) {
    constexpr quint32 blockLength = 4096;
    QByteArray entries;
    QByteArray content;
    for (const auto& [name, data, section] : objects) {
        const bool stored = section == 0;
        entries += encodedNumber(quint64(name.size())) + name + encodedNumber(quint64(section)) +
                   encodedNumber(stored ? quint64(content.size()) : 0) +
                   encodedNumber(quint64(data.size()));
        if (stored)
            content += data;
    }
    // Free space, then no previous and no next block.
    QByteArray listing = "PMGL";
    for (quint32 field :
         {blockLength - 0x14 - quint32(entries.size()), 0u, 0xFFFFFFFFu, 0xFFFFFFFFu})
        appendLittleEndian(listing, field, 4);
    listing += entries;
    listing.resize(blockLength, '\0');

    QByteArray directory = "ITSP";
    for (quint32 field : {1u, 0x54u, 0x0Au, blockLength, 2u, 1u, 0xFFFFFFFFu, 0u, 0xFFFFFFFFu, 1u,
                          0xFFFFFFFFu, 0x409u})
        appendLittleEndian(directory, field, 4);
    directory += QByteArray(32, '\0');

    const quint64 directoryOffset = 0x60;
    const quint64 directoryLength = quint64(directory.size() + listing.size());
    QByteArray header = "ITSF";
    for (quint32 field : {3u, 0x60u, 1u, 0u, 0x407u})
        appendLittleEndian(header, field, 4);
    header += QByteArray(32, '\0');
    for (quint64 field : {quint64(0), quint64(0), directoryOffset, directoryLength,
                          directoryOffset + directoryLength})
        appendLittleEndian(header, field, 8);
    return header + directory + listing + content;
}

// The "#SYSTEM" object naming the page the help opens with.
QByteArray systemObject(const QByteArray& defaultTopic) {
    QByteArray out;
    appendLittleEndian(out, 3, 4);
    appendLittleEndian(out, 9, 2); // a record the viewer does not need
    appendLittleEndian(out, 3, 2);
    out += "abc";
    const QByteArray topic = defaultTopic + '\0';
    appendLittleEndian(out, 2, 2);
    appendLittleEndian(out, quint64(topic.size()), 2);
    return out + topic;
}

// What chmlib reads of the compressed content before any of it: content blocks of the given
// length and an LZX window of the given size in units of 32 KiB.
struct Compression {
    quint64 blockLength = 0x8000;
    quint32 window = 2;
    int resetTableSection = 0;
};

// A compiled help file whose page "html/setup.htm" lies in the compressed content.
QByteArray compressedHelp(const Compression& compression) {
    QByteArray resetTable;
    for (quint64 field : {2, 1, 0x20, 0x28})
        appendLittleEndian(resetTable, field, 4);
    for (quint64 field : {quint64(100), quint64(10), compression.blockLength, quint64(0)})
        appendLittleEndian(resetTable, field, 8);
    QByteArray controlData;
    appendLittleEndian(controlData, 6, 4);
    controlData += "LZXC";
    for (quint64 field : {2u, 2u, compression.window, 1u, 0u})
        appendLittleEndian(controlData, field, 4);
    const QByteArray transform = "::DataSpace/Storage/MSCompressed/";
    return compiledHelp({
        {transform + "Content", QByteArray(10, 'x')},
        {transform + "ControlData", controlData},
        {transform + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable",
         resetTable, compression.resetTableSection},
        {"/html/setup.htm", QByteArray(100, 'y'), 1},
    });
}

QByteArray sampleCompiledHelp() {
    return compiledHelp({
        {"/#SYSTEM", systemObject("html/start.htm")},
        {"/html/start.htm", page("<h1>Startseite der Hilfe</h1>")},
        {"/html/setup.htm", page("<h1>Einstellungen aus der Hilfedatei</h1><p>Gr\xf6\xdf"
                                 "e</p>"
                                 "<p><img src=\"bilder/knopf.png\"></p>")},
        {"/html/bilder/knopf.png", picture(7, 5)},
    });
}

// The picture the page shows under `name`, loaded or already laid out.
QSize pictureSize(QTextBrowser* browser, const QString& name) {
    const QVariant resource =
        browser->document()->resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.userType() == QMetaType::QPixmap)
        return resource.value<QPixmap>().size();
    if (resource.userType() == QMetaType::QImage)
        return resource.value<QImage>().size();
    return QImage::fromData(resource.toByteArray()).size();
}

QString shownText(HelpRouter& router) {
    return router.viewer()->HelpBrowser->toPlainText();
}

bool viewerShown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<HelpViewer*>(w) && w->isVisible())
            return true;
    }
    return false;
}

// A window carrying a help context, with a line edit that has the focus.
struct ContextWindow {
    QDialog window;
    QLineEdit* edit = new QLineEdit(&window);
    explicit ContextWindow(QVariant context) {
        if (context.isValid())
            window.setProperty("helpContext", context);
        (new QVBoxLayout(&window))->addWidget(edit);
        window.show();
        window.activateWindow();
        edit->setFocus();
        QApplication::processEvents();
    }
};

// What a window shows as captions, without the access keys' "&": its title, labels, buttons,
// tabs, list entries and headings, menu entries.
QStringList captionsOf(QWidget* window) {
    QStringList texts = {window->windowTitle()};
    const auto all = [&texts](int count, const std::function<QString(int)>& text) {
        for (int i = 0; i < count; ++i)
            texts << text(i);
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (const auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        else if (const auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (const auto* tabs = qobject_cast<QTabBar*>(w))
            all(tabs->count(), [tabs](int i) { return tabs->tabText(i); });
        else if (const auto* list = qobject_cast<QComboBox*>(w))
            all(list->count(), [list](int i) { return list->itemText(i); });
        else if (const auto* grid = qobject_cast<orba::ListGrid*>(w))
            all(grid->columnCount(), [grid](int i) { return grid->cell(i, 0); });
        else if (const auto* tree = qobject_cast<QTreeWidget*>(w))
            all(tree->columnCount(), [tree](int i) { return tree->headerItem()->text(i); });
        else if (const auto* items = qobject_cast<QListWidget*>(w))
            all(items->count(), [items](int i) { return items->item(i)->text(); });
    }
    for (const QAction* action : window->findChildren<QAction*>())
        if (action->isVisible())
            texts << action->text();
    for (QString& text : texts)
        text = text.remove(u'&').simplified();
    return texts;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<WorkingDir>(); }
    void cleanup() { m_dir.reset(); }

    // The dialogs' help buttons and the contents button; either mode's request shows its page.
    void helpButtons_data() {
        QTest::addColumn<bool>("html");
        QTest::newRow("HTML help") << true;
        QTest::newRow("classic help") << false;
    }
    void helpButtons() {
        QFETCH(bool, html);
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("html/setup.htm", page("Einstellungen"));
        m_dir->write("html/index.htm", page("Inhalt"));
        HelpRouter router(nullptr, [html] { return html; });
        router.dialogHelp("html/setup.htm", 518);
        QVERIFY(viewerShown());
        QCOMPARE(shownText(router), QString("Einstellungen"));
        router.closeHelp();
        QVERIFY(!viewerShown());
        router.contentsHelp();
        QVERIFY(viewerShown());
        QCOMPARE(shownText(router), QString("Inhalt"));
        const QList<HelpRequest> expected = {html ? topicRequest("html/setup.htm")
                                                  : contextRequest(518, false),
                                             contentsRequest(html)};
        QCOMPARE(router.requests(), expected);
    }

    void modeIsAskedAtEveryRequest() {
        bool html = true;
        HelpRouter router(nullptr, [&html] { return html; });
        router.dialogHelp("html/benu.htm", 504);
        html = false;
        router.dialogHelp("html/benu.htm", 504);
        const QList<HelpRequest> expected = {topicRequest("html/benu.htm"),
                                             contextRequest(504, false)};
        QCOMPARE(router.requests(), expected);
    }

    void topicExtension_data() {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("page");
        QTest::newRow("case ignored") << "html/Setup.HTM"
                                      << "html/Setup.HTM";
        QTest::newRow("html kept") << "html/setup.html"
                                   << "html/setup.html";
        QTest::newRow("no extension") << "html/setup"
                                      << "html/setup.htm";
        QTest::newRow("other extension") << "html/liste.txt"
                                         << "html/liste.txt.htm";
        QTest::newRow("dot only in the folder") << "html.neu/setup"
                                                << "html.neu/setup.htm";
        QTest::newRow("extension merely containing htm") << "html/a.xhtm"
                                                         << "html/a.xhtm.htm";
    }
    void topicExtension() {
        QFETCH(QString, topic);
        QFETCH(QString, page);
        HelpRouter router(nullptr, [] { return true; });
        router.showTopic(topic);
        QCOMPARE(router.requests(), QList<HelpRequest>{topicRequest(page)});
    }

    // F1 asks the HTML help in either mode and wins over a shortcut on the same key.
    void f1AsksHtmlHelp_data() {
        QTest::addColumn<bool>("html");
        QTest::newRow("HTML mode") << true;
        QTest::newRow("classic mode") << false;
    }
    void f1AsksHtmlHelp() {
        QFETCH(bool, html);
        HelpRouter router(nullptr, [html] { return html; });
        ContextWindow keywords(100);
        auto* action = new QAction(&keywords.window);
        action->setShortcut(Qt::Key_F1);
        keywords.window.addAction(action);
        bool triggered = false;
        connect(action, &QAction::triggered, [&triggered] { triggered = true; });
        QTest::keyClick(keywords.edit, Qt::Key_F1);
        QVERIFY(!triggered);
        QCOMPARE(router.requests(), QList<HelpRequest>{contextRequest(100, true)});
    }

    void f1WithoutHelpContext_data() {
        QTest::addColumn<QVariant>("context");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("no context") << QVariant() << int(Qt::NoModifier);
        QTest::newRow("context 0") << QVariant(0) << int(Qt::NoModifier);
        QTest::newRow("shift F1") << QVariant(100) << int(Qt::ShiftModifier);
    }
    void f1WithoutHelpContext() {
        QFETCH(QVariant, context);
        QFETCH(int, modifiers);
        HelpRouter router(nullptr, [] { return true; });
        ContextWindow window(context);
        QTest::keyClick(window.edit, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
        QVERIFY(router.requests().isEmpty());
    }

    void contextPagesFromTheFolder() {
        QVERIFY(QDir().mkdir("html"));
        const QList<std::pair<int, QString>> pages = {{100, "schlag"}, {504, "benu"},
                                                      {508, "email"},  {510, "erwsuch"},
                                                      {512, "notiz"},  {518, "setup"}};
        for (const auto& [context, file] : pages)
            m_dir->write("html/" + file + ".htm", page("Seite " + file.toLatin1()));
        HelpRouter router(nullptr, [] { return false; });
        for (const auto& [context, file] : pages) {
            router.showContext(context, true);
            QCOMPARE(shownText(router), "Seite " + file);
        }
    }

    void pageFromTheFolder() {
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("html/setup.htm", page("<h1>Einstellungen</h1><p>\xdc"
                                            "berschrift</p><p><img src=\"knopf.png\"></p>"));
        m_dir->write("html/knopf.png", picture(9, 4));
        HelpRouter router(nullptr, [] { return true; });
        router.dialogHelp("html/setup.htm", 518);
        QTextBrowser* browser = router.viewer()->HelpBrowser;
        QVERIFY(router.viewer()->isVisible());
        QCOMPARE(router.viewer()->windowTitle(), QString("ORBA-Hilfe"));
        QCOMPARE(browser->toPlainText().split('\n').mid(0, 2),
                 QStringList({"Einstellungen", "Überschrift"}));
        QCOMPARE(pictureSize(browser, "knopf.png"), QSize(9, 4));
    }

    void relativeLinkStaysInTheHelp() {
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("html/index.htm", page("<a href=\"benu.htm\">Benutzer</a>"));
        m_dir->write("html/benu.htm", page("Benutzerliste"));
        m_dir->write("benu.htm", page("falsche Seite"));
        HelpRouter router(nullptr, [] { return true; });
        router.contentsHelp();
        QTextBrowser* browser = router.viewer()->HelpBrowser;
        QCOMPARE(browser->toPlainText(), QString("Benutzer"));
        browser->setSource(QUrl("benu.htm")); // as a click on the link does
        QCOMPARE(browser->toPlainText(), QString("Benutzerliste"));
    }

    void contentsPage_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("shown");
        QTest::newRow("html/index.htm first")
            << QStringList{"html/index.htm", "index.htm", "default.htm"} << "html/index.htm";
        QTest::newRow("index.htm") << QStringList{"index.htm", "default.htm"} << "index.htm";
        QTest::newRow("default.htm") << QStringList{"default.htm"} << "default.htm";
        QTest::newRow("none") << QStringList{}
                              << "ORBA-Hilfe\nDie Hilfeseite html/index.htm ist nicht vorhanden.";
    }
    void contentsPage() {
        QFETCH(QStringList, files);
        QFETCH(QString, shown);
        QVERIFY(QDir().mkdir("html"));
        for (const QString& file : files)
            m_dir->write(file, page(file.toLatin1()));
        HelpRouter router(nullptr, [] { return true; });
        router.contentsHelp();
        QCOMPARE(shownText(router), shown);
    }

    void pathOutsideTheHelpIsMissing() {
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("geheim.htm", page("geheim"));
        HelpRouter router(nullptr, [] { return true; });
        router.showTopic("../" + QDir(m_dir->path()).dirName() + "/geheim.htm");
        QVERIFY(shownText(router).contains("ist nicht vorhanden"));
    }

    void unknownContext_data() {
        QTest::addColumn<bool>("html");
        QTest::newRow("HTML help") << true;
        QTest::newRow("classic help") << false;
    }
    void unknownContext() {
        QFETCH(bool, html);
        HelpRouter router(nullptr, [] { return true; });
        router.showContext(999, html);
        QVERIFY(viewerShown());
        QCOMPARE(shownText(router),
                 QString("ORBA-Hilfe\nZur Hilfenummer 999 ist keine Hilfeseite vorhanden."));
    }

    // The compiled help wins over loose pages; its contents page is the one it names.
    void compiledHelp() {
        m_dir->write("orbaw.chm", sampleCompiledHelp());
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("html/setup.htm", page("lose Datei"));
        HelpRouter router(nullptr, [] { return true; });
        router.dialogHelp("html/setup.htm", 518);
        QTextBrowser* browser = router.viewer()->HelpBrowser;
        QCOMPARE(browser->toPlainText().split('\n').mid(0, 2),
                 QStringList({"Einstellungen aus der Hilfedatei", "Größe"}));
        QCOMPARE(pictureSize(browser, "bilder/knopf.png"), QSize(7, 5));
        router.contentsHelp();
        QCOMPARE(shownText(router), QString("Startseite der Hilfe"));
    }

    void damagedCompiledHelp_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        QRandomGenerator random(815);
        QByteArray noise(20000, Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        const QByteArray sample = sampleCompiledHelp();
        const QString unreadable = "Die Hilfedatei orbaw.chm kann nicht gelesen werden.";
        const QString missing = "Die Hilfeseite html/setup.htm ist nicht vorhanden.";
        QTest::newRow("empty file") << QByteArray() << unreadable;
        QTest::newRow("header signature, then noise") << QByteArray("ITSF") + noise << unreadable;
        QTest::newRow("headers without directory") << sample.left(0x60 + 0x54) << missing;
        QTest::newRow("cut in the directory") << sample.left(0x60 + 0x54 + 100) << missing;
        // Sizes that chmlib would allocate before it finds anything wrong.
        QByteArray hugeBlocks = sample;
        hugeBlocks.replace(0x60 + 16, 4, QByteArray("\xf0\xff\xff\xff", 4));
        QTest::newRow("directory blocks of 4 GiB") << hugeBlocks << missing;
        QTest::newRow("compressed blocks of 2 GiB")
            << compressedHelp({.blockLength = 0x80000000}) << missing;
        // chmlib divided by zero here: it takes any section but the stored one for compressed.
        QTest::newRow("reset table in an unknown section")
            << compressedHelp({.resetTableSection = 47}) << missing;
    }
    void damagedCompiledHelp() {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        m_dir->write("orbaw.chm", file);
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("html/setup.htm", page("lose Datei"));
        HelpRouter router(nullptr, [] { return true; });
        router.dialogHelp("html/setup.htm", 518);
        QCOMPARE(shownText(router), "ORBA-Hilfe\n" + message);
    }

    // What chmlib would allocate, divide by or follow for ever is checked before it reads a file.
    void damagedHelpIsCheckedBeforeChmlib_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("safe");
        const QByteArray sample = sampleCompiledHelp();
        constexpr qsizetype directory = 0x60;
        constexpr qsizetype listing = directory + 0x54;
        QTest::newRow("help file") << sample << true;
        QTest::newRow("compressed content") << compressedHelp({}) << true;
        QTest::newRow("no help file at all") << QByteArray("kein Hilfetext") << true;
        QByteArray hugeBlocks = sample;
        hugeBlocks.replace(directory + 16, 4, QByteArray("\x01\0\x10\0", 4));
        QTest::newRow("directory blocks beyond 1 MiB") << hugeBlocks << false;
        QTest::newRow("compressed blocks beyond 1 MiB")
            << compressedHelp({.blockLength = 0x100001}) << false;
        QTest::newRow("no window") << compressedHelp({.window = 0}) << false;
        QTest::newRow("reset table in an unknown section")
            << compressedHelp({.resetTableSection = 47}) << false;
        QByteArray overfull = sample;
        overfull.replace(listing + 4, 4, QByteArray("\xff\xff\0\0", 4));
        QTest::newRow("listing with more free room than its block") << overfull << false;
        QByteArray circle = sample;
        circle.replace(directory + 28, 4, QByteArray(4, '\0'));
        QByteArray index = "PMGI";
        appendLittleEndian(index, 4096 - 8 - 3, 4);
        circle.replace(listing, index.size() + 3, index + QByteArray("\x01a\0", 3));
        QTest::newRow("index leading to itself") << circle << false;
    }
    void damagedHelpIsCheckedBeforeChmlib() {
        QFETCH(QByteArray, file);
        QFETCH(bool, safe);
        m_dir->write("orbaw.chm", file);
        QCOMPARE(orba::compiledhelp::safeToOpen("orbaw.chm"), safe);
    }

    void truncatedContentOfCompiledHelp() {
        const QByteArray sample = sampleCompiledHelp();
        m_dir->write("orbaw.chm", sample.left(sample.size() - 100));
        HelpRouter router(nullptr, [] { return true; });
        router.showTopic("html/bilder/knopf.png");
        QVERIFY(shownText(router).contains("ist nicht vorhanden"));
    }

    void helpInstalledMeanwhileIsSeen() {
        HelpRouter router(nullptr, [] { return true; });
        router.showTopic("html/setup.htm");
        QVERIFY(shownText(router).contains("ist nicht vorhanden"));
        m_dir->write("orbaw.chm", sampleCompiledHelp());
        router.showTopic("html/setup.htm");
        QVERIFY(shownText(router).startsWith("Einstellungen aus der Hilfedatei"));
    }

    void f1InAModalDialogGivesAUsableHelpWindow() {
        QVERIFY(QDir().mkdir("html"));
        m_dir->write("html/index.htm", page("Inhaltsseite"));
        m_dir->write("html/schlag.htm", page("Schlagwortseite"));
        QWidget mainWindow;
        mainWindow.show();
        HelpRouter router(&mainWindow, [] { return true; });
        ContextWindow keywords(100);
        keywords.window.hide();
        QString shownAfterClick;
        QTimer::singleShot(0, [&] {
            QTest::keyClick(keywords.edit, Qt::Key_F1);
            HelpViewer* viewer = router.viewer();
            QVERIFY(viewer->isVisible());
            for (QToolButton* button : viewer->findChildren<QToolButton*>()) {
                // Through the window system, which drops input to windows a modal one blocks.
                if (button->text() == "Inhalt")
                    QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                                      button->mapTo(viewer, button->rect().center()));
            }
            shownAfterClick = viewer->HelpBrowser->toPlainText();
            keywords.window.reject();
        });
        keywords.window.exec();
        QCOMPARE(shownAfterClick, QString("Inhaltsseite"));
        router.contentsHelp();
        QVERIFY(router.viewer()->isVisible());
    }

    // The handbook and the program agree: F1 and the help button in every window open an
    // existing page of the demo's help, the same in either help mode, and every caption a page
    // names in quotes is one its window shows, or the main window, from where all are reached.
    void handbookMatchesTheProgram() {
        const QString demo = QStringLiteral(ORBA_SOURCE_DIR "/demo/");
        for (const QString& file : orba::test::filesUnder(demo)) {
            QDir().mkpath(QFileInfo(file).path());
            QVERIFY(QFile::copy(demo + file, file));
        }
        std::unique_ptr<orba::Session> session;
        {
            const orba::test::MessageWatch startUp;
            session = orba::startUp();
        }
        orba::TForm1& main = session->mainWindow();
        HelpRouter& help = main.help();
        QStringList faults;
        QMap<QString, QStringList> captions; // of the windows whose page it is
        QStringList mainCaptions;
        const auto pageAfter = [&](const QString& where, const std::function<void()>& ask) {
            QList<QUrl> shown;
            for (int html : {1, 0}) {
                main.setHtmlHelpMode(html);
                const qsizetype asked = help.requests().size();
                ask();
                shown << (help.requests().size() > asked ? help.viewer()->HelpBrowser->source()
                                                         : QUrl());
            }
            const QString page = shown[0].path().mid(1);
            const QByteArray anchor = "name=\"" + shown[0].fragment().toLatin1() + '"';
            if (page.isEmpty() || !QFile::exists(demo + page) ||
                shown[1].path() != shown[0].path() ||
                (shown[0].hasFragment() && !orba::test::readFile(demo + page).contains(anchor)))
                faults << where + ": " + shown[0].toString() + " | " + shown[1].toString();
            return page;
        };
        const auto visit = [&](QWidget* window) {
            const QString name = window->objectName();
            if (name == "Tlog") // made at start-up, never shown
                return;
            // Shown, so that its tab pages are.
            const bool shown = window->isVisible();
            window->show();
            const QList<QWidget*> places =
                window == &main ? QList<QWidget*>{main.Edit1, main.PageControl1->currentWidget()}
                                : QList<QWidget*>{window};
            QString page;
            for (QWidget* place : places) {
                page = pageAfter(name + " F1", [place] { QTest::keyClick(place, Qt::Key_F1); });
                captions[page] += captionsOf(window);
                if (window == &main)
                    mainCaptions += captionsOf(window);
            }
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
                if (window != &main && button->text().remove(u'&') == "Hilfe" &&
                    pageAfter(name + " Hilfe", [button] { button->click(); }) != page)
                    faults << name + ": Hilfe zeigt nicht die Seite von F1";
            }
            window->setVisible(shown);
        };
        orba::test::forEachWindowState(main, visit);
        orba::test::answerNextModal([&](QWidget* about) {
            visit(about);
            about->close();
        });
        main.Infober1->trigger();

        // Shown only while a search runs, in place of "Start".
        const QStringList exceptions = {"Stop"};
        static const QRegularExpression quoted(QStringLiteral("„([^“]*)“"));
        static const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
        for (const QString& file : QDir(demo + "html").entryList({"*.htm"})) {
            const QString page = "html/" + file;
            const QString source = orba::cp1252::decode(orba::test::readFile(demo + page));
            QTextDocument text;
            text.setHtml(source);
            if (!captions.contains(page))
                faults << page + ": zu keinem Fenster";
            for (const auto& match : quoted.globalMatch(text.toPlainText())) {
                const QString caption = match.captured(1).simplified();
                if (!(captions[page] + mainCaptions + exceptions).contains(caption))
                    faults << page + ": " + match.captured(0);
            }
            for (const auto& match : picture.globalMatch(source)) {
                if (!QFile::exists(demo + "html/" + match.captured(1)))
                    faults << page + ": " + match.captured(1);
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

private:
    std::unique_ptr<WorkingDir> m_dir;
};

ORBA_TEST_MAIN(TestHelp)
#include "tst_help.moc"
