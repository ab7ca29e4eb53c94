// Printing and previewing the lists: the commands of the list pages and the file menu.
#include "app/ListReportSource.h"
#include "app/TForm1.h"
#include "core/Guard.h"
#include "lists/ListGrid.h"
#include "output/MailBody.h"
#include "output/MailSignIn.h"
#include "output/Temail.h"
#include "output/Tpasswort.h"
#include "output/TQRPrint.h"
#include "platform/KeychainStore.h"
#include "settings/SettingsFile.h"
#include "settings/Tbenu.h"
#include "settings/Tsetup.h"

#include <QAction>
#include <QPushButton>

namespace orba {

void TForm1::wireOutput() {
    QRPrint1 = new TQRPrint(this);
    QRPrint1->setObjectName(QStringLiteral("QRPrint1"));
    for (QPushButton* b : {BitBtn4, BitBtn7})
        on(b, &QPushButton::clicked, this,
           [this] { printList(QStringLiteral("bestell.r02"), true); });
    on(Drucken1, &QAction::triggered, this, [this] { printList(QRPrint1->PrintMask(), true); });
    on(Drucken2, &QAction::triggered, this,
       [this] { printList(QStringLiteral("medien.r01"), false); });
    for (QPushButton* b : {BitBtn3, BitBtn12, BitBtn10, BitBtn16})
        on(b, &QPushButton::clicked, this,
           [this] { printList(QStringLiteral("medien.r01"), false); });
    for (QPushButton* b : {BitBtn5, BitBtn17})
        on(b, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
}

// The e-mail dialog asks the settings for the own address and stores one the user supplies; it
// asks for the mail server's password when the settings name a user.
void TForm1::wireMail() {
    Tsetup* setup = m_forms.setup;
    SettingsFile* settings = m_settings.get();
    Temail* email = m_forms.email;
    email->setSettingsAccess([setup] { return setup->ownAddress(); },
                             [setup, settings](const QString& address) {
                                 setup->setOwnAddress(address);
                                 settings->writeString(QStringLiteral("mail"),
                                                       QStringLiteral("return Path"), address);
                             });
    email->setAddressPrompt(m_forms.form15);
    m_passwordStore = std::make_unique<KeychainStore>();
    m_mailSignIn =
        std::make_unique<MailSignIn>(settings->path(), m_passwordStore.get(),
                                     [email](const MailAccount& account, bool canSave, bool save) {
                                         return Tpasswort(email, account, canSave, save).ask();
                                     });
    email->setSignIn(m_mailSignIn.get());
}

void TForm1::BitBtn5Click() {
    const auto source = reportSource();
    if (!source)
        return;
    const QStringList body = composeMailBody(*QRPrint1, *source);
    if (source->cancelled())
        return;
    m_forms.email->open(body, m_forms.setup->recipient(), m_forms.setup->subject());
}

// None for an empty list (there is nothing to print or to order) and for a basket whose dates
// need correcting first. Cancelling the user list ends the command.
std::unique_ptr<ReportSource> TForm1::reportSource() {
    if (!CurrentGrid || !CurrentGrid->hasEntries())
        return nullptr;
    if (CurrentPage == 2 && !basketDatesReadable())
        return nullptr;
    Tbenu* users = m_forms.benu;
    return std::make_unique<ListReportSource>(
        m_catalogue, *CurrentGrid, CurrentPage == 2 ? StringGrid4 : nullptr,
        m_forms.setup->showUserList(), [users]() -> std::optional<std::pair<QString, QString>> {
            users->setSelection(QStringLiteral("?"), QStringLiteral("?"));
            if (users->exec() != QDialog::Accepted)
                return std::nullopt;
            return std::pair(users->SelectedName(), users->SelectedSchool());
        });
}

// Each command loads its own mask first, so a list is never printed through the mask that an
// earlier command left in the bands.
void TForm1::printList(const QString& mask, bool preview) {
    const auto source = reportSource();
    if (!source)
        return;
    QRPrint1->LoadPrintMask(mask);
    if (preview)
        QRPrint1->PreviewReport(*source);
    else
        QRPrint1->PrintReport(*source);
}

} // namespace orba
