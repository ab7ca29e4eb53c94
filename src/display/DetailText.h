#pragma once

#include "settings/DisplayList.h"

#include <QByteArrayView>
#include <QString>

namespace orba {

// The tagged text of a medium's details: for every shown entry of the display list, in its
// order, a heading and the field's value, or nothing when the field has nothing to show. Field
// values go in as they stand, so markup inside them takes effect in the view.
QString detailText(QByteArrayView recordLine, const DisplayList& displayList);

} // namespace orba
