#include "output/Temail.h"

#include "core/EnterKey.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "core/StorableInput.h"
#include "core/TextFile.h"
#include "output/MailCommand.h"
#include "output/MailerRun.h"
#include "output/MailSignIn.h"
#include "output/Tfehler.h"
#include "output/TForm15.h"
#include "platform/Installation.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace orba {
namespace {

// Silent unless switched on (QT_LOGGING_RULES="orba.mail.debug=true").
Q_LOGGING_CATEGORY(mailTrace, "orba.mail", QtWarningMsg)

const QString bodyFile = QStringLiteral("mail.tmp");

QPixmap envelope() {
    QPixmap picture(48, 34);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 128), 2));
    painter.setBrush(QColor(255, 255, 224));
    const QRectF paper(1, 1, 46, 32);
    painter.drawRect(paper);
    const QPointF flap[] = {paper.topLeft(), QPointF(paper.center().x(), 20), paper.topRight()};
    painter.drawPolyline(flap, 3);
    return picture;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(geometry);
    return result;
}

QLineEdit* field(QWidget* parent, const char* name, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(160, y, 388, 22);
    guardLineInput(edit);
    return edit;
}

// The body as the user sees it. The raw text keeps non-breaking blanks; a line break at the very
// end starts no further line, as in a memo's line list.
QStringList memoLines(const QPlainTextEdit* memo) {
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

Temail::Temail(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Temail", QStringLiteral("E-Mail-Bestellung"), 560, 322);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(12, 12, 48, 34);
    Image1->setPixmap(envelope());
    Image1->setAccessibleName(QStringLiteral("Briefumschlag"));
    Image1->setAccessibleDescription(QStringLiteral("Sinnbild der E-Mail-Bestellung"));

    Label1 = label(this, "Label1", QStringLiteral("Empfänger"), QRect(76, 12, 80, 22));
    Edit1 = field(this, "Edit1", 12);
    Label1->setBuddy(Edit1);
    Label2 = label(this, "Label2", QStringLiteral("Betreff"), QRect(76, 42, 80, 22));
    Edit2 = field(this, "Edit2", 42);
    Label2->setBuddy(Edit2);

    Label3 = label(this, "Label3", QStringLiteral("E-Mail"), QRect(12, 72, 120, 18));
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label3->setStyleSheet(QStringLiteral("color: blue"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(12, 92, 536, 188);
    guardTextInput(Memo1);
    Label3->setBuddy(Memo1);
    Memo1->setFocus();

    BitBtn3 = addDialogButton(this, "BitBtn3", QStringLiteral("Mail &senden"), {12, 288, 110, 26});
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Abbrechen"), {374, 288, 82, 26});
    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&Hilfe"), {466, 288, 82, 26});
    // Enter in a field must not send the mail; Enter on a button presses it.
    for (QPushButton* each : {BitBtn3, BitBtn2, BitBtn1})
        each->setAutoDefault(false);
    pressOnEnter({BitBtn3, BitBtn2, BitBtn1});

    on(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void Temail::setSettingsAccess(std::function<QString()> ownAddress,
                               std::function<void(const QString&)> storeOwnAddress) {
    m_ownAddress = std::move(ownAddress);
    m_storeOwnAddress = std::move(storeOwnAddress);
}

void Temail::setAddressPrompt(TForm15* prompt) {
    m_prompt = prompt;
}

void Temail::open(const QStringList& body, const QString& recipient, const QString& subject) {
    Memo1->setPlainText(body.join(QLatin1Char('\n')));
    Edit1->setText(recipient);
    Edit2->setText(subject);
    Memo1->setFocus();
    exec();
}

void Temail::BitBtn3Click() {
    if (!writeBody())
        return;
    // The working directory's mailer, else the installed one.
    if (!textfile::exists(platform::mailerProgram(QDir::currentPath()))) {
        msg::error(this, QStringLiteral("send.exe nicht vorhanden, E-Mail kann nicht gesendet "
                                        "werden"));
        return;
    }
    const QString sender = senderAddress();
    if (sender.isEmpty())
        return;
    const std::optional<QByteArray> password =
        m_signIn ? m_signIn->mailerInput() : std::optional(QByteArray());
    if (!password)
        return;
    const QString subject = Edit2->text();
    const QString recipient = Edit1->text();
    qCDebug(mailTrace).noquote() << mailCommandLine(subject, sender, recipient);
    const MailerOutcome outcome =
        runMailer(mailArguments(subject, sender, recipient), m_waitLimit, *password);
    if (m_signIn)
        m_signIn->settle(outcome);
    if (outcome == MailerOutcome::NotStarted) {
        msg::error(this, QStringLiteral("Fehler beim Senden der Mail"));
        return;
    }
    report(outcome == MailerOutcome::Sent);
}

// A write that fails throws its own error, which names the file; the check after it catches a
// body file that is gone all the same.
bool Temail::writeBody() {
    textfile::writeLines(bodyFile, memoLines(Memo1));
    if (textfile::exists(bodyFile))
        return true;
    msg::error(this, QStringLiteral("Temporäre Maildatei ist nicht vorhanden"));
    return false;
}

// The own address from the settings, or else the one the user enters now, which is stored at
// once; empty when the user cancels. The prompt accepts no empty address.
QString Temail::senderAddress() {
    const QString stored = m_ownAddress ? m_ownAddress() : QString();
    if (!stored.isEmpty() || !m_prompt)
        return stored;
    const QString entered = m_prompt->askOwnAddress();
    if (!entered.isEmpty() && m_storeOwnAddress)
        m_storeOwnAddress(entered);
    return entered;
}

// A sent order closes the dialog, so that a second click cannot send it again; after a failure
// it stays open for another try.
void Temail::report(bool sent) {
    const bool showLog =
        sent ? msg::ask(this, QStringLiteral("Meldung"),
                        QStringLiteral("Die Mail wurde gesendet, Protokoll anzeigen ?"))
             : msg::ask(this, QStringLiteral("Fehler"),
                        QStringLiteral("Fehler beim Senden der Mail, Fehlerprotokoll anzeigen ?"));
    if (showLog) {
        Tfehler log(this);
        log.exec();
    }
    if (sent)
        accept();
}

} // namespace orba
