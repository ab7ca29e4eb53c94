#pragma once

#include <QDialog>

namespace orba {

// The note editor of a private-list entry.
class Tnotiz : public QDialog {
    Q_OBJECT
public:
    explicit Tnotiz(QWidget* parent);
};

} // namespace orba
