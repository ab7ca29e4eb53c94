#include "lists/Tresdat.h"

#include "core/FixedDialog.h"
#include "lists/ReservationDate.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orba {
namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y, int width) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(x, y, width, 16);
    return result;
}

QLineEdit* field(QWidget* parent, const char* name, qsizetype maxLength, int x, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(static_cast<int>(maxLength));
    edit->setGeometry(x, 58, width, 22);
    return edit;
}

} // namespace

Tresdat::Tresdat(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tresdat", QStringLiteral("Reservierungsdatum ändern"), 265, 174);
    // The dialog is narrow: its question and check box text fit on one line at 8 points.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    Label1 = label(this, "Label1",
                   QStringLiteral("Bitte geben Sie ein neues Reservierungsdatum ein:"), 8, 12, 253);
    Label2 = label(this, "Label2", QStringLiteral("Tag"), 8, 40, 40);
    Edit1 = field(this, "Edit1", dayLength, 8, 36);
    Label2->setBuddy(Edit1);
    Label3 = label(this, "Label3", QStringLiteral("Monat"), 56, 40, 40);
    Edit2 = field(this, "Edit2", monthLength, 56, 36);
    Label3->setBuddy(Edit2);
    Label4 = label(this, "Label4", QStringLiteral("Jahr"), 104, 40, 50);
    Edit3 = field(this, "Edit3", yearLength, 104, 52);
    Label4->setBuddy(Edit3);

    CheckBox1 =
        new QCheckBox(QStringLiteral("alle &Medien der Liste auf dieses Datum setzen"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 96, 255, 20);

    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&OK"), {40, 136, 82, 26});
    BitBtn1->setDefault(true);
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Abbrechen"), {140, 136, 82, 26});
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::pair<QString, bool>> Tresdat::ask(const QString& currentDate) {
    const DateParts parts = splitReservationDate(currentDate);
    Edit1->setText(parts.day);
    Edit2->setText(parts.month);
    Edit3->setText(parts.year);
    CheckBox1->setChecked(false);
    Edit1->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return std::pair{joinReservationDate({Edit1->text(), Edit2->text(), Edit3->text()}),
                     CheckBox1->isChecked()};
}

} // namespace orba
