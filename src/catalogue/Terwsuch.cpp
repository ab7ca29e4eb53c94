#include "catalogue/Terwsuch.h"

#include "core/FixedDialog.h"

namespace orba {

Terwsuch::Terwsuch(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Terwsuch", QStringLiteral("Erweiterte Suche"), 458, 379);
}

} // namespace orba
