#pragma once

#include "catalogue/CatalogueCheck.h"
#include "core/OrbaError.h"
#include "update/UpdateManifest.h"

#include <QCryptographicHash>
#include <QFile>

namespace orba {

// One file of an update as it arrives: written straight to its new file in the data folder
// (see createNewFile), never longer than the signed list declares, with room for all of it
// claimed before the first byte, and checked at the end against the list's size and SHA-256;
// the catalogue must also read as one. Nothing of it is held in memory. Every failure throws
// OrbaError in German; removing the new file is the caller's part.
class IncomingFile {
public:
    IncomingFile(const QString& folder, PublishedFile expected);

    void write(QByteArrayView bytes);
    // Everything has arrived: checks it and puts it on the disk for good.
    void finish();

private:
    PublishedFile m_expected;
    QFile m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_received = 0;
    bool m_isCatalogue;
    CatalogueCheck m_catalogue;
};

// "The disk is full" with what was needed and what there is; `needed` in bytes.
OrbaError diskFull(const QString& folder, qint64 needed);

} // namespace orba
