#pragma once

#include "output/MailSignIn.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orba {

// Asks for the password of the mail server's sign-in before a mail is sent.
class Tpasswort : public QDialog {
    Q_OBJECT
public:
    // Saving is offered only when `canSave`; `save` is its first state.
    Tpasswort(QWidget* parent, const MailAccount& account, bool canSave, bool save);

    // Shows the dialog; the password and the choice to save it on OK, nothing on cancel.
    std::optional<MailSignIn::Answer> ask();

public:
    // Controls, named in the manner of the other windows.
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace orba
