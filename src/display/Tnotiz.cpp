#include "display/Tnotiz.h"

#include "core/FixedDialog.h"

namespace orba {

Tnotiz::Tnotiz(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tnotiz", QStringLiteral("Notiz zum Medium bearbeiten"), 457, 256);
}

} // namespace orba
