#pragma once

#include <QDialog>

namespace orba {

// The program's dialogs are made once at start-up and hidden between uses; each carries the
// class name of its window as object name and a fixed client size.
void setUpDialog(QDialog* dialog, const char* className, const QString& caption, int width,
                 int height);

} // namespace orba
