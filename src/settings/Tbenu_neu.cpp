#include "settings/Tbenu_neu.h"

#include "core/FixedDialog.h"
#include "core/StorableInput.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orba {

Tbenu_neu::Tbenu_neu(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tbenu_neu", QStringLiteral("Neuen Benutzer eintragen"), 330, 156);

    Label1 = new QLabel(QStringLiteral("Name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, 200, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 30, 298, 22);
    guardLineInput(Edit1);
    Label1->setBuddy(Edit1);

    Label2 = new QLabel(QStringLiteral("Schulname/Schulnr"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, 58, 200, 16);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(16, 76, 298, 22);
    guardLineInput(Edit2);
    Label2->setBuddy(Edit2);

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(140, 118, 82, 26);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(232, 118, 82, 26);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tbenu_neu::setEntry(const UserEntry& entry) {
    Edit1->setText(entry.name);
    Edit2->setText(entry.school);
    Edit1->setFocus();
}

UserEntry Tbenu_neu::entry() const {
    return {Edit1->text(), Edit2->text()};
}

} // namespace orba
