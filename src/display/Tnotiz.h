#pragma once

#include "display/NoteFile.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orba {

// The note editor of a private-list entry.
class Tnotiz : public QDialog {
    Q_OBJECT
public:
    explicit Tnotiz(QWidget* parent);

    // Opens the note of the medium with this displayed signature and returns whether it has a
    // note afterwards. OK saves the note, or removes the file when the editor was emptied;
    // Cancel and the close box leave the file as it was. A signature that cannot name a file
    // is refused with a message. When the note was changed elsewhere meanwhile, OK asks which
    // text to keep.
    bool editNote(const QString& displayedSignature);

    // The help button; the help system connects it.
    QPushButton* helpButton() const { return BitBtn3; }

private:
    void BitBtn1Click();
    bool keepOwnText(const QStringList& theirs);

    NoteFile m_note;

public:
    // Controls, named as the window definition names them.
    QLabel* Image1;
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
};

} // namespace orba
