#include "update/IncomingFile.h"

#include "core/OrbaError.h"
#include "platform/DurableFile.h"
#include "update/UpdateInstaller.h"

#include <QLocale>
#include <QStorageInfo>

namespace orba {

OrbaError diskFull(const QString& folder, qint64 needed) {
    const QLocale locale;
    return OrbaError(
        QStringLiteral("Auf dem Datenträger ist nicht genug Platz für die Aktualisierung (%1 "
                       "nötig, %2 frei). Bitte schaffen Sie Platz und versuchen Sie es noch "
                       "einmal.")
            .arg(locale.formattedDataSize(needed),
                 locale.formattedDataSize(QStorageInfo(folder).bytesAvailable())));
}

IncomingFile::IncomingFile(const QString& folder, PublishedFile expected)
    : m_expected(std::move(expected)),
      m_isCatalogue(m_expected.name == UpdateManifest::publishedFiles().constFirst()) {
    createNewFile(m_file, folder, m_expected.name);
    if (!platform::reserveSpace(m_file, m_expected.size))
        throw diskFull(folder, m_expected.size);
}

void IncomingFile::write(QByteArrayView bytes) {
    if (m_received + bytes.size() > m_expected.size)
        throw OrbaError(QStringLiteral("Die Datei %1 ist größer, als die unterschriebene Liste "
                                       "der Aktualisierung angibt. Die heruntergeladenen Dateien "
                                       "wurden verworfen.")
                            .arg(m_expected.name));
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size())
        throw OrbaError::cannotCreate(m_file.fileName());
    m_received += bytes.size();
    m_hash.addData(bytes);
    if (m_isCatalogue)
        m_catalogue.add(bytes);
}

void IncomingFile::finish() {
    if (m_received < m_expected.size)
        throw OrbaError(QStringLiteral("Die Datei %1 kam nicht vollständig an (%2 von %3 Bytes).")
                            .arg(m_expected.name, QLocale().toString(m_received),
                                 QLocale().toString(m_expected.size)));
    if (m_hash.result() != m_expected.sha256)
        throw OrbaError(QStringLiteral("Die Datei %1 stimmt nicht mit der unterschriebenen "
                                       "Liste der Aktualisierung überein: sie wurde unterwegs "
                                       "verändert oder ausgetauscht. Die heruntergeladenen "
                                       "Dateien wurden verworfen.")
                            .arg(m_expected.name));
    if (m_isCatalogue && !m_catalogue.fault().isEmpty())
        throw OrbaError(QStringLiteral("Die Datei %1 der Aktualisierung ist kein Katalog: %2. "
                                       "Sie wurde nicht übernommen.")
                            .arg(m_expected.name, m_catalogue.fault()));
    if (!platform::syncFile(m_file))
        throw OrbaError::cannotCreate(m_file.fileName());
    m_file.close();
}

} // namespace orba
