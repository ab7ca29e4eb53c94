#include "output/ReportFont.h"

#include <algorithm>

namespace orba {
namespace {

constexpr int designDpi = 96;
constexpr int pointsPerInch = 72;
// Far larger sizes are no use on a page and only bloat the glyph cache.
constexpr int maxPixelSize = 1000;

} // namespace

QFont toDesignFont(const ReportFont& font) {
    QFont qfont(font.name);
    const int pixels = (font.pointSize * designDpi + pointsPerInch / 2) / pointsPerInch;
    qfont.setPixelSize(std::clamp(pixels, 1, maxPixelSize));
    qfont.setHintingPreference(QFont::PreferNoHinting);
    return qfont;
}

} // namespace orba
