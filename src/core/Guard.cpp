#include "core/Guard.h"

#include "core/MessageBox.h"

#include <QApplication>

namespace orba {

void showError(const QString& message) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    msg::error(parent, message);
}

} // namespace orba
