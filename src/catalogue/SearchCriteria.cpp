#include "catalogue/SearchCriteria.h"

namespace orba {
namespace {

bool endsWord(QChar c) {
    return c == u' ' || c == u',' || c == u';';
}

QString criterion(QChar code, const QString& value) {
    return QString(code) + QLatin1Char('=') + value;
}

} // namespace

QStringList splitSearchWords(const QString& text) {
    QStringList words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !endsWord(text[i]))
            continue;
        if (i > start)
            words.append(text.mid(start, i - start));
        start = i + 1;
    }
    return words;
}

void addCriterion(CriteriaList& list, const QString& text, bool split, QChar code) {
    if (text.isEmpty())
        return;
    if (!split) {
        list.append(criterion(code, text));
        return;
    }
    for (const QString& word : splitSearchWords(text))
        list.append(criterion(code, word));
}

} // namespace orba
