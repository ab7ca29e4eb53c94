#include "display/Tinfo.h"

namespace orba {

Tinfo::Tinfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Tinfo"));
    setWindowTitle(QStringLiteral("Aktuelle Informationen"));
    setGeometry(224, 147, 519, 343);
}

} // namespace orba
