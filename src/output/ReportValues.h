#pragma once

#include <functional>
#include <QByteArrayView>
#include <QString>
#include <utility>

namespace orba {

class ValueList;

// Fills the record placeholders from a MediumRecord line: "^Sig" and "^Titel" always (an empty
// field removes the entry), every further field only when it is not empty. With a reservation
// date (basket page) "^Resdatum" gets it trimmed; an empty date removes the entry.
void recordValues(ValueList& list, QByteArrayView recordLine, const QString* reservationDate);

// Fills "^Name" and "^Schulname" for an order: only on the basket page and only when the mask
// has a "^Name" placeholder. Both are "?" unless `showUserList` is on; then `askUser` shows the
// user list and returns the chosen (name, school), which it must give as ("?", "?") when nobody
// was confirmed.
void titleValues(ValueList& list, bool basketPage, bool showUserList,
                 const std::function<std::pair<QString, QString>()>& askUser);

} // namespace orba
