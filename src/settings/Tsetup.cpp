#include "settings/Tsetup.h"

#include "core/FixedDialog.h"

namespace orba {

Tsetup::Tsetup(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tsetup", QStringLiteral("Einstellungen"), 393, 287);
}

} // namespace orba
