#pragma once

#include <QStringList>

namespace orba {

class Catalogue;

// The catalogue's longest signatures in the form the lists show them: the distinct ones of the
// greatest length, at most `limit` of them, for a signature column to be measured against.
QStringList longestSignatures(const Catalogue& catalogue, qsizetype limit = 64);

} // namespace orba
