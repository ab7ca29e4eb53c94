#include "core/TextFile.h"
#include "output/MailBody.h"
#include "output/MailCommand.h"
#include "output/MailerRun.h"
#include "output/MailSignIn.h"
#include "output/ReportSource.h"
#include "output/Temail.h"
#include "output/Tfehler.h"
#include "output/TForm15.h"
#include "output/Tpasswort.h"
#include "output/TQRPrint.h"
#include "platform/PasswordStore.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

using namespace orba;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using test::kMailPassword;
using test::kMailUser;
using test::MailServer;
using test::TestCertificates;
using test::WorkingDir;

namespace {

const QString kRealMailer = QStringLiteral(ORBA_MAILER);
const QString kSent = u"Meldung|Die Mail wurde gesendet, Protokoll anzeigen ?"_s;
const QString kFailed = u"Fehler|Fehler beim Senden der Mail, Fehlerprotokoll anzeigen ?"_s;
const QString kFormatMessage = u"Fehler|Falsche E-Mail-Adresse. Die Adresse muss im Format "
                               "'Name@Host' eingegeben werden."_s;
const QString kPrompt = u"Eigene E-Mail-Adresse|"_s;
const QString kPasswordDialog = u"Anmeldung am SMTP-Server|"_s;
const QString kOwnAddress = u"buecherei@schule.example"_s;
const QString kRecipient = u"leihverkehr@wirkhaus.example"_s;

// ---- print mask and data for the mail body ----

struct MaskText {
    int x;
    int y;
    QString text;
};

QStringList maskBand(QChar prefix, const QList<MaskText>& texts) {
    const QString p(prefix);
    QStringList lines{p + u"bnd_h=40"_s, p + u"cnt="_s + QString::number(texts.size())};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString stem = p + QString::number(i);
        lines << stem + u"_typ=1"_s << stem + u"_x="_s + QString::number(texts[i].x)
              << stem + u"_y="_s + QString::number(texts[i].y) << stem + u"_w=100"_s
              << stem + u"_h=18"_s << stem + u"_algn=0"_s << stem + u"_fs=10"_s
              << stem + u"_fn=Arial"_s << stem + u"_t="_s + texts[i].text << stem + u"_fc=0"_s;
    }
    return lines;
}

// An order mask whose detail band holds all its elements on one row.
void writeOrderMask() {
    const QStringList title = maskBand(
        u'0', {{30, 10, u"Bestellung"_s}, {30, 40, u"Bestellt von:"_s}, {170, 40, u"^Name"_s}});
    const QStringList header = maskBand(u'1', {{30, 5, u"Signatur"_s},
                                               {150, 5, u"Titel"_s},
                                               {500, 5, u"Dauer"_s},
                                               {600, 5, u"Res.Datum"_s}});
    const QStringList detail = maskBand(u'2', {{30, 2, u"^Sig"_s},
                                               {150, 2, u"^Titel"_s},
                                               {500, 2, u"^Dauer"_s},
                                               {600, 2, u"^Resdatum"_s}});
    textfile::writeLines(u"bestell.r02"_s, title + header + detail);
}

// Records as "name=value" texts; the title data fill "^Name".
class FakeSource : public ReportSource {
public:
    QList<QStringList> records;
    QString userName = u"Anna Müller"_s;
    QString school; // set only when not null
    QStringList titleNames;

    int recordCount() const override { return static_cast<int>(records.size()) + 1; }
    void titleData(ValueList& list) override {
        for (const ValueEntry& entry : list.entries())
            titleNames.append(entry.name);
        list.set(u"^Name"_s, userName);
        if (!school.isNull())
            list.set(u"^Schulname"_s, school);
    }
    bool nextRecord(ValueList& list) override {
        if (m_next >= records.size())
            return false;
        for (const QString& pair : records[m_next]) {
            const qsizetype split = pair.indexOf(u'=');
            list.set(pair.left(split), pair.mid(split + 1));
        }
        ++m_next;
        return true;
    }

private:
    qsizetype m_next = 0;
};

// ---- fake mailers ----

