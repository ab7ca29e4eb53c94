#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRect;

namespace orba {

// The program's dialogs are made once at start-up and hidden between uses; each carries the
// class name of its window as object name and a fixed client size. On a screen too small for
// that size (a small screen at a high scaling) the dialog shows its controls in a scroll area
// the size of the screen's free area, so that none of them lies off the screen.
void setUpDialog(QDialog* dialog, const char* className, const QString& caption, int width,
                 int height);

// A push button of a dialog, named and placed.
QPushButton* addDialogButton(QDialog* dialog, const char* name, const QString& text,
                             const QRect& geometry);

// A dialog's explanation: the lines its text breaks into, each whole on one line of the label.
// The label's font is a point smaller than the dialog's, and smaller still where a line would
// not fit the label's width otherwise.
QLabel* addExplanation(QDialog* dialog, const QString& text, const QRect& geometry);

// The small picture at a dialog's top left corner, from a bitmap beside the data when present.
QLabel* addDialogPicture(QDialog* dialog, const QString& bitmapFile);

} // namespace orba
