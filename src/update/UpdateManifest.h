#pragma once

#include <optional>
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace orba {

// One file of an update as the signed list names it.
struct PublishedFile {
    QString name;
    qint64 size = 0;
    QByteArray sha256; // 32 bytes

    // The entry for these bytes.
    static PublishedFile describe(const QString& name, const QByteArray& bytes);
    bool matches(const QByteArray& bytes) const;
    // Whether the file at `path` holds these bytes; read piece by piece, and not at all when
    // its size differs.
    bool matchesFile(const QString& path) const;
};

// The signed list of an update ("aktualisierung.dat", signed in "aktualisierung.sig"): its stand
// (publication time), the time until which it may be taken, and every file with size and
// SHA-256. The signature covers the list, the list covers the files. The stand never goes back
// from one accepted update to the next, so an old signed set cannot be offered again as new, and
// the validity ends the set's life, so that a server cannot keep offering it forever.
//
//   ORBA-Aktualisierung 1
//   Stand=2027-02-01T09:30:00Z
//   GueltigBis=2027-03-15T09:30:00Z      (missing in lists older than the validity)
//   orb32.dat|41234567|<SHA-256, hexadecimal>
class UpdateManifest {
public:
    static const QString fileName;
    static const QString signatureName;
    // The files an update may bring: the catalogue first, which every update has.
    static const QStringList& publishedFiles();

    UpdateManifest(QDateTime stand, QList<PublishedFile> files, QDateTime validUntil = {});

    // Throws OrbaError naming the fault when the text is no such list.
    static UpdateManifest parse(const QByteArray& text);
    // The list when `signatureText` is its signature by the key's owner; throws OrbaError else.
    static UpdateManifest verified(const QByteArray& text, const QByteArray& signatureText,
                                   const QByteArray& publicKey);
    // The stand of the list lying in a folder; none when there is none or it cannot be read.
    static std::optional<QDateTime> standIn(const QString& folder);

    QByteArray text() const;
    const QDateTime& stand() const { return m_stand; }
    // Invalid when the list names none.
    const QDateTime& validUntil() const { return m_validUntil; }
    const QList<PublishedFile>& files() const { return m_files; }

private:
    QDateTime m_stand;
    QList<PublishedFile> m_files;
    QDateTime m_validUntil;
};

// Keys and signatures travel as one line of Base64; empty when the text is not `size` bytes so.
QByteArray decodeBase64Line(const QByteArray& text, int size);
QByteArray encodeBase64Line(const QByteArray& bytes);

// A stand as a teacher reads it: "01.02.2027, 10:30 Uhr".
QString standText(const QDateTime& stand);
// A time as lists and settings keep it: UTC, with milliseconds only where it has them, so that
// a time read is the time written.
QString isoTime(const QDateTime& time);

} // namespace orba
