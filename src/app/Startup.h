#pragma once

#include "app/Forms.h"

#include <memory>

namespace orba {

// A running program: the splash and every window, made in the start-up order. Destroying it
// takes the windows down.
class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TForm1& mainWindow() const { return *m_forms.form1; }
    const Forms& forms() const { return m_forms; }

private:
    Forms m_forms;
};

// The start-up sequence: splash, the windows in their order (the main window loads catalogue,
// settings and private list meanwhile), then the main window shown. Null when start-up failed;
// the error has been shown.
std::unique_ptr<Session> startUp();

} // namespace orba
