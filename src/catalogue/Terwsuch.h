#pragma once

#include <QDialog>

namespace orba {

// The advanced search: several field criteria at once.
class Terwsuch : public QDialog {
    Q_OBJECT
public:
    explicit Terwsuch(QWidget* parent);
};

} // namespace orba
