#include "output/Temail.h"

#include "core/FixedDialog.h"

namespace orba {

Temail::Temail(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Temail", QStringLiteral("E-Mail-Bestellung"), 560, 322);
}

} // namespace orba
