#pragma once

#include <QString>

namespace orba::platform {

// The directory CD mode keeps the private list and the user file in, with a trailing separator:
// the system's Windows directory on Windows, the per-user application data directory elsewhere
// (created when missing).
QString windowsDirectory();

} // namespace orba::platform
