#pragma once

#include <QDialog>

namespace orba {

// The keyword list that feeds the advanced search's keyword field.
class Tschlag : public QDialog {
    Q_OBJECT
public:
    explicit Tschlag(QWidget* parent);
};

} // namespace orba
