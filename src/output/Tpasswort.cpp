#include "output/Tpasswort.h"

#include "core/FixedDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orba {

Tpasswort::Tpasswort(QWidget* parent, const MailAccount& account, bool canSave, bool save)
    : QDialog(parent) {
    setUpDialog(this, "Tpasswort", QStringLiteral("Anmeldung am SMTP-Server"), 380, 176);

    Label1 = new QLabel(QStringLiteral("Der SMTP-Server %1 verlangt eine Anmeldung. Bitte das "
                                       "Passwort für den Benutzer \"%2\" eingeben.")
                            .arg(account.host.trimmed(), account.user),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 10, 356, 48);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label2 = new QLabel(QStringLiteral("Passwort"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 64, 356, 16);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 82, 356, 22);
    Edit1->setEchoMode(QLineEdit::Password);
    Label2->setBuddy(Edit1);

    CheckBox1 = new QCheckBox(QStringLiteral("Passwort &speichern"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(12, 110, 356, 22);
    CheckBox1->setEnabled(canSave);
    CheckBox1->setChecked(canSave && save);
    CheckBox1->setToolTip(canSave ? QStringLiteral("Im Passwortspeicher des Desktops ablegen, "
                                                   "statt bei jedem Programmstart zu fragen")
                                  : QStringLiteral("Kein Passwortspeicher vorhanden: ORBA fragt "
                                                   "nach jedem Programmstart erneut"));

    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&Abbrechen"), {194, 142, 82, 26});
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&OK"), {286, 142, 82, 26});
    BitBtn2->setDefault(true);
    BitBtn2->setEnabled(false);
    connect(Edit1, &QLineEdit::textChanged, this,
            [this](const QString& text) { BitBtn2->setEnabled(!text.isEmpty()); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    Edit1->setFocus();
}

std::optional<MailSignIn::Answer> Tpasswort::ask() {
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return MailSignIn::Answer{Edit1->text(), CheckBox1->isChecked()};
}

} // namespace orba
