#pragma once

#include <QWidget>

namespace orba {

// The information window: the organisation's formatted "info.rtf", read-only, not modal.
class Tinfo : public QWidget {
    Q_OBJECT
public:
    explicit Tinfo(QWidget* parent);
};

} // namespace orba
