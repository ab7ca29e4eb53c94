#include "core/EnterKey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

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
        auto* button = static_cast<QAbstractButton*>(watched);
        if (button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void pressOnEnter(std::initializer_list<QAbstractButton*> buttons) {
    static auto* filter = new EnterKey(qApp);
    for (QAbstractButton* button : buttons)
        button->installEventFilter(filter);
}

} // namespace orba
