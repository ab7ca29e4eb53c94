// Times every kind of search over generated catalogue files against grep and against one plain
// pass over the catalogue buffer:
//
//   gencat 1000000 /tmp/cat1m.dat
//   bench_search /tmp/cat1m.dat [more catalogue files]
//
// For each query class the search runs as the window runs it (an engine and a run stepped in
// slices of 30 ms) and its time is set beside
// - grep: the fastest `LC_ALL=C grep -c -i -F <value>` over the query's values, or
//   `grep -c -F "|"` for a search without criteria, which lists every line with a separator;
// - pass: memchr over the whole buffer for a byte that does not occur, the memory bandwidth.
// Every time is the best of several runs, all measured in one run of this program. The hit
// count and a checksum of the hit list let two builds be compared for identical results.

#include "catalogue/AdvancedCriteria.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "catalogue/SearchCriteria.h"
#include "catalogue/SearchEngine.h"
#include "catalogue/SearchRun.h"
#include "core/Cp1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <vector>

namespace {

constexpr int Runs = 7;
constexpr int SliceMs = 30; // as the main window steps its search

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

struct Query {
    const char* kind;
    QString shown;
    orba::CriteriaList criteria;
    QStringList grepValues; // empty: grep for the separator
};

orba::CriteriaList simpleSearch(const QString& text, int mediaType = 0) {
    orba::CriteriaList criteria;
    orba::addCriterion(criteria, text, true, QLatin1Char('0'));
    if (mediaType > 0)
        orba::addCriterion(criteria, orba::record::mediaTypes()[mediaType], false,
                           QLatin1Char('A'));
    return criteria;
}

// The words are chosen from the vocabulary of gencat: "Görlitz" stands in one record of a
// thousand, "Theater" in nearly all.
std::vector<Query> queries() {
    std::vector<Query> list;
    auto words = [&](const char* kind, const QString& text) {
        list.push_back({kind, QLatin1Char('"') + text + QLatin1Char('"'), simpleSearch(text),
                        orba::splitSearchWords(text)});
    };
    words("rare word", QStringLiteral("Görlitz"));
    words("two rare words", QStringLiteral("Stromausfall Sägewerk"));
    words("common word", QStringLiteral("Theater"));
    words("two common words", QStringLiteral("und der"));
    words("one letter", QStringLiteral("e"));
    list.push_back({"empty text", QStringLiteral("Alle"), simpleSearch(QString()), {}});
    const QStringList& types = orba::record::mediaTypes();
    for (int type = 1; type < types.size(); ++type)
        list.push_back({"empty text", types[type], simpleSearch(QString(), type), {types[type]}});
    const orba::AdvancedSearchInput advanced{.title = QStringLiteral("Spiele"),
                                             .keywords = QStringLiteral("Improvisation"),
                                             .author = QStringLiteral("Müller")};
    list.push_back({"advanced search",
                    QStringLiteral("title, keyword, author"),
                    orba::advancedCriteria(advanced),
                    {advanced.title, advanced.keywords, advanced.author}});
    words("full-stop term", QStringLiteral("min."));
    return list;
}

struct Searched {
    qsizetype hits = 0;
    std::uint32_t checksum = 0;
    double ms = 0;
};

Searched timeSearch(const orba::Catalogue& catalogue, const orba::CriteriaList& criteria) {
    std::vector<qint32> hits;
    Searched result;
    result.ms = bestMs([&] {
        hits.clear();
        const orba::SearchEngine engine(catalogue, criteria);
        orba::SearchRun run(engine, catalogue.count());
        while (run.step(hits, SliceMs)) {
        }
    });
    result.hits = qsizetype(hits.size());
    std::uint32_t hash = 2166136261u; // FNV-1a over the indexes in list order
    for (qint32 index : hits) {
        for (int shift = 0; shift < 32; shift += 8)
            hash = (hash ^ ((std::uint32_t(index) >> shift) & 0xFF)) * 16777619u;
    }
    result.checksum = hash;
    return result;
}

// Arguments reach grep in the locale's encoding, not as the catalogue's cp1252 bytes, so the
// pattern goes to grep through a file.
double timeGrep(const QStringList& values, const QString& file) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    auto timeOne = [&](const QStringList& options, const QByteArray& pattern) {
        QTemporaryFile patternFile;
        if (!patternFile.open())
            qFatal("cannot write a pattern file");
        patternFile.write(pattern + '\n');
        patternFile.flush();
        const QStringList arguments =
            options + QStringList{QStringLiteral("-f"), patternFile.fileName(), file};
        return bestMs([&] {
            QProcess grep;
            grep.setProcessEnvironment(environment);
            grep.start(QStringLiteral("grep"), arguments);
            grep.waitForFinished(-1);
        });
    };
    if (values.isEmpty())
        return timeOne({QStringLiteral("-c"), QStringLiteral("-F")}, "|");
    double best = std::numeric_limits<double>::max();
    for (const QString& value : values) {
        best = std::min(best,
                        timeOne({QStringLiteral("-c"), QStringLiteral("-i"), QStringLiteral("-F")},
                                orba::cp1252::encode(value)));
    }
    return best;
}

double timePass(const orba::Catalogue& catalogue) {
    const qsizetype size = catalogue.count() > 0 ? catalogue.end(catalogue.count() - 1) : 0;
    const void* volatile found = nullptr;
    const double ms = bestMs([&] { found = std::memchr(catalogue.data(), '\0', size_t(size)); });
    if (found)
        qFatal("the catalogue holds a NUL byte");
    return ms;
}

double loadAverage() {
    double load = 0;
    return getloadavg(&load, 1) == 1 ? load : -1;
}

void benchCatalogue(const QString& file) {
    orba::Catalogue catalogue;
    catalogue.load(file);
    const double loadBefore = loadAverage();
    const double pass = timePass(catalogue);
    std::printf("\n%s: %lld records, %.1f MB; one pass (memchr) %.2f ms; best of %d runs\n",
                qPrintable(file), static_cast<long long>(catalogue.count()),
                QFileInfo(file).size() / 1e6, pass, Runs);
    std::printf("%-17s %-24s %9s %8s %10s %9s %9s %9s\n", "query class", "query", "hits",
                "checksum", "search ms", "grep ms", "/grep", "/pass");
    for (const Query& query : queries()) {
        const Searched search = timeSearch(catalogue, query.criteria);
        const double grep = timeGrep(query.grepValues, file);
        std::printf("%-17s %-24s %9lld %08x %10.2f %9.2f %9.2f %9.2f\n", query.kind,
                    query.shown.toLocal8Bit().constData(), static_cast<long long>(search.hits),
                    search.checksum, search.ms, grep, search.ms / grep, search.ms / pass);
        std::fflush(stdout);
    }
    std::printf("load average %.2f before, %.2f after\n", loadBefore, loadAverage());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_search <catalogue-file>...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i)
        benchCatalogue(QString::fromLocal8Bit(argv[i]));
    return 0;
}
