#include "output/TForm15.h"

#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "core/StorableInput.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orba {
namespace {

const QString explanation = QStringLiteral(
    "Zum Versenden der Mails muss in den Einstellungen eine gültige eigene E-Mail-Adresse "
    "eingetragen sein. Geben Sie bitte nachfolgend Ihre eigene E-Mail-Adresse in das "
    "Eingabefeld ein, um die Mail zu verschicken. \n"
    "Die E-Mail-Adresse wird dann auch in den Einstellungen unter \"eigene Mail-Adresse\" "
    "eingetragen.");

} // namespace

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "TForm15", QStringLiteral("Eigene E-Mail-Adresse"), 420, 230);
    // The prompt is answered with its buttons only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    Label1 = new QLabel(explanation, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 8, 396, 132);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    Label1->setFont(arial);

    Label2 = new QLabel(QStringLiteral("Eigene E-Mail-Adresse"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 146, 396, 16);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 164, 396, 22);
    guardLineInput(Edit1);
    Label2->setBuddy(Edit1);

    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&Abbrechen"), {234, 196, 82, 26});
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&OK"), {326, 196, 82, 26});
    BitBtn2->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    on(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

QString TForm15::askOwnAddress() {
    Edit1->clear();
    Edit1->setFocus();
    if (exec() != QDialog::Accepted)
        return QString();
    return Edit1->text();
}

void TForm15::BitBtn2Click() {
    if (Edit1->text().contains(QLatin1Char('@'))) {
        accept();
        return;
    }
    msg::error(this, QStringLiteral("Falsche E-Mail-Adresse. Die Adresse muss im Format "
                                    "'Name@Host' eingegeben werden."));
}

} // namespace orba
