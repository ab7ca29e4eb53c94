#pragma once

#include <QDialog>

class QLineEdit;

namespace orba {

// The login dialog: made at start-up and never shown, since the program has no login step.
class Tlog : public QDialog {
    Q_OBJECT
public:
    explicit Tlog(QWidget* parent);

private:
    QLineEdit* Edit1;
    QLineEdit* Edit2;
};

} // namespace orba
