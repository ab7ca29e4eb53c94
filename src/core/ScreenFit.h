#pragma once

#include <QRect>

class QWidget;

namespace orba {

// A window's place and size as stored, brought onto `available` (a screen's area free of
// panels): no larger than that area, and moved inside it where it would stick out. Any values
// are safe, the extremes of int included.
QRect fitOnScreen(int left, int top, int width, int height, const QRect& available);

// The same for a window whose frame adds a title bar `titleBar` high above its content: `left`
// and `top` place the frame, `width` and `height` size the content. Returns where the frame goes
// and how large the content is, so that the whole window, title bar included, lies on
// `available`.
QRect fitFramedOnScreen(int left, int top, int width, int height, int titleBar,
                        const QRect& available);

// The part of the window's screen its content may take: the screen's free area less the title
// bar that the window manager's frame adds above it. The frame is not known before the window is
// shown; the style's title bar stands in for it.
QRect roomForContent(const QWidget* window);

} // namespace orba
