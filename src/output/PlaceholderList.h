#pragma once

#include "output/ValueList.h"

namespace orba {

// The placeholders of the loaded mask in load order, each linked to the text element that
// shows its value. Every report run and every mail body starts from a copy of it.
class PlaceholderList {
public:
    void add(const QString& name, ReportElement* element) { m_list.append(name, {}, element); }
    void clear() { m_list.clear(); }

    // A value list with every placeholder, its element link and an empty value.
    ValueList copy() const { return m_list; }
    const QList<ValueEntry>& entries() const { return m_list.entries(); }
    qsizetype size() const { return m_list.size(); }

private:
    ValueList m_list;
};

} // namespace orba
