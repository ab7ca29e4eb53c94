#include "core/Guard.h"

#include "core/MessageBox.h"

#include <QApplication>
#include <utility>

namespace orba {

namespace {

QString& pendingNote() {
    static QString note;
    return note;
}

} // namespace

void showError(const QString& message) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    const QString note = std::exchange(pendingNote(), QString());
    msg::error(parent, note.isEmpty() ? message : message + QStringLiteral("\n\n") + note);
}

void noteOnNextError(const QString& note) {
    pendingNote() = note;
}

} // namespace orba
