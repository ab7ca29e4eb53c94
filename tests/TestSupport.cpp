#include "TestSupport.h"

#include "app/TForm1.h"
#include "catalogue/Tsachgeb.h"
#include "output/Tfehler.h"
#include "output/Tpasswort.h"
#include "output/Tprogbar.h"
#include "settings/HelpRouter.h"
#include "update/Taktualisierung.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>

namespace orba::test {
namespace {

constexpr int kProcessWaitMs = 60000;

// The server of MailServer: every accepted message is written as received.json into the
// directory named on the command line, every sign-in as a line of signins.jsonl; the ports go to
// standard output once it listens. With certificates and their key it listens on four ports.
const char kMailServerScript[] = R"PY(
import asyncio, base64, datetime, email, email.policy, json, logging, os, re, ssl, sys, warnings
from aiosmtpd.smtp import SMTP, AuthResult

# A sign-in offered over plain text is what the plain listener is for.
warnings.filterwarnings('ignore')
logging.getLogger('mail.log').setLevel(logging.CRITICAL)
inbox, user, password = sys.argv[1:4]
certificate = sys.argv[4:6]

def valid_utf8(data):
    try:
        data.decode('utf-8')
        return True
    except UnicodeDecodeError:
        return False

def authenticate(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == user.encode() and auth_data.password == password.encode()
    encrypted = server.transport.get_extra_info('ssl_object') is not None
    with open(os.path.join(inbox, 'signins.jsonl'), 'a') as f:
        f.write(json.dumps({'mechanism': mechanism, 'login': auth_data.login.decode(),
                            'accepted': ok, 'encrypted': encrypted}) + '\n')
    return AuthResult(success=ok, handled=False)

class Handler:
    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if address.startswith('gesperrt@'):
            return '553 5.7.1 Absender gesperrt'
        if address.startswith('anmelden@'):
            return '530 5.7.0 Authentication required'
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return '250 OK'

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith('fremd@'):
            return ('553 5.7.1 <%s>: Sender address rejected: not owned by user %s'
                    % (envelope.mail_from, user))
        if address.startswith('unbekannt@'):
            return '550 5.1.1 Mailbox unbekannt'
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        if 'Spam' in str(msg['Subject']):
            return '554 5.6.0 Inhalt abgelehnt'
        date = msg['Date'].datetime if msg['Date'] else None
        now = datetime.datetime.now(datetime.timezone.utc)
        defects = [str(d) for d in msg.defects]
        for name in msg.keys():
            defects += [name + ': ' + str(d) for d in msg[name].defects]
        record = {
            'mail_from': envelope.mail_from,
            'rcpt_tos': envelope.rcpt_tos,
            'from': [a.addr_spec for a in msg['From'].addresses],
            'from_names': [a.display_name for a in msg['From'].addresses],
            'to': [a.addr_spec for a in msg['To'].addresses],
            'subject': str(msg['Subject']),
            'message_id': str(msg['Message-ID']),
            'mime_version': str(msg['MIME-Version']),
            'content_type': msg.get_content_type(),
            'body': msg.get_content().replace('\r\n', '\n'),
            'date_offset_minutes': date.utcoffset().total_seconds() / 60 if date else None,
            'date_seconds_off': abs((date - now).total_seconds()) if date else None,
            'defects': defects,
            'seven_bit': all(b < 128 for b in raw),
            'longest_line': max(len(line) for line in raw.split(b'\r\n')),
        }
        header = raw.split(b'\r\n\r\n')[0]
        words = [base64.b64decode(w) for w in re.findall(rb'=\?UTF-8\?B\?([^?]*)\?=', header)]
        record['words_hold_whole_characters'] = all(valid_utf8(w) for w in words)
        record['lines_ending_in_blank'] = sum(1 for line in raw.split(b'\r\n')
                                              if line.endswith((b' ', b'\t')))
        with open(os.path.join(inbox, 'received.json'), 'w') as f:
            json.dump(record, f)
        return '250 OK'

async def main():
    loop = asyncio.get_running_loop()
    def listener(**options):
        return lambda: SMTP(Handler(), authenticator=authenticate, **options)
    servers = [await loop.create_server(listener(auth_require_tls=False), '127.0.0.1', 0)]
    if certificate:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(*certificate)
        servers.append(await loop.create_server(
            listener(tls_context=context, require_starttls=True), '127.0.0.1', 0))
        servers.append(await loop.create_server(
            listener(auth_require_tls=False, auth_exclude_mechanism=['PLAIN']),
            '127.0.0.1', 0, ssl=context))
        outdated = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        outdated.load_cert_chain(sys.argv[6], certificate[1])
        servers.append(await loop.create_server(listener(), '127.0.0.1', 0, ssl=outdated))
    print(' '.join(str(s.sockets[0].getsockname()[1]) for s in servers), flush=True)
    await asyncio.gather(*(s.serve_forever() for s in servers))

asyncio.run(main())
)PY";

// The interpreter that has aiosmtpd: the system's, which the Debian package extends, even when
// another python3 comes first on the path.
QString pythonWithAiosmtpd() {
    for (const QString& candidate :
         {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
        if (probe.waitForFinished(kProcessWaitMs) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return candidate;
    }
    return QString();
}

// A server script prints its ports on one line once it accepts connections.
QList<quint16> portsOf(QProcess& server, const char* kind) {
    while (!server.canReadLine()) {
        if (!server.waitForReadyRead(kProcessWaitMs))
            qFatal("the %s server did not start", kind);
    }
    QList<quint16> ports;
    for (const QByteArray& port : server.readLine().trimmed().split(' '))
        ports.append(port.toUShort());
    return ports;
}

} // namespace

WorkingDir::WorkingDir() : m_previous(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
}

WorkingDir::~WorkingDir() {
    QDir::setCurrent(m_previous);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WorkingDir::write(const QString& name, const QByteArray& bytes) const {
    writeFile(file(name), bytes);
}

QByteArray WorkingDir::read(const QString& name) const {
    return readFile(file(name));
}

void answerNextModal(std::function<void(QWidget*)> answer, ModalSeen* seen) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        // The progress window of a report is modal while the report is made; it is no question.
        if (!modal || modal->inherits("orba::Tprogbar"))
            return;
        timer->stop();
        timer->deleteLater();
        if (seen) {
            seen->shown = true;
            seen->caption = modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                seen->text = box->text();
        }
        answer(modal);
    });
    timer->start();
}

MessageWatch::MessageWatch() {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_texts.append(box->text());
        box->buttons().constFirst()->click();
    });
    m_timer.start();
}

