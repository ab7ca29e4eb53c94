#include "core/WholeFile.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"

#include <QFileInfo>

namespace orba {

WholeFile::WholeFile(QString path) : m_path(std::move(path)) {}

QStringList WholeFile::readLines() {
    // Anything in the file's place counts as there: a folder must not be taken for no file.
    if (m_path.isEmpty() || !QFileInfo::exists(m_path))
        return {};
    try {
        return textfile::readLines(m_path);
    } catch (const OrbaError&) {
        m_unreadable = true;
        throw;
    }
}

void WholeFile::writeLines(const QStringList& lines) {
    if (!m_unreadable) {
        textfile::writeLines(m_path, lines);
        return;
    }
    if (m_toldUnsaved)
        return;
    m_toldUnsaved = true;
    throw OrbaError(QStringLiteral("Die Datei %1 konnte beim Start nicht gelesen werden. Damit ihr "
                                   "Inhalt erhalten bleibt, werden Änderungen an dieser Liste bis "
                                   "zum Programmende nicht gespeichert.")
                        .arg(m_path));
}

} // namespace orba
