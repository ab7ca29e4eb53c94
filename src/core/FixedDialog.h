#pragma once

#include <QDialog>

class QLabel;

namespace orba {

// The program's dialogs are made once at start-up and hidden between uses; each carries the
// class name of its window as object name and a fixed client size.
void setUpDialog(QDialog* dialog, const char* className, const QString& caption, int width,
                 int height);

// The small picture at a dialog's top left corner, from a bitmap beside the data when present.
QLabel* addDialogPicture(QDialog* dialog, const QString& bitmapFile);

} // namespace orba
