#include "settings/Tbenu_neu.h"

#include "core/FixedDialog.h"

namespace orba {

Tbenu_neu::Tbenu_neu(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tbenu_neu", QStringLiteral("Neuen Benutzer eintragen"), 330, 120);
}

} // namespace orba
