#pragma once

#include <QDialog>

namespace orba {

// The e-mail order: recipient, subject and the body rendered from the order mask.
class Temail : public QDialog {
    Q_OBJECT
public:
    explicit Temail(QWidget* parent);
};

} // namespace orba
