#include "lists/Tresdat.h"

#include "core/FixedDialog.h"

namespace orba {

Tresdat::Tresdat(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tresdat", QStringLiteral("Reservierungsdatum ändern"), 265, 174);
}

} // namespace orba
