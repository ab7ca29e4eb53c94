#pragma once

#include <QDialog>

namespace orba {

// The settings dialog; its controls are the live settings while the program runs.
class Tsetup : public QDialog {
    Q_OBJECT
public:
    explicit Tsetup(QWidget* parent);
};

} // namespace orba
