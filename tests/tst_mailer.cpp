#include "core/Cp1252.h"
#include "core/TextFile.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <memory>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTimeZone>

using namespace Qt::StringLiterals;
using orba::test::kMailPassword;
using orba::test::kMailUser;
using orba::test::MailServer;
using orba::test::TestCertificates;
using orba::test::WorkingDir;

namespace {

const QString kMailer = QStringLiteral(ORBA_MAILER);
const QString kSuccess = u"TRANSACTION SUCCESSFULLY COMPLETED"_s;
const QString kSender = u"buecherei@example.org"_s;
const QStringList kRecipients = {u"leihverkehr@example.org"_s, u"kopie@example.org"_s};
// The mailer runs in a zone with an offset, so that a date written in the wrong zone shows.
const QByteArray kZone = "Europe/Berlin";
constexpr int kProcessWaitMs = 60000;

QStringList standardArguments(const QString& subject, const QStringList& recipients) {
    return QStringList{u"-d"_s, u"-s"_s + subject, u"-f"_s + kSender} + recipients +
           QStringList{u"mail.tmp"_s};
}

QByteArray settingsFor(const QString& smtpHost) {
    return "[Anzeige]\r\nhsplit=1\r\n[Mail]\r\nemail=leihverkehr@example.org\r\nsmtp host = " +
           smtpHost.toLatin1() + "\r\n";
}

// "mail" with the keys of an encrypted connection; an empty value leaves its key out.
QByteArray secureSettings(const QString& host, const QString& security, const QString& user,
                          const QString& caFile) {
    QByteArray settings = "[mail]\r\nSMTP Host=" + orba::cp1252::encode(host) + "\r\n";
    const auto add = [&](const char* key, const QString& value) {
        if (!value.isEmpty())
            settings += QByteArray(key) + '=' + orba::cp1252::encode(value) + "\r\n";
    };
    add("SMTP Sicherheit", security);
    add("SMTP Benutzer", user);
    add("SMTP CA-Datei", caFile);
    return settings;
}

// The forms in which a careless mailer might let the password slip into its log.
QList<QByteArray> passwordForms(const QString& user, const QString& password) {
    const QByteArray secret = password.toUtf8();
    return {secret, secret.toBase64(), ('\0' + user.toUtf8() + '\0' + secret).toBase64()};
}

QStringList strings(const QJsonValue& array) {
    QStringList list;
    for (const QJsonValue& value : array.toArray())
        list.append(value.toString());
    return list;
}

} // namespace

class TestMailer : public QObject {
    Q_OBJECT

private:
    // The server that the tests send to; it does not run without python3 and aiosmtpd.
    MailServer m_server;
    TestCertificates m_certificates;

    // Runs the mailer in `dir` with `input` on its standard input and returns its exit code; -1
    // when it did not finish.
    int runMailer(const WorkingDir& dir, const QStringList& arguments,
                  const QByteArray& input = QByteArray()) {
        m_server.forgetReceived();
        QProcess mailer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TZ"_s, QString::fromLatin1(kZone));
        mailer.setProcessEnvironment(environment);
        mailer.setWorkingDirectory(dir.path());
        mailer.start(kMailer, arguments);
        mailer.write(input);
        mailer.closeWriteChannel();
        if (!mailer.waitForFinished(kProcessWaitMs) || mailer.exitStatus() != QProcess::NormalExit)
            return -1;
        return mailer.exitCode();
    }

    static QStringList logOf(const WorkingDir& dir) {
        return orba::textfile::readLines(dir.file(u"log.tmp"_s));
    }

