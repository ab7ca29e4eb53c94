#pragma once

#include <QStringView>

namespace orba {

// The number at the start of a text as C's strtol reads it: white space of the C locale (blank,
// tab, line feed, vertical tab, form feed, carriage return; not the non-breaking space), an
// optional sign, then decimal digits up to the first other character. 0 without digits; numbers
// beyond the int range stop at its limit.
int leadingInteger(QStringView text);

} // namespace orba
