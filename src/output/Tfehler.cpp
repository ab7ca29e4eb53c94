#include "output/Tfehler.h"

#include "core/FixedDialog.h"
#include "core/TextFile.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace orba {

Tfehler::Tfehler(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tfehler", QStringLiteral("Sendeprotokoll anzeigen"), 314, 300);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 8, 298, 250);
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(QStringLiteral("Sendeprotokoll"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(116, 266, 82, 26);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

// A mailer that ended or was stopped without a log leaves nothing to show.
void Tfehler::FormCreate() {
    const QString logFile = QStringLiteral("log.tmp");
    if (textfile::exists(logFile))
        Memo1->setPlainText(textfile::readLines(logFile).join(QLatin1Char('\n')));
}

} // namespace orba
