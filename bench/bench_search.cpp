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
// All times are measured in one run of this program, each the best of several rounds. The hit
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
#include <memory>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <vector>

namespace {

constexpr int Rounds = 7;
constexpr int SliceMs = 30; // as the main window steps its search

template <typename Fn> double msOf(Fn&& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
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

// The hits of a search run as the window runs it; FNV-1a of the indexes in list order checks
// that two builds list the same.
std::vector<qint32> search(const orba::Catalogue& catalogue, const orba::CriteriaList& criteria) {
    std::vector<qint32> hits;
    const orba::SearchEngine engine(catalogue, criteria);
    orba::SearchRun run(engine, catalogue.count());
    while (run.step(hits, SliceMs)) {
    }
    return hits;
}

std::uint32_t checksum(const std::vector<qint32>& hits) {
    std::uint32_t hash = 2166136261u;
    for (qint32 index : hits) {
        for (int shift = 0; shift < 32; shift += 8)
            hash = (hash ^ ((std::uint32_t(index) >> shift) & 0xFF)) * 16777619u;
    }
    return hash;
}

// One grep over the catalogue file. Arguments reach grep in the locale's encoding, not as the
// catalogue's cp1252 bytes, so the pattern goes to grep through a file.
class Grep {
public:
    Grep(const QString& file, const QString& value) {
        if (!m_pattern.open())
            qFatal("cannot write a pattern file");
        m_pattern.write((value.isEmpty() ? QByteArray("|") : orba::cp1252::encode(value)) + '\n');
        m_pattern.flush();
        m_arguments = value.isEmpty() ? QStringList{QStringLiteral("-c"), QStringLiteral("-F")}
                                      : QStringList{QStringLiteral("-c"), QStringLiteral("-i"),
                                                    QStringLiteral("-F")};
        m_arguments << QStringLiteral("-f") << m_pattern.fileName() << file;
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    }

    double ms() const {
        return msOf([&] {
            QProcess grep;
            grep.setProcessEnvironment(m_environment);
            grep.start(QStringLiteral("grep"), m_arguments);
            grep.waitForFinished(-1);
        });
    }

private:
    QTemporaryFile m_pattern;
    QStringList m_arguments;
    QProcessEnvironment m_environment;
};

double loadAverage() {
    double load = 0;
    return getloadavg(&load, 1) == 1 ? load : -1;
}

struct Row {
    Query query;
    std::vector<std::unique_ptr<Grep>> greps;
    std::vector<qint32> hits;
    double searchMs = std::numeric_limits<double>::max();
    double grepMs = std::numeric_limits<double>::max();
};

// Every time is the best of its rounds; the rounds go through all queries in turn, so that a
// spell of other work on the machine does not fall on one query alone.
void benchCatalogue(const QString& file) {
    orba::Catalogue catalogue;
    catalogue.load(file);
    const qsizetype size = catalogue.count() > 0 ? catalogue.end(catalogue.count() - 1) : 0;
    std::vector<Row> rows;
    for (Query& query : queries()) {
        Row& row = rows.emplace_back();
        row.query = std::move(query);
        for (const QString& value :
             row.query.grepValues.isEmpty() ? QStringList{QString()} : row.query.grepValues)
            row.greps.push_back(std::make_unique<Grep>(file, value));
    }
    const double loadBefore = loadAverage();
    double passMs = std::numeric_limits<double>::max();
    for (int round = 0; round < Rounds; ++round) {
        const void* volatile found = nullptr;
        passMs = std::min(
            passMs, msOf([&] { found = std::memchr(catalogue.data(), '\0', std::size_t(size)); }));
        if (found)
            qFatal("the catalogue holds a NUL byte");
        for (Row& row : rows) {
            row.searchMs = std::min(
                row.searchMs, msOf([&] { row.hits = search(catalogue, row.query.criteria); }));
            for (const std::unique_ptr<Grep>& grep : row.greps)
                row.grepMs = std::min(row.grepMs, grep->ms());
        }
    }
    std::printf("\n%s: %lld records, %.1f MB; one pass (memchr) %.2f ms; best of %d rounds\n",
                qPrintable(file), static_cast<long long>(catalogue.count()), double(size) / 1e6,
                passMs, Rounds);
    std::printf("%-17s %-24s %9s %8s %10s %9s %9s %9s\n", "query class", "query", "hits",
                "checksum", "search ms", "grep ms", "/grep", "/pass");
    for (const Row& row : rows) {
        std::printf("%-17s %-24s %9lld %08x %10.2f %9.2f %9.2f %9.2f\n", row.query.kind,
                    row.query.shown.toLocal8Bit().constData(),
                    static_cast<long long>(row.hits.size()), checksum(row.hits), row.searchMs,
                    row.grepMs, row.searchMs / row.grepMs, row.searchMs / passMs);
    }
    std::printf("load average %.2f before, %.2f after\n", loadBefore, loadAverage());
    std::fflush(stdout);
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
