#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "display/NoteFile.h"
#include "display/Tnotiz.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <optional>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using orba::OrbaError;
using orba::Tnotiz;
using orba::cp1252::encode;
using orba::test::WorkingDir;

namespace {

// What the user does in the open note dialog.
enum class Closing { Ok, Cancel, CloseBox };

// Answers the next note dialog: records what it showed, optionally replaces the text, closes.
struct NoteSession {
    std::optional<QString> newText;
    Closing closing = Closing::Ok;
    QString shownText;
    QString shownSignature;

    void answerNext() {
        orba::test::answerNextModal([this](QWidget* modal) {
            auto* dialog = qobject_cast<Tnotiz*>(modal);
            QVERIFY(dialog);
            shownText = dialog->Memo1->toPlainText();
            shownSignature = dialog->Label3->text();
            if (newText)
                dialog->Memo1->setPlainText(*newText);
            if (closing == Closing::CloseBox)
                dialog->close();
            else
                (closing == Closing::Ok ? dialog->BitBtn1 : dialog->BitBtn2)->click();
        });
    }
};

} // namespace

Q_DECLARE_METATYPE(Closing)
Q_DECLARE_METATYPE(std::optional<QString>)

class TestNotes : public QObject {
    Q_OBJECT

private slots:
    void noteFileName_data() {
        QTest::addColumn<QString>("displayed");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("blank after prefix") << u"AB 12"_s << u"AB12.ntz"_s;
        QTest::newRow("only the first blank goes") << u"A B C"_s << u"AB C.ntz"_s;
        QTest::newRow("leading blank") << u" X 1"_s << u"X 1.ntz"_s;
        QTest::newRow("umlaut") << u"Ä 7"_s << u"Ä7.ntz"_s;
    }
    void noteFileName() {
        QFETCH(QString, displayed);
        QFETCH(QString, fileName);
        QCOMPARE(orba::noteFileName(displayed), fileName);
    }

