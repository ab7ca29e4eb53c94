#include "core/LeadingInteger.h"

#include <algorithm>
#include <limits>

namespace orba {
namespace {

bool isCSpace(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

int leadingInteger(QStringView text) {
    qsizetype pos = 0;
    while (pos < text.size() && isCSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        negative = text[pos++] == u'-';
    qint64 value = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos)
        value = std::min<qint64>(value * 10 + (text[pos].unicode() - u'0'),
                                 std::numeric_limits<int>::max());
    return static_cast<int>(negative ? -value : value);
}

} // namespace orba