// A stand-in for the mailer: a shell script that notes its arguments in "args.txt", one a line,
// and then runs `action`.
void writeFakeMailer(const WorkingDir& dir, const QByteArray& action) {
    dir.write(u"send.exe"_s,
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n" + action +
                  "\n");
    QFile::setPermissions(dir.file(u"send.exe"_s),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A mailer that writes `log` as its log, whole, as the real one does.
void writeLoggingMailer(const WorkingDir& dir, const QByteArray& log) {
    dir.write(u"chosen.log"_s, log);
    writeFakeMailer(dir, "cp chosen.log log.part && mv log.part log.tmp");
}

QStringList argumentsReceived(const WorkingDir& dir) {
    QStringList lines = QString::fromUtf8(dir.read(u"args.txt"_s)).split(u'\n');
    lines.removeLast();
    return lines;
}

// ---- signing in ----

// A password store in memory; `works` false plays a desktop without one.
class FakeStore : public PasswordStore {
public:
    bool works = true;
    QHash<QString, QString> entries;

    Lookup read(const QString& key) override {
        if (!works)
            return {};
        return entries.contains(key) ? Lookup{Status::Found, entries.value(key)}
                                     : Lookup{Status::Missing, QString()};
    }
    bool write(const QString& key, const QString& password) override {
        if (works)
            entries.insert(key, password);
        return works;
    }
    void remove(const QString& key) override { entries.remove(key); }
};

QByteArray signInSettings(const QString& host, const QString& security, const QString& user) {
    return ("[mail]\r\nSMTP Host=" + host + u"\r\nSMTP Sicherheit="_s + security +
            u"\r\nSMTP Benutzer="_s + user + u"\r\n"_s)
        .toLatin1();
}

// Answers each question for the password with the next of `answers` (nothing: cancel) and
// notes what it was offered as "user@host canSave save".
struct PasswordQuestions {
    QList<std::optional<MailSignIn::Answer>> answers;
    QStringList asked;

    MailSignIn::Ask ask() {
        return [this](const MailAccount& account, bool canSave, bool save) {
            asked.append(u"%1@%2 %3 %4"_s.arg(account.user, account.host).arg(canSave).arg(save));
            return answers.isEmpty() ? std::nullopt : answers.takeFirst();
        };
    }
};

// ---- answering the modal dialogs ----

void clickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->text().remove(u'&') == text) {
            button->click();
            return;
        }
    }
    qWarning("no button '%s' in '%s'", qPrintable(text), qPrintable(dialog->windowTitle()));
    dialog->close();
}

using Step = std::function<void(QWidget*)>;

Step press(const QString& button) {
    return [button](QWidget* dialog) { clickButton(dialog, button); };
}

Step enterAddress(const QString& address, QString* fieldBefore = nullptr) {
    return [address, fieldBefore](QWidget* dialog) {
        auto* field = dialog->findChild<QLineEdit*>(u"Edit1"_s);
        if (fieldBefore)
            *fieldBefore = field->text();
        field->setText(address);
        clickButton(dialog, u"OK"_s);
    };
}

// Types the password into the password dialog and notes whether saving was offered and whether
// OK waited for a password.
Step enterPassword(const QString& password, QStringList* offered) {
    return [password, offered](QWidget* dialog) {
        auto* passwordDialog = qobject_cast<Tpasswort*>(dialog);
        offered->append(u"save %1, OK %2"_s.arg(passwordDialog->CheckBox1->isEnabled())
                            .arg(passwordDialog->BitBtn2->isEnabled()));
        passwordDialog->Edit1->setText(password);
        clickButton(dialog, u"OK"_s);
    };
}

// The window's text from top to bottom: the cause, where there is one, above the transcript.
Step readLogWindow(QString* log) {
    return [log](QWidget* dialog) {
        const auto* memo = dialog->findChild<QPlainTextEdit*>(u"Memo1"_s);
        const auto* cause = dialog->findChild<QLabel*>(u"Label1"_s);
        const bool above = cause && cause->isVisible() && cause->geometry().bottom() < memo->y();
        *log = (above ? cause->text() + u"\n\n"_s : QString()) + memo->toPlainText();
        if (!dialog->rect().contains(dialog->findChild<QPushButton*>(u"BitBtn1"_s)->geometry()))
            *log += u"\n(OK außerhalb des Fensters)"_s;
        clickButton(dialog, u"OK"_s);
    };
}

// Answers the modal dialogs shown while it lives, one step each, and notes each as
// "caption|text"; a dialog beyond the steps is noted and closed instead of hanging the test.
// Steps run after the poll returns, so that a step may open a dialog the next step answers.
class ModalScript {
public:
    explicit ModalScript(QList<Step> steps, QWidget* ignored = nullptr)
        : m_steps(std::move(steps)), m_ignored(ignored) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    QStringList seen;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == m_current)
            return;
        m_current = modal;
        if (!modal || modal == m_ignored)
            return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen.append(modal->windowTitle() + u'|' + (box ? box->text() : QString()));
        const Step step =
            m_steps.isEmpty() ? Step([](QWidget* w) { w->close(); }) : m_steps.takeFirst();
        QTimer::singleShot(0, modal, [step, modal] { step(modal); });
    }

    QTimer m_timer;
    QList<Step> m_steps;
    QWidget* m_ignored;
    QPointer<QWidget> m_current;
};

// The e-mail dialog with its prompt and a settings stand-in that starts with `ownAddress`.
struct EmailFixture {
    QWidget owner;
    Temail email{&owner};
    TForm15 prompt{&owner};
    QString ownAddress;
    QStringList stored;

    explicit EmailFixture(const QString& own = kOwnAddress) : ownAddress(own) {
        email.setSettingsAccess([this] { return ownAddress; },
                                [this](const QString& address) {
                                    stored.append(address);
                                    ownAddress = address;
                                });
        email.setAddressPrompt(&prompt);
    }

    // Opens the dialog with an order, presses "Mail senden" `sends` times, then closes the dialog
    // with "Abbrechen". False when the dialog was closed by a send.
    bool send(const QStringList& body, const QString& subject, int sends = 1) {
        bool stayedOpen = true;
        QTimer::singleShot(0, &email, [&] {
            for (int i = 0; i < sends; ++i) {
                email.BitBtn3->click();
                stayedOpen = stayedOpen && email.isVisible();
            }
            email.BitBtn2->click();
        });
        email.open(body, kRecipient, subject);
        return stayedOpen;
    }
    bool send() { return send({u"Bestellung"_s}, u"Bestellung"_s); }
};

