#pragma once

#include "catalogue/AdvancedCriteria.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace orba {

class Tschlag;

// The advanced search: several field criteria at once. Made once and only hidden between uses,
// so its inputs keep their values until "Löschen" empties them.
class Terwsuch : public QDialog {
    Q_OBJECT
public:
    // `stdoIndex` selects the preset media type; an index outside the list selects none.
    Terwsuch(QWidget* parent, int stdoIndex);

    // The keyword list behind the button beside "Schlagwörter"; without one the button does
    // nothing. It is made after this dialog, hence not a constructor argument.
    void setKeywordList(Tschlag* keywords);
    // The label of the suitability list; an empty caption leaves the current one.
    void setSuitabilityCaption(const QString& caption);

    AdvancedSearchInput input() const;

    // Enables "Löschen" exactly when an input other than "Neuanschaffung" holds something.
    void Edit1Change();
    // "Löschen": empties every input except "Neuanschaffung".
    void BitBtn3Click();
    // Shows the keyword list; on OK its keyword replaces the text of "Schlagwörter".
    void SpeedButton3Click();
    // "Suchen" and Enter: refuses a players range whose start lies above its end.
    void accept() override;

public:
    // Controls, named as the window definition names them.
    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLabel* Label3;
    QComboBox* Edit3;
    QLineEdit* Edit4;
    QToolButton* SpeedButton3;
    QComboBox* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QComboBox* Edit9;
    QComboBox* Edit10;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    QLineEdit* Edit13;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QComboBox* ComboBox1;
    QPushButton* BitBtn5;
    QPushButton* BitBtn4;
    QPushButton* BitBtn3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildInputs(int stdoIndex);
    void buildButtons();
    void connectChanges();
    QList<QLineEdit*> textFields() const;
    QList<QComboBox*> lists() const;

    Tschlag* m_keywords = nullptr;
};

} // namespace orba
