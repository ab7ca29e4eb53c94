#include "output/TForm15.h"

#include "core/FixedDialog.h"

namespace orba {

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "TForm15", QStringLiteral("Fehler"), 420, 230);
}

} // namespace orba
