#pragma once

#include <QString>

class QWidget;

// Message boxes with German captions and buttons, whatever the system language.
namespace orba::msg {

// "Warnung" with "Ja" and "Nein"; true on "Ja".
bool askWarning(QWidget* parent, const QString& text);
// A question under another caption ("Meldung", "Fehler"), same buttons.
bool ask(QWidget* parent, const QString& caption, const QString& text);
// "Fehler" with "OK".
void error(QWidget* parent, const QString& text);
// "Meldung" with "OK".
void info(QWidget* parent, const QString& text);

} // namespace orba::msg
