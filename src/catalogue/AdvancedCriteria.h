#pragma once

#include "catalogue/SearchCriteria.h"

#include <QString>

namespace orba {

// What the advanced search dialog holds, free of widgets. List inputs carry the selected entry's
// text; an empty text means nothing is selected. Every member has an initialiser, so that an input
// can be written naming only the fields it sets.
struct AdvancedSearchInput {
    QString signature{};
    QString title{};
    QString suitability{};
    QString keywords{};
    QString duration{};
    QString description{};
    QString freeText{};
    int ageGroup = 0; // 0 none, 1 to 4 the position in record::ageGroups()
    QString stage{};
    QString author{};
    bool moreThan15 = false;
    // Female and male players together, from and to; -1 leaves that end open.
    int playersFrom = -1;
    int playersTo = -1;
    bool newAcquisition = false;
    int mediaType = 0; // index into record::mediaTypes(), 0 "Alle"
};

// The criteria of the advanced search, one input after the other; an empty input adds nothing.
CriteriaList advancedCriteria(const AdvancedSearchInput& input);

// What was searched, in words for the main window: "erw. Suche: Titel Masken; Spieler von 4
// bis 8". The media type is left out, as the main window shows it beside.
QString advancedSummary(const AdvancedSearchInput& input);

} // namespace orba
