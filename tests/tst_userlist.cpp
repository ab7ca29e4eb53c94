#include "core/Cp1252.h"
#include "settings/Tbenu.h"
#include "settings/Tbenu_neu.h"
#include "settings/UserFile.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <memory>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;
using orba::Tbenu;
using orba::Tbenu_neu;
using orba::test::ModalSeen;
using orba::test::WorkingDir;

namespace {

const QString kFile = u"benu.dat"_s;

QByteArray fileOf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += orba::cp1252::encode(line) + "\r\n";
    return bytes;
}

// A user list over `lines` in the working directory's user file (none when `lines` is empty).
struct UserList {
    explicit UserList(const QStringList& lines, const QString& path = kFile) {
        if (!lines.isEmpty())
            dir.write(kFile, fileOf(lines));
        list = std::make_unique<Tbenu>(nullptr, path);
        list->setEditor(&editor);
    }
    QByteArray file() const { return dir.read(kFile); }
    int selectedRow() const {
        const QList<QListWidgetItem*> selected = list->ListBox1->selectedItems();
        return selected.isEmpty() ? -1 : list->ListBox1->row(selected.first());
    }
    bool buttonsEnabled() const { return list->BitBtn4->isEnabled() && list->BitBtn6->isEnabled(); }
    bool buttonsDisabled() const {
        return !list->BitBtn4->isEnabled() && !list->BitBtn6->isEnabled();
    }

    // "Neu" with this name (and school) typed and OK pressed; `seen` receives a message box that
    // follows.
    void add(const QString& name, ModalSeen* seen = nullptr, const QString& school = {}) {
        bool schoolAsked = false;
        orba::test::answerNextModal([&](QWidget* modal) {
            QCOMPARE(modal, &editor);
            QCOMPARE(editor.windowTitle(), u"Neuen Benutzer eingeben"_s);
            QCOMPARE(editor.Edit1->text(), QString());
            schoolAsked = editor.Edit2->isVisible() && editor.Edit2->text().isEmpty();
            editor.Edit1->setText(name);
            editor.Edit2->setText(school);
            if (seen)
                orba::test::clickInNextModal(u"OK"_s, seen);
            editor.BitBtn1->click();
        });
        list->BitBtn3->click();
        QVERIFY(schoolAsked);
    }

    // "Bearbeiten" on the selected entry; returns what the editor showed as name and school.
    QStringList edit(const QString& newName) {
        QStringList shown;
        orba::test::answerNextModal([&](QWidget* modal) {
            QCOMPARE(modal, &editor);
            QCOMPARE(editor.windowTitle(), u"Benutzer bearbeiten"_s);
            shown = QStringList{editor.Edit1->text(), editor.Edit2->text()};
            editor.Edit1->setText(newName);
            editor.BitBtn1->click();
        });
        list->BitBtn4->click();
        return shown;
    }

    void remove(const QString& answer) {
        ModalSeen seen;
        orba::test::clickInNextModal(answer, &seen);
        list->BitBtn6->click();
        QCOMPARE(seen.caption, u"Warnung"_s);
        QCOMPARE(seen.text, u"Eintrag löschen ?"_s);
    }

    WorkingDir dir;
    Tbenu_neu editor{nullptr};
    std::unique_ptr<Tbenu> list;
};

