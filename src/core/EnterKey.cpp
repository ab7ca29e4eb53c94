#include "core/EnterKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace orba {
namespace {

class EnterKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled())
            return false;
        // A push button that is or may become the default presses itself.
        const auto* push = qobject_cast<QPushButton*>(button);
        if (!qobject_cast<QToolButton*>(button) && !(push && !push->autoDefault() && !push->isDefault()))
            return false;
        button->click();
        return true;
    }
};

} // namespace

void pressFocusedButtonsOnEnter() {
    static EnterKey* filter = nullptr;
    if (filter)
        return;
    filter = new EnterKey(qApp);
    qApp->installEventFilter(filter);
}

} // namespace orba