void clickInNextModal(const QString& buttonText, ModalSeen* seen) {
    answerNextModal(
        [buttonText](QWidget* modal) {
            for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
                if (button->text().remove(QLatin1Char('&')) == buttonText && button->isVisible()) {
                    button->click();
                    return;
                }
            }
            qWarning("no button '%s' in the modal dialog", qPrintable(buttonText));
            modal->close();
        },
        seen);
}

bool TestCertificates::make() {
    if (!m_dir.isValid())
        qFatal("cannot make a folder for the certificates");
    QFile config(m_dir.filePath(QStringLiteral("openssl.cnf")));
    if (!config.open(QIODevice::WriteOnly))
        qFatal("cannot write the openssl configuration");
    config.write("[req]\ndistinguished_name = dn\n[dn]\n"
                 "[ca]\nbasicConstraints = critical,CA:TRUE\n"
                 "keyUsage = critical,keyCertSign,cRLSign\nsubjectKeyIdentifier = hash\n"
                 "[server]\nbasicConstraints = critical,CA:FALSE\n"
                 "keyUsage = critical,digitalSignature\nextendedKeyUsage = serverAuth\n"
                 "subjectAltName = IP:127.0.0.1\nsubjectKeyIdentifier = hash\n"
                 "authorityKeyIdentifier = keyid\n");
    config.close();
    // EC keys are made in an instant, unlike RSA keys.
    const QStringList common{QStringLiteral("req"),      QStringLiteral("-x509"),
                             QStringLiteral("-config"),  config.fileName(),
                             QStringLiteral("-newkey"),  QStringLiteral("ec"),
                             QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:P-256"),
                             QStringLiteral("-nodes"),   QStringLiteral("-days"),
                             QStringLiteral("2")};
    const auto tool = [](const QStringList& arguments) {
        // Its chatter shows only when it fails.
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("openssl"), arguments);
        const bool made = openssl.waitForFinished(kProcessWaitMs) &&
                          openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
        if (!made)
            qWarning("%s", openssl.readAll().constData());
        return made;
    };
    const auto run = [&](const QStringList& arguments) { return tool(common + arguments); };
    using namespace Qt::StringLiterals;
    const QString request = m_dir.filePath(u"server.csr"_s);
    return run({QStringLiteral("-extensions"), QStringLiteral("ca"), QStringLiteral("-subj"),
                QStringLiteral("/CN=ORBA Test-CA"), QStringLiteral("-keyout"),
                m_dir.filePath(QStringLiteral("ca.key")), QStringLiteral("-out"), caFile()}) &&
           run({QStringLiteral("-extensions"), QStringLiteral("server"), QStringLiteral("-subj"),
                QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-CA"), caFile(),
                QStringLiteral("-CAkey"), m_dir.filePath(QStringLiteral("ca.key")),
                QStringLiteral("-keyout"), serverKey(), QStringLiteral("-out"),
                serverCertificate()}) &&
           // Only "x509" makes out a certificate that ended yesterday.
           tool({u"req"_s, u"-new"_s, u"-key"_s, serverKey(), u"-subj"_s, u"/CN=127.0.0.1"_s,
                 u"-out"_s, request}) &&
           tool({u"x509"_s, u"-req"_s, u"-in"_s, request, u"-CA"_s, caFile(), u"-CAkey"_s,
                 m_dir.filePath(u"ca.key"_s), u"-days"_s, u"-1"_s, u"-extfile"_s, config.fileName(),
                 u"-extensions"_s, u"server"_s, u"-out"_s, expiredCertificate()});
}

