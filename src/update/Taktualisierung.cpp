#include "update/Taktualisierung.h"

#include "core/FixedDialog.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

namespace orba {
namespace {

constexpr int Steps = 1000;

} // namespace

Taktualisierung::Taktualisierung(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Taktualisierung", QStringLiteral("Katalog aktualisieren"), 360, 138);
    setModal(false);

    // Room for two lines: the wait for a search or a dialog to end is told at length.
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 6, 336, 38);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(12, 48, 336, 18);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Fortschritt der Aktualisierung"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 70, 336, 20);
    BitBtn1 =
        addDialogButton(this, "BitBtn1", QStringLiteral("&Abbrechen"), QRect(139, 102, 82, 26));
    connect(BitBtn1, &QPushButton::clicked, this, &Taktualisierung::reject);
}

void Taktualisierung::showProgress(const QString& step, qint64 done, qint64 total) {
    Label1->setText(step);
    if (total <= 0) {
        ProgressBar1->setRange(0, 0);
        Label2->clear();
        return;
    }
    ProgressBar1->setRange(0, Steps);
    ProgressBar1->setValue(static_cast<int>(done * Steps / total));
    const QLocale locale;
    Label2->setText(
        QStringLiteral("%1 von %2")
            .arg(locale.formattedDataSize(done, 1, QLocale::DataSizeTraditionalFormat),
                 locale.formattedDataSize(total, 1, QLocale::DataSizeTraditionalFormat)));
}

void Taktualisierung::showWaiting(const QString& step) {
    Label1->setText(step);
    ProgressBar1->setRange(0, Steps);
    ProgressBar1->setValue(Steps);
    Label2->clear();
}

void Taktualisierung::reject() {
    emit cancelRequested();
}

} // namespace orba
