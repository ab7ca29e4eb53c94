#pragma once

#include <QDialog>

namespace orba {

// Name entry for a new or edited user.
class Tbenu_neu : public QDialog {
    Q_OBJECT
public:
    explicit Tbenu_neu(QWidget* parent);
};

} // namespace orba
