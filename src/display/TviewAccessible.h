#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace orba {

// The accessibility factory of the tagged-text view: read-only multi-line text whose reading
// text and reading position come from the view (QAccessible::installFactory).
QAccessibleInterface* tviewAccessible(const QString& className, QObject* object);

} // namespace orba
