#pragma once

#include <chrono>
#include <functional>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orba {

class MailSignIn;
class TForm15;

// The e-mail order: recipient, subject and the body rendered from the order mask. "Mail senden"
// hands them to the mailer "send.exe" and reports what its log says; a sent order closes the
// dialog.
class Temail : public QDialog {
    Q_OBJECT
public:
    explicit Temail(QWidget* parent);

    // The own address lives in the settings dialog. `ownAddress` reads it at the moment of
    // sending; `storeOwnAddress` takes an address the user entered in the prompt and keeps it in
    // the settings dialog and the settings file.
    void setSettingsAccess(std::function<QString()> ownAddress,
                           std::function<void(const QString&)> storeOwnAddress);
    // The prompt for a missing own address; without one nothing is sent while the address is
    // missing.
    void setAddressPrompt(TForm15* prompt);
    // Supplies the mail server's password when the settings name a sign-in; without one the
    // mailer gets none.
    void setSignIn(MailSignIn* signIn) { m_signIn = signIn; }
    // How long a send waits for the mailer's log before it counts as failed.
    void setMailerWaitLimit(std::chrono::milliseconds limit) { m_waitLimit = limit; }

    using QDialog::open;
    // Replaces body, recipient and subject and shows the dialog modally.
    void open(const QStringList& body, const QString& recipient, const QString& subject);

    // The help button; the help system connects it.
    QPushButton* helpButton() const { return BitBtn1; }

private:
    void BitBtn3Click();
    bool writeBody();
    QString senderAddress();
    void report(bool sent);

    std::function<QString()> m_ownAddress;
    std::function<void(const QString&)> m_storeOwnAddress;
    TForm15* m_prompt = nullptr;
    MailSignIn* m_signIn = nullptr;
    std::chrono::milliseconds m_waitLimit = std::chrono::seconds(60);

public:
    // Controls, named as the window definition names them.
    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
};

} // namespace orba
