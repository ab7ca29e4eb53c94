#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orba {

// Shows the mailer's log "log.tmp" as it stood when the window was made, and above it the cause
// of a failure; made for each showing.
class Tfehler : public QDialog {
    Q_OBJECT
public:
    explicit Tfehler(QWidget* parent);

private:
    void FormCreate();
    void showCause(const QString& cause);

public:
    // Controls, named as the window definition names them.
    QLabel* Label1; // the mailer's cause of a failure, above the transcript
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn1;
};

} // namespace orba
