#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace orba {

// The splash window shown while the catalogue loads; later the about box.
class Tstart : public QDialog {
    Q_OBJECT
public:
    Tstart();
    // "Info über ...": shown modally with its cancel button.
    void showAsAboutBox();

private:
    QLabel* Image1;
    QPushButton* BitBtn1;
    // The about box names the licence.
    QLabel* Lizenz;
};

} // namespace orba
