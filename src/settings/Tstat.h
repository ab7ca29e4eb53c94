#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace orba {

// Media counts per media type from "stat.dat": the first line is the date of the figures, every
// further line a row "media type TAB count". The file is read once, when the window is made.
class Tstat : public QDialog {
    Q_OBJECT
public:
    explicit Tstat(QWidget* parent);
    // Reads "stat.dat" again after an update brought a new one.
    void reload();

    // Controls, named as the window definition names them.
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QTreeWidget* ListBox1;
    QPushButton* BitBtn1;

private:
    void FormCreate();
};

} // namespace orba
