#pragma once

#include <QStringList>

namespace orba {

// The keywords of "schlag.dat" as the keyword list shows them: empty lines left out, sorted
// alphabetically without regard to case in the application's (German) collation, umlauts beside
// their base letters; keywords that compare equal keep their order in the file.
QStringList keywordList(QStringList lines);

} // namespace orba
