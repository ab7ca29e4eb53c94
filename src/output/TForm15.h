#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orba {

// Asks for the own e-mail address when the settings lack it.
class TForm15 : public QDialog {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent);

    // Shows the prompt with an empty field. The address entered on OK, which always holds an
    // "@" (OK refuses anything else and keeps the prompt open); empty on cancel.
    QString askOwnAddress();

private:
    void BitBtn2Click();

public:
    // Controls, named as the window definition names them.
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace orba
