#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orba {

// Shows the mailer's log "log.tmp" as it stood when the window was made; made for each showing.
class Tfehler : public QDialog {
    Q_OBJECT
public:
    explicit Tfehler(QWidget* parent);

private:
    void FormCreate();

public:
    // Controls, named as the window definition names them.
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn1;
};

} // namespace orba
