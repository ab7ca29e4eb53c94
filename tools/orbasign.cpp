// orbasign: the organisation's tool for catalogue updates. It makes the key pair, signs the files
// of an update and checks a signed folder as ORBA will.
//
//   orbasign schluessel [--demo] <geheime-schluesseldatei>
//   orbasign signieren <geheime-schluesseldatei> <ordner> [--stand 2027-02-01T09:30:00Z]
//                      [--gueltig-bis 2027-03-15T09:30:00Z]
//   orbasign pruefen <oeffentlicher-schluessel> <ordner>

#include "catalogue/CatalogueCheck.h"
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
                    "                    [--gueltig-bis <Zeit>]\n"
                    "      prüft orb32.dat und unterschreibt ihn und, wo vorhanden, stat.dat,\n"
                    "      schlag.dat und info.rtf des Ordners: schreibt aktualisierung.dat und\n"
                    "      aktualisierung.sig hinein. Stand ohne --stand: jetzt (UTC). Nach\n"
                    "      dem Ende der Gültigkeit nimmt ORBA die Aktualisierung nicht mehr;\n"
                    "      ohne --gueltig-bis gilt sie sechs Wochen ab dem Stand. Bis dahin\n"
                    "      unterschreibt die Organisation neu, auch ohne neue Dateien.\n"
                    "  orbasign pruefen <oeffentlicher-schluessel> <ordner>\n"
                    "      prüft einen unterschriebenen Ordner so, wie ORBA es tut."));
    return 2;
}

// Long enough for an organisation that publishes every few weeks; short enough that a server
// which keeps offering an old set, to hide a newer one, is found out within weeks.
constexpr int DefaultValidDays = 42;

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

// What ORBA would refuse after the download had better be refused before signing.
QByteArray publishedBytes(const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() ||
        info.absoluteDir().canonicalPath() != dir.canonicalPath())
        throw OrbaError(QStringLiteral("%1 ist keine Datei des Ordners %2: sie fehlt, ist ein "
                                       "Ordner oder verweist als Verknüpfung anderswohin.")
                            .arg(name, dir.path()));
    const QByteArray bytes = textfile::readBytes(path);
    if (name == UpdateManifest::publishedFiles().constFirst()) {
        CatalogueCheck check;
        check.add(bytes);
        if (!check.fault().isEmpty())
            throw OrbaError(QStringLiteral("%1 ist kein Katalog: %2.").arg(name, check.fault()));
    }
    return bytes;
}

QDateTime timeArgument(const QString& text, const QDateTime& otherwise) {
    const QDateTime time = text.isEmpty() ? otherwise : QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid())
        throw OrbaError(
            QStringLiteral("\"%1\" ist keine Zeit wie 2027-02-01T09:30:00Z.").arg(text));
    return time.toUTC();
}

void signFolder(const QString& secretFile, const QString& folder, const QString& standText,
                const QString& validUntilText) {
    const QByteArray secretKey =
        decodeBase64Line(textfile::readBytes(secretFile), ed25519::SecretKeySize);
    if (secretKey.isEmpty())
        throw OrbaError(QStringLiteral("%1 enthält keinen geheimen Schlüssel.").arg(secretFile));
    const QDateTime stand = timeArgument(standText, QDateTime::currentDateTimeUtc());
    const QDateTime validUntil = timeArgument(validUntilText, stand.addDays(DefaultValidDays));
    if (validUntil <= QDateTime::currentDateTimeUtc() || validUntil <= stand)
        throw OrbaError(QStringLiteral("Die Gültigkeit bis %1 endet, bevor die Aktualisierung "
                                       "gilt oder ORBA sie laden kann.")
                            .arg(validUntil.toString(Qt::ISODate)));
    const QDir dir(folder);
    QList<PublishedFile> files;
    for (const QString& name : UpdateManifest::publishedFiles()) {
        // The catalogue every update has; the other files where the folder holds them.
        if (name == UpdateManifest::publishedFiles().constFirst() ||
            QFileInfo(dir.filePath(name)).exists() || QFileInfo(dir.filePath(name)).isSymLink())
            files.append(PublishedFile::describe(name, publishedBytes(dir, name)));
    }
    const QByteArray list = UpdateManifest(stand, files, validUntil).text();
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
        if (!file.matches(publishedBytes(dir, file.name)))
            throw OrbaError(
                QStringLiteral("%1 stimmt nicht mit der unterschriebenen Liste überein.")
                    .arg(file.name));
    }
    if (!manifest.validUntil().isValid() || manifest.validUntil() < QDateTime::currentDateTimeUtc())
        throw OrbaError(QStringLiteral("Die Gültigkeit der Liste ist abgelaufen oder fehlt; ORBA "
                                       "nimmt sie nicht."));
    say(stdout, QStringLiteral("in Ordnung: Stand %1, gültig bis %2, %3 Dateien")
                    .arg(manifest.stand().toString(Qt::ISODate),
                         manifest.validUntil().toString(Qt::ISODate))
                    .arg(manifest.files().size()));
}

// The value after `name` among the options after the folder; empty when not given. Anything
// else there is a mistake.
QString option(const QStringList& args, const char* name) {
    for (qsizetype i = 3; i < args.size(); i += 2) {
        if (i + 1 == args.size() ||
            (args[i] != QLatin1String("--stand") && args[i] != QLatin1String("--gueltig-bis")))
            throw OrbaError(QStringLiteral("Unbekannte Angabe \"%1\".").arg(args[i]));
        if (args[i] == QLatin1String(name))
            return args[i + 1];
    }
    return QString();
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
        else if (command == QLatin1String("signieren") && args.size() >= 3)
            signFolder(args[1], args[2], option(args, "--stand"), option(args, "--gueltig-bis"));
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
