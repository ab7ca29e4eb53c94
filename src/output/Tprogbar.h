#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace orba {

// Shown while a report is laid out, without a loop of its own. It is modal, so that meanwhile the
// other windows take no input and the list being printed holds still; "Abbruch" asks the run to
// stop.
class Tprogbar : public QDialog {
    Q_OBJECT
public:
    explicit Tprogbar(QWidget* parent);

    bool CancelRequested() const { return m_cancelRequested; }
    // The bar works with 16-bit values, as the progress control it stands for.
    void setMaximum(int maximum);
    void setPosition(int position);

    // Esc must not hide the dialog while the report is still being made.
    void reject() override {}

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QPushButton* Button1;

private:
    void Button1Click();

    bool m_cancelRequested = false;
};

} // namespace orba
