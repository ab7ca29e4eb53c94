// bench_catalogue <file>: how much loading the catalogue costs over merely reading the file, in
// time and in peak memory. Aims: load at most twice the plain read, peak at most 1.3 x file size.

#include "catalogue/Catalogue.h"
#include "core/OrbaError.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <QFile>
#include <QFileInfo>
#include <string>

namespace {

constexpr int Rounds = 5;

// A field of /proc/self/status in kB, e.g. VmHWM, the peak resident set size.
long long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stoll(line.substr(key.size() + 1));
    }
    return -1;
}

template <typename Action> double bestSeconds(Action&& action) {
    double best = 1e30;
    for (int round = 0; round < Rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: bench_catalogue <file>\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const double fileMb = QFileInfo(path).size() / 1e6;

    try {
        // The memory figure comes first, while the high-water mark is still the baseline.
        const long long baselineKb = statusKb("VmHWM");
        orba::Catalogue catalogue;
        catalogue.load(path);
        const double peakMb = (statusKb("VmHWM") - baselineKb) * 1024 / 1e6;
        const qsizetype records = catalogue.count();
        catalogue.clear();

        qsizetype readBytes = 0;
        const double readSeconds = bestSeconds([&] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                throw orba::OrbaError::cannotOpen(path);
            readBytes = file.readAll().size();
        });
        const double loadSeconds = bestSeconds([&] { catalogue.load(path); });

        std::printf("file:        %.1f MB, %lld records\n", fileMb,
                    static_cast<long long>(records));
        std::printf("plain read:  %.1f ms (%lld bytes, best of %d)\n", readSeconds * 1e3,
                    static_cast<long long>(readBytes), Rounds);
        std::printf("load:        %.1f ms (best of %d)\n", loadSeconds * 1e3, Rounds);
        std::printf("time ratio:  %.2f x plain read (aim <= 2)\n", loadSeconds / readSeconds);
        std::printf("peak memory: %.1f MB = %.2f x file size (aim <= 1.3)\n", peakMb,
                    peakMb / fileMb);
    } catch (const orba::OrbaError& error) {
        std::fprintf(stderr, "bench_catalogue: %s\n", error.what());
        return 1;
    }
    return 0;
}
