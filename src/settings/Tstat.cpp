#include "settings/Tstat.h"

#include "core/FixedDialog.h"

namespace orba {

Tstat::Tstat(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tstat", QStringLiteral("Statistik"), 417, 279);
}

} // namespace orba