// Whether any pixel of the row between the x positions is darker than mid grey.
bool hasInkBetween(const QImage& image, const QRect& row, int fromX, int toX) {
    for (int x = fromX; x <= toX; ++x) {
        for (int y = row.top(); y <= row.bottom(); ++y) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

} // namespace

class TestUserList : public QObject {
    Q_OBJECT

private slots:
    void missingFileGivesEmptyList() {
        UserList users({});
        QVERIFY(users.list->entries().isEmpty());
        QVERIFY(users.buttonsDisabled());
        QCOMPARE(users.list->SelectedName(), u" "_s);
        QCOMPARE(users.list->SelectedSchool(), u" "_s);
        QVERIFY(!QFile::exists(users.dir.file(kFile)));
    }

    void loadSortsWithoutRegardToCase_data() {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("mixed case") << QStringList{u"zulu\t"_s, u"Alpha\t"_s, u"beta\tSchule"_s}
                                    << QStringList{u"Alpha\t"_s, u"beta\tSchule"_s, u"zulu\t"_s};
        QTest::newRow("umlaut with its letter")
            << QStringList{u"Zander\t"_s, u"Öztürk\t"_s, u"Otto\t"_s, u"Pauli\t"_s}
            << QStringList{u"Otto\t"_s, u"Öztürk\t"_s, u"Pauli\t"_s, u"Zander\t"_s};
        QTest::newRow("line without tab")
            << QStringList{u"Gamma"_s, u"Beta\t"_s} << QStringList{u"Beta\t"_s, u"Gamma"_s};
        QTest::newRow("equal but for case, in file order")
            << QStringList{u"meier\t2"_s, u"Anna\t"_s, u"MEIER\t2"_s, u"Meier\t2"_s}
            << QStringList{u"Anna\t"_s, u"meier\t2"_s, u"MEIER\t2"_s, u"Meier\t2"_s};
    }
    void loadSortsWithoutRegardToCase() {
        QFETCH(QStringList, file);
        QFETCH(QStringList, listed);
        UserList users(file);
        QCOMPARE(users.list->entries(), listed);
        QCOMPARE(users.selectedRow(), 0);
        QVERIFY(users.buttonsEnabled());
    }

    void duplicateNameIsRefused_data() {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QString>("name");
        QTest::newRow("upper case") << QStringList{u"Beta\t"_s} << u"BETA"_s;
        QTest::newRow("umlaut") << QStringList{u"Jürgen\t"_s} << u"JÜRGEN"_s;
        QTest::newRow("line without tab") << QStringList{u"Gamma"_s} << u"GAMMA"_s;
        QTest::newRow("sharp s kept") << QStringList{u"Strauß\t"_s} << u"STRAUß"_s;
    }
    void duplicateNameIsRefused() {
        QFETCH(QStringList, file);
        QFETCH(QString, name);
        UserList users(file);
        const QByteArray before = users.file();
        const QStringList entries = users.list->entries();
        ModalSeen seen;
        users.add(name, &seen);
        QCOMPARE(seen.caption, u"Fehler"_s);
        QCOMPARE(seen.text, u"Der Name '%1' ist schon in der Liste enthalten"_s.arg(name));
        QCOMPARE(users.list->entries(), entries);
        QCOMPARE(users.file(), before);
    }

    void newNameTakesItsSortedPlace() {
        UserList users({u"Zulu\t"_s});
        users.add(u"Alpha"_s);
        QCOMPARE(users.list->entries(), (QStringList{u"Alpha\t"_s, u"Zulu\t"_s}));
        QCOMPARE(users.selectedRow(), 0);
        QCOMPARE(users.file(), QByteArray("Alpha\t\r\nZulu\t\r\n"));
    }

    // Upper-cased by Windows-1252, "ß" stays: these are two people.
    void sharpSAndDoubleSAreDifferentNames() {
        UserList users({u"Strauß\t"_s});
        users.add(u"STRAUSS"_s);
        QCOMPARE(users.list->entries().size(), 2);
    }

    void firstNameCreatesTheFile() {
        UserList users({});
        users.add(u"Jürgen Weiß"_s, nullptr, u"Goethe-\tSchule\n"_s);
        QCOMPARE(users.file(), QByteArray("J\xFCrgen Wei\xDF\tGoethe- Schule\r\n"));
        QCOMPARE(users.selectedRow(), 0);
        QVERIFY(users.buttonsEnabled());
    }

    void cancelledNewChangesNothing() {
        UserList users({u"Zulu\t"_s});
        orba::test::clickInNextModal(u"Abbrechen"_s);
        users.list->BitBtn3->click();
        QCOMPARE(users.list->entries(), QStringList{u"Zulu\t"_s});
        QCOMPARE(users.file(), QByteArray("Zulu\t\r\n"));
    }

    void deletingTheOnlyEntryEmptiesFile() {
        UserList users({u"Solo\t"_s});
        users.remove(u"Ja"_s);
        QVERIFY(users.list->entries().isEmpty());
        QCOMPARE(users.selectedRow(), -1);
        QVERIFY(users.buttonsDisabled());
        QVERIFY(QFile::exists(users.dir.file(kFile)));
        QCOMPARE(users.file(), QByteArray());
    }

    void deletionSelectsNeighbour_data() {
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("selected");
        QTest::newRow("middle") << 1 << QStringList{u"Anna\t"_s, u"Cora\t"_s} << 1;
        QTest::newRow("last") << 2 << QStringList{u"Anna\t"_s, u"Bert\t"_s} << 1;
    }
    void deletionSelectsNeighbour() {
        QFETCH(int, deleted);
        QFETCH(QStringList, left);
        QFETCH(int, selected);
        UserList users({u"Cora\t"_s, u"Anna\t"_s, u"Bert\t"_s});
        users.list->ListBox1->setCurrentRow(deleted);
        users.remove(u"Ja"_s);
        QCOMPARE(users.list->entries(), left);
        QCOMPARE(users.selectedRow(), selected);
        QVERIFY(users.buttonsEnabled());
        QCOMPARE(users.file(), fileOf(left));
    }

    void deletionAnsweredNoKeepsEntry() {
        UserList users({u"Anna\t"_s, u"Bert\t"_s});
        users.remove(u"Nein"_s);
        QCOMPARE(users.list->entries(), (QStringList{u"Anna\t"_s, u"Bert\t"_s}));
        QCOMPARE(users.file(), QByteArray("Anna\t\r\nBert\t\r\n"));
    }

    void renamingToAnotherNameIsAccepted() {
        UserList users({u"Anna\t"_s, u"Bert\tSchule am See"_s});
        users.list->ListBox1->setCurrentRow(1);
        QCOMPARE(users.edit(u"Anna"_s), (QStringList{u"Bert"_s, u"Schule am See"_s}));
        const QStringList expected{u"Anna\t"_s, u"Anna\tSchule am See"_s};
        QCOMPARE(users.list->entries(), expected);
        QCOMPARE(users.selectedRow(), 1);
        QCOMPARE(users.file(), fileOf(expected));
    }

    void editedEntryKeepsItsPlace() {
        UserList users({u"Anna\t"_s, u"Bert\t"_s});
        users.edit(u"Zora"_s);
        const QStringList expected{u"Zora\t"_s, u"Bert\t"_s};
        QCOMPARE(users.list->entries(), expected);
        QCOMPARE(users.selectedRow(), 0);
        QCOMPARE(users.file(), fileOf(expected));
    }

    void editingLineWithoutTabGivesItOne() {
        UserList users({u"Gamma"_s});
        QCOMPARE(users.edit(u"Gamma"_s), (QStringList{u"Gamma"_s, QString()}));
        QCOMPARE(users.list->entries(), QStringList{u"Gamma\t"_s});
    }

    void okTakesNameAndSchool_data() {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("school");
        QTest::newRow("name and school") << QStringList{u"Anna Meier\tGrundschule Nord"_s}
                                         << u"Anna Meier"_s << u"Grundschule Nord"_s;
        QTest::newRow("empty school") << QStringList{u"Bert\t"_s} << u"Bert"_s << QString();
        QTest::newRow("second tab belongs to school")
            << QStringList{u"Cora\tA\tB"_s} << u"Cora"_s << u"A\tB"_s;
        QTest::newRow("line without tab") << QStringList{u"Gamma"_s} << u"?"_s << u"?"_s;
        QTest::newRow("empty list") << QStringList() << u"?"_s << u"?"_s;
    }
    void okTakesNameAndSchool() {
        QFETCH(QStringList, file);
        QFETCH(QString, name);
        QFETCH(QString, school);
        UserList users(file);
        users.list->setSelection(u"?"_s, u"?"_s);
        users.list->BitBtn5->click();
        QCOMPARE(users.list->SelectedName(), name);
        QCOMPARE(users.list->SelectedSchool(), school);
        QCOMPARE(users.list->result(), int(QDialog::Accepted));
    }

    void closeBoxKeepsQuestionMarks() {
        UserList users({u"Anna\tSchule"_s});
        users.list->setSelection(u"?"_s, u"?"_s);
        orba::test::answerNextModal([](QWidget* modal) { modal->close(); });
        users.list->exec();
        QCOMPARE(users.list->SelectedName(), u"?"_s);
        QCOMPARE(users.list->SelectedSchool(), u"?"_s);
    }

    // Two copies of the program on one folder: A adds, B removes what both had and adds, A
    // removes what it added. Each save keeps what the other saved meanwhile.
    void twoCopiesKeepEachOthersUsers() {
        UserList users({u"Anna\t"_s});
        auto other = std::make_unique<Tbenu>(nullptr, kFile);
        other->setEditor(&users.editor);
        users.add(u"Bert"_s);
        std::swap(users.list, other);
        users.remove(u"Ja"_s);
        users.add(u"Carla"_s);
        std::swap(users.list, other);
        users.list->ListBox1->setCurrentRow(1);
        users.remove(u"Ja"_s);
        QCOMPARE(users.file(), QByteArray("Carla\t\r\n"));
        QCOMPARE(users.list->entries(), QStringList{u"Carla\t"_s});
    }

    void writeFailureKeepsChangeOnScreen() {
        const QString path = u"fehlt/benu.dat"_s;
        UserList users({}, path);
        ModalSeen seen;
        users.add(u"Neu"_s, &seen);
        QCOMPARE(seen.caption, u"Fehler"_s);
        QCOMPARE(seen.text, u"Datei %1 kann nicht erstellt werden"_s.arg(path));
        QCOMPARE(users.list->entries(), QStringList{u"Neu\t"_s});
        QCOMPARE(users.selectedRow(), 0);
        QVERIFY(users.buttonsEnabled());
    }

    void schoolTextStartsAtSecondColumn() {
        UserList users({u"Aaa\t"_s, u"Bob\tSchule"_s});
        QListWidget* box = users.list->ListBox1;
        box->resize(440, 169);
        const QRect row = box->visualItemRect(box->item(1));
        const QImage image = box->viewport()->grab().toImage();
        QVERIFY(hasInkBetween(image, row, 0, 60));
        QVERIFY(!hasInkBetween(image, row, 80, 245));
        QVERIFY(hasInkBetween(image, row, 250, 330));
    }
};

ORBA_TEST_MAIN(TestUserList)
#include "tst_userlist.moc"
