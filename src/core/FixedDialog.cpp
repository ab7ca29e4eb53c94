#include "core/FixedDialog.h"

namespace orba {

void setUpDialog(QDialog* dialog, const char* className, const QString& caption, int width,
                 int height) {
    dialog->setObjectName(QLatin1String(className));
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(width, height);
    dialog->setModal(true);
}

} // namespace orba
