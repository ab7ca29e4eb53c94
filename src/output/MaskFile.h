#pragma once

#include <QHash>
#include <QStringList>

namespace orba {

// The "key=value" lines of a print-mask file. The first line whose part before its first "="
// equals a key (letter case ignored) supplies the value; a key no line carries is empty.
class MaskFile {
public:
    explicit MaskFile(const QStringList& lines);
    // Reads the file as cp1252 lines.
    static MaskFile read(const QString& path);

    QString text(const QString& key) const;
    // The value as a decimal integer with an optional sign; anything else, the empty value
    // included, throws "'<value>' ist kein gültiger Integerwert".
    int integer(const QString& key) const;

private:
    // Keyed by the case-folded key, so that a mask with many elements loads in linear time.
    QHash<QString, QString> m_values;
};

} // namespace orba
