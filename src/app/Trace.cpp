#include "app/Trace.h"

namespace orba {

Q_LOGGING_CATEGORY(startupTrace, "orba.startup", QtWarningMsg)

void Trace(const char* text, bool mainForm) {
    qCDebug(startupTrace).noquote() << (mainForm ? "*" : " ") << text;
}

} // namespace orba
