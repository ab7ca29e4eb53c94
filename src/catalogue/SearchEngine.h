#pragma once

#include "catalogue/SearchCriteria.h"

#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

namespace orba {

class Catalogue;

// Tests catalogue records against a criteria list. Criteria are upper-cased and compiled once;
// comparisons fold the record bytes on the fly, so no record is ever copied. Unless most records
// hold it, a scan first looks for the rarest search value in the raw catalogue buffer and tests
// only the records holding it. A long scan is shared out among the cores. The engine refers to
// the catalogue, which must outlive it.
class SearchEngine {
public:
    SearchEngine(const Catalogue& catalogue, const CriteriaList& criteria);
    ~SearchEngine();
    SearchEngine(const SearchEngine&) = delete;
    SearchEngine& operator=(const SearchEngine&) = delete;

    // Whether the record passes every criterion; throws for an index outside the catalogue.
    bool matches(qsizetype index) const;

    // Tests the records [from, to) and appends, in file order, the index of every record that
    // passes and has something to show (a "|" in its line). Returns the number appended.
    qsizetype scan(qsizetype from, qsizetype to, std::vector<qint32>& hits) const;

private:
    struct Term;

    bool passes(QByteArrayView line) const;
    double sampledPassShare(const Term& term) const;
    std::vector<qsizetype> pieceBounds(qsizetype from, qsizetype to) const;
    void scanPart(qsizetype from, qsizetype to, std::vector<qint32>& hits) const;
    void prefetchAhead(qsizetype index, qsizetype to) const;
    void scanEach(qsizetype from, qsizetype to, std::vector<qint32>& hits) const;
    void scanPrefiltered(qsizetype from, qsizetype to, std::vector<qint32>& hits) const;
    void takeIfHit(qsizetype index, std::vector<qint32>& hits) const;
    qsizetype firstRecordEndingAtOrAfter(qsizetype offset, qsizetype index, qsizetype to) const;

    const Catalogue& m_catalogue;
    std::vector<Term> m_terms;
    const Term* m_prefilter = nullptr;
    bool m_nothingPasses = false;
};

} // namespace orba
