#pragma once

#include <QDialog>

namespace orba {

// Media counts per media type from "stat.dat".
class Tstat : public QDialog {
    Q_OBJECT
public:
    explicit Tstat(QWidget* parent);
};

} // namespace orba
