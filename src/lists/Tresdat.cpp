#include "lists/Tresdat.h"

#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "lists/ReservationDate.h"
#include "lists/ReservationDateEdit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace orba {

Tresdat::Tresdat(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tresdat", QStringLiteral("Reservierungsdatum ändern"), 265, 174);
    // The dialog is narrow: its question and check box text fit on one line at 8 points.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    Label1 = new QLabel(QStringLiteral("Bitte geben Sie ein neues Reservierungsdatum ein:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 12, 253, 16);
    DateEdit1 = reservationDateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setGeometry(8, 50, 120, 24);
    Label1->setBuddy(DateEdit1);

    CheckBox1 =
        new QCheckBox(QStringLiteral("alle &Medien der Liste auf dieses Datum setzen"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 96, 255, 20);

    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&OK"), {40, 136, 82, 26});
    BitBtn1->setDefault(true);
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Abbrechen"), {140, 136, 82, 26});
    on(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::pair<QString, bool>> Tresdat::ask(const QString& currentDate) {
    const QDate today = QDate::currentDate();
    const std::optional<QDate> stored = readReservationDate(currentDate);
    DateEdit1->setDate(stored && *stored >= today ? *stored : today);
    CheckBox1->setChecked(false);
    DateEdit1->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return std::pair{formatReservationDate(DateEdit1->date()), CheckBox1->isChecked()};
}

void Tresdat::BitBtn1Click() {
    const QString refusal = pastReservationDateMessage(DateEdit1->date());
    if (!refusal.isEmpty()) {
        msg::error(this, refusal);
        DateEdit1->setFocus();
        return;
    }
    accept();
}

} // namespace orba
