#include "output/Tprogbar.h"

#include "core/FixedDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace orba {
namespace {

int low16(int value) {
    return static_cast<quint16>(value);
}

} // namespace

Tprogbar::Tprogbar(QWidget* parent)
    : QDialog(parent), Label1(new QLabel(QStringLiteral("Der Bericht wird erstellt ..."), this)),
      ProgressBar1(new QProgressBar(this)),
      Button1(new QPushButton(QStringLiteral("&Abbruch"), this)) {
    setUpDialog(this, "Tprogbar", QStringLiteral("Berichterstellung"), 322, 110);
    // No buttons in the title bar: the report decides when the dialog goes.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    Label1->setGeometry(16, 12, 290, 17);
    ProgressBar1->setGeometry(16, 36, 290, 20);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Fortschritt des Berichts"));
    Button1->setGeometry(123, 70, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &Tprogbar::Button1Click);
}

void Tprogbar::setMaximum(int maximum) {
    ProgressBar1->setMaximum(low16(maximum));
}

void Tprogbar::setPosition(int position) {
    ProgressBar1->setValue(low16(position));
}

void Tprogbar::Button1Click() {
    m_cancelRequested = true;
    Button1->setEnabled(false);
}

} // namespace orba
