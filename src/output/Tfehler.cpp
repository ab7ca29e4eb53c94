#include "output/Tfehler.h"

#include "core/FixedDialog.h"
#include "core/TextFile.h"
#include "output/MailerLog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orba {

Tfehler::Tfehler(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tfehler", QStringLiteral("Sendeprotokoll anzeigen"), 314, 300);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->hide();

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
    if (!textfile::exists(logFile))
        return;
    const QStringList log = textfile::readLines(logFile);
    Memo1->setPlainText(log.join(QLatin1Char('\n')));
    showCause(mailerlog::causeIn(log));
}

// The mailer's German cause would otherwise be the last of many lines, cut off at the memo's
// edge: it stands above the transcript, wrapped, and the window grows by it.
void Tfehler::showCause(const QString& cause) {
    if (cause.isEmpty())
        return;
    Label1->setText(cause);
    const int height = Label1->heightForWidth(Memo1->width());
    Label1->setGeometry(Memo1->x(), Memo1->y(), Memo1->width(), height);
    Label1->show();
    const int shift = height + Memo1->y();
    Memo1->move(Memo1->pos() + QPoint(0, shift));
    BitBtn1->move(BitBtn1->pos() + QPoint(0, shift));
    setFixedSize(width(), this->height() + shift);
}

} // namespace orba
