#include "settings/Tlog.h"

#include "core/FixedDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orba {

Tlog::Tlog(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tlog", QStringLiteral("Anmeldung"), 300, 130);
    auto* form = new QFormLayout(this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Benutzername"), Edit1);
    form->addRow(QStringLiteral("Passwort"), Edit2);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

} // namespace orba
