#pragma once

#include "core/OrbaError.h"

#include <exception>
#include <QObject>
#include <type_traits>
#include <utility>

namespace orba {

// The application's error display: shows the message in a message box.
void showError(const QString& message);
// A note that the next error shown carries below its message, once; empty for none.
void noteOnNextError(const QString& note);

// Runs a handler; an error that escapes it is shown and the loop goes on.
template <typename Fn> void guarded(Fn&& fn) {
    try {
        std::forward<Fn>(fn)();
    } catch (const OrbaError& e) {
        showError(e.message());
    } catch (const std::exception& e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
}

// Calls the handler with the signal's arguments, or with none when it takes none.
template <typename Fn, typename... Args> void callHandler(const Fn& fn, const Args&... args) {
    if constexpr (std::is_invocable_v<const Fn&, const Args&...>)
        fn(args...);
    else
        fn();
}

// connect() with the handler behind the guard; every event handler of the program goes
// through here so that no exception crosses Qt's event loop.
template <typename Sender, typename Signal, typename Fn>
QMetaObject::Connection on(Sender* sender, Signal signal, QObject* context, Fn fn) {
    return QObject::connect(sender, signal, context, [fn = std::move(fn)](const auto&... args) {
        guarded([&] { callHandler(fn, args...); });
    });
}

} // namespace orba
