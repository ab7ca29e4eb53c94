#pragma once

#include <QRect>

namespace orba {

// A window's place and size as stored, brought onto `available` (a screen's area free of
// panels): no larger than that area, and moved inside it where it would stick out. Any values
// are safe, the extremes of int included.
QRect fitOnScreen(int left, int top, int width, int height, const QRect& available);

} // namespace orba
