#pragma once

#include <optional>
#include <QDialog>
#include <utility>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace orba {

// Changes the reservation date of basket entries: a date field with its calendar, which holds
// only whole dates; OK refuses a date before today.
class Tresdat : public QDialog {
    Q_OBJECT
public:
    explicit Tresdat(QWidget* parent);

    // Shows the dialog at `currentDate`, or at today when that is no date or has passed; on OK
    // the new date as dd.MM.yyyy and whether it is to go to every entry of the list, nothing on
    // Cancel.
    std::optional<std::pair<QString, bool>> ask(const QString& currentDate);

public:
    // Controls, named as the window definition names them.
    QLabel* Label1;
    QDateEdit* DateEdit1;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void BitBtn1Click();
};

} // namespace orba
