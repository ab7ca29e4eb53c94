#include "output/ReportBand.h"

#include <algorithm>

namespace orba {

ReportElement& ReportBand::add(std::unique_ptr<ReportElement> element) {
    element->band = m_prefix;
    m_elements.push_back(std::move(element));
    return *m_elements.back();
}

int ReportBand::elementsBottom() const {
    if (m_elements.empty())
        return 0;
    int bottom = m_elements.front()->bottom();
    for (const auto& element : m_elements)
        bottom = std::max(bottom, element->bottom());
    return bottom;
}

} // namespace orba
