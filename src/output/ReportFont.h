#pragma once

#include <QFont>
#include <QString>

namespace orba {

// The font of a text element: a face and a size in points, always plain.
struct ReportFont {
    // 1000 design pixels; far larger sizes are no use on a page.
    static constexpr int maxPointSize = 750;

    QString name = QStringLiteral("Arial");
    int pointSize = 10;

    bool operator==(const ReportFont&) const = default;
};

inline size_t qHash(const ReportFont& font, size_t seed = 0) {
    return qHashMulti(seed, font.name, font.pointSize);
}

// The font in design pixels (96 per inch), rounded to whole pixels as the mask's designer saw
// it. Hinting is off so that measuring on the screen and drawing at printer resolution agree.
QFont toDesignFont(const ReportFont& font);

} // namespace orba
