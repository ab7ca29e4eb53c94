#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "lists/PrivateListFile.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <functional>
#include <QFile>

using namespace Qt::StringLiterals;
using orba::OrbaError;
using orba::PrivateListEntry;
using orba::test::WorkingDir;

namespace {

const QString kFile = u"orba.lst"_s;

QByteArray cp1252(const QString& text) {
    return orba::cp1252::encode(text);
}

// Entries written as "signature/title/index" so that a table row holds a whole list.
QStringList described(const QList<PrivateListEntry>& entries) {
    QStringList result;
    for (const PrivateListEntry& entry : entries)
        result.append(entry.signature + u'/' + entry.title + u'/' + QString::number(entry.index));
    return result;
}

// A name one short of the longest a file may have, so that the file itself can exist but no
// temporary file beside it can be made for an atomic replacement.
QString nameTooLongToReplace() {
    return u"orba"_s + QString(247, u'x') + u".lst"_s;
}

orba::PrivateListLoad loadFile(const QString& path) {
    orba::WholeFile file(path);
    return orba::loadPrivateList(file);
}

// As the program saves: after reading the file at start.
void save(const QString& path, const QList<PrivateListEntry>& entries) {
    orba::WholeFile file(path);
    orba::loadPrivateList(file);
    orba::savePrivateList(file, entries);
}

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const OrbaError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestPrivateListFile : public QObject {
    Q_OBJECT

private slots:
    void missingFileGivesEmptyListWithoutError() {
        WorkingDir dir;
        const orba::PrivateListLoad load = loadFile(kFile);
        QVERIFY(load.entries.isEmpty());
        QVERIFY(!load.error);
    }

    void linesLoad_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("signature with blank")
            << QByteArray("AB 12|Tiere im Wald|17\r\n") << QStringList{u"AB 12/Tiere im Wald/17"_s};
        QTest::newRow("cp1252 letters") << QByteArray("\xC4 1|Gr\xF6\xDF"
                                                      "e \x80|3\r\n")
                                        << QStringList{u"Ä 1/Größe €/3"_s};
        QTest::newRow("one bar: no title, index 0")
            << QByteArray("AB 12|Tiere im Wald\r\n") << QStringList{u"AB 12//0"_s};
        QTest::newRow("empty index part")
            << QByteArray("AB 12|Tiere|\r\n") << QStringList{u"AB 12/Tiere/0"_s};
        QTest::newRow("line without bar skipped")
            << QByteArray("Kopfzeile\r\nX 1|a|1\r\n\r\nY 2|b|2\r\n")
            << QStringList{u"X 1/a/1"_s, u"Y 2/b/2"_s};
        QTest::newRow("LF and CR line ends")
            << QByteArray("X 1|a|1\nY 2|b|2\rZ 3|c|3")
            << QStringList{u"X 1/a/1"_s, u"Y 2/b/2"_s, u"Z 3/c/3"_s};
        QTest::newRow("signed indexes") << QByteArray("X|a|-2147483648\r\nY|b|+7\r\n")
                                        << QStringList{u"X/a/-2147483648"_s, u"Y/b/7"_s};
        QTest::newRow("empty signature: no medium, never saved")
            << QByteArray("|a|5\r\nX|b|6\r\n") << QStringList{u"X/b/6"_s};
    }
    void linesLoad() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        WorkingDir dir;
        dir.write(kFile, bytes);
        const orba::PrivateListLoad load = loadFile(kFile);
        QCOMPARE(described(load.entries), entries);
        QVERIFY(!load.error);
    }

    void badIndexIsReported_data() {
        QTest::addColumn<QString>("indexText");
        QTest::newRow("letters") << u"abc"_s;
        QTest::newRow("third bar") << u"4|5"_s;
        QTest::newRow("trailing blank") << u"7 "_s;
        QTest::newRow("hex") << u"0x11"_s;
        QTest::newRow("sign only") << u"-"_s;
        QTest::newRow("too large") << u"2147483648"_s;
        QTest::newRow("decimal point") << u"1.5"_s;
    }
    void badIndexIsReported() {
        QFETCH(QString, indexText);
        WorkingDir dir;
        dir.write(kFile,
                  cp1252(u"A 1|erster|1\r\nB 2|Bär|"_s + indexText + u"\r\nC 3|dritter|3\r\n"_s));
        const orba::PrivateListLoad load = loadFile(kFile);
        QVERIFY(load.error);
        QCOMPARE(load.error->message(), u"'%1' ist kein gültiger Integerwert"_s.arg(indexText));
        QCOMPARE(described(load.entries),
                 (QStringList{u"A 1/erster/1"_s, u"B 2/Bär/0"_s, u"C 3/dritter/3"_s}));
    }

    void onlyFirstBadIndexIsReported() {
        WorkingDir dir;
        dir.write(kFile, "A|a|x1\r\nB|b|2\r\nC|c|y2\r\n");
        const orba::PrivateListLoad load = loadFile(kFile);
        QVERIFY(load.error);
        QCOMPARE(load.error->message(), u"'x1' ist kein gültiger Integerwert"_s);
        QCOMPARE(described(load.entries), (QStringList{u"A/a/0"_s, u"B/b/2"_s, u"C/c/0"_s}));
    }

    void roundTripIsByteExact_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("umlauts and euro")
            << cp1252(u"Ö 12|Über Bäume und Sträucher €|17\r\nAB 3|Straße|0\r\n"_s);
        QTest::newRow("empty title") << QByteArray("X 1||42\r\n");
        QTest::newRow("negative index") << QByteArray("X 1|t|-3\r\n");
        QTest::newRow("empty file") << QByteArray();
    }
    void roundTripIsByteExact() {
        QFETCH(QByteArray, bytes);
        WorkingDir dir;
        dir.write(kFile, bytes);
        const orba::PrivateListLoad load = loadFile(kFile);
        QVERIFY(!load.error);
        save(u"copy.lst"_s, load.entries);
        QCOMPARE(dir.read(u"copy.lst"_s), bytes);
    }

    void saveWritesEveryEntryWithSignature() {
        WorkingDir dir;
        save(kFile, {{u"A 1"_s, u"Käse"_s, 5}, {}, {u"B 2"_s, QString(), 0}});
        QCOMPARE(dir.read(kFile), cp1252(u"A 1|Käse|5\r\nB 2||0\r\n"_s));
    }

    void saveReplacesTheWholeFile() {
        WorkingDir dir;
        dir.write(kFile, "alt 1|alt|1\r\nalt 2|alt|2\r\nalt 3|alt|3\r\n");
        save(kFile, {{u"N 1"_s, u"neu"_s, 9}});
        QCOMPARE(dir.read(kFile), QByteArray("N 1|neu|9\r\n"));
    }

    void failedSaveKeepsOldFile() {
        WorkingDir dir;
        const QString name = nameTooLongToReplace();
        const QByteArray old("A 1|alt|1\r\n");
        dir.write(name, old);
        QCOMPARE(dir.read(name), old);
        const QString message = errorOf([&] { save(name, {{u"B 2"_s, u"neu"_s, 2}}); });
        QCOMPARE(message, u"Datei %1 kann nicht erstellt werden"_s.arg(name));
        QCOMPARE(dir.read(name), old);
    }

    void saveIntoMissingFolderFails() {
        WorkingDir dir;
        const QString name = u"fehlt/orba.lst"_s;
        QCOMPARE(errorOf([&] {
                     save(name, {{u"B 2"_s, u"neu"_s, 2}});
                 }),
                 u"Datei %1 kann nicht erstellt werden"_s.arg(name));
        QVERIFY(!QFile::exists(dir.file(name)));
    }
};

ORBA_TEST_MAIN(TestPrivateListFile)
#include "tst_privatelistfile.moc"