QStringList strings(const QJsonValue& array) {
    QStringList list;
    for (const QJsonValue& value : array.toArray())
        list.append(value.toString());
    return list;
}

bool copyRealMailer(const WorkingDir& dir) {
    return QFile::copy(kRealMailer, dir.file(u"send.exe"_s)) &&
           QFile::setPermissions(dir.file(u"send.exe"_s),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestEmail : public QObject {
    Q_OBJECT

private:
    MailServer m_server;
    TestCertificates m_certificates;

private slots:
    void initTestCase() {
        QVERIFY(m_certificates.make());
        m_server.start(&m_certificates);
    }

    // The wait for the mailer must give the cursor back whichever way it ends.
    void cleanup() { QCOMPARE(QApplication::overrideCursor(), nullptr); }

    void composesBodyFromOrderMask_data() {
        QTest::addColumn<QList<QStringList>>("records");
        QTest::addColumn<QStringList>("expected");
        const QStringList head{u"Bestellung"_s, u"Bestellt von:  Anna Müller"_s, QString(),
                               u"Signatur  Titel  Dauer  Res.Datum"_s};
        QTest::newRow("record without duration after one with it")
            << QList<QStringList>{{u"^Sig=A 12"_s, u"^Titel=Faust"_s, u"^Dauer=90 min"_s,
                                   u"^Resdatum=12.05.2025"_s},
                                  {u"^Sig=B 7"_s, u"^Titel=Woyzeck"_s, u"^Resdatum=13.05.2025"_s}}
            << head + QStringList{u"A 12  Faust  90 min  12.05.2025"_s,
                                  u"B 7  Woyzeck    13.05.2025"_s};
        QTest::newRow("empty basket") << QList<QStringList>{} << head;
    }
    void composesBodyFromOrderMask() {
        QFETCH(QList<QStringList>, records);
        QFETCH(QStringList, expected);
        WorkingDir dir;
        writeOrderMask();
        QWidget owner;
        TQRPrint print(&owner);
        FakeSource source;
        source.records = records;

        QCOMPARE(composeMailBody(print, source), expected);
        // The title data see every placeholder of the mask, as the title provider expects.
        QCOMPARE(source.titleNames,
                 (QStringList{u"^Name"_s, u"^Sig"_s, u"^Titel"_s, u"^Dauer"_s, u"^Resdatum"_s}));
    }

    // A user without school and a medium without date: the demo order mail names no placeholder.
    void demoOrderMaskLeavesEmptyValuesEmpty() {
        WorkingDir dir;
        for (const char* file : {"bestell.r02", "bestell.bmp", "linie.bmp"})
            QVERIFY(QFile::copy(QStringLiteral(ORBA_SOURCE_DIR "/demo/") + file, dir.file(file)));
        QWidget owner;
        TQRPrint print(&owner);
        FakeSource source;
        source.userName = u"Becker, Anna"_s;
        source.school = u""_s;
        source.records = {{u"^Sig=TH049"_s, u"^Titel=Der vergessliche Wichtel"_s}};

        const QStringList body = composeMailBody(print, source);

        QVERIFY2(!body.join(u'\n').contains(u'^'), qPrintable(body.join(u'\n')));
        QVERIFY(body.contains(u"Bestellt von:  Becker, Anna"_s));
        QVERIFY(body.contains(u"Schule:"_s));
        QVERIFY(body.contains(u"TH049  Der vergessliche Wichtel"_s));
    }

    void missingMaskKeepsWhatTheBandsHold() {
        WorkingDir dir;
        writeOrderMask();
        QWidget owner;
        TQRPrint print(&owner);
        FakeSource first;
        first.records = {{u"^Sig=A 12"_s, u"^Titel=Faust"_s}};
        const QStringList before = composeMailBody(print, first);
        QVERIFY(QFile::remove(dir.file(u"bestell.r02"_s)));

        FakeSource second;
        second.records = first.records;
        ModalScript script({press(u"OK"_s)});
        const QStringList after = composeMailBody(print, second);

        QCOMPARE(script.seen, QStringList{u"Fehler|Druckmaskenformat 'bestell.r02' nicht "
                                          "vorhanden."_s});
        QCOMPARE(after, before);
    }

    void missingMaskWithEmptyBandsGivesEmptyLines() {
        WorkingDir dir;
        QWidget owner;
        TQRPrint print(&owner);
        FakeSource source;
        source.records = {{u"^Sig=A 12"_s}, {u"^Sig=B 7"_s}};
        ModalScript script({press(u"OK"_s)});

        const QStringList body = composeMailBody(print, source);

        QCOMPARE(script.seen.size(), 1);
        // Title, the empty line, header, and one line per record.
        QCOMPARE(body, QStringList(5));
    }

    void commandLineAndArguments_data() {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QStringList>("arguments");
        const QString sender = u"-f"_s + kOwnAddress;
        QTest::newRow("plain") << u"Bestellung"_s << kRecipient
                               << u"send.exe -d -s\"Bestellung\" -f\"buecherei@schule.example\" "
                                  "leihverkehr@wirkhaus.example mail.tmp"_s
                               << QStringList{u"-d"_s, u"-sBestellung"_s, sender, kRecipient,
                                              u"mail.tmp"_s};
        QTest::newRow("shell characters in the subject")
            << u"Bestellung \"eilig\"; rm -rf $(pwd) & `id` | Grüße > x"_s << kRecipient
            << u"send.exe -d -s\"Bestellung \"eilig\"; rm -rf $(pwd) & `id` | Grüße > x\" "
               "-f\"buecherei@schule.example\" leihverkehr@wirkhaus.example mail.tmp"_s
            << QStringList{u"-d"_s, u"-sBestellung \"eilig\"; rm -rf $(pwd) & `id` | Grüße > x"_s,
                           sender, kRecipient, u"mail.tmp"_s};
        QTest::newRow("recipients separated by blanks")
            << u"B"_s << u" a@x.example  b@y.example "_s
            << u"send.exe -d -s\"B\" -f\"buecherei@schule.example\"  a@x.example  b@y.example  "
               "mail.tmp"_s
            << QStringList{u"-d"_s,          u"-sB"_s,         sender,
                           u"a@x.example"_s, u"b@y.example"_s, u"mail.tmp"_s};
        QTest::newRow("no recipient")
            << QString() << QString()
            << u"send.exe -d -s\"\" -f\"buecherei@schule.example\"  mail.tmp"_s
            << QStringList{u"-d"_s, u"-s"_s, sender, u"mail.tmp"_s};
    }
    void commandLineAndArguments() {
        QFETCH(QString, subject);
        QFETCH(QString, recipient);
        QFETCH(QString, commandLine);
        QFETCH(QStringList, arguments);
        QCOMPARE(mailCommandLine(subject, kOwnAddress, recipient), commandLine);
        QCOMPARE(mailArguments(subject, kOwnAddress, recipient), arguments);
    }

    void argumentsReachTheMailerIntact() {
        WorkingDir dir;
        writeLoggingMailer(dir, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        const QStringList arguments =
            mailArguments(u"Bestellung \"eilig\"; touch hacked; $(touch hacked) `touch hacked`"_s,
                          kOwnAddress, u"a@x.example b@y.example"_s);

        QCOMPARE(runMailer(arguments), MailerOutcome::Sent);

        QCOMPARE(argumentsReceived(dir), arguments);
        QVERIFY(!QFile::exists(dir.file(u"hacked"_s)));
    }

    // A null log stands for a mailer that ends cleanly without writing one. A log left by an
    // earlier send is never taken for this one's.
    void judgesTheLog_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<MailerOutcome>("outcome");
        QTest::newRow("phrase inside a line, mixed case, first line")
            << QByteArray("< 250 Ok: Transaction Successfully Completed.\r\nQUIT\r\n")
            << MailerOutcome::Sent;
        QTest::newRow("phrase without a line end")
            << QByteArray("TRANSACTION SUCCESSFULLY COMPLETED") << MailerOutcome::Sent;
        QTest::newRow("error report")
            << QByteArray("> MAIL FROM:<a@b>\r\nFehler: Der SMTP-Server ist nicht erreichbar.\r\n")
            << MailerOutcome::Failed;
        QTest::newRow("phrase split over two lines")
            << QByteArray("TRANSACTION SUCCESSFULLY\r\nCOMPLETED\r\n") << MailerOutcome::Failed;
        // Windows upper-casing keeps the sharp s; it does not turn into "SS".
        QTest::newRow("sharp s is no double s") << QByteArray("transaction succe\xdf"
                                                              "fully completed\r\n")
                                                << MailerOutcome::Failed;
        QTest::newRow("password refused")
            << QByteArray("< 535 5.7.8 Authentication credentials invalid\r\nFehler: Anmeldung "
                          "abgelehnt: Der SMTP-Server x:587 hat ...\r\n")
            << MailerOutcome::SignInRefused;
        QTest::newRow("refusal words from the server only")
            << QByteArray("< 554 Fehler: Anmeldung abgelehnt\r\nFehler: Der Server hat die Mail "
                          "abgelehnt\r\n")
            << MailerOutcome::Failed;
        QTest::newRow("ends without log") << QByteArray() << MailerOutcome::NoLog;
        QTest::newRow("ends with an empty log") << QByteArray("") << MailerOutcome::NoLog;
    }
    void judgesTheLog() {
        QFETCH(QByteArray, log);
        QFETCH(MailerOutcome, outcome);
        WorkingDir dir;
        dir.write(u"log.tmp"_s, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        if (log.isNull())
            writeFakeMailer(dir, "exit 0");
        else
            writeLoggingMailer(dir, log);
        QCOMPARE(runMailer(mailArguments(u"B"_s, kOwnAddress, kRecipient)), outcome);
        if (log.isNull())
            QVERIFY(!QFile::exists(dir.file(u"log.tmp"_s)));
    }

    void waitRunsOutAndStopsTheMailer() {
        WorkingDir dir;
        // Killed during its first second, it never gets to leave its mark.
        writeFakeMailer(dir, "sleep 1; touch late; exec sleep 30");

        QCOMPARE(runMailer({u"mail.tmp"_s}, 200ms), MailerOutcome::NoLog);

        QTest::qWait(1500);
        QVERIFY(!QFile::exists(dir.file(u"late"_s)));
    }

    void waitShowsBusyCursorAndKeepsEventsFlowing() {
        WorkingDir dir;
        dir.write(u"chosen.log"_s, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        writeFakeMailer(dir, "sleep 0.5; cp chosen.log log.part && mv log.part log.tmp");
        QList<Qt::CursorShape> shapes;
        QTimer probe;
        probe.setInterval(50);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            shapes.append(cursor ? cursor->shape() : Qt::ArrowCursor);
        });
        probe.start();

        QCOMPARE(runMailer({u"mail.tmp"_s}), MailerOutcome::Sent);

        QVERIFY(!shapes.isEmpty());
        QCOMPARE(shapes.count(Qt::WaitCursor), shapes.size());
    }

    void sendReportsTheOutcome_data() {
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<int>("waitLimitMs");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("staysOpen"); // a sent order closes the dialog
        QTest::newRow("sent") << QByteArray("printf '< 250 OK\\r\\nTRANSACTION SUCCESSFULLY "
                                            "COMPLETED\\r\\n' > log.tmp")
                              << 60000 << kSent << false;
        QTest::newRow("mailer reports an error")
            << QByteArray("printf 'Fehler: Kein SMTP-Server eingetragen\\r\\n' > log.tmp") << 60000
            << kFailed << true;
        QTest::newRow("wait runs out") << QByteArray("exec sleep 30") << 300 << kFailed << true;
    }
    void sendReportsTheOutcome() {
        QFETCH(QByteArray, action);
        QFETCH(int, waitLimitMs);
        QFETCH(QString, question);
        QFETCH(bool, staysOpen);
        WorkingDir dir;
        writeFakeMailer(dir, action);
        EmailFixture f;
        f.email.setMailerWaitLimit(std::chrono::milliseconds(waitLimitMs));
        ModalScript script({press(u"Nein"_s)}, &f.email);

        QCOMPARE(
            f.send({u"Bestellung"_s, QString(), u"A 12  Faust  Grüße €"_s}, u"Bestellung Süd"_s),
            staysOpen);

        QCOMPARE(script.seen, QStringList{question});
        QCOMPARE(argumentsReceived(dir),
                 mailArguments(u"Bestellung Süd"_s, kOwnAddress, kRecipient));
        QCOMPARE(dir.read(u"mail.tmp"_s), QByteArray("Bestellung\r\n\r\nA 12  Faust  Gr\xfc\xdf"
                                                     "e \x80\r\n"));
        QVERIFY(f.stored.isEmpty());
    }

    void bodyIsSentAsEdited() {
        WorkingDir dir;
        writeLoggingMailer(dir, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        EmailFixture f;
        ModalScript script({press(u"Nein"_s)}, &f.email);
        QTimer::singleShot(0, &f.email, [&] {
            f.email.Memo1->setPlainText(u"Erste Zeile\nZweite\u00a0Zeile\n"_s);
            f.email.BitBtn3->click();
            f.email.BitBtn2->click();
        });

        f.email.open({u"alt"_s}, kRecipient, u"B"_s);

        QCOMPARE(dir.read(u"mail.tmp"_s), QByteArray("Erste Zeile\r\nZweite\xa0Zeile\r\n"));
    }

    void logWindowShowsTheLog() {
        WorkingDir dir;
        writeLoggingMailer(dir, "> MAIL FROM:<a@b>\r\nFehler: Empf\xe4nger abgelehnt\r\n");
        EmailFixture f;
        QString shown;
        ModalScript script({press(u"Ja"_s), readLogWindow(&shown)}, &f.email);

        QVERIFY(f.send());

        QCOMPARE(script.seen, (QStringList{kFailed, u"Sendeprotokoll anzeigen|"_s}));
        QCOMPARE(shown, u"Empfänger abgelehnt\n\n> MAIL FROM:<a@b>\nFehler: Empfänger abgelehnt"_s);
        // The log window is made for one showing only.
        QVERIFY(f.email.findChildren<Tfehler*>().isEmpty());
    }

    void secondSendIsJudgedByItsOwnLog() {
        WorkingDir dir;
        dir.write(u"success.log"_s, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        dir.write(u"failure.log"_s, "Fehler: Verbindung abgelehnt\r\n");
        // The second run takes its time, so that a log left from the first would be found first.
        writeFakeMailer(dir, "if [ -e first.done ]; then sleep 1; cp success.log log.part; "
                             "else : > first.done; cp failure.log log.part; fi; "
                             "mv log.part log.tmp");
        EmailFixture f;
        ModalScript script({press(u"Nein"_s), press(u"Nein"_s)}, &f.email);

        QVERIFY(!f.send({u"Bestellung"_s}, u"B"_s, 2));

        QCOMPARE(script.seen, (QStringList{kFailed, kSent}));
    }

    // The address given is stored and used for the next send without asking again.
    void promptAsksUntilAnAddressWithAtSign() {
        WorkingDir dir;
        writeLoggingMailer(dir, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        EmailFixture f{QString()};
        f.prompt.Edit1->setText(u"vom letzten Mal"_s);
        QString fieldWhenShown;
        ModalScript script({enterAddress(u"buecherei"_s, &fieldWhenShown), press(u"OK"_s),
                            enterAddress(QString()), press(u"OK"_s), enterAddress(u"@"_s),
                            press(u"Nein"_s), press(u"Nein"_s)},
                           &f.email);

        QVERIFY(!f.send({u"B"_s}, u"B"_s, 2));

        QCOMPARE(script.seen, (QStringList{kPrompt, kFormatMessage, kPrompt, kFormatMessage,
                                           kPrompt, kSent, kSent}));
        QCOMPARE(fieldWhenShown, QString());
        QCOMPARE(f.stored, QStringList{u"@"_s});
        QCOMPARE(argumentsReceived(dir).value(2), u"-f@"_s);
    }

    void cancelledPromptSendsNothing() {
        WorkingDir dir;
        writeLoggingMailer(dir, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
        EmailFixture f{QString()};
        ModalScript script({press(u"Abbrechen"_s)}, &f.email);

        QVERIFY(f.send());

        QCOMPARE(script.seen, QStringList{kPrompt});
        QVERIFY(!QFile::exists(dir.file(u"args.txt"_s)));
        QVERIFY(f.stored.isEmpty());
    }

    // Each stops the send before the mailer runs. A missing mailer is reported before the prompt
    // for the own address; an unwritable body file is reported by the write itself.
    void sendStopsEarly_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("no mailer")
            << QString() << u"Fehler|send.exe nicht vorhanden, E-Mail kann nicht gesendet werden"_s;
        QTest::newRow("mailer cannot start")
            << u"unstartable"_s << u"Fehler|Fehler beim Senden der Mail"_s;
        QTest::newRow("body file cannot be written")
            << u"blocked body"_s << u"Fehler|Datei mail.tmp kann nicht erstellt werden"_s;
    }
    void sendStopsEarly() {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        WorkingDir dir;
        if (setup == u"unstartable"_s) {
            dir.write(u"send.exe"_s, "#!/bin/sh\n");
            QFile::setPermissions(dir.file(u"send.exe"_s), QFile::ReadOwner | QFile::WriteOwner);
        } else if (setup == u"blocked body"_s) {
            writeLoggingMailer(dir, "TRANSACTION SUCCESSFULLY COMPLETED\r\n");
            QVERIFY(QDir(dir.path()).mkdir(u"mail.tmp"_s));
        }
        EmailFixture f{setup.isEmpty() ? QString() : kOwnAddress};
        ModalScript script({press(u"OK"_s)}, &f.email);

        QVERIFY(f.send());

        QCOMPARE(script.seen, QStringList{message});
        QVERIFY(!QFile::exists(dir.file(u"args.txt"_s)));
        if (setup.isEmpty())
            QCOMPARE(dir.read(u"mail.tmp"_s), QByteArray("Bestellung\r\n"));
    }

    // The own address may carry a name; it reaches the mailer whole and shows in the mail.
    void sendsThroughTheRealMailer_data() {
        QTest::addColumn<QString>("ownAddress");
        QTest::addColumn<QString>("name");
        QTest::newRow("address") << kOwnAddress << QString();
        QTest::newRow("name and address")
            << u"\"Weiß, Jürgen\" <"_s + kOwnAddress + u'>' << u"Weiß, Jürgen"_s;
    }
    void sendsThroughTheRealMailer() {
        QFETCH(QString, ownAddress);
        QFETCH(QString, name);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        WorkingDir dir;
        QVERIFY2(copyRealMailer(dir), qPrintable(kRealMailer));
        dir.write(u"orbaw.ini"_s,
                  "[Mail]\r\nSMTP Host=127.0.0.1:" + QByteArray::number(m_server.port()) + "\r\n");
        m_server.forgetReceived();
        EmailFixture f(ownAddress);
        ModalScript script({press(u"Nein"_s)}, &f.email);
        const QStringList body{u"Bestellung"_s, u"Bestellt von:  Jürgen Weiß"_s, QString(),
                               u"A 12  Faust – Der Tragödie erster Teil  12.05.2025"_s};

        QVERIFY(!f.send(body, u"Bestellung für Schule Süd \"eilig\"; bitte"_s));

        QCOMPARE(script.seen, QStringList{kSent});
        const QJsonObject mail = m_server.received();
        QVERIFY2(!mail.isEmpty(), "no message arrived");
        QCOMPARE(mail["mail_from"].toString(), kOwnAddress);
        QCOMPARE(strings(mail["from"]), QStringList{kOwnAddress});
        QCOMPARE(strings(mail["from_names"]), QStringList{name});
        QCOMPARE(strings(mail["to"]), QStringList{kRecipient});
        QCOMPARE(mail["subject"].toString(), u"Bestellung für Schule Süd \"eilig\"; bitte"_s);
        QCOMPARE(mail["body"].toString(), body.join(u'\n') + u'\n');
    }

    // Only an encrypted connection with a user name asks for a password; the mailer refuses a
    // sign-in over plain text or with an unknown security by itself.
    void passwordOnlyForAnEncryptedSignIn_data() {
        QTest::addColumn<QString>("security");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("STARTTLS with user") << u"STARTTLS"_s << u"anna"_s << QByteArray("pw\n");
        QTest::newRow("SSL/TLS with user") << u"ssl"_s << u"anna"_s << QByteArray("pw\n");
        QTest::newRow("no user") << u"STARTTLS"_s << QString() << QByteArray("");
        QTest::newRow("user, plain text") << u"keine"_s << u"anna"_s << QByteArray("");
        QTest::newRow("user, unknown security") << u"TLS 1.3"_s << u"anna"_s << QByteArray("");
    }
    void passwordOnlyForAnEncryptedSignIn() {
        QFETCH(QString, security);
        QFETCH(QString, user);
        QFETCH(QByteArray, input);
        WorkingDir dir;
        dir.write(u"orbaw.ini"_s, signInSettings(u"smtp.example.org"_s, security, user));
        PasswordQuestions questions;
        questions.answers = {MailSignIn::Answer{u"pw"_s, false}};
        MailSignIn signIn(u"orbaw.ini"_s, nullptr, questions.ask());

        QCOMPARE(signIn.mailerInput(), std::optional(input));
        QCOMPARE(questions.asked.size(), input.isEmpty() ? 0 : 1);
    }

    // Asked once, kept for the run; asked again after a refusal, a cancel or for another user.
    // The settings are read as the file holds them at each send.
    void passwordIsKeptUntilRefused() {
        WorkingDir dir;
        const QString host = u"smtp.example.org:587"_s;
        dir.write(u"orbaw.ini"_s, signInSettings(host, u"STARTTLS"_s, u"anna"_s));
        const QString settings = u"orbaw.ini"_s;
        PasswordQuestions questions;
        questions.answers = {MailSignIn::Answer{u"eins"_s, false}, std::nullopt,
                             MailSignIn::Answer{u"zwei"_s, false},
                             MailSignIn::Answer{u"drei"_s, false}};
        MailSignIn signIn(settings, nullptr, questions.ask());
        const auto send = [&](MailerOutcome outcome) {
            const std::optional<QByteArray> input = signIn.mailerInput();
            if (input)
                signIn.settle(outcome);
            return input.value_or("<abgebrochen>");
        };

        QCOMPARE(send(MailerOutcome::Failed), QByteArray("eins\n"));
        QCOMPARE(send(MailerOutcome::Sent), QByteArray("eins\n"));
        QCOMPARE(send(MailerOutcome::SignInRefused), QByteArray("eins\n"));
        QCOMPARE(send(MailerOutcome::Sent), QByteArray("<abgebrochen>"));
        QCOMPARE(send(MailerOutcome::Sent), QByteArray("zwei\n"));
        QCOMPARE(send(MailerOutcome::Sent), QByteArray("zwei\n"));
        dir.write(u"orbaw.ini"_s, signInSettings(host, u"STARTTLS"_s, u"bernd"_s));
        QCOMPARE(send(MailerOutcome::Sent), QByteArray("drei\n"));

        const QString anna = u"anna@"_s + host + u" 0 0"_s;
        QCOMPARE(questions.asked, (QStringList{anna, anna, anna, u"bernd@"_s + host + u" 0 0"_s}));
    }

    // The store is offered only when there is one, written only once the password proved right,
    // read instead of asking, and emptied when its password is refused or no longer wanted.
    void storeKeepsAPasswordThatWorked() {
        WorkingDir dir;
        dir.write(u"orbaw.ini"_s, signInSettings(u"smtp.example.org"_s, u"SSL/TLS"_s, u"anna"_s));
        const QString key = u"SMTP anna @ smtp.example.org"_s;
        const QString settings = u"orbaw.ini"_s;
        FakeStore store;
        PasswordQuestions questions;
        questions.answers = {MailSignIn::Answer{u"falsch"_s, true},
                             MailSignIn::Answer{u"richtig"_s, true},
                             MailSignIn::Answer{u"neu"_s, false}};

        {
            MailSignIn signIn(settings, &store, questions.ask());
            QCOMPARE(signIn.mailerInput(), std::optional(QByteArray("falsch\n")));
            signIn.settle(MailerOutcome::SignInRefused);
            QVERIFY(store.entries.isEmpty());
            QCOMPARE(signIn.mailerInput(), std::optional(QByteArray("richtig\n")));
            signIn.settle(MailerOutcome::Sent);
            QCOMPARE(store.entries.value(key), u"richtig"_s);
        }
        // The next start finds it in the store; once refused, it is gone and saving is offered
        // as chosen before; declined, it stays out.
        MailSignIn signIn(settings, &store, questions.ask());
        QCOMPARE(signIn.mailerInput(), std::optional(QByteArray("richtig\n")));
        signIn.settle(MailerOutcome::SignInRefused);
        QVERIFY(store.entries.isEmpty());
        QCOMPARE(signIn.mailerInput(), std::optional(QByteArray("neu\n")));
        signIn.settle(MailerOutcome::Sent);
        QVERIFY(store.entries.isEmpty());

        QCOMPARE(questions.asked,
                 (QStringList{u"anna@smtp.example.org 1 0"_s, u"anna@smtp.example.org 1 0"_s,
                              u"anna@smtp.example.org 1 1"_s}));
    }

    void noStoreMeansAskingOnly() {
        WorkingDir dir;
        dir.write(u"orbaw.ini"_s, signInSettings(u"smtp.example.org"_s, u"SSL/TLS"_s, u"anna"_s));
        FakeStore store;
        store.works = false;
        PasswordQuestions questions;
        questions.answers = {MailSignIn::Answer{u"pw"_s, true}};
        MailSignIn signIn(u"orbaw.ini"_s, &store, questions.ask());

        QCOMPARE(signIn.mailerInput(), std::optional(QByteArray("pw\n")));
        signIn.settle(MailerOutcome::Sent);
        QCOMPARE(questions.asked, QStringList{u"anna@smtp.example.org 0 0"_s});
    }

    // End to end over STARTTLS: the wrong password is refused and asked for again, the right one
    // delivers and is not asked for a third time. It reaches the mailer on its input only.
    void signsInThroughTheRealMailer() {
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        WorkingDir dir;
        QVERIFY(QFile::copy(kRealMailer, dir.file(u"send.real"_s)));
        writeFakeMailer(dir, "tr '\\\\0' '\\\\n' < /proc/$$/cmdline > cmdline.txt; "
                             "tr '\\\\0' '\\\\n' < /proc/$$/environ > environ.txt; "
                             "exec ./send.real \"$@\"");
        dir.write(u"orbaw.ini"_s,
                  signInSettings(u"127.0.0.1:"_s + QString::number(m_server.startTlsPort()),
                                 u"STARTTLS"_s, kMailUser) +
                      "SMTP CA-Datei=" + m_certificates.caFile().toLocal8Bit() + "\r\n");
        m_server.forgetReceived();
        EmailFixture f;
        MailSignIn signIn(u"orbaw.ini"_s, nullptr,
                          [&f](const MailAccount& account, bool canSave, bool save) {
                              return Tpasswort(&f.email, account, canSave, save).ask();
                          });
        f.email.setSignIn(&signIn);
        QStringList offered;
        ModalScript script({enterPassword(u"falsch"_s, &offered), press(u"Nein"_s),
                            enterPassword(kMailPassword, &offered), press(u"Nein"_s),
                            press(u"Nein"_s)},
                           &f.email);
        const QStringList body{u"Bestellung"_s, u"A 12  Faust"_s};

        QVERIFY(!f.send(body, u"Bestellung Süd"_s, 3));

        QCOMPARE(script.seen,
                 (QStringList{kPasswordDialog, kFailed, kPasswordDialog, kSent, kSent}));
        QCOMPARE(offered, (QStringList{u"save 0, OK 0"_s, u"save 0, OK 0"_s}));
        QList<bool> accepted;
        for (const QJsonObject& attempt : m_server.signIns())
            accepted.append(attempt["accepted"].toBool());
        QCOMPARE(accepted, (QList<bool>{false, true, true}));
        const QJsonObject mail = m_server.received();
        QCOMPARE(mail["mail_from"].toString(), kOwnAddress);
        QCOMPARE(strings(mail["to"]), QStringList{kRecipient});
        QCOMPARE(mail["subject"].toString(), u"Bestellung Süd"_s);
        QCOMPARE(mail["body"].toString(), body.join(u'\n') + u'\n');
        QVERIFY(dir.read(u"cmdline.txt"_s)
                    .contains("-sBestellung S\xc3\xbc"
                              "d"));
        for (const char* file : {"orbaw.ini", "mail.tmp", "log.tmp", "cmdline.txt", "environ.txt"})
            QVERIFY2(!dir.read(QString::fromLatin1(file)).contains(kMailPassword.toUtf8()) &&
                         !dir.read(QString::fromLatin1(file)).contains(kMailPassword.toLatin1()),
                     file);
    }

    void refusedServerIsReportedWithItsLog() {
        WorkingDir dir;
        QVERIFY2(copyRealMailer(dir), qPrintable(kRealMailer));
        const QByteArray port = QByteArray::number(test::deadPort());
        dir.write(u"orbaw.ini"_s, "[Mail]\r\nSMTP Host=127.0.0.1:" + port + "\r\n");
        EmailFixture f;
        QString shown;
        ModalScript script({press(u"Ja"_s), readLogWindow(&shown)}, &f.email);

        QVERIFY(f.send());

        QCOMPARE(script.seen, (QStringList{kFailed, u"Sendeprotokoll anzeigen|"_s}));
        const QString lastLine = shown.split(u'\n').constLast();
        QVERIFY2(lastLine.startsWith(u"Fehler: Der SMTP-Server 127.0.0.1:"_s), qPrintable(shown));
    }
};

ORBA_TEST_MAIN(TestEmail)
#include "tst_email.moc"
