#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace orba {

// A search criterion is one line: a field code, "=" and the value. All criteria of a list must
// pass; an empty list lets every record pass.
using CriteriaList = QStringList;

// The words of a search text in order. A word ends at each blank, comma or semicolon; words keep
// their case; empty words are dropped.
QStringList splitSearchWords(const QString& text);

// Appends code + "=" + text to the list, or with `split` one such line per word of the text.
// An empty text adds nothing.
void addCriterion(CriteriaList& list, const QString& text, bool split, QChar code);

} // namespace orba
