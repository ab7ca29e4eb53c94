#include "core/OrbaError.h"
#include "settings/SettingsFile.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <limits>
#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;
using orba::OrbaError;
using orba::SettingsFile;
using orba::test::WorkingDir;

namespace {

const QString kFile = QStringLiteral("orbaw.ini");
const QString kDisplayName = QStringLiteral(".\\orbaw.ini");
constexpr int kDefault = 42;

// The message of the OrbaError `write` throws; empty when it throws none.
template <typename Write> QString errorOf(Write write) {
    try {
        write();
    } catch (const OrbaError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void absentEntryGivesDefault_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        const QByteArray file = "[Anzeige]\r\nhsplit=1\r\nmedart=3\r\n[info]\r\nx=5\r\n";
        QTest::newRow("no file") << QByteArray() << u"Anzeige"_s << u"hsplit"_s;
        QTest::newRow("missing section") << file << u"Allgemein"_s << u"hsplit"_s;
        QTest::newRow("missing key") << file << u"Anzeige"_s << u"vsplit"_s;
        QTest::newRow("key of another section") << file << u"info"_s << u"medart"_s;
    }
    void absentEntryGivesDefault() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        WorkingDir dir;
        if (!file.isEmpty())
            dir.write(kFile, file);
        const SettingsFile settings(kFile);
        QCOMPARE(settings.readInteger(section, key, kDefault), kDefault);
        QCOMPARE(settings.readString(section, key, "def"), QString("def"));
        QCOMPARE(QFile::exists(dir.file(kFile)), !file.isEmpty());
    }

    void directoryInPlaceOfFileGivesDefaults() {
        WorkingDir dir;
        QVERIFY(QDir(dir.path()).mkdir(kFile));
        QCOMPARE(SettingsFile(kFile).readInteger("info", "breite", 519), 519);
    }

