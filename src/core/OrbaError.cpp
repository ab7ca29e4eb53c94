#include "core/OrbaError.h"

namespace orba {

OrbaError::OrbaError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

OrbaError OrbaError::cannotOpen(const QString& fileName) {
    return OrbaError(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(fileName));
}

OrbaError OrbaError::cannotCreate(const QString& fileName) {
    return OrbaError(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(fileName));
}

OrbaError OrbaError::cannotCreateFolder(const QString& folder) {
    return OrbaError(QStringLiteral("Ordner %1 kann nicht erstellt werden").arg(folder));
}

OrbaError OrbaError::cannotWriteSettings(const QString& fileName) {
    return OrbaError(QStringLiteral("Nach %1 kann nicht geschrieben werden").arg(fileName));
}

OrbaError OrbaError::damaged(const QString& fileName) {
    return OrbaError(
        QStringLiteral("Die Datei %1 ist beschädigt und wird nicht gelesen.").arg(fileName));
}

OrbaError OrbaError::notStorable(const QString& fileName) {
    return OrbaError(QStringLiteral("Die Datei %1 enthält Zeichen, die ORBA nicht speichern kann, "
                                    "und wird nicht gelesen. In einem Editor mit der Codierung "
                                    "„ANSI“ (Windows-1252) gespeichert, kann ORBA sie lesen.")
                         .arg(fileName));
}

OrbaError OrbaError::notAnInteger(const QString& text) {
    return OrbaError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
}

OrbaError OrbaError::indexOutOfRange() {
    return OrbaError(QStringLiteral("Listenindex außerhalb des zulässigen Bereichs"));
}

} // namespace orba
