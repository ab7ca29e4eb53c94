#include "lists/ReservationDate.h"
#include "lists/Tresdat.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using orba::Tresdat;

namespace {

using Answer = std::optional<std::pair<QString, bool>>;

// Restores the default locale the test changed.
struct DefaultLocale {
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(previous); }
    QLocale previous;
};

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestResdat : public QObject {
    Q_OBJECT

private slots:
    void split_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::newRow("full") << u"24.12.2026"_s << u"24"_s << u"12"_s << u"2026"_s;
        QTest::newRow("two-digit year") << u"24.12.26"_s << u"24"_s << u"12"_s << u"26"_s;
        QTest::newRow("no year") << u"24.12."_s << u"24"_s << u"12"_s << QString();
        QTest::newRow("day only") << u"24"_s << u"24"_s << QString() << QString();
        QTest::newRow("one character") << u"7"_s << u"7"_s << QString() << QString();
        QTest::newRow("empty") << QString() << QString() << QString() << QString();
        QTest::newRow("typed without leading zeros")
            << u"1.2.2027"_s << u"1"_s << u"2"_s << u"2027"_s;
        QTest::newRow("one dot") << u"5.3"_s << u"5"_s << u"3"_s << QString();
        QTest::newRow("more dots") << u"1.2.20.27"_s << u"1"_s << u"2"_s << u"20.2"_s;
        QTest::newRow("parts longer than their fields")
            << u"123.456.78901"_s << u"12"_s << u"45"_s << u"7890"_s;
        QTest::newRow("longer than ten") << u"24.12.202612"_s << u"24"_s << u"12"_s << u"2026"_s;
        QTest::newRow("free text") << u"ab Ostern"_s << u"ab"_s << u"Os"_s << u"ern"_s;
    }
    void split() {
        QFETCH(QString, date);
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        const orba::DateParts parts = orba::splitReservationDate(date);
        QCOMPARE(parts.day, day);
        QCOMPARE(parts.month, month);
        QCOMPARE(parts.year, year);
        // Confirming the dialog unchanged keeps the date as the dialog shows it.
        const orba::DateParts again = orba::splitReservationDate(orba::joinReservationDate(parts));
        QCOMPARE(again.day, day);
        QCOMPARE(again.month, month);
        QCOMPARE(again.year, year);
    }

    void join_data() {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("date");
        QTest::newRow("no leading zeros") << u"1"_s << u"2"_s << u"2027"_s << u"1.2.2027"_s;
        QTest::newRow("full") << u"24"_s << u"12"_s << u"2026"_s << u"24.12.2026"_s;
        QTest::newRow("all empty") << QString() << QString() << QString() << u".."_s;
        QTest::newRow("not a date") << u"xx"_s << u"3"_s << u""_s << u"xx.3."_s;
    }
    void join() {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QString, date);
        QCOMPARE(orba::joinReservationDate({day, month, year}), date);
    }

    void todayIsDayMonthYear_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("Arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt);
    }
    void todayIsDayMonthYear() {
        QFETCH(QLocale, locale);
        const DefaultLocale scope(locale);
        const QDate before = QDate::currentDate();
        const QString today = orba::todayAsReservationDate();
        const QDate after = QDate::currentDate();
        QVERIFY2(QRegularExpression(u"^\\d\\d\\.\\d\\d\\.\\d\\d\\d\\d$"_s).match(today).hasMatch(),
                 qPrintable(today));
        const QDate read(today.mid(6, 4).toInt(), today.mid(3, 2).toInt(), today.left(2).toInt());
        QVERIFY(read == before || read == after);
    }

    void dialog_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("typed"); // empty: left as shown
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("button");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK as typed") << u"24.12.2026"_s << QStringList{u"24"_s, u"12"_s, u"2026"_s}
                                     << QStringList{u"1"_s, u"2"_s, u"2027"_s} << false << u"OK"_s
                                     << Answer(std::pair(u"1.2.2027"_s, false));
        QTest::newRow("OK for all")
            << u"24.12.2026"_s << QStringList{u"24"_s, u"12"_s, u"2026"_s} << QStringList{} << true
            << u"OK"_s << Answer(std::pair(u"24.12.2026"_s, true));
        QTest::newRow("short date kept")
            << u"3.4."_s << QStringList{u"3"_s, u"4"_s, QString()} << QStringList{} << false
            << u"OK"_s << Answer(std::pair(u"3.4."_s, false));
        QTest::newRow("empty fields") << u"24.12.2026"_s << QStringList{u"24"_s, u"12"_s, u"2026"_s}
                                      << QStringList{QString(), QString(), QString()} << false
                                      << u"OK"_s << Answer(std::pair(u".."_s, false));
        QTest::newRow("Cancel") << u"24.12.2026"_s << QStringList{u"24"_s, u"12"_s, u"2026"_s}
                                << QStringList{u"1"_s, u"2"_s, u"2027"_s} << true << u"Abbrechen"_s
                                << Answer();
    }
    void dialog() {
        QFETCH(QString, current);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, typed);
        QFETCH(bool, tick);
        QFETCH(QString, button);
        QFETCH(Answer, answer);
        Tresdat dialog(nullptr);
        // A tick left from an earlier use must not carry over.
        dialog.CheckBox1->setChecked(true);
        QStringList seen;
        bool tickedOnOpening = true;
        orba::test::answerNextModal([&](QWidget*) {
            seen = QStringList{dialog.Edit1->text(), dialog.Edit2->text(), dialog.Edit3->text()};
            tickedOnOpening = dialog.CheckBox1->isChecked();
            if (!typed.isEmpty()) {
                dialog.Edit1->setText(typed[0]);
                dialog.Edit2->setText(typed[1]);
                dialog.Edit3->setText(typed[2]);
            }
            dialog.CheckBox1->setChecked(tick);
            (button == u"OK"_s ? dialog.BitBtn1 : dialog.BitBtn2)->click();
        });
        QCOMPARE(dialog.ask(current), answer);
        QCOMPARE(seen, shown);
        QVERIFY(!tickedOnOpening);
    }

    void fieldsTakeAtMostTheirLength_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("kept");
        QTest::newRow("day") << u"Edit1"_s << u"12"_s;
        QTest::newRow("month") << u"Edit2"_s << u"12"_s;
        QTest::newRow("year") << u"Edit3"_s << u"1234"_s;
    }
    void fieldsTakeAtMostTheirLength() {
        QFETCH(QString, field);
        QFETCH(QString, kept);
        Tresdat dialog(nullptr);
        auto* edit = dialog.findChild<QLineEdit*>(field);
        QVERIFY(edit);
        QTest::keyClicks(edit, u"123456"_s);
        QCOMPARE(edit->text(), kept);
    }
};

ORBA_TEST_MAIN(TestResdat)
#include "tst_resdat.moc"
