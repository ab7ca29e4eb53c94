#pragma once

#include <QLoggingCategory>

namespace orba {

Q_DECLARE_LOGGING_CATEGORY(startupTrace)

// Marks a start-up step; silent unless the category "orba.startup" is switched on
// (QT_LOGGING_RULES="orba.startup.debug=true").
void Trace(const char* text, bool mainForm = false);

} // namespace orba
