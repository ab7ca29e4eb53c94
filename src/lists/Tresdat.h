#pragma once

#include <optional>
#include <QDialog>
#include <utility>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orba {

// Changes the reservation date of basket entries. It checks nothing: the date is taken as typed.
class Tresdat : public QDialog {
    Q_OBJECT
public:
    explicit Tresdat(QWidget* parent);

    // Shows the dialog filled from `currentDate`; on OK the new date and whether it is to go to
    // every entry of the list, nothing on Cancel.
    std::optional<std::pair<QString, bool>> ask(const QString& currentDate);

public:
    // Controls, named as the window definition names them.
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QLabel* Label3;
    QLineEdit* Edit2;
    QLabel* Label4;
    QLineEdit* Edit3;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace orba
