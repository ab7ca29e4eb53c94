#include "app/Startup.h"
#include "app/TForm1.h"
#include "display/Tview.h"
#include "lists/ListGrid.h"
#include "output/Temail.h"
#include "settings/HelpRouter.h"
#include "settings/SettingsFile.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace orba;

namespace {

const QByteArray kCatalogue = "AV001234567|Masken bauen||||||||||||Anna Berg|||\r\n"
                              "WB2|Licht und Ton||||||||||||Bernd Carl|||\r\n";
const QByteArray kTitleAndAuthor = "[Anzeige]\r\nCount=2\r\nItem0=6,1\r\nItem1=13,1\r\n";

struct Program {
    test::WorkingDir dir;
    std::unique_ptr<Session> session;
    TForm1& start(const QByteArray& settings = kTitleAndAuthor) {
        dir.write("orb32.dat", kCatalogue);
        dir.write("orba.lst", "WB 2|Licht und Ton|1\r\n");
        if (!settings.isNull())
            dir.write("orbaw.ini", settings);
        const test::MessageWatch startUp;
        session = orba::startUp();
        return session->mainWindow();
    }
};

QList<QWidget*> shownIn(QWidget* window) {
    QList<QWidget*> shown;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisibleTo(window) && w->window() == window)
            shown.append(w);
    return shown;
}

