#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace orba {

// The progress of a catalogue update. It is not modal: the program goes on being used while the
// files arrive. "Abbrechen", Esc and the close box ask the update to stop.
class Taktualisierung : public QDialog {
    Q_OBJECT
public:
    explicit Taktualisierung(QWidget* parent);

    // `total` 0: the amount is not known yet.
    void showProgress(const QString& step, qint64 done, qint64 total);
    // Everything has arrived; the step is what is waited for.
    void showWaiting(const QString& step);
    void reject() override;

    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    QPushButton* BitBtn1;

signals:
    void cancelRequested();
};

} // namespace orba
