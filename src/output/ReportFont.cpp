#include "output/ReportFont.h"

#include <algorithm>

namespace orba {
namespace {

constexpr int designDpi = 96;
constexpr int pointsPerInch = 72;

} // namespace

QFont toDesignFont(const ReportFont& font) {
    QFont qfont(font.name);
    const int points = std::clamp(font.pointSize, 1, ReportFont::maxPointSize);
    qfont.setPixelSize((points * designDpi + pointsPerInch / 2) / pointsPerInch);
    qfont.setHintingPreference(QFont::PreferNoHinting);
    return qfont;
}

} // namespace orba
