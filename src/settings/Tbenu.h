#pragma once

#include <QDialog>

namespace orba {

// The user list for order headers.
class Tbenu : public QDialog {
    Q_OBJECT
public:
    explicit Tbenu(QWidget* parent);
};

} // namespace orba
