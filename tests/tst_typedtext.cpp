#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/StorableInput.h"
#include "display/Tnotiz.h"
#include "settings/SettingsFile.h"
#include "settings/Tbenu.h"
#include "settings/Tbenu_neu.h"
#include "settings/Tsetup.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolTip>

using namespace Qt::StringLiterals;
using orba::test::answerNextModal;
using orba::test::WorkingDir;

namespace {

// As the user pastes: through the clipboard and Ctrl+V.
void paste(QWidget* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

const QString kRefusedNote = u"Die Zeichen „Ł“, „→“, „😀“ können nicht gespeichert werden und "
                             "wurden nicht übernommen."_s;

} // namespace

class TestTypedText : public QObject {
    Q_OBJECT

private slots:
    void init() { QToolTip::hideText(); }

    void aLineFieldTakesOneStorableLine_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("note");
        QTest::newRow("line breaks")
            << u"\r\nBestellung\r\n\r\n7b\n"_s << u"Bestellung 7b"_s << QString();
        QTest::newRow("TAB") << u"Name\tSchule"_s << u"Name Schule"_s << QString();
        QTest::newRow("NUL") << u"Bestellung\0x"_s << u"Bestellungx"_s << QString();
        QTest::newRow("cp1252 kept") << u"Straße – 5 €"_s << u"Straße – 5 €"_s << QString();
        QTest::newRow("decomposed umlauts composed")
            << u"Bu\u0308hnenbild fu\u0308r Ko\u0308ln"_s << u"Bühnenbild für Köln"_s << QString();
        QTest::newRow("no cp1252 form") << u"Łukasz → 😀Ok"_s << u"ukasz  Ok"_s << kRefusedNote;
    }
    void aLineFieldTakesOneStorableLine() {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QFETCH(QString, note);
        QLineEdit field;
        orba::guardLineInput(&field);
        paste(&field, pasted);
        QCOMPARE(field.text(), kept);
        QCOMPARE(field.cursorPosition(), kept.size());
        QCOMPARE(QToolTip::text(), note);
    }

    void aTextEditorTakesStorableText() {
        QPlainTextEdit editor;
        orba::guardTextInput(&editor);
        editor.setPlainText(u"Zeile 1\n"_s);
        editor.moveCursor(QTextCursor::End);
        paste(&editor, u"Łódka\0 → 😀\nEnde"_s);
        QCOMPARE(editor.toPlainText(), u"Zeile 1\nódka  \nEnde"_s);
        QCOMPARE(QToolTip::text(), kRefusedNote);
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.toPlainText(), u"Zeile 1\n"_s);
        // A combining mark typed after its letter.
        editor.moveCursor(QTextCursor::End);
        QTest::keyClicks(&editor, u"Ko"_s);
        editor.insertPlainText(u"\u0308"_s);
        QTest::keyClicks(&editor, u"ln"_s);
        QCOMPARE(editor.toPlainText(), u"Zeile 1\nKöln"_s);
    }

    // A pasted line break or TAB would split the user's record, a NUL hide the users after it.
    void aPastedUserNameStaysOneRecord() {
        const WorkingDir dir;
        orba::Tbenu_neu editor(nullptr);
        orba::Tbenu users(nullptr, u"benu.dat"_s);
        users.setEditor(&editor);
        answerNextModal([&](QWidget*) {
            paste(editor.Edit1, u"Anna\r\nMüller\tGymnasium\0Ł"_s);
            editor.BitBtn1->click();
        });
        users.BitBtn3->click();
        QCOMPARE(dir.read(u"benu.dat"_s), QByteArray("Anna M\xfcller Gymnasium\t\r\n"));
    }

    // "Bestellung<NUL>x" as the subject once cut off every section after "[mail]".
    void pastedSettingsKeepTheFileWhole() {
        const WorkingDir dir;
        dir.write(u"orbaw.ini"_s, "[mail]\r\nbetreff=alt\r\n[Extras]\r\nprivdatei=liste.lst\r\n"
                                  "[info]\r\nbreite=600\r\n");
        std::unique_ptr<orba::Session> session;
        {
            const orba::test::MessageWatch startUpMessages;
            session = orba::startUp();
        }
        orba::Tsetup* setup = session->forms().setup;
        answerNextModal([&](QWidget*) {
            for (QLineEdit* field : {setup->Edit4, setup->Edit3})
                field->clear();
            paste(setup->Edit4, u"Bestellung\0x"_s);
            paste(setup->Edit3, u"verleih@example.org\r\n"_s);
            setup->BitBtn3->click();
        });
        setup->exec();
        const orba::SettingsFile stored(u"orbaw.ini"_s);
        QCOMPARE(stored.readString("mail", "betreff", {}), u"Bestellungx"_s);
        QCOMPARE(stored.readString("mail", "email", {}), u"verleih@example.org"_s);
        QCOMPARE(stored.readString("Extras", "privdatei", {}), u"liste.lst"_s);
        QCOMPARE(stored.readInteger("info", "breite", 0), 600);
    }

    void aPastedNoteLosesNoLine() {
        const WorkingDir dir;
        orba::Tnotiz notes(nullptr);
        answerNextModal([&](QWidget*) {
            paste(notes.Memo1, u"Klasse 5\0 und 6\nKlasse 7 → 8"_s);
            notes.BitBtn1->click();
        });
        QVERIFY(notes.editNote(u"TH 100"_s));
        QCOMPARE(dir.read(u"TH100.ntz"_s), QByteArray("Klasse 5 und 6\r\nKlasse 7  8\r\n"));
    }
};

ORBA_TEST_MAIN(TestTypedText)
#include "tst_typedtext.moc"