    void readInteger_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("hex 0Xff") << QByteArray("0Xff") << 255;
        QTest::newRow("hex largest") << QByteArray("0x7FFFFFFF") << std::numeric_limits<int>::max();
        QTest::newRow("hex too large") << QByteArray("0x80000000") << kDefault;
        QTest::newRow("hex bad digit") << QByteArray("0x1G") << kDefault;
        QTest::newRow("hex with sign") << QByteArray("0x-1") << kDefault;
        QTest::newRow("0x alone") << QByteArray("0x") << kDefault;
        QTest::newRow("leading zeros") << QByteArray("007") << 7;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("plus sign") << QByteArray("+7") << 7;
        QTest::newRow("blanks around") << QByteArray(" \t12\t ") << 12;
        QTest::newRow("empty") << QByteArray("") << kDefault;
        QTest::newRow("digits then letters") << QByteArray("12abc") << kDefault;
        QTest::newRow("inner blank") << QByteArray("1 2") << kDefault;
        QTest::newRow("sign alone") << QByteArray("-") << kDefault;
        QTest::newRow("largest") << QByteArray("2147483647") << std::numeric_limits<int>::max();
        QTest::newRow("smallest") << QByteArray("-2147483648") << std::numeric_limits<int>::min();
        QTest::newRow("overflow") << QByteArray("2147483648") << kDefault;
        QTest::newRow("underflow") << QByteArray("-2147483649") << kDefault;
    }
    void readInteger() {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        WorkingDir dir;
        dir.write(kFile, "[Anzeige]\r\nhsplit=" + value + "\r\n");
        QCOMPARE(SettingsFile(kFile).readInteger("Anzeige", "hsplit", kDefault), expected);
    }

    void namesMatchWithoutCase_data() {
        QTest::addColumn<QString>("writtenSection");
        QTest::addColumn<QString>("writtenKey");
        QTest::addColumn<QString>("readSection");
        QTest::addColumn<QString>("readKey");
        QTest::newRow("anzeige read as Anzeige")
            << u"anzeige"_s << u"hsplit"_s << u"Anzeige"_s << u"hsplit"_s;
        QTest::newRow("key in capitals")
            << u"Extras"_s << u"CDSTART"_s << u"extras"_s << u"cdstart"_s;
        QTest::newRow("umlaut") << u"Übersicht"_s << u"Größe"_s << u"übersicht"_s << u"GRÖßE"_s;
    }
    void namesMatchWithoutCase() {
        QFETCH(QString, writtenSection);
        QFETCH(QString, writtenKey);
        QFETCH(QString, readSection);
        QFETCH(QString, readKey);
        WorkingDir dir;
        SettingsFile settings(kFile);
        settings.writeInteger(writtenSection, writtenKey, 1);
        QCOMPARE(settings.readInteger(readSection, readKey, kDefault), 1);
        // The second write under the other spelling updates the same entry.
        settings.writeInteger(readSection, readKey, 2);
        QCOMPARE(settings.readInteger(writtenSection, writtenKey, kDefault), 2);
        const QByteArray expected =
            "[" + writtenSection.toLatin1() + "]\r\n" + writtenKey.toLatin1() + "=2\r\n";
        QCOMPARE(dir.read(kFile), expected);
        QCOMPARE(SettingsFile(kFile).readInteger(readSection, readKey, kDefault), 2);
    }

    void valueBlanks_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks around names and values ignored")
            << QByteArray(" \t[ Mail\t] \r\n\t betreff \t=  a  b \t\r\n") << u"a  b"_s;
        QTest::newRow("no-break space belongs to the value")
            << QByteArray("[mail]\r\nbetreff=\xA0x\xA0\r\n") << u"\u00A0x\u00A0"_s;
    }
    void valueBlanks() {
        QFETCH(QByteArray, file);
        QFETCH(QString, value);
        WorkingDir dir;
        dir.write(kFile, file);
        QCOMPARE(SettingsFile(kFile).readString("mail", "betreff", "def"), value);
    }

    void strayLinesNeverMatchButArePreserved() {
        WorkingDir dir;
        const QByteArray before = "hsplit=9\r\n"
                                  "; Einstellungen\r\n"
                                  "[Anzeige]\r\n"
                                  ";hsplit=8\r\n"
                                  "Unsinn ohne Gleichheitszeichen\r\n"
                                  "[unvollständig\r\n"
                                  "hsplit=3\r\n"
                                  "; Ende\r\n";
        dir.write(kFile, before);
        SettingsFile settings(kFile);
        QCOMPARE(settings.readInteger("Anzeige", "hsplit", kDefault), 3);
        QCOMPARE(settings.readString("", "hsplit", "def"), QString("def"));
        QCOMPARE(settings.readString("Anzeige", ";hsplit", "def"), QString("def"));
        QCOMPARE(settings.readString("Anzeige", "Unsinn ohne Gleichheitszeichen", "def"),
                 QString("def"));
        settings.writeInteger("Anzeige", "hsplit", 4);
        QByteArray after = before;
        after.replace("hsplit=3", "hsplit=4");
        QCOMPARE(dir.read(kFile), after);
    }

    void firstOfDuplicateSectionsAndKeysWins() {
        WorkingDir dir;
        dir.write(kFile, "[A]\r\nk=1\r\nk=9\r\n[B]\r\nx=0\r\n[a]\r\nk=2\r\nm=5\r\n");
        SettingsFile settings(kFile);
        QCOMPARE(settings.readInteger("A", "k", kDefault), 1);
        QCOMPARE(settings.readInteger("a", "m", kDefault), kDefault);
        settings.writeInteger("a", "k", 7);
        settings.writeInteger("A", "m", 6);
        QCOMPARE(dir.read(kFile),
                 QByteArray("[A]\r\nk=7\r\nk=9\r\nm=6\r\n[B]\r\nx=0\r\n[a]\r\nk=2\r\nm=5\r\n"));
        QCOMPARE(settings.readInteger("A", "m", kDefault), 6);
    }

    void longTextReadAsItsFirst1023Characters_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("expected");
        QTest::newRow("1023") << 1023 << 1023;
        QTest::newRow("1024") << 1024 << 1023;
    }
    void longTextReadAsItsFirst1023Characters() {
        QFETCH(int, length);
        QFETCH(int, expected);
        QString value;
        for (int i = 0; i < length; ++i)
            value += QChar(u'a' + i % 26);
        WorkingDir dir;
        SettingsFile settings(kFile);
        settings.writeString("udef", "grid_sp0", value);
        QCOMPARE(settings.readString("udef", "grid_sp0", "def"), value.left(expected));
        QCOMPARE(SettingsFile(kFile).readString("udef", "grid_sp0", "def"), value.left(expected));
    }

    void writeLayout_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("first write creates the file")
            << QByteArray() << u"Anzeige"_s << u"hsplit"_s << u"1"_s
            << QByteArray("[Anzeige]\r\nhsplit=1\r\n");
        QTest::newRow("value replaced in place, key spelling kept")
            << QByteArray("[Anzeige]\r\nCount=2\r\nHSplit=0\r\nmedart=3\r\n") << u"anzeige"_s
            << u"hsplit"_s << u"1"_s
            << QByteArray("[Anzeige]\r\nCount=2\r\nHSplit=1\r\nmedart=3\r\n");
        QTest::newRow("blanks before the equals sign kept")
            << QByteArray("[mail]\r\n  email \t= alt@example.org\r\n") << u"mail"_s << u"email"_s
            << u"neu@example.org"_s << QByteArray("[mail]\r\n  email \t=neu@example.org\r\n");
        QTest::newRow("key added inside its section, not at the end")
            << QByteArray("[Anzeige]\r\nhsplit=1\r\n\r\n[mail]\r\nemail=a@b\r\n") << u"Anzeige"_s
            << u"medart"_s << u"2"_s
            << QByteArray("[Anzeige]\r\nhsplit=1\r\nmedart=2\r\n\r\n[mail]\r\nemail=a@b\r\n");
        QTest::newRow("key added after a comment ending the section")
            << QByteArray("[A]\r\nx=1\r\n; Kommentar\r\n\r\n\r\n[B]\r\n") << u"A"_s << u"y"_s
            << u"2"_s << QByteArray("[A]\r\nx=1\r\n; Kommentar\r\ny=2\r\n\r\n\r\n[B]\r\n");
        QTest::newRow("key added to the last section")
            << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n") << u"B"_s << u"z"_s << u"3"_s
            << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n");
        QTest::newRow("key added to a section holding only its header")
            << QByteArray("[A]\r\n[B]\r\ny=2\r\n") << u"A"_s << u"x"_s << u"1"_s
            << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
        QTest::newRow("section added at the end")
            << QByteArray("[A]\r\nx=1\r\n") << u"mail"_s << u"betreff"_s << u"Bestellung"_s
            << QByteArray("[A]\r\nx=1\r\n\r\n[mail]\r\nbetreff=Bestellung\r\n");
        QTest::newRow("section added after a closing blank line")
            << QByteArray("[A]\r\nx=1\r\n\r\n") << u"B"_s << u"y"_s << u"2"_s
            << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("names written without surrounding blanks")
            << QByteArray() << u" info\t"_s << u" x "_s << u"7"_s
            << QByteArray("[info]\r\nx=7\r\n");
        QTest::newRow("LF and CR line ends become CR LF")
            << QByteArray("[A]\nx=1\ry=2") << u"A"_s << u"x"_s << u"5"_s
            << QByteArray("[A]\r\nx=5\r\ny=2\r\n");
        QTest::newRow("empty value") << QByteArray("[mail]\r\nemail=a@b\r\n") << u"mail"_s
                                     << u"email"_s << u""_s << QByteArray("[mail]\r\nemail=\r\n");
    }
    void writeLayout() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        WorkingDir dir;
        if (!before.isEmpty())
            dir.write(kFile, before);
        SettingsFile settings(kFile);
        settings.writeString(section, key, value);
        QCOMPARE(dir.read(kFile), after);
        QCOMPARE(settings.readString(section, key, "def"), value);
    }

    void integersWrittenInDecimal_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("negative") << -12 << QByteArray("-12");
        QTest::newRow("smallest") << std::numeric_limits<int>::min() << QByteArray("-2147483648");
    }
    void integersWrittenInDecimal() {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        WorkingDir dir;
        SettingsFile(kFile).writeInteger("Allgemein", "vsplit", value);
        QCOMPARE(dir.read(kFile), "[Allgemein]\r\nvsplit=" + text + "\r\n");
        QCOMPARE(SettingsFile(kFile).readInteger("Allgemein", "vsplit", kDefault), value);
    }

    void umlautsStoredAsCp1252() {
        WorkingDir dir;
        dir.write(kFile, "[mail]\r\nbetreff=B\xE4\x80\r\n");
        SettingsFile settings(kFile);
        QCOMPARE(settings.readString("mail", "betreff", "def"), QStringLiteral("Bä€"));
        settings.writeString("mail", "betreff", QStringLiteral("Bestellung für Schüler – Größe"));
        QCOMPARE(dir.read(kFile),
                 QByteArray("[mail]\r\nbetreff=Bestellung f\xFCr Sch\xFCler \x96 Gr\xF6\xDF"
                            "e\r\n"));
        QCOMPARE(SettingsFile(kFile).readString("mail", "betreff", "def"),
                 QStringLiteral("Bestellung für Schüler – Größe"));
    }

    void readsAgreeWithTheFileAfterLossyWrite() {
        WorkingDir dir;
        SettingsFile settings(kFile);
        settings.writeString("mail", "betreff", QStringLiteral("Ω"));
        QCOMPARE(dir.read(kFile), QByteArray("[mail]\r\nbetreff=?\r\n"));
        QCOMPARE(settings.readString("mail", "betreff", "def"), QString("?"));
    }

    // A NUL would end the file for every reader; the writer's own reading then lost the keys
    // after it until the next start.
    void aNulInAValueIsLeftOut() {
        WorkingDir dir;
        dir.write(kFile, "[mail]\r\nbetreff=alt\r\nemail=a@b\r\n");
        SettingsFile settings(kFile);
        settings.writeString("mail", "betreff", QStringLiteral("Be\0stellung"));
        QCOMPARE(dir.read(kFile), QByteArray("[mail]\r\nbetreff=Bestellung\r\nemail=a@b\r\n"));
        QCOMPARE(settings.readString("mail", "betreff", "def"), QStringLiteral("Bestellung"));
        QCOMPARE(settings.readString("mail", "email", "def"), QStringLiteral("a@b"));
    }

    void refusedWriteThrowsAndKeepsSettings_data() {
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QString>("message");
        QTest::newRow("display name")
            << kDisplayName << u"Nach .\\orbaw.ini kann nicht geschrieben werden"_s;
        QTest::newRow("path when no display name")
            << QString() << u"Nach orbaw.ini kann nicht geschrieben werden"_s;
    }
    void refusedWriteThrowsAndKeepsSettings() {
        QFETCH(QString, displayName);
        QFETCH(QString, message);
        WorkingDir dir;
        dir.write(kFile, "[Anzeige]\r\nhsplit=1\r\n");
        SettingsFile settings(kFile, displayName);
        // A directory where the file was refuses the replacement, even to root.
        QVERIFY(QFile::remove(dir.file(kFile)));
        QVERIFY(QDir(dir.path()).mkdir(kFile));
        QCOMPARE(errorOf([&] { settings.writeInteger("Anzeige", "hsplit", 0); }), message);
        QCOMPARE(errorOf([&] { settings.writeInteger("Anzeige", "medart", 2); }), message);
        QCOMPARE(errorOf([&] { settings.writeString("mail", "email", "a@b"); }), message);
        QCOMPARE(settings.readInteger("Anzeige", "hsplit", kDefault), 1);
        QCOMPARE(settings.readInteger("Anzeige", "medart", kDefault), kDefault);
        QCOMPARE(settings.readString("mail", "email", "def"), QString("def"));
    }

    // Another copy of the program, or an administrator's editor, changes the file between two
    // writes of this one: each write changes its one key in the file as it is then.
    void writesKeepWhatOthersWroteMeanwhile_data() {
        QTest::addColumn<bool>("byHand");
        QTest::newRow("second settings object") << false;
        QTest::newRow("line added by hand") << true;
    }
    void writesKeepWhatOthersWroteMeanwhile() {
        QFETCH(bool, byHand);
        WorkingDir dir;
        dir.write(kFile, "[Allgemein]\r\nvsplit=200\r\n");
        SettingsFile mine(kFile);
        SettingsFile other(kFile);
        mine.writeInteger("Allgemein", "vsplit", 260);
        if (byHand)
            dir.write(kFile, dir.read(kFile) + "\r\n[mail]\r\nemail=verleih@example.org\r\n");
        else
            other.writeString("mail", "email", "verleih@example.org");
        mine.writeInteger("Allgemein", "hsplit", 150);
        QCOMPARE(dir.read(kFile), QByteArray("[Allgemein]\r\nvsplit=260\r\nhsplit=150\r\n\r\n"
                                             "[mail]\r\nemail=verleih@example.org\r\n"));
        QCOMPARE(mine.readString("mail", "email", "def"), u"verleih@example.org"_s);
    }

    void aLineBreakInAValueStaysInItsLine() {
        WorkingDir dir;
        SettingsFile(kFile).writeString("mail", "betreff", "Bestellung\r\n[Extras]\ncdstart=1");
        QCOMPARE(dir.read(kFile),
                 QByteArray("[mail]\r\nbetreff=Bestellung [Extras] cdstart=1\r\n"));
    }

    void fileUnderARegularFileCannotBeWritten() {
        WorkingDir dir;
        dir.write("blocker", "kein Verzeichnis");
        SettingsFile settings("blocker/orbaw.ini", kDisplayName);
        QCOMPARE(errorOf([&] { settings.writeInteger("Anzeige", "hsplit", 1); }),
                 QString("Nach .\\orbaw.ini kann nicht geschrieben werden"));
        QCOMPARE(settings.readInteger("Anzeige", "hsplit", kDefault), kDefault);
    }
};

ORBA_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
