#pragma once

#include <QList>
#include <QString>

namespace orba {

class ReportElement;

// One "name=value" entry; a placeholder entry carries the text element its value goes to.
struct ValueEntry {
    QString name;
    QString value;
    ReportElement* element = nullptr;
};

// The ordered name/value list handed to the report's data providers. Names compare without
// regard to letter case and the first entry of a name is the one that counts.
class ValueList {
public:
    void append(const QString& name, const QString& value, ReportElement* element = nullptr);

    // A non-empty value replaces the first entry's value or appends a new entry; an empty value
    // removes the first entry of that name.
    void set(const QString& name, const QString& value);
    // The value of the first entry of that name; empty when there is none.
    QString value(const QString& name) const;
    bool contains(const QString& name) const { return indexOf(name) >= 0; }
    qsizetype indexOf(const QString& name) const;

    const QList<ValueEntry>& entries() const { return m_entries; }
    qsizetype size() const { return m_entries.size(); }
    void clear() { m_entries.clear(); }

private:
    QList<ValueEntry> m_entries;
};

} // namespace orba
