#pragma once

#include "output/ReportTextMetrics.h"

#include <optional>
#include <QFontMetricsF>
#include <QHash>

namespace orba {

// Measures and wraps report texts with the platform's fonts at design resolution.
class FontTextMetrics : public ReportTextMetrics {
public:
    QStringList wrap(const QStringList& lines, int width, const ReportFont& font) const override;
    int lineHeight(const ReportFont& font) const override;
    qreal ascent(const ReportFont& font) const override;
    qreal advance(const QString& line, const ReportFont& font) const override;

private:
    QStringList wrapLine(const QString& line, int width, const QFont& font) const;
    void select(const ReportFont& font) const;

    struct WrapKey {
        QString line;
        int width;
        ReportFont font;
        bool operator==(const WrapKey&) const = default;
    };
    friend size_t qHash(const WrapKey& key, size_t seed) {
        return qHashMulti(seed, key.line, key.width, key.font);
    }

    // The fixed texts of a band are wrapped again for every record; their lines are kept.
    mutable QHash<WrapKey, QStringList> m_wrapped;
    // Consecutive requests mostly share a font; building one is costly.
    mutable ReportFont m_font;
    mutable QFont m_qfont;
    mutable std::optional<QFontMetricsF> m_metrics;
};

} // namespace orba
