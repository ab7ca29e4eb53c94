#include "output/MaskFile.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"

#include <limits>

namespace orba {
namespace {

// Leading blanks, an optional sign and decimal digits up to the end, within the int range.
bool parseInteger(const QString& text, int* result) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        negative = text[pos++] == u'-';
    if (pos == text.size())
        return false;
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return false;
    *result = static_cast<int>(value);
    return true;
}

} // namespace

MaskFile::MaskFile(const QStringList& lines) {
    m_values.reserve(lines.size());
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).toCaseFolded();
        if (!m_values.contains(key))
            m_values.insert(key, line.mid(equals + 1));
    }
}

MaskFile MaskFile::read(const QString& path) {
    return MaskFile(textfile::readLines(path));
}

QString MaskFile::text(const QString& key) const {
    return m_values.value(key.toCaseFolded());
}

int MaskFile::integer(const QString& key) const {
    const QString value = text(key);
    int result = 0;
    if (!parseInteger(value, &result))
        throw OrbaError::notAnInteger(value);
    return result;
}

} // namespace orba
