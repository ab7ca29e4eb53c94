#pragma once

#include <QString>

class QWidget;

namespace orba {

class Tprint;

namespace printmask {

// Loads a print-mask file into the report's bands and rebuilds its placeholder list.
// A missing file is reported to the user in a message box over `parent`; the bands then keep
// what they held and the result is false. A numeric key that is missing or not an integer, or a
// picture that cannot be read, throws OrbaError; the elements made up to then stay in place.
// Each picture file is decoded once and shared by all its elements.
bool load(Tprint& report, const QString& fileName, QWidget* parent);

} // namespace printmask
} // namespace orba
