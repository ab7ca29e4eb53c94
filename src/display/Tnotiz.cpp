#include "display/Tnotiz.h"

#include "catalogue/Record.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "core/StorableInput.h"
#include "display/NoteFile.h"

#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace orba {
namespace {

QLabel* signatureLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPixelSize(16);
    label->setFont(font);
    return label;
}

} // namespace

Tnotiz::Tnotiz(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tnotiz", QStringLiteral("Notiz zum Medium bearbeiten"), 457, 256);

    Image1 = addDialogPicture(this, QStringLiteral("ordner.bmp"));

    Label1 = new QLabel(
        QStringLiteral("Hier können Sie Bemerkungen zum ausgewählten Medium eingeben, z. B.\n"
                       "für welche Klassen dieses Medium geeignet ist."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(48, 8, 401, 32);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 48, 441, 169);
    guardTextInput(Memo1);
    Memo1->setAccessibleName(QStringLiteral("Notiz"));
    Memo1->setAccessibleDescription(Label1->text());

    Label2 = signatureLabel(this, "Label2", QStringLiteral("Signatur"));
    Label2->setGeometry(8, 226, 70, 22);
    Label3 = signatureLabel(this, "Label3", QString());
    Label3->setGeometry(80, 226, 110, 22);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setStyleSheet(QStringLiteral("color: blue"));

    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&OK"), {194, 224, 82, 26});
    BitBtn1->setDefault(true);
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Abbrechen"), {281, 224, 82, 26});
    BitBtn3 = addDialogButton(this, "BitBtn3", QStringLiteral("&Hilfe"), {368, 224, 82, 26});

    on(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

bool Tnotiz::editNote(const QString& displayedSignature) {
    const QString stored = record::storedSignature(displayedSignature);
    if (!isSafeNoteName(stored)) {
        msg::error(this, QStringLiteral("Für die Signatur '%1' kann keine Notiz gespeichert "
                                        "werden: sie enthält Zeichen, die in Dateinamen nicht "
                                        "erlaubt sind, oder ist für einen Dateinamen zu lang.")
                             .arg(stored));
        setResult(QDialog::Rejected);
        return false;
    }
    m_note = NoteFile(stored);
    Memo1->setPlainText(m_note.read().join(QLatin1Char('\n')));
    Label3->setText(stored);
    Memo1->setFocus();
    exec();
    return noteExists(displayedSignature);
}

namespace {
// Thrown when the user goes back to the editor instead of choosing a text.
struct BackToEditor {};
} // namespace

void Tnotiz::BitBtn1Click() {
    if (!Label3->text().isEmpty()) {
        // The raw text keeps non-breaking blanks, which the plain-text form turns into blanks.
        QString text = Memo1->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        // An emptied note is no note: its file goes.
        const QStringList lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
        try {
            m_note.save(lines, [this](const QStringList& theirs) { return keepOwnText(theirs); });
        } catch (const BackToEditor&) {
            return;
        }
    }
    accept();
}

bool Tnotiz::keepOwnText(const QStringList& theirs) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warnung"),
                    QStringLiteral("Die Notiz zum Medium %1 wurde geändert, während Sie sie "
                                   "bearbeitet haben, etwa in einem zweiten ORBA-Fenster. Welchen "
                                   "Text möchten Sie behalten?")
                        .arg(Label3->text()),
                    QMessageBox::NoButton, this);
    box.setInformativeText(theirs.isEmpty()
                               ? QStringLiteral("Dort wurde die Notiz gelöscht.")
                               : QStringLiteral("Der andere Text:\n") + theirs.join(u'\n'));
    QPushButton* mine = box.addButton(QStringLiteral("Meinen Text"), QMessageBox::AcceptRole);
    QPushButton* other = box.addButton(QStringLiteral("Den anderen Text"), QMessageBox::RejectRole);
    QPushButton* back = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(mine);
    box.setEscapeButton(back);
    box.exec();
    if (box.clickedButton() == back)
        throw BackToEditor{};
    return box.clickedButton() != other;
}

} // namespace orba
