#pragma once

#include <QByteArray>
#include <QString>

// chmlib allocates the block sizes that a compiled help file states, gigabytes if a damaged file
// says so, before it finds anything wrong. These checks come first; anything else chmlib judges
// itself.
namespace orba::compiledhelp {

// False for a file whose directory header states blocks larger than any help file has.
bool safeToOpen(const QString& path);

// Whether the reset table of the compressed content (its object's bytes) states a block size
// that is safe to allocate for each block chmlib keeps.
bool saneResetTable(const QByteArray& table);

} // namespace orba::compiledhelp
