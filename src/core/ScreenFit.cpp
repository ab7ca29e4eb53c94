#include "core/ScreenFit.h"

#include <algorithm>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace orba {
namespace {

struct Span {
    int start;
    int length;
};

// One axis: the length cut to the room there is (at least 1), the start moved inside.
Span fitSpan(int start, int length, int roomStart, int roomLength) {
    const int fitted = std::clamp(length, 1, std::max(1, roomLength));
    const qint64 lastStart = std::max<qint64>(roomStart, qint64(roomStart) + roomLength - fitted);
    return {static_cast<int>(std::clamp<qint64>(start, roomStart, lastStart)), fitted};
}

} // namespace

QRect fitOnScreen(int left, int top, int width, int height, const QRect& available) {
    const Span x = fitSpan(left, width, available.left(), available.width());
    const Span y = fitSpan(top, height, available.top(), available.height());
    return QRect(x.start, y.start, x.length, y.length);
}

QRect fitFramedOnScreen(int left, int top, int width, int height, int titleBar,
                        const QRect& available) {
    const int bar = std::clamp(titleBar, 0, std::max(0, available.height() - 1));
    const QSize content = fitOnScreen(0, 0, width, height, available.adjusted(0, bar, 0, 0)).size();
    const QRect frame = fitOnScreen(left, top, content.width(), content.height() + bar, available);
    return QRect(frame.topLeft(), content);
}

QRect roomForContent(const QWidget* window) {
    return window->screen()->availableGeometry().adjusted(
        0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 0, 0);
}

} // namespace orba
