#pragma once

#include "settings/UserFile.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orba {

// Name and school of a new or edited user. The caller sets the caption.
class Tbenu_neu : public QDialog {
    Q_OBJECT
public:
    explicit Tbenu_neu(QWidget* parent);

    void setEntry(const UserEntry& entry);
    UserEntry entry() const;

public:
    // Controls, named as the window definition names them.
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace orba
