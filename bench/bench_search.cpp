// Times the simple search over a catalogue file against grep on the same file:
//
//   bench_search <catalogue-file> <word1> <word2>
//
// A two-word search (both words as free-text terms) and a search without criteria are each
// timed as the best of several runs, and so is `LC_ALL=C grep -c -i -F <word>` for each word.
// The ratio compares the two-word search with the faster of the two greps.

#include "catalogue/Catalogue.h"
#include "catalogue/SearchCriteria.h"
#include "catalogue/SearchEngine.h"
#include "core/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <vector>

namespace {

constexpr int Runs = 7;

template <typename Fn> double bestMs(Fn&& run) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

struct Timed {
    qsizetype count = 0;
    double ms = 0;
};

Timed timeSearch(const orba::Catalogue& catalogue, const orba::CriteriaList& criteria) {
    Timed result;
    std::vector<qint32> hits;
    result.ms = bestMs([&] {
        hits.clear();
        const orba::SearchEngine engine(catalogue, criteria);
        engine.scan(0, catalogue.count(), hits);
    });
    result.count = qsizetype(hits.size());
    return result;
}

// Arguments reach grep in the locale's encoding, not as the catalogue's cp1252 bytes, so a word
// beyond ASCII goes to grep through a pattern file instead.
Timed timeGrep(const QString& word, const QString& file) {
    QStringList arguments = {QStringLiteral("-c"), QStringLiteral("-i"), QStringLiteral("-F")};
    QTemporaryFile pattern;
    const bool ascii =
        std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        arguments << word;
    } else {
        if (!pattern.open())
            qFatal("cannot write a pattern file");
        pattern.write(orba::cp1252::encode(word) + '\n');
        pattern.flush();
        arguments << QStringLiteral("-f") << pattern.fileName();
    }
    arguments << file;

    Timed result;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    QByteArray output;
    result.ms = bestMs([&] {
        QProcess grep;
        grep.setProcessEnvironment(environment);
        grep.start(QStringLiteral("grep"), arguments);
        grep.waitForFinished(-1);
        output = grep.readAllStandardOutput();
    });
    result.count = output.trimmed().toLongLong();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_search <catalogue-file> <word1> <word2>\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString word1 = QString::fromLocal8Bit(argv[2]);
    const QString word2 = QString::fromLocal8Bit(argv[3]);

    orba::Catalogue catalogue;
    QElapsedTimer loading;
    loading.start();
    catalogue.load(file);
    std::printf("catalogue: %lld records, %.1f MB, loaded in %lld ms\n",
                static_cast<long long>(catalogue.count()), QFileInfo(file).size() / 1e6,
                static_cast<long long>(loading.elapsed()));

    orba::CriteriaList twoWords;
    orba::addCriterion(twoWords, word1 + QLatin1Char(' ') + word2, true, QLatin1Char('0'));
    const Timed search = timeSearch(catalogue, twoWords);
    const Timed all = timeSearch(catalogue, {});
    const Timed grep1 = timeGrep(word1, file);
    const Timed grep2 = timeGrep(word2, file);

    std::printf("search \"%s\" \"%s\": %lld hits in %.2f ms\n", argv[2], argv[3],
                static_cast<long long>(search.count), search.ms);
    std::printf("search without criteria: %lld hits in %.2f ms\n",
                static_cast<long long>(all.count), all.ms);
    std::printf("grep -c -i -F \"%s\": %lld lines in %.2f ms\n", argv[2],
                static_cast<long long>(grep1.count), grep1.ms);
    std::printf("grep -c -i -F \"%s\": %lld lines in %.2f ms\n", argv[3],
                static_cast<long long>(grep2.count), grep2.ms);
    std::printf("ratio two-word search / faster grep: %.2f (goal: at most 2)\n",
                search.ms / std::min(grep1.ms, grep2.ms));
    return 0;
}
