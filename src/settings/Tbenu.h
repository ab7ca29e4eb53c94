#pragma once

#include "core/WholeFile.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace orba {

class Tbenu_neu;

// The user list: keeps the names of the people who order from this installation in the user
// file and lets the order printing pick one.
class Tbenu : public QDialog {
    Q_OBJECT
public:
    // Loads the user file at `userFilePath`.
    Tbenu(QWidget* parent, QString userFilePath);
    // The dialog that edits single entries; it is made after this one at start-up.
    void setEditor(Tbenu_neu* editor) { m_editor = editor; }

    // What OK took from the chosen entry, for the order's name and school.
    const QString& SelectedName() const { return m_selectedName; }
    const QString& SelectedSchool() const { return m_selectedSchool; }
    void setSelection(const QString& name, const QString& school);

    // The entries in list order, each "name TAB school".
    QStringList entries() const;

    // The help button; the help system connects it.
    QPushButton* helpButton() const { return BitBtn1; }

private:
    void FormCreate();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn6Click();
    void BitBtn5Click();

    // Inserts the line at its place in the case-blind order and returns its row.
    int insertSorted(const QString& line);
    int selectedRow() const;
    void selectRow(int row);
    void updateButtons();
    void saveUserFile();

    Tbenu_neu* m_editor = nullptr;
    WholeFile m_userFile;
    QString m_selectedName;
    QString m_selectedSchool;

public:
    // Controls, named as the window definition names them.
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Header1;
    QLabel* Header2;
    QListWidget* ListBox1;
    QPushButton* BitBtn4;
    QPushButton* BitBtn3;
    QPushButton* BitBtn6;
    QPushButton* BitBtn5;
    QPushButton* BitBtn1;
};

} // namespace orba
