#include "catalogue/Tschlag.h"

#include "core/FixedDialog.h"

namespace orba {

Tschlag::Tschlag(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tschlag", QStringLiteral("Schlagwortliste"), 392, 279);
}

} // namespace orba
