#pragma once

#include "output/ReportElement.h"

#include <memory>
#include <vector>

namespace orba {

// A horizontal strip of a report (title, column header, detail, page footer) holding its
// elements. Elements live on the heap so that value lists can point at them.
class ReportBand {
public:
    static constexpr int designWidth = 1200;
    static constexpr int designHeight = 41;

    explicit ReportBand(QChar prefix) : m_prefix(prefix) {}
    ReportBand(const ReportBand&) = delete;
    ReportBand& operator=(const ReportBand&) = delete;

    QChar prefix() const { return m_prefix; }
    int height() const { return m_height; }
    void setHeight(int height) { m_height = height; }
    // The height the band had when the report started; each record's layout starts from it.
    int templateHeight() const { return m_templateHeight; }
    void recordTemplateHeight() { m_templateHeight = m_height; }

    ReportElement& add(std::unique_ptr<ReportElement> element);
    void clear() { m_elements.clear(); }
    const std::vector<std::unique_ptr<ReportElement>>& elements() const { return m_elements; }

    // The greatest bottom edge of the elements; 0 without elements.
    int elementsBottom() const;

private:
    QChar m_prefix;
    int m_height = designHeight;
    int m_templateHeight = designHeight;
    std::vector<std::unique_ptr<ReportElement>> m_elements;
};

} // namespace orba
