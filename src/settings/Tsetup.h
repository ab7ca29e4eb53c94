#pragma once

#include "settings/DisplayList.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace orba {

class TForm1;

// The settings dialog. It loads the settings file once, when it is made at start-up; from then
// on its controls are the live settings the rest of the program consults, and only OK writes
// back the ones the user changed.
class Tsetup : public QDialog {
    Q_OBJECT
public:
    explicit Tsetup(TForm1& main);

    // The check list in its current order, with its check marks.
    DisplayList displayList() const;
    bool autoSwitch() const;
    bool showUserList() const;
    bool htmlHelp() const;
    QString recipient() const;
    QString subject() const;
    QString ownAddress() const;
    void setOwnAddress(const QString& address);
    // Keeps the arrangement choice in step with the arrangement the main window is switched to.
    void setArrangementChoice(bool sideBySide);

private:
    QWidget* buildDisplayPage();
    QWidget* buildMailPage();
    QWidget* buildPresetsPage();
    QWidget* buildButtons();

    void FormCreate();
    void loadDisplayList();
    void appendEntry(const DisplayEntry& entry);
    void BitBtn3Click();
    // What OK stores, by section and key, in the order it stores it; the display list aside.
    struct Setting {
        QString section;
        QString key;
        QString value;
    };
    QList<Setting> values() const;
    // The value the file holds for a key as far as this dialog knows: as loaded, or as written.
    void rememberStored(const QString& section, const QString& key, const QString& value);
    void rememberAllStored();
    void save();
    void SpeedButton1Click();
    void SpeedButton2Click();

    TForm1& m_main;
    DisplayList m_storedList;
    QHash<QString, QString> m_stored;

public:
    // Controls, named as the window definition names them.
    QTabWidget* PageControl1;
    QListWidget* RxCheckListBox1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QCheckBox* vollbild;
    QCheckBox* autoschalt;
    QCheckBox* benutzerliste;
    QCheckBox* sachklar;
    QCheckBox* htmlhelp;
    QCheckBox* anmeldung;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit2;
    QLineEdit* Edit1;
    QComboBox* ComboBox1;
    QLineEdit* Edit5;
    QCheckBox* CheckBox4;
    QComboBox* druckmed;
    QComboBox* druckbest;
    QComboBox* druckkat;
    QComboBox* medart;
    QComboBox* teilung;
    QPushButton* BitBtn3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace orba
