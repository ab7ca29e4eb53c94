// orbasign: the organisation's tool for catalogue updates. It makes the key pair, signs the files
// of an update and checks a signed folder as ORBA will.
//
//   orbasign schluessel [--demo] <geheime-schluesseldatei>
//   orbasign signieren <geheime-schluesseldatei> <ordner> [--stand 2027-02-01T09:30:00Z]
//   orbasign pruefen <oeffentlicher-schluessel> <ordner>

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "update/Ed25519.h"
#include "update/UpdateManifest.h"

#include <cstdio>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

using namespace orba;

namespace {

void say(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int usage() {
    say(stderr, QStringLiteral(
                    "Aufruf:\n"
                    "  orbasign schluessel [--demo] <geheime-schluesseldatei>\n"
                    "      macht ein Schlüsselpaar: der geheime Schlüssel kommt in die Datei, der\n"
                    "      öffentliche wird als Zeile für orbaw.ini ausgegeben. --demo gibt das\n"
                    "      Paar der Demo-Organisation, das jeder nachrechnen kann: zum\n"
                    "      Ausprobieren, nie für echte Aktualisierungen.\n"
                    "  orbasign signieren <geheime-schluesseldatei> <ordner> [--stand <Zeit>]\n"
                    "      unterschreibt orb32.dat und, wo vorhanden, stat.dat, schlag.dat und\n"
                    "      info.rtf des Ordners: schreibt aktualisierung.dat und\n"
                    "      aktualisierung.sig hinein. Stand ohne --stand: jetzt (UTC).\n"
                    "  orbasign pruefen <oeffentlicher-schluessel> <ordner>\n"
                    "      prüft einen unterschriebenen Ordner so, wie ORBA es tut."));
    return 2;
}

// The demo organisation's pair comes from a seed anyone can read here, so its secret key need
// not be kept anywhere and protects nothing.
ed25519::KeyPair demoKeyPair() {
    return ed25519::keyPairFromSeed(QCryptographicHash::hash(
        "Spielberatung Demo-Schluessel, oeffentlich bekannt", QCryptographicHash::Sha256));
}

void makeKeyPair(const QString& secretFile, bool demo) {
    if (QFileInfo::exists(secretFile))
        throw OrbaError(QStringLiteral("%1 gibt es schon; ein vorhandener Schlüssel wird nie "
                                       "überschrieben.")
                            .arg(secretFile));
    const ed25519::KeyPair pair = demo ? demoKeyPair() : ed25519::makeKeyPair();
    QFile file(secretFile);
    // Only its owner may read the secret key, from the first byte on.
    if (!file.open(QIODevice::NewOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(encodeBase64Line(pair.secretKey)) < 0 || !file.flush())
        throw OrbaError::cannotCreate(secretFile);
    say(stdout, QStringLiteral("Schluessel=") + QString::fromLatin1(pair.publicKey.toBase64()));
}

void signFolder(const QString& secretFile, const QString& folder, const QString& standText) {
    const QByteArray secretKey =
        decodeBase64Line(textfile::readBytes(secretFile), ed25519::SecretKeySize);
    if (secretKey.isEmpty())
        throw OrbaError(QStringLiteral("%1 enthält keinen geheimen Schlüssel.").arg(secretFile));
    const QDateTime stand = standText.isEmpty() ? QDateTime::currentDateTimeUtc()
                                                : QDateTime::fromString(standText, Qt::ISODate);
    if (!stand.isValid())
        throw OrbaError(
            QStringLiteral("\"%1\" ist keine Zeit wie 2027-02-01T09:30:00Z.").arg(standText));
    const QDir dir(folder);
    QList<PublishedFile> files;
    for (const QString& name : UpdateManifest::publishedFiles()) {
        const QString path = dir.filePath(name);
        // The catalogue every update has; the other files where the folder holds them.
        if (name == UpdateManifest::publishedFiles().constFirst() || textfile::exists(path))
            files.append(PublishedFile::describe(name, textfile::readBytes(path)));
    }
    const QByteArray list = UpdateManifest(stand.toUTC(), files).text();
    textfile::writeBytes(dir.filePath(UpdateManifest::fileName), list);
    textfile::writeBytes(dir.filePath(UpdateManifest::signatureName),
                         encodeBase64Line(ed25519::sign(list, secretKey)));
    for (const PublishedFile& file : files)
        say(stdout, QStringLiteral("unterschrieben: %1 (%2 Bytes)").arg(file.name).arg(file.size));
}

void checkFolder(const QString& publicKeyText, const QString& folder) {
    // The key alone, or the line for orbaw.ini that "schluessel" printed.
    QString keyText = publicKeyText;
    keyText.remove(QRegularExpression(QStringLiteral("^Schluessel=")));
    const QByteArray publicKey = decodeBase64Line(keyText.toLatin1(), ed25519::PublicKeySize);
    if (publicKey.isEmpty())
        throw OrbaError(
            QStringLiteral("\"%1\" ist kein öffentlicher Schlüssel.").arg(publicKeyText));
    const QDir dir(folder);
    const UpdateManifest manifest = UpdateManifest::verified(
        textfile::readBytes(dir.filePath(UpdateManifest::fileName)),
        textfile::readBytes(dir.filePath(UpdateManifest::signatureName)), publicKey);
    for (const PublishedFile& file : manifest.files()) {
        if (!file.matches(textfile::readBytes(dir.filePath(file.name))))
            throw OrbaError(
                QStringLiteral("%1 stimmt nicht mit der unterschriebenen Liste überein.")
                    .arg(file.name));
    }
    say(stdout, QStringLiteral("in Ordnung: Stand %1, %2 Dateien")
                    .arg(manifest.stand().toString(Qt::ISODate))
                    .arg(manifest.files().size()));
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const QString command = args.value(0);
    try {
        if (command == QLatin1String("schluessel") && args.size() == 2)
            makeKeyPair(args[1], false);
        else if (command == QLatin1String("schluessel") && args.size() == 3 &&
                 args[1] == QLatin1String("--demo"))
            makeKeyPair(args[2], true);
        else if (command == QLatin1String("signieren") &&
                 (args.size() == 3 || (args.size() == 5 && args[3] == QLatin1String("--stand"))))
            signFolder(args[1], args[2], args.value(4));
        else if (command == QLatin1String("pruefen") && args.size() == 3)
            checkFolder(args[1], args[2]);
        else
            return usage();
    } catch (const OrbaError& e) {
        say(stderr, QStringLiteral("orbasign: ") + e.message());
        return 1;
    }
    return 0;
}