    void isSafeNoteName_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("safe");
        QTest::newRow("plain") << u"AB12"_s << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("dots could climb out") << u".."_s << false;
        QTest::newRow("dots inside") << u"AB..1"_s << false;
        QTest::newRow("parent by slash") << u"../AB"_s << false;
        QTest::newRow("parent by backslash") << u"..\\AB"_s << false;
        QTest::newRow("drive colon") << u"C:AB"_s << false;
        QTest::newRow("NUL") << u"AB"_s + QChar(0) + u"12"_s << false;
        QTest::newRow("longest") << QString(196, u'A') << true;
        QTest::newRow("too long to save twice") << QString(197, u'A') << false;
        QTest::newRow("too long in bytes") << QString(99, u'\u00e4') << false;
    }
    void isSafeNoteName() {
        QFETCH(QString, stored);
        QFETCH(bool, safe);
        QCOMPARE(orba::isSafeNoteName(stored), safe);
    }

    void writeReadDeleteRoundTrip() {
        WorkingDir dir;
        const QStringList lines{u"Für Klasse 5 geeignet"_s, QString(), u"Größe: 3 €"_s};
        QVERIFY(!orba::noteExists(u"Ä 12"_s));
        orba::NoteFile note(u"Ä12"_s);
        note.save(lines);
        QCOMPARE(dir.read(u"Ä12.ntz"_s), encode(u"Für Klasse 5 geeignet\r\n\r\nGröße: 3 €\r\n"_s));
        QVERIFY(orba::noteExists(u"Ä 12"_s));
        QCOMPARE(orba::NoteFile(u"Ä12"_s).read(), lines);
        note.save({});
        QVERIFY(!QFile::exists(dir.file(u"Ä12.ntz"_s)));
        QVERIFY(!orba::noteExists(u"Ä 12"_s));
        QVERIFY(orba::NoteFile(u"Ä12"_s).read().isEmpty());
        note.save({});
    }

    void unsafeOrEmptySignatureHasNoNote() {
        WorkingDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"AB"_s));
        dir.write(u"AB/12.ntz"_s, "fremd\r\n");
        dir.write(u".ntz"_s, "x\r\n");
        QVERIFY(!orba::noteExists(QString()));
        QVERIFY(orba::NoteFile().read().isEmpty());
        QVERIFY(!orba::noteExists(u"AB/ 12"_s));
        orba::NoteFile unsafe(u"AB/12"_s);
        QVERIFY(unsafe.read().isEmpty());
        try {
            unsafe.save({u"neu"_s});
            QFAIL("an unsafe signature was written");
        } catch (const OrbaError& error) {
            QCOMPARE(error.message(), u"Datei AB/12.ntz kann nicht erstellt werden"_s);
        }
        QCOMPARE(dir.read(u"AB/12.ntz"_s), QByteArray("fremd\r\n"));
    }

    void dialogShowsNoteAndStoredSignature() {
        WorkingDir dir;
        dir.write(u"AB12.ntz"_s, encode(u"Zeile 1\r\nfür Klasse 2\r\n"_s));
        Tnotiz dialog(nullptr);
        NoteSession session;
        session.closing = Closing::Cancel;
        session.answerNext();
        dialog.editNote(u"AB 12"_s);
        QCOMPARE(session.shownText, u"Zeile 1\nfür Klasse 2"_s);
        QCOMPARE(session.shownSignature, u"AB12"_s);

        // The dialog is reused: a medium without note starts with an empty editor.
        session.answerNext();
        dialog.editNote(u"CD 34"_s);
        QCOMPARE(session.shownText, QString());
        QCOMPARE(session.shownSignature, u"CD34"_s);
    }

    void dialogOutcome_data() {
        QTest::addColumn<QByteArray>("before"); // empty: no note file
        QTest::addColumn<std::optional<QString>>("newText");
        QTest::addColumn<Closing>("closing");
        QTest::addColumn<bool>("hasNote");
        QTest::addColumn<QByteArray>("after"); // empty: no note file

        const QByteArray old("alte Notiz\r\n");
        const std::optional<QString> unchanged;
        QTest::newRow("OK with text creates the note")
            << QByteArray() << std::optional(u"Für Klasse 5\nund 6"_s) << Closing::Ok << true
            << encode(u"Für Klasse 5\r\nund 6\r\n"_s);
        QTest::newRow("OK unchanged rewrites with CR LF")
            << QByteArray("a\nb\n") << unchanged << Closing::Ok << true << QByteArray("a\r\nb\r\n");
        QTest::newRow("OK after emptying removes the note")
            << old << std::optional(QString()) << Closing::Ok << false << QByteArray();
        QTest::newRow("Cancel after emptying keeps the note")
            << old << std::optional(QString()) << Closing::Cancel << true << old;
        QTest::newRow("close box after changing keeps the note")
            << old << std::optional(u"neu"_s) << Closing::CloseBox << true << old;
    }
    void dialogOutcome() {
        QFETCH(QByteArray, before);
        QFETCH(std::optional<QString>, newText);
        QFETCH(Closing, closing);
        QFETCH(bool, hasNote);
        QFETCH(QByteArray, after);
        WorkingDir dir;
        const QString fileName = u"Ü3.ntz"_s;
        if (!before.isEmpty())
            dir.write(fileName, before);
        Tnotiz dialog(nullptr);
        NoteSession session;
        session.newText = newText;
        session.closing = closing;
        session.answerNext();
        QCOMPARE(dialog.editNote(u"Ü 3"_s), hasNote);
        QCOMPARE(QFile::exists(dir.file(fileName)), !after.isEmpty());
        QCOMPARE(dir.read(fileName), after);
    }

    // While A's editor is open, copy B saves the same note. A text only B changed stays; where
    // both changed it, A's user chooses, or goes back to the editor.
    void twoEditorsOnOneNote_data() {
        QTest::addColumn<QString>("mine");   // null: left as it was
        QTest::addColumn<QString>("answer"); // empty: no question
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("only B changed") << QString() << QString() << QByteArray("B\r\n");
        QTest::newRow("both, A's kept") << u"A"_s << u"Meinen Text"_s << QByteArray("A\r\n");
        QTest::newRow("both, B's kept") << u"A"_s << u"Den anderen Text"_s << QByteArray("B\r\n");
        QTest::newRow("both, back") << u"A"_s << u"Abbrechen"_s << QByteArray("B\r\n");
    }
    void twoEditorsOnOneNote() {
        QFETCH(QString, mine);
        QFETCH(QString, answer);
        QFETCH(QByteArray, after);
        WorkingDir dir;
        dir.write(u"TH100.ntz"_s, "alt\r\n");
        Tnotiz a(nullptr);
        Tnotiz b(nullptr);
        orba::test::ModalSeen question;
        bool stayedOpen = false;
        orba::test::answerNextModal([&](QWidget*) {
            NoteSession other;
            other.newText = u"B"_s;
            other.answerNext();
            b.editNote(u"TH 100"_s);
            if (!mine.isNull())
                a.Memo1->setPlainText(mine);
            if (!answer.isEmpty())
                orba::test::clickInNextModal(answer, &question);
            a.BitBtn1->click();
            stayedOpen = a.isVisible();
            a.BitBtn2->click();
        });
        a.editNote(u"TH 100"_s);
        QCOMPARE(question.shown, !answer.isEmpty());
        QCOMPARE(stayedOpen, answer == u"Abbrechen");
        QCOMPARE(dir.read(u"TH100.ntz"_s), after);
    }

    void emptySignatureSavesNothing() {
        WorkingDir dir;
        Tnotiz dialog(nullptr);
        NoteSession session;
        session.newText = u"Text ohne Medium"_s;
        session.answerNext();
        QVERIFY(!dialog.editNote(QString()));
        QCOMPARE(session.shownSignature, QString());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void unsafeSignatureIsRefused() {
        WorkingDir dir;
        Tnotiz dialog(nullptr);
        orba::test::ModalSeen seen;
        orba::test::clickInNextModal(u"OK"_s, &seen);
        QVERIFY(!dialog.editNote(u"../ X"_s));
        QVERIFY(seen.shown);
        QCOMPARE(seen.caption, u"Fehler"_s);
        QCOMPARE(seen.text, u"Für die Signatur '../X' kann keine Notiz gespeichert werden: sie "
                            "enthält Zeichen, die in Dateinamen nicht erlaubt sind, oder ist für "
                            "einen Dateinamen zu lang."_s);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void failedSaveKeepsDialogOpen() {
        WorkingDir dir;
        // A folder in the way of the note file makes every write fail.
        QVERIFY(QDir(dir.path()).mkdir(u"X1.ntz"_s));
        Tnotiz dialog(nullptr);
        orba::test::ModalSeen error;
        bool stayedOpen = false;
        orba::test::answerNextModal([&](QWidget* modal) {
            auto* note = qobject_cast<Tnotiz*>(modal);
            QVERIFY(note);
            note->Memo1->setPlainText(u"Text"_s);
            orba::test::clickInNextModal(u"OK"_s, &error);
            note->BitBtn1->click();
            stayedOpen = note->isVisible();
            note->BitBtn2->click();
        });
        QVERIFY(!dialog.editNote(u"X 1"_s));
        QVERIFY(stayedOpen);
        QCOMPARE(error.caption, u"Fehler"_s);
        QCOMPARE(error.text, u"Datei X1.ntz kann nicht erstellt werden"_s);
    }
};

ORBA_TEST_MAIN(TestNotes)
#include "tst_notes.moc"
