#pragma once

#include <QString>

// chmlib trusts the structure of a compiled help file: a damaged one makes it allocate what the
// file states, gigabytes if need be, divide by zero, read past its buffers or walk its directory
// for ever. This check comes first and lets a file through only when chmlib can read it safely.
namespace orba::compiledhelp {

// True for a file chmlib refuses by itself at once (no compiled help file at all) and for one
// whose directory and compression data chmlib can use safely; false for a damaged one.
bool safeToOpen(const QString& path);

} // namespace orba::compiledhelp
