#pragma once

#include <functional>
#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

class QWidget;

namespace orba {
class TForm1;
}

namespace orba::test {

// A whole file, written or read; a file that cannot be written is fatal, one that cannot be read
// reads as empty.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// A temporary directory made the working directory for the lifetime of the object.
class WorkingDir {
public:
    WorkingDir();
    ~WorkingDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Answers the next modal dialog (a message box or any dialog) by calling `answer` with it as soon
// as it is shown; returns at once. `seen` receives the dialog's text and caption for checks.
struct ModalSeen {
    QString caption;
    QString text;
    bool shown = false;
};
void answerNextModal(std::function<void(QWidget*)> answer, ModalSeen* seen = nullptr);
// Clicks the button with this text in the next modal dialog.
void clickInNextModal(const QString& buttonText, ModalSeen* seen = nullptr);

// Answers every message box shown while it lives and keeps its text, so that a message nobody
// expected fails a test instead of blocking it.
class MessageWatch {
public:
    MessageWatch();
    const QStringList& texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

// A throw-away certificate authority and certificates it made out for 127.0.0.1 (openssl).
class TestCertificates {
public:
    // False when the openssl program fails.
    bool make();
    QString caFile() const { return m_dir.filePath(QStringLiteral("ca.pem")); }
    QString serverCertificate() const { return m_dir.filePath(QStringLiteral("server.pem")); }
    QString serverKey() const { return m_dir.filePath(QStringLiteral("server.key")); }
    // By the same authority for the same key; it expired yesterday.
    QString expiredCertificate() const { return m_dir.filePath(QStringLiteral("expired.pem")); }

private:
    QTemporaryDir m_dir;
};

// The one account the mail server lets sign in.
inline const QString kMailUser = QStringLiteral("lehrer@schule.example");
inline const QString kMailPassword = QStringLiteral("Geheim für Ü-Tests 7");

// A mail server on loopback (Python's aiosmtpd). It refuses the senders "gesperrt@…" and
// "anmelden@…" (the latter asking for a login), the recipient "unbekannt@…", the sender at the
// recipient "fremd@…" (as Postfix, when the account does not own it) and any message whose
// subject holds "Spam". The last accepted message is parsed by Python's own mail reader, so that
// checks see what a mail client would make of it: envelope, header fields, body and the defects
// the reader found.
class MailServer {
public:
    ~MailServer();
    // False when there is no python3 with aiosmtpd; a server that does not come up is fatal.
    // With certificates it also listens encrypted.
    bool start(const TestCertificates* certificates = nullptr);
    bool running() const { return m_port != 0; }
    // Plain text, no STARTTLS; it offers a sign-in all the same, as a trap for the password.
    quint16 port() const { return m_port; }
    // STARTTLS required before anything else; then sign-in by PLAIN or LOGIN.
    quint16 startTlsPort() const { return m_startTlsPort; }
    // Encrypted from the start; sign-in by LOGIN only.
    quint16 tlsPort() const { return m_tlsPort; }
    // As that one, with the expired certificate.
    quint16 expiredTlsPort() const { return m_expiredTlsPort; }
    // The last accepted message; empty when none arrived since the last forgetReceived().
    QJsonObject received() const;
    // Each sign-in tried since then: "mechanism", "login", "accepted", "encrypted".
    QList<QJsonObject> signIns() const;
    void forgetReceived() const;

private:
    QString receivedFile() const { return m_inbox.filePath(QStringLiteral("received.json")); }

    QTemporaryDir m_inbox;
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_startTlsPort = 0;
    quint16 m_tlsPort = 0;
    quint16 m_expiredTlsPort = 0;
};

// An HTTPS server on loopback (tests/update_server.py) that serves the files of folder(), with
// certificates from a throw-away authority whose certificate is authority(). A file can be made
// to fail: "fehler" (HTTP 500), "kurz" (half of it, then the end) or "haengen" (half of it, then
// nothing). The server ends with the process that started it.
class UpdateServer {
public:
    UpdateServer();
    ~UpdateServer();
    QString folder() const { return m_root.path(); }
    QString authority() const { return m_certificates.caFile(); }
    QString address() const;
    void fail(const QString& file, const QString& how) const;
    void failNothing() const;

private:
    QTemporaryDir m_root;
    TestCertificates m_certificates;
    QProcess m_process;
    quint16 m_port = 0;
};

// Every window of the program, the dialogs made on demand included, with each page of its tab
// widgets in turn; `check` sees each state.
void forEachWindowState(TForm1& main, const std::function<void(QWidget*)>& check);

// Every file under `root`, as sorted paths relative to it.
QStringList filesUnder(const QString& root);

// A loopback port on which nothing listens: one the system just handed out and took back.
quint16 deadPort();

} // namespace orba::test