    // A working directory as ORBA leaves it before starting the mailer.
    std::unique_ptr<WorkingDir> prepare(const QStringList& bodyLines) const {
        auto dir = std::make_unique<WorkingDir>();
        dir->write(u"orbaw.ini"_s, settingsFor(u"127.0.0.1:"_s + QString::number(m_server.port())));
        dir->write(u"mail.tmp"_s, orba::textfile::joinLines(bodyLines));
        return dir;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(kMailer), qPrintable(kMailer));
        QVERIFY(m_certificates.make());
        m_server.start(&m_certificates);
    }

    void sendsOrderMail_data() {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QStringList>("body");
        QTest::newRow("umlauts, quotes and semicolons")
            << u"Bestellung \"Wirkhaus\"; Müller & Söhne – Größe 'XL'"_s
            << QStringList{u"Sehr geehrte Damen und Herren,"_s, QString(),
                           u"Titel: Über Maß; Preis 12,50 €"_s, u"Mit freundlichen Grüßen"_s};
        QTest::newRow("long lines and special lines")
            << u"Bestellung der Bücherei Überlingen am Bodensee für die Woche vom 1. bis 7. März "
               "– bitte bestätigen"_s
            << QStringList{QString(u"Ä1234567890ß=öü "_s).repeated(20),
                           u"Leerzeichen am Ende   "_s,
                           u"."_s,
                           u".. zwei Punkte"_s,
                           u"a=b =3D"_s,
                           u"From the start"_s,
                           u"\tTabulator\t"_s,
                           u"=?UTF-8?B?QUJD?="_s};
        QTest::newRow("subject of multi-byte characters only")
            << QString(u"ÄÖÜäöüß€–"_s).repeated(8) << QStringList{u"Text"_s};
        QTest::newRow("subject that looks encoded")
            << u"=?UTF-8?B?QUJD?="_s << QStringList{u"Text"_s};
        QTest::newRow("empty body") << u"Leer"_s << QStringList();
    }
    void sendsOrderMail() {
        QFETCH(QString, subject);
        QFETCH(QStringList, body);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const auto dir = prepare(body);

        QCOMPARE(runMailer(*dir, standardArguments(subject, kRecipients)), 0);

        QCOMPARE(logOf(*dir).last(), kSuccess);
        const QJsonObject mail = m_server.received();
        QVERIFY2(!mail.isEmpty(), "no message arrived");
        QCOMPARE(strings(mail["defects"]), QStringList());
        QCOMPARE(mail["mail_from"].toString(), kSender);
        QCOMPARE(strings(mail["rcpt_tos"]), kRecipients);
        QCOMPARE(strings(mail["from"]), QStringList{kSender});
        QCOMPARE(strings(mail["to"]), kRecipients);
        QCOMPARE(mail["subject"].toString(), subject);
        // The server's reader ends every line with a line feed.
        QCOMPARE(mail["body"].toString(), body.isEmpty() ? QString() : body.join(u'\n') + u'\n');
        QCOMPARE(mail["content_type"].toString(), u"text/plain"_s);
        QCOMPARE(mail["mime_version"].toString(), u"1.0"_s);
        QVERIFY(mail["seven_bit"].toBool());
        // Each encoded-word must decode on its own, and a blank at a line end may get lost in
        // transport.
        QVERIFY(mail["words_hold_whole_characters"].toBool());
        QCOMPARE(mail["lines_ending_in_blank"].toInt(), 0);
        QVERIFY2(mail["longest_line"].toInt() <= 78,
                 qPrintable(QString::number(mail["longest_line"].toInt())));
        QVERIFY(QRegularExpression(u"^<[^<>@\\s]+@example\\.org>$"_s)
                    .match(mail["message_id"].toString())
                    .hasMatch());
        const int zoneMinutes =
            QTimeZone(kZone).offsetFromUtc(QDateTime::currentDateTimeUtc()) / 60;
        QCOMPARE(mail["date_offset_minutes"].toInt(), zoneMinutes);
        // The date names the moment of sending; a wrong zone would put it hours off.
        QVERIFY(mail["date_seconds_off"].isDouble());
        QVERIFY(mail["date_seconds_off"].toDouble() < 600);
    }

    void transcriptOnlyWithOptionD_data() {
        QTest::addColumn<bool>("transcript");
        QTest::newRow("with -d") << true;
        QTest::newRow("without -d") << false;
    }
    void transcriptOnlyWithOptionD() {
        QFETCH(bool, transcript);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const auto dir = prepare({u"Geheimtext der Bestellung"_s});
        QStringList arguments = standardArguments(u"Bestellung"_s, kRecipients);
        if (!transcript)
            arguments.removeFirst();

        QCOMPARE(runMailer(*dir, arguments), 0);

        const QStringList log = logOf(*dir);
        const QString joined = log.join(u'\n');
        QCOMPARE(log.last(), kSuccess);
        QVERIFY(!joined.contains(u"Geheimtext"_s));
        if (transcript) {
            QVERIFY(joined.contains(u"\n> MAIL FROM:<buecherei@example.org>"_s));
            QVERIFY(log.contains(u"> RCPT TO:<kopie@example.org>"_s));
            QVERIFY(log.contains(u"> DATA"_s));
            QVERIFY(joined.contains(u"\n< 354"_s));
        } else {
            QCOMPARE(log, QStringList{kSuccess});
        }
    }

    void acceptsCommandLineForms_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QStringList>("recipients");
        const QString sender = u"-f"_s + kSender;
        const QString quotedSender = u"-f\""_s + kSender + u'"';
        QTest::newRow("quoted values") << QStringList{u"-d"_s, u"-s\"Bestellung vom 3. Mai\""_s,
                                                      quotedSender, kRecipients[0], u"mail.tmp"_s}
                                       << u"Bestellung vom 3. Mai"_s << QStringList{kRecipients[0]};
        QTest::newRow("quoted subject split at blanks")
            << QStringList{u"-d"_s,        u"-s\"Bestellung"_s, u"-"_s,
                           u"3."_s,        u"Mai\""_s,          quotedSender,
                           kRecipients[0], kRecipients[1],      u"mail.tmp"_s}
            << u"Bestellung - 3. Mai"_s << kRecipients;
        QTest::newRow("quotation marks inside the subject")
            << QStringList{u"-d"_s, u"-s\"Eilig\" bitte"_s, sender, kRecipients[0], u"mail.tmp"_s}
            << u"\"Eilig\" bitte"_s << QStringList{kRecipients[0]};
        QTest::newRow("empty subject")
            << QStringList{u"-d"_s, u"-s\"\""_s, sender, kRecipients[0], u"mail.tmp"_s} << QString()
            << QStringList{kRecipients[0]};
        QTest::newRow("recipients that look like options")
            << QStringList{u"-d"_s,
                           u"-sX"_s,
                           sender,
                           u"-fabian@example.org"_s,
                           u"-s.schulz@example.org"_s,
                           u"mail.tmp"_s}
            << u"X"_s << QStringList{u"-fabian@example.org"_s, u"-s.schulz@example.org"_s};
        QTest::newRow("recipients separated by semicolon and comma")
            << QStringList{u"-d"_s, u"-sX"_s, sender,
                           u"leihverkehr@example.org;kopie@example.org, <dritte@example.org>"_s,
                           u"mail.tmp"_s}
            << u"X"_s << (kRecipients + QStringList{u"dritte@example.org"_s});
    }
    void acceptsCommandLineForms() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, subject);
        QFETCH(QStringList, recipients);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const auto dir = prepare({u"Text"_s});

        QCOMPARE(runMailer(*dir, arguments), 0);

        QCOMPARE(logOf(*dir).last(), kSuccess);
        const QJsonObject mail = m_server.received();
        QCOMPARE(mail["subject"].toString(), subject);
        QCOMPARE(mail["mail_from"].toString(), kSender);
        QCOMPARE(strings(mail["rcpt_tos"]), recipients);
        QCOMPARE(strings(mail["to"]), recipients);
    }

    // The sender as ORBA hands it over, one argument whatever it holds.
    void senderWithName_data() {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("name");
        QTest::newRow("address alone") << kSender << QString();
        QTest::newRow("quoted name") << u"\"Max Muster\" <"_s + kSender + u'>' << u"Max Muster"_s;
        QTest::newRow("plain name") << u"Max Muster <"_s + kSender + u'>' << u"Max Muster"_s;
        QTest::newRow("name with umlauts")
            << u"\"Jürgen Weiß\" <"_s + kSender + u'>' << u"Jürgen Weiß"_s;
        QTest::newRow("name with mail syntax characters")
            << u"\"Muster, Max (Lehrer) \\\"Theater\\\"\" <"_s + kSender + u'>'
            << u"Muster, Max (Lehrer) \"Theater\""_s;
        const QString school = u"Städtische Gesamtschule Überlingen am Bodensee, Theater-AG"_s;
        QTest::newRow("long name beyond ASCII")
            << u"\""_s + school + u"\" <"_s + kSender + u'>' << school;
        QTest::newRow("name in another script")
            << u"Μαρία Παπαδοπούλου <"_s + kSender + u'>' << u"Μαρία Παπαδοπούλου"_s;
    }
    void senderWithName() {
        QFETCH(QString, sender);
        QFETCH(QString, name);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const auto dir = prepare({u"Text"_s});

        QCOMPARE(runMailer(*dir, {u"-d"_s, u"-sBestellung"_s, u"-f"_s + sender, kRecipients[0],
                                  u"mail.tmp"_s}),
                 0);

        const QJsonObject mail = m_server.received();
        QCOMPARE(mail["mail_from"].toString(), kSender);
        QCOMPARE(strings(mail["from"]), QStringList{kSender});
        QCOMPARE(strings(mail["from_names"]), QStringList{name});
        QCOMPARE(strings(mail["rcpt_tos"]), QStringList{kRecipients[0]});
        QCOMPARE(strings(mail["defects"]), QStringList());
        QVERIFY(mail["seven_bit"].toBool());
        QVERIFY(mail["longest_line"].toInt() <= 78);
    }

    // A host beyond ASCII travels in its ASCII form, in the envelope and in the 7-bit header.
    void hostBeyondAsciiTravelsInItsAsciiForm() {
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const auto dir = prepare({u"Text"_s});

        QCOMPARE(runMailer(*dir, {u"-d"_s, u"-sBestellung"_s,
                                  u"-fJürgen Weiß <buecherei@bücherei.example>"_s,
                                  u"leihverkehr@schüle.example"_s, u"mail.tmp"_s}),
                 0);

        const QJsonObject mail = m_server.received();
        QCOMPARE(mail["mail_from"].toString(), u"buecherei@xn--bcherei-n2a.example"_s);
        QCOMPARE(strings(mail["from"]), QStringList{u"buecherei@xn--bcherei-n2a.example"_s});
        QCOMPARE(strings(mail["from_names"]), QStringList{u"Jürgen Weiß"_s});
        QCOMPARE(strings(mail["rcpt_tos"]), QStringList{u"leihverkehr@xn--schle-mva.example"_s});
        QCOMPARE(strings(mail["defects"]), QStringList());
        QVERIFY(mail["seven_bit"].toBool());
    }

    // The right password delivers through either kind of encryption, signed in by whichever of
    // PLAIN and LOGIN the server offers; the log never shows the password.
    void signsInOverEncryption_data() {
        QTest::addColumn<QString>("security");
        QTest::addColumn<bool>("implicitTls");
        QTest::addColumn<QString>("mechanism");
        QTest::newRow("STARTTLS, PLAIN and LOGIN offered") << u"STARTTLS"_s << false << u"PLAIN"_s;
        QTest::newRow("SSL/TLS on its own port, LOGIN only") << u"SSL/TLS"_s << true << u"LOGIN"_s;
    }
    void signsInOverEncryption() {
        QFETCH(QString, security);
        QFETCH(bool, implicitTls);
        QFETCH(QString, mechanism);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const quint16 port = implicitTls ? m_server.tlsPort() : m_server.startTlsPort();
        WorkingDir dir;
        dir.write(u"orbaw.ini"_s, secureSettings(u"127.0.0.1:"_s + QString::number(port), security,
                                                 kMailUser, m_certificates.caFile()));
        const QStringList body{u"Bestellung über TLS"_s, u"A 12  Faust"_s};
        dir.write(u"mail.tmp"_s, orba::textfile::joinLines(body));

        QCOMPARE(runMailer(dir, standardArguments(u"Bestellung Süd"_s, {kRecipients[0]}),
                           kMailPassword.toUtf8() + '\n'),
                 0);

        const QStringList log = logOf(dir);
        QCOMPARE(log.last(), kSuccess);
        QVERIFY(log.contains(u"> AUTH "_s + mechanism) ||
                log.contains(u"> AUTH "_s + mechanism + u" ****"_s));
        for (const QByteArray& form : passwordForms(kMailUser, kMailPassword))
            QVERIFY2(!dir.read(u"log.tmp"_s).contains(form), form.constData());
        const QList<QJsonObject> signIns = m_server.signIns();
        QCOMPARE(signIns.size(), 1);
        QCOMPARE(signIns[0]["mechanism"].toString(), mechanism);
        QCOMPARE(signIns[0]["login"].toString(), kMailUser);
        QVERIFY(signIns[0]["accepted"].toBool());
        QVERIFY(signIns[0]["encrypted"].toBool());
        const QJsonObject mail = m_server.received();
        QCOMPARE(mail["mail_from"].toString(), kSender);
        QCOMPARE(strings(mail["from"]), QStringList{kSender});
        QCOMPARE(strings(mail["to"]), QStringList{kRecipients[0]});
        QCOMPARE(mail["subject"].toString(), u"Bestellung Süd"_s);
        QCOMPARE(mail["body"].toString(), body.join(u'\n') + u'\n');
    }

    // Each refuses before the mail or the password could travel unprotected or to the wrong
    // server. "%PORT%" is the plain listener, "%STARTTLS%" and "%TLS%" the encrypted ones,
    // "%CA%" the test's certificate authority.
    void refusesWhatIsNotSafe_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("signIns");
        QTest::addColumn<QString>("expected");
        const QString user = kMailUser;
        const QString checkPorts = u" Bitte Port und Verbindungssicherheit in den Einstellungen "
                                   "unter E-Mail prüfen: STARTTLS gehört meist zu Port 587, "
                                   "SSL/TLS zu Port 465."_s;
        const QString untrusted =
            u"Fehler: Das Zertifikat des SMTP-Servers 127.0.0.1:%1 ist nicht vertrauenswürdig "
            "(ausgestellt von einer unbekannten Zertifizierungsstelle); die Mail wurde nicht "
            "gesendet. Hat Ihre Einrichtung eine eigene Zertifizierungsstelle, dann bitte deren "
            "Zertifikat in orbaw.ini unter \"SMTP CA-Datei\" eintragen."_s;
        const QString silent = u"Fehler: Der SMTP-Server 127.0.0.1:%TLS% nimmt die Verbindung an, "
                               "antwortet aber nicht; an diesem Port erwartet er wohl eine von "
                               "Anfang an verschlüsselte Verbindung (SSL/TLS)."_s +
                               checkPorts;
        const QString noPem = u"Fehler: Die Zertifikatsdatei %1 (orbaw.ini, Eintrag \"SMTP "
                              "CA-Datei\") enthält kein brauchbares Zertifikat im PEM-Format."_s;

        QTest::newRow("wrong password")
            << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"STARTTLS"_s, user, u"%CA%"_s)
            << u"falsch"_s << 1
            << u"Fehler: Anmeldung abgelehnt: Der SMTP-Server 127.0.0.1:%STARTTLS% hat "
               "Benutzername \"lehrer@schule.example\" oder Passwort nicht angenommen (535 5.7.8 "
               "Authentication credentials invalid). Bitte den Benutzernamen in den "
               "Einstellungen unter E-Mail und das Passwort prüfen."_s;
        QTest::newRow("STARTTLS chosen, server without it")
            << secureSettings(u"127.0.0.1:%PORT%"_s, u"starttls"_s, user, u"%CA%"_s)
            << kMailPassword << 0
            << u"Fehler: Der SMTP-Server 127.0.0.1:%PORT% bietet keine Verschlüsselung mit "
               "STARTTLS an; die Mail wurde nicht gesendet."_s +
                   checkPorts;
        QTest::newRow("SSL/TLS chosen, server speaks plain text")
            << secureSettings(u"127.0.0.1:%PORT%"_s, u"SSL/TLS"_s, user, u"%CA%"_s) << kMailPassword
            << 0
            << u"Fehler: Mit dem SMTP-Server 127.0.0.1:%PORT% kam keine verschlüsselte Verbindung "
               "zustande (der Server antwortet an diesem Port unverschlüsselt); die Mail wurde "
               "nicht gesendet."_s +
                   checkPorts;
        // Such a server waits for the client to start TLS.
        QTest::newRow("STARTTLS, server encrypts at once")
            << secureSettings(u"127.0.0.1:%TLS%"_s, u"STARTTLS"_s, user, u"%CA%"_s) << kMailPassword
            << 0 << silent;
        QTest::newRow("no security, server encrypts at once")
            << secureSettings(u"127.0.0.1:%TLS%"_s, u"keine"_s, QString(), QString()) << QString()
            << 0 << silent;
        QTest::newRow("certificate expired")
            << secureSettings(u"127.0.0.1:%EXPIRED%"_s, u"SSL/TLS"_s, user, u"%CA%"_s)
            << kMailPassword << 0
            << u"Fehler: Das Zertifikat des SMTP-Servers 127.0.0.1:%EXPIRED% ist abgelaufen; die "
               "Mail wurde nicht gesendet. Bitte zuerst Datum und Uhrzeit dieses Rechners prüfen; "
               "stimmen sie, dem E-Mail-Anbieter Bescheid geben, damit er das Zertifikat "
               "erneuert."_s;
        for (const QString& file : {u"ca.der"_s, u"ca-cut.pem"_s})
            QTest::newRow(qPrintable(u"certificate file "_s + file))
                << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"STARTTLS"_s, user, file)
                << kMailPassword << 0 << noPem.arg(file);
        QTest::newRow("STARTTLS, certificate authority not trusted")
            << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"STARTTLS"_s, user, QString())
            << kMailPassword << 0 << untrusted.arg(u"%STARTTLS%"_s);
        QTest::newRow("SSL/TLS, certificate authority not trusted")
            << secureSettings(u"127.0.0.1:%TLS%"_s, u"SSL/TLS"_s, user, QString()) << kMailPassword
            << 0 << untrusted.arg(u"%TLS%"_s);
        QTest::newRow("certificate for another name")
            << secureSettings(u"localhost:%STARTTLS%"_s, u"STARTTLS"_s, user, u"%CA%"_s)
            << kMailPassword << 0
            << u"Fehler: Das Zertifikat des SMTP-Servers localhost:%STARTTLS% ist nicht für den "
               "Namen localhost ausgestellt; die Mail wurde nicht gesendet. Bitte den "
               "SMTP-Server in den Einstellungen unter E-Mail so eintragen, wie ihn der Anbieter "
               "nennt."_s;
        QTest::newRow("sign-in without encryption")
            << secureSettings(u"127.0.0.1:%PORT%"_s, QString(), user, QString()) << kMailPassword
            << 0
            << u"Fehler: Die Anmeldung als \"lehrer@schule.example\" unterbleibt, weil das "
               "Passwort ohne Verschlüsselung lesbar übertragen würde. Bitte in den Einstellungen "
               "unter E-Mail als Verbindungssicherheit STARTTLS oder SSL/TLS wählen."_s;
        QTest::newRow("server insists on STARTTLS")
            << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"keine"_s, QString(), QString())
            << QString() << 0
            << u"Fehler: Der SMTP-Server 127.0.0.1:%STARTTLS% verlangt eine verschlüsselte "
               "Verbindung: 530 Must issue a STARTTLS command first. Bitte in den Einstellungen "
               "unter E-Mail als Verbindungssicherheit STARTTLS wählen."_s;
        QTest::newRow("no password handed over")
            << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"STARTTLS"_s, user, u"%CA%"_s)
            << QString() << 0
            << u"Fehler: Für die Anmeldung als \"lehrer@schule.example\" fehlt das Passwort. "
               "Bitte die Mail aus ORBA senden, das nach dem Passwort fragt."_s;
        QTest::newRow("unknown security")
            << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"verschlüsselt"_s, user, u"%CA%"_s)
            << kMailPassword << 0
            << u"Fehler: Die Verbindungssicherheit \"verschlüsselt\" ist ungültig. Bitte in den "
               "Einstellungen unter E-Mail keine, STARTTLS oder SSL/TLS wählen."_s;
        QTest::newRow("certificate file missing")
            << secureSettings(u"127.0.0.1:%STARTTLS%"_s, u"STARTTLS"_s, user, u"fehlt.pem"_s)
            << kMailPassword << 0
            << u"Fehler: Die Zertifikatsdatei fehlt.pem (orbaw.ini, Eintrag \"SMTP CA-Datei\") "
               "kann nicht gelesen werden."_s;
        // A name that never resolves shows the port without anything listening on it.
        for (const auto& [security, port] : {std::pair(u"STARTTLS"_s, 587), {u"SSL/TLS"_s, 465}})
            QTest::newRow(qPrintable(security + u" without port"_s))
                << secureSettings(u"nicht-vorhanden.invalid"_s, security, QString(), QString())
                << QString() << 0
                << u"Fehler: Der SMTP-Server nicht-vorhanden.invalid:%1 ist unbekannt (Name nicht "
                   "auflösbar). Bitte den SMTP-Server in den Einstellungen prüfen."_s.arg(port);
    }
    void refusesWhatIsNotSafe() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, password);
        QFETCH(int, signIns);
        QFETCH(QString, expected);
        if (!m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const QList<std::pair<QString, quint16>> ports{{u"%PORT%"_s, m_server.port()},
                                                       {u"%STARTTLS%"_s, m_server.startTlsPort()},
                                                       {u"%TLS%"_s, m_server.tlsPort()},
                                                       {u"%EXPIRED%"_s, m_server.expiredTlsPort()}};
        for (const auto& [name, port] : ports) {
            settings.replace(name.toLatin1(), QByteArray::number(port));
            expected.replace(name, QString::number(port));
        }
        settings.replace("%CA%", m_certificates.caFile().toUtf8());
        WorkingDir dir;
        dir.write(u"orbaw.ini"_s, settings);
        dir.write(u"mail.tmp"_s, "Bestellung\r\n");
        // The test authority's certificate in DER form and cut short.
        const QByteArray pem = orba::test::readFile(m_certificates.caFile());
        const qsizetype body = pem.indexOf('\n') + 1;
        dir.write(u"ca.der"_s,
                  QByteArray::fromBase64(pem.mid(body, pem.indexOf("-----END") - body)));
        dir.write(u"ca-cut.pem"_s, pem.left(300));

        QCOMPARE(runMailer(dir, standardArguments(u"Bestellung"_s, kRecipients),
                           password.isEmpty() ? QByteArray() : password.toUtf8() + '\n'),
                 1);

        const QStringList log = logOf(dir);
        QVERIFY2(log.last().startsWith(expected), qPrintable(log.last()));
        QVERIFY2(m_server.received().isEmpty(), "a message was delivered");
        QCOMPARE(m_server.signIns().size(), signIns);
        for (const QByteArray& form : passwordForms(kMailUser, password))
            QVERIFY(password.isEmpty() || !dir.read(u"log.tmp"_s).contains(form));
    }

    // "%PORT%" stands for the running server's port, "%DEAD%" for a port nobody listens on.
    void reportsFailure_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("withBody");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QByteArray live = settingsFor(u"127.0.0.1:%PORT%"_s);
        const QStringList standard = standardArguments(u"Bestellung"_s, kRecipients);
        const QString noServer = u"Fehler: Kein SMTP-Server eingetragen: Bitte den SMTP-Server in "
                                 "den Einstellungen unter E-Mail eintragen."_s;

        QTest::newRow("connection refused")
            << settingsFor(u"127.0.0.1:%DEAD%"_s) << true << standard
            << u"Fehler: Der SMTP-Server 127.0.0.1:%DEAD% ist nicht erreichbar (Verbindung "
               "abgelehnt). Bitte den SMTP-Server in den Einstellungen prüfen."_s;
        QTest::newRow("unknown host on the default port")
            << settingsFor(u"nicht-vorhanden.invalid"_s) << true << standard
            << u"Fehler: Der SMTP-Server nicht-vorhanden.invalid:25 ist unbekannt (Name nicht "
               "auflösbar). Bitte den SMTP-Server in den Einstellungen prüfen."_s;
        QTest::newRow("no settings file") << QByteArray() << true << standard << noServer;
        QTest::newRow("blank SMTP host") << settingsFor(u"   "_s) << true << standard << noServer;
        QTest::newRow("SMTP host in another section")
            << QByteArray("[Anzeige]\r\nSMTP Host=127.0.0.1:%PORT%\r\n") << true << standard
            << noServer;
        QTest::newRow("port not a number")
            << settingsFor(u"127.0.0.1:smtp"_s) << true << standard
            << u"Fehler: Der SMTP-Server \"127.0.0.1:smtp\" ist ungültig. Bitte in den "
               "Einstellungen unter E-Mail den Server als Name oder Name:Port eintragen."_s;
        for (const QString& host : {u"smtp\u0001example.org:25"_s, u"smtp!example.org"_s})
            QTest::newRow(qPrintable(u"SMTP host "_s + host))
                << settingsFor(host) << true << standard
                << u"Fehler: Der SMTP-Server \"%1\" ist ungültig. Bitte in den Einstellungen unter "
                   "E-Mail den Server als Name oder Name:Port eintragen."_s.arg(host);
        QTest::newRow("body file missing")
            << live << false << standard << u"Fehler: Die Maildatei mail.tmp fehlt."_s;
        QTest::newRow("recipient rejected")
            << live << true
            << standardArguments(u"Bestellung"_s, {kRecipients[0], u"unbekannt@example.org"_s})
            << u"Fehler: Der Server hat den Empfänger unbekannt@example.org abgelehnt: 550 5.1.1 "
               "Mailbox unbekannt. Bitte die Empfängeradresse prüfen."_s;
        QTest::newRow("sender rejected")
            << live << true
            << QStringList{u"-d"_s, u"-sBestellung"_s, u"-fgesperrt@example.org"_s, kRecipients[0],
                           u"mail.tmp"_s}
            << u"Fehler: Der Server hat den Absender gesperrt@example.org abgelehnt: 553 5.7.1 "
               "Absender gesperrt. Bitte in den Einstellungen unter E-Mail die \"Eigene "
               "E-Mail-Adresse\" prüfen."_s;
        QTest::newRow("sender rejected when the recipient comes")
            << live << true << standardArguments(u"Bestellung"_s, {u"fremd@example.org"_s})
            << u"Fehler: Der Server hat den Absender buecherei@example.org abgelehnt: 553 5.7.1 "
               "<buecherei@example.org>: Sender address rejected: not owned by user "
               "lehrer@schule.example. Bitte in den Einstellungen unter E-Mail die \"Eigene "
               "E-Mail-Adresse\" prüfen."_s;
        QTest::newRow("server wants a login")
            << live << true
            << QStringList{u"-d"_s, u"-sBestellung"_s, u"-fanmelden@example.org"_s, kRecipients[0],
                           u"mail.tmp"_s}
            << u"Fehler: Der SMTP-Server 127.0.0.1:%PORT% verlangt eine Anmeldung: 530 5.7.0 "
               "Authentication required. Bitte in den Einstellungen unter E-Mail den "
               "Benutzernamen und die Verbindungssicherheit eintragen."_s;
        QTest::newRow("message rejected")
            << live << true << standardArguments(u"Spam"_s, kRecipients)
            << u"Fehler: Der Server hat die Mail abgelehnt: 554 5.6.0 Inhalt abgelehnt."_s;
        QTest::newRow("no recipient")
            << live << true << standardArguments(u"Bestellung"_s, {})
            << u"Fehler: Kein Empfänger angegeben. Bitte die Adresse des Empfängers eintragen."_s;
        QTest::newRow("no sender")
            << live << true
            << QStringList{u"-d"_s, u"-sBestellung"_s, u"-f\"\""_s, kRecipients[0], u"mail.tmp"_s}
            << u"Fehler: Keine eigene E-Mail-Adresse angegeben. Bitte in den Einstellungen unter "
               "E-Mail die eigene Adresse eintragen."_s;
        QTest::newRow("line break in an address")
            << live << true
            << standardArguments(u"Bestellung"_s, {u"a@example.org\r\nBcc: b@example.org"_s})
            << u"Fehler: Die E-Mail-Adresse \"a@example.org Bcc: b@example.org\" ist ungültig. "
               "Bitte die Adresse im Format Name@Host angeben."_s;
        // An address the mailer cannot use is named alone, not with the rest of the command line.
        const QByteArray nowhere = settingsFor(u"127.0.0.1:%DEAD%"_s);
        const QString invalid = u"Fehler: Die E-Mail-Adresse \"%1\" ist ungültig. Bitte die "
                                "Adresse im Format Name@Host angeben."_s;
        QTest::newRow("sender with a name but a broken address")
            << nowhere << true
            << QStringList{u"-d"_s, u"-sBestellung"_s, u"-f\"Max Muster\" <max at schule>"_s,
                           kRecipients[0], u"mail.tmp"_s}
            << invalid.arg(u"\"Max Muster\" <max at schule>"_s);
        QTest::newRow("sender without @")
            << nowhere << true
            << QStringList{u"-d"_s, u"-sBestellung"_s, u"-fmax.schule.example"_s, kRecipients[0],
                           u"mail.tmp"_s}
            << invalid.arg(u"max.schule.example"_s);
        QTest::newRow("sender name with an open quotation")
            << nowhere << true
            << QStringList{u"-d"_s, u"-sBestellung"_s, u"-f\"Max <max@schule.example>"_s,
                           kRecipients[0], u"mail.tmp"_s}
            << invalid.arg(u"\"Max <max@schule.example>"_s);
        QTest::newRow("unknown option")
            << live << true << (QStringList{u"-x"_s} + standard)
            << u"Fehler: Unbekannte Option \"-x\" beim Aufruf von send.exe."_s;
        QTest::newRow("no arguments")
            << live << true << QStringList()
            << u"Fehler: Ungültiger Aufruf von send.exe, erwartet: send.exe -d -s\"Betreff\" "
               "-f\"Absender\" Empfänger Maildatei."_s;
    }
    void reportsFailure() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, withBody);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        if (settings.contains("%PORT%") && !m_server.running())
            QSKIP("python3 with aiosmtpd is not available");
        const QByteArray dead = QByteArray::number(orba::test::deadPort());
        settings.replace("%PORT%", QByteArray::number(m_server.port())).replace("%DEAD%", dead);
        expected.replace(u"%PORT%"_s, QString::number(m_server.port()))
            .replace(u"%DEAD%"_s, QString::fromLatin1(dead));
        WorkingDir dir;
        if (!settings.isEmpty())
            dir.write(u"orbaw.ini"_s, settings);
        if (withBody)
            dir.write(u"mail.tmp"_s, "Bestellung\r\n");
        // The log of an earlier send must not survive a failed one.
        dir.write(u"log.tmp"_s, kSuccess.toLatin1() + "\r\n");

        QCOMPARE(runMailer(dir, arguments), 1);

        const QStringList log = logOf(dir);
        QVERIFY(!log.isEmpty());
        QCOMPARE(log.last(), expected);
        QVERIFY(!log.join(u'\n').contains(kSuccess, Qt::CaseInsensitive));
        QVERIFY2(m_server.received().isEmpty(), "a message was delivered");
    }
};

ORBA_TEST_MAIN(TestMailer)
#include "tst_mailer.moc"
