#pragma once

#include "display/TagLayout.h"

#include <optional>
#include <QFont>
#include <QFontMetrics>
#include <QHash>

namespace orba {

// The screen font for a font fontSpec.
QFont toQFont(const FontSpec& fontSpec);

// Measures text with the platform's font metrics.
class FontMeasurer : public TextMeasurer {
public:
    int width(const QString& text, const FontSpec& font) const override;
    int height(const QString& text, const FontSpec& font) const override;

private:
    const QFontMetrics& metrics(const FontSpec& font) const;

    struct Run {
        FontSpec font;
        QString text;
        bool operator==(const Run&) const = default;
    };
    friend size_t qHash(const Run& run, size_t seed) {
        return qHashMulti(seed, run.font.face, run.font.pointSize, run.font.bold, run.font.italic,
                          run.font.underline, run.text);
    }

    // A view lays out the same text again on every repaint, and shaping text is the bulk of the
    // work; the widths measured last time answer it.
    mutable QHash<Run, int> m_widths;
    // Consecutive measurements mostly share a font; building metrics for each is costly.
    mutable FontSpec m_fontSpec;
    mutable std::optional<QFontMetrics> m_metrics;
};

} // namespace orba