MailServer::~MailServer() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(kProcessWaitMs);
}

bool MailServer::start(const TestCertificates* certificates) {
    const QString python = pythonWithAiosmtpd();
    if (python.isEmpty())
        return false;
    const QString script = m_inbox.filePath(QStringLiteral("smtp_server.py"));
    QFile file(script);
    if (!m_inbox.isValid() || !file.open(QIODevice::WriteOnly))
        qFatal("cannot write the mail server script");
    file.write(kMailServerScript);
    file.close();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{script, m_inbox.path(), kMailUser, kMailPassword};
    if (certificates)
        arguments << certificates->serverCertificate() << certificates->serverKey()
                  << certificates->expiredCertificate();
    m_process.start(python, arguments);
    const QList<quint16> ports = portsOf(m_process, "mail");
    m_port = ports.value(0);
    m_startTlsPort = ports.value(1);
    m_tlsPort = ports.value(2);
    m_expiredTlsPort = ports.value(3);
    if (m_port == 0 || (certificates && m_tlsPort == 0))
        qFatal("the mail server named no port");
    return true;
}

QJsonObject MailServer::received() const {
    QFile file(receivedFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QList<QJsonObject> MailServer::signIns() const {
    QFile file(m_inbox.filePath(QStringLiteral("signins.jsonl")));
    QList<QJsonObject> attempts;
    if (!file.open(QIODevice::ReadOnly))
        return attempts;
    while (!file.atEnd())
        attempts.append(QJsonDocument::fromJson(file.readLine()).object());
    return attempts;
}

void MailServer::forgetReceived() const {
    QFile::remove(receivedFile());
    QFile::remove(m_inbox.filePath(QStringLiteral("signins.jsonl")));
}

UpdateServer::UpdateServer() {
    if (!m_certificates.make())
        qFatal("openssl made no certificates for the update server");
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("python3"),
                    {QStringLiteral(ORBA_SOURCE_DIR "/tests/update_server.py"), m_root.path(),
                     m_certificates.serverCertificate(), m_certificates.serverKey()});
    m_port = portsOf(m_process, "update").value(0);
    if (m_port == 0)
        qFatal("the update server named no port");
}

UpdateServer::~UpdateServer() {
    m_process.kill();
    m_process.waitForFinished(kProcessWaitMs);
}

QString UpdateServer::address() const {
    return QStringLiteral("https://127.0.0.1:%1/orba/").arg(m_port);
}

void UpdateServer::fail(const QString& file, const QString& how) const {
    QFile behaviour(m_root.filePath(QStringLiteral("verhalten")));
    if (!behaviour.open(QIODevice::WriteOnly))
        qFatal("cannot write the update server's behaviour");
    behaviour.write((file + QLatin1Char('=') + how + QLatin1Char('\n')).toUtf8());
}

void UpdateServer::failNothing() const {
    QFile::remove(m_root.filePath(QStringLiteral("verhalten")));
}

QStringList filesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

quint16 deadPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(probe);
    return port;
}

void forEachWindowState(TForm1& main, const std::function<void(QWidget*)>& check) {
    main.help().viewer();
    main.subjectAreas();
    new Tfehler(&main);
    new Tpasswort(&main, MailAccount{}, true, false);
    new Tprogbar(&main);
    new Taktualisierung(&main);
    QList<QWidget*> windows = {&main};
    for (QWidget* child : main.findChildren<QWidget*>())
        if (child->isWindow() && QByteArray(child->metaObject()->className()).startsWith("orba::"))
            windows.append(child);
    for (QWidget* window : windows) {
        // The window's own tabs, not those of the dialogs it owns, from their first page on.
        QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
        tabs.removeIf([window](const QTabWidget* pages) { return pages->window() != window; });
        for (QTabWidget* pages : tabs)
            pages->setCurrentIndex(0);
        check(window);
        for (QTabWidget* pages : tabs)
            for (int page = 1; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                check(window);
            }
    }
}

} // namespace orba::test
