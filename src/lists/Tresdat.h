#pragma once

#include <QDialog>

namespace orba {

// Changes the reservation date of basket entries.
class Tresdat : public QDialog {
    Q_OBJECT
public:
    explicit Tresdat(QWidget* parent);
};

} // namespace orba