QString where(QWidget* w) {
    return w->window()->objectName() + "/" + w->objectName() + " " + w->metaObject()->className();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    // In every window each control says what it is (a combo box that shows its value as its name
    // is labelled) and each button has an access key; no two visible buttons, tabs or labels
    // share one, nor two entries of a menu.
    void controlsAreNamedAndHaveAccessKeys() {
        Program p;
        TForm1& m = p.start();
        QStringList faults;
        const QSet<QAccessible::Role> controls = {
            QAccessible::Button,       QAccessible::CheckBox,    QAccessible::ComboBox,
            QAccessible::EditableText, QAccessible::Table,       QAccessible::List,
            QAccessible::Tree,         QAccessible::PageTabList, QAccessible::ProgressBar};
        test::forEachWindowState(m, [&](QWidget* window) {
            QMap<QKeySequence, QString> keys;
            auto take = [&](const QKeySequence& key, const QString& what) {
                if (!key.isEmpty() && keys.contains(key) && keys[key] != what)
                    faults << where(window) + ": " + key.toString() + " " + keys[key] + ", " + what;
                keys[key] = what;
            };
            for (QWidget* w : shownIn(window)) {
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
                const QString name = a->text(QAccessible::Name);
                if (a->role() == QAccessible::Graphic &&
                    a->text(QAccessible::Description).isEmpty())
                    faults << where(w) + " ohne Beschreibung";
                const bool valueOnly = a->role() == QAccessible::ComboBox &&
                                       name == a->text(QAccessible::Value) &&
                                       a->relations(QAccessible::Label).isEmpty();
                if (!w->focusProxy() &&
                    (controls.contains(a->role()) || (w->focusPolicy() & Qt::TabFocus)) &&
                    (name.isEmpty() || valueOnly))
                    faults << where(w) + " ohne Namen";
                auto* b = qobject_cast<QAbstractButton*>(w);
                // A tab bar's scroll buttons are the tab bar's own.
                if (b && (b->focusPolicy() & Qt::TabFocus) &&
                    !qobject_cast<QTabBar*>(b->parent())) {
                    const QKeySequence key =
                        b->shortcut().isEmpty() ? QKeySequence::mnemonic(b->text()) : b->shortcut();
                    key.isEmpty() ? void(faults << where(w) + " ohne Zugriffstaste")
                                  : take(key, b->text());
                }
                if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
                    take(QKeySequence::mnemonic(label->text()), label->text());
                if (auto* bar = qobject_cast<QTabBar*>(w))
                    for (int tab = 0; tab < bar->count(); ++tab)
                        take(QKeySequence::mnemonic(bar->tabText(tab)), bar->tabText(tab));
                if (auto* bar = qobject_cast<QMenuBar*>(w))
                    for (QAction* menu : bar->actions())
                        take(QKeySequence::mnemonic(menu->text()), menu->text());
            }
            for (QMenu* menu : window->findChildren<QMenu*>()) {
                QSet<QKeySequence> inMenu;
                for (QAction* entry : menu->actions()) {
                    const QKeySequence key = QKeySequence::mnemonic(entry->text());
                    if (entry->isVisible() && !entry->isSeparator() &&
                        (key.isEmpty() || inMenu.contains(key)))
                        faults << where(window) + ": " + entry->text();
                    inMenu.insert(key);
                }
            }
        });
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        for (auto [list, name] : {std::pair{m.StringGrid1, "Trefferliste"},
                                  {m.StringGrid3, "private Liste"},
                                  {m.StringGrid2, "Bestellkorb"}})
            QCOMPARE(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Name), name);
    }

    // The painted detail view gives screen readers the selected medium's text, headings and
    // values in reading order, line by line; the arrow keys move the reading line.
    void detailViewReadsTheSelectedMedium() {
        Program p;
        TForm1& m = p.start();
        QTest::mouseClick(m.SpeedButton1, Qt::LeftButton);
        m.StringGrid1->selectRow(2);
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(m.view1)->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()),
                 QStringLiteral("Titel\nLicht und Ton\nAutor\nBernd Carl"));
        int start = 0, end = 0;
        QCOMPARE(text->textAtOffset(8, QAccessible::LineBoundary, &start, &end),
                 QStringLiteral("Licht und Ton\n"));
        QCOMPARE(text->textAfterOffset(8, QAccessible::LineBoundary, &start, &end),
                 QStringLiteral("Autor\n"));
        m.view1->setFocus();
        QTest::keyClick(m.view1, Qt::Key_Down);
        QCOMPARE(text->cursorPosition(), 6);
    }

    // Tab and Shift+Tab leave each list; Ctrl+Tab and Ctrl+PgDn switch the pages.
    void tabLeavesEachList() {
        Program p;
        TForm1& m = p.start();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        for (auto [page, list] : {std::pair{0, m.StringGrid1},
                                  {1, m.StringGrid3},
                                  {2, m.StringGrid2},
                                  {2, m.StringGrid4}})
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
                m.SelectPage(page);
                list->setFocus();
                QTest::keyClick(list, key);
                QVERIFY2(QApplication::focusWidget() != list, qPrintable(list->objectName()));
            }
        m.SelectPage(0);
        m.StringGrid1->setFocus();
        QTest::keyClick(m.StringGrid1, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(m.currentPage(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(m.currentPage(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m.currentPage(), 1);
    }

    // Enter acts on the focused "Start", "Medienart", private-list row and "Mail senden"; F1
    // asks for the help of the window in which it is pressed.
    void keysActWhereTheFocusIs() {
        Program p;
        TForm1& m = p.start();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        for (QWidget* control : QList<QWidget*>{m.SpeedButton1, m.ComboBox1}) {
            m.StringGrid1->clearRows();
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
            QVERIFY2(m.StringGrid1->hasEntries(), qPrintable(control->objectName()));
        }
        test::ModalSeen seen;
        test::clickInNextModal("Abbrechen", &seen);
        m.SelectPage(1);
        QTest::keyClick(m.StringGrid3, Qt::Key_Enter);
        QCOMPARE(seen.caption, QStringLiteral("Notiz zum Medium bearbeiten"));

        Temail* email = p.session->forms().email;
        QSignalSpy sent(email->BitBtn3, &QPushButton::clicked);
        const test::MessageWatch answers;
        email->show();
        email->BitBtn3->setFocus();
        QTest::keyClick(email->BitBtn3, Qt::Key_Return);
        QCOMPARE(sent.count(), 1);
        QTest::keyClick(email->Edit1, Qt::Key_F1);
        email->hide();
        QTest::keyClick(m.StringGrid3, Qt::Key_F1);
        const QList<HelpRequest>& asked = m.help().requests();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].topic, QStringLiteral("html/email.htm"));
        QCOMPARE(asked[1].topic, QStringLiteral("html/privat.htm"));
        m.help().closeHelp();
    }

    // The window comes back at its last size and state, never larger than the screen's free
    // area; both sides of a splitter keep their share as the window grows.
    void windowSizeIsKeptAndShared() {
        Program p;
        TForm1& m = p.start(kTitleAndAuthor + "[Allgemein]\r\nbreite=9000\r\nhoehe=600\r\n");
        const QRect free = m.screen()->availableGeometry();
        QVERIFY(m.width() <= free.width() && m.height() <= free.height());
        m.resize(100, 100);
        QVERIFY(m.SpeedButton6->geometry().right() < m.Panel1->width());
        m.resize(640, 480);
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.RxSplitter1->setSizes({150, 150});
        emit m.RxSplitter1->splitterMoved(150, 1);
        const int before = m.Panel2->height();
        m.resize(640, 480 + 200);
        QApplication::processEvents();
        QVERIFY(m.Panel2->height() > before + 50);
        const int shared = m.Panel2->height();
        test::clickInNextModal("Ja");
        m.close();
        QCOMPARE(SettingsFile("orbaw.ini").readInteger("Allgemein", "hoehe", 0), 680);
        p.session.reset();
        TForm1& again = p.start(QByteArray());
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.size(), QSize(640, 680));
        QCOMPARE(again.Panel2->height(), shared);
    }

    // The signature columns have room for the catalogue's longest signature.
    void signatureColumnFitsTheLongest() {
        Program p;
        TForm1& m = p.start();
        const int needed = m.StringGrid1->fontMetrics().horizontalAdvance("AV 001234567");
        for (ListGrid* list : {m.StringGrid1, m.StringGrid2, m.StringGrid3})
            QVERIFY(list->columnWidth(0) > needed);
    }
};

ORBA_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
