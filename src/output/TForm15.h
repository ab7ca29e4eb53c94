#pragma once

#include <QDialog>

namespace orba {

// Asks for the own e-mail address when the settings lack it.
class TForm15 : public QDialog {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent);
};

} // namespace orba
