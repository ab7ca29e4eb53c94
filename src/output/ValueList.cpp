#include "output/ValueList.h"

namespace orba {

void ValueList::append(const QString& name, const QString& value, ReportElement* element) {
    m_entries.append(ValueEntry{name, value, element});
}

void ValueList::set(const QString& name, const QString& value) {
    const qsizetype index = indexOf(name);
    if (value.isEmpty()) {
        if (index >= 0)
            m_entries.removeAt(index);
    } else if (index >= 0) {
        m_entries[index].value = value;
    } else {
        append(name, value);
    }
}

QString ValueList::value(const QString& name) const {
    const qsizetype index = indexOf(name);
    return index >= 0 ? m_entries[index].value : QString();
}

qsizetype ValueList::indexOf(const QString& name) const {
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace orba
