#include "output/ReportElement.h"

namespace orba {

void ReportElement::recordTemplate() {
    templateTop = static_cast<quint16>(top);
    templateHeight = static_cast<quint16>(height);
}

void ReportElement::restoreTemplate() {
    top = templateTop;
    height = templateHeight;
}

void ReportElement::setText(const QString& text) {
    lines.clear();
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines.append(text.sliced(start, end - start));
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
}

QColor colourFromNumber(int number) {
    const auto bits = static_cast<quint32>(number);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

} // namespace orba
