#pragma once

#include <QString>

namespace orba {

// The text without leading and trailing blanks and control characters (everything up to
// U+0020); other white space such as a no-break space stays.
QString trimBlanksAndControls(const QString& text);

} // namespace orba
