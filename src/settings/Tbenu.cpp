#include "settings/Tbenu.h"

#include "core/FixedDialog.h"

namespace orba {

Tbenu::Tbenu(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tbenu", QStringLiteral("Benutzerliste"), 562, 245);
}

} // namespace orba
