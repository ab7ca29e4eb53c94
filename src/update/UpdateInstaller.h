#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace orba {

// Puts new contents in place of files of a folder, all or none: every new file is written beside
// its old one first, and only when all are written are they swapped in. Throws OrbaError when the
// disk is full or a file cannot be written or swapped; the folder is then as it was.
void replaceFiles(const QString& folder, const QList<std::pair<QString, QByteArray>>& files);

} // namespace orba
