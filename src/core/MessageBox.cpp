#include "core/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace orba::msg {
namespace {

bool question(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
              const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void notice(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

} // namespace

bool askWarning(QWidget* parent, const QString& text) {
    return question(parent, QMessageBox::Warning, QStringLiteral("Warnung"), text);
}

bool ask(QWidget* parent, const QString& caption, const QString& text) {
    const bool failure = caption == QLatin1String("Fehler");
    return question(parent, failure ? QMessageBox::Critical : QMessageBox::Question, caption, text);
}

void error(QWidget* parent, const QString& text) {
    notice(parent, QMessageBox::Critical, QStringLiteral("Fehler"), text);
}

void info(QWidget* parent, const QString& text) {
    notice(parent, QMessageBox::Information, QStringLiteral("Meldung"), text);
}

} // namespace orba::msg
