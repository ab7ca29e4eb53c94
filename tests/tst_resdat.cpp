#include "lists/ReservationDate.h"
#include "lists/Tresdat.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
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

QString inDays(int days) {
    return orba::formatReservationDate(QDate::currentDate().addDays(days));
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestResdat : public QObject {
    Q_OBJECT

private slots:
    void readingADate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: no date
        QTest::newRow("as written") << u"24.12.2026"_s << QDate(2026, 12, 24);
        QTest::newRow("typed without leading zeros") << u"1.2.2027"_s << QDate(2027, 2, 1);
        QTest::newRow("no such day") << u"31.02.2027"_s << QDate();
        QTest::newRow("letters") << u"ab.xy."_s << QDate();
        QTest::newRow("TAB inside") << u"1\t.12.2026"_s << QDate();
        QTest::newRow("line break after") << u"24.12.2026\n"_s << QDate();
        QTest::newRow("empty") << QString() << QDate();
    }
    void readingADate() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(orba::readReservationDate(text).value_or(QDate()), date);
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
        const QDate read = orba::readReservationDate(today).value_or(QDate());
        QVERIFY(read == before || read == after);
    }

    // The field holds only dates; it opens at the stored one, or at today for a text that is no
    // date or a date gone by.
    void dialog_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen"); // empty: left as shown
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("button");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK with a new date") << inDays(3) << inDays(3) << inDays(10) << false
                                            << u"OK"_s << Answer(std::pair(inDays(10), false));
        QTest::newRow("OK for all") << inDays(3) << inDays(3) << QString() << true << u"OK"_s
                                    << Answer(std::pair(inDays(3), true));
        QTest::newRow("no date") << u"ab.xy."_s << inDays(0) << QString() << false << u"OK"_s
                                 << Answer(std::pair(inDays(0), false));
        QTest::newRow("gone by") << inDays(-5) << inDays(0) << QString() << false << u"OK"_s
                                 << Answer(std::pair(inDays(0), false));
        QTest::newRow("Cancel") << inDays(3) << inDays(3) << inDays(10) << true << u"Abbrechen"_s
                                << Answer();
        QTest::newRow("gone by: refused")
            << inDays(3) << inDays(3) << inDays(-1) << false << u"OK"_s << Answer();
    }
    void dialog() {
        QFETCH(QString, current);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        QFETCH(bool, tick);
        QFETCH(QString, button);
        QFETCH(Answer, answer);
        Tresdat dialog(nullptr);
        // A tick left from an earlier use must not carry over.
        dialog.CheckBox1->setChecked(true);
        QString seen;
        bool tickedOnOpening = true;
        const orba::test::MessageWatch messages;
        orba::test::answerNextModal([&](QWidget*) {
            seen = dialog.DateEdit1->text();
            tickedOnOpening = dialog.CheckBox1->isChecked();
            if (!chosen.isEmpty())
                dialog.DateEdit1->setDate(*orba::readReservationDate(chosen));
            dialog.CheckBox1->setChecked(tick);
            (button == u"OK"_s ? dialog.BitBtn1 : dialog.BitBtn2)->click();
            if (dialog.isVisible())
                dialog.BitBtn2->click();
        });
        QCOMPARE(dialog.ask(current), answer);
        QCOMPARE(seen, shown);
        QVERIFY(!tickedOnOpening);
        const bool past =
            !chosen.isEmpty() && *orba::readReservationDate(chosen) < QDate::currentDate();
        QCOMPARE(messages.texts().filter(u"in der Vergangenheit"_s).size(), past ? 1 : 0);
    }
};

ORBA_TEST_MAIN(TestResdat)
#include "tst_resdat.moc"
