// bench_update <catalogue-file>: a catalogue update from a server on loopback over HTTPS, in its
// three steps: fetching and checking the signed files, putting them in place, and reloading the
// catalogue with the private list's media found again. The school has the file's first 90 % of
// records and a private list of 100 of them; the update brings the whole file. The memory figure
// is how far the resident size grew above its level before the update while files arrived.

#include "catalogue/Catalogue.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "settings/SettingsFile.h"
#include "TestSupport.h"
#include "update/CatalogueChange.h"
#include "update/CatalogueUpdate.h"
#include "update/Ed25519.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

using namespace orba;

namespace {

// Resident memory in bytes (Linux).
qint64 residentBytes() {
    std::ifstream statm("/proc/self/statm");
    qint64 pages = 0;
    qint64 resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

double lap(QElapsedTimer& timer) {
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: bench_update <catalogue-file>\n", stderr);
        return 2;
    }
    try {
        const QByteArray catalogue = textfile::readBytes(QString::fromLocal8Bit(argv[1]));
        const orba::test::UpdateServer server;
        const ed25519::KeyPair key = ed25519::makeKeyPair();
        const QDir served(server.folder());
        textfile::writeBytes(served.filePath("orb32.dat"), catalogue);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QByteArray list =
            UpdateManifest(now, {PublishedFile::describe("orb32.dat", catalogue)}, now.addDays(1))
                .text();
        textfile::writeBytes(served.filePath(UpdateManifest::fileName), list);
        textfile::writeBytes(served.filePath(UpdateManifest::signatureName),
                             encodeBase64Line(ed25519::sign(list, key.secretKey)));

        const QTemporaryDir school;
        const QStringList lines = textfile::splitLines(catalogue);
        textfile::writeLines(QDir(school.path()).filePath("orb32.dat"),
                             lines.mid(0, lines.size() * 9 / 10));
        Catalogue before;
        before.load(QDir(school.path()).filePath("orb32.dat"));
        QStringList privateList;
        for (qsizetype i = 0; i < 100; ++i)
            privateList.append(
                before.lineText(i * (before.count() / 100)).section('|', 0, 0).insert(2, ' '));

        UpdateSettings settings;
        settings.address = server.address();
        settings.publicKey = QString::fromLatin1(key.publicKey.toBase64());
        settings.caFile = server.authority();
        CatalogueUpdate update(settings, school.path());
        QEventLoop loop;
        QString failure;
        const qint64 residentBefore = residentBytes();
        qint64 residentPeak = residentBefore;
        QObject::connect(&update, &CatalogueUpdate::offered, [&] { update.download(); });
        QObject::connect(&update, &CatalogueUpdate::progress,
                         [&] { residentPeak = qMax(residentPeak, residentBytes()); });
        QObject::connect(&update, &CatalogueUpdate::downloaded, &loop, &QEventLoop::quit);
        QObject::connect(&update, &CatalogueUpdate::failed, [&](const QString& message) {
            failure = message;
            loop.quit();
        });

        QElapsedTimer timer;
        timer.start();
        update.check();
        loop.exec();
        if (!failure.isEmpty())
            throw OrbaError(failure);
        const double fetchMs = lap(timer);
        residentPeak = qMax(residentPeak, residentBytes());
        SettingsFile settingsFile(QDir(school.path()).filePath("orbaw.ini"));
        update.install(settingsFile);
        const double installMs = lap(timer);
        residentPeak = qMax(residentPeak, residentBytes());
        Catalogue after;
        after.load(QDir(school.path()).filePath("orb32.dat"));
        const CatalogueChange change = compareCatalogues(before, after);
        QList<qint32> hints;
        for (qsizetype i = 0; i < privateList.size(); ++i)
            hints.append(static_cast<qint32>(i * (before.count() / 100)));
        const QList<FoundMedium> found = findMedia(after, privateList, hints);
        const double reloadMs = lap(timer);
        Catalogue plain;
        plain.load(QDir(school.path()).filePath("orb32.dat"));
        const double plainLoadMs = lap(timer);

        std::printf("catalogue:            %.1f MB, %lld records (%lld new, %lld gone)\n",
                    catalogue.size() / 1e6, static_cast<long long>(after.count()),
                    static_cast<long long>(change.added), static_cast<long long>(change.removed));
        std::printf("fetch and check:      %.1f ms\n", fetchMs);
        std::printf("put in place:         %.1f ms\n", installMs);
        std::printf("memory while loading: %.1f MB above the level before\n",
                    (residentPeak - residentBefore) / 1e6);
        std::printf("reload, find %lld:    %.1f ms\n", static_cast<long long>(found.size()),
                    reloadMs);
        std::printf("whole update:         %.1f ms = %.1f x loading the catalogue at start-up\n",
                    fetchMs + installMs + reloadMs, (fetchMs + installMs + reloadMs) / plainLoadMs);
        if (std::any_of(found.begin(), found.end(),
                        [](const FoundMedium& medium) { return medium.index < 0; }))
            throw OrbaError(QStringLiteral("a medium of the private list was not found again"));
    } catch (const OrbaError& error) {
        std::fprintf(stderr, "bench_update: %s\n", error.what());
        return 1;
    }
    return 0;
}
