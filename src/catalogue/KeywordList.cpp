#include "catalogue/KeywordList.h"

#include <algorithm>
#include <QCollator>

namespace orba {

QStringList keywordList(QStringList lines) {
    lines.removeAll(QString());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(lines.begin(), lines.end(), collator);
    return lines;
}

} // namespace orba
