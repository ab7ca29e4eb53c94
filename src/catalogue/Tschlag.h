#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace orba {

// The keyword list that feeds the advanced search's keyword field: the keywords of "schlag.dat",
// read once when the list is made. Its selection and chosen keyword last from one use to the next.
class Tschlag : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 100;

    explicit Tschlag(QWidget* parent);

    // The keyword last picked; empty until one is.
    QString chosenKeyword() const { return m_chosenKeyword; }

    // Reads "schlag.dat" again after an update brought a new one.
    void reload();

    // Picks the selected keyword, if any, and closes with OK (double-click and "Übernehmen").
    void ListBox1DblClick();

public:
    // Controls, named as the window definition names them.
    QLabel* Label1;
    QLabel* Header1;
    QListWidget* ListBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void loadKeywords();

    QString m_chosenKeyword;
};

} // namespace orba
