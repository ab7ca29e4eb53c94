#pragma once

#include "output/BandSnapshot.h"

namespace orba {

// A band placed on a page at `top` design pixels below the printable area's top edge.
struct PlacedBand {
    int top = 0;
    BandSnapshot band;
};

// A laid-out page: its bands in printing order. Pages keep what to draw, not pictures of it,
// so a long report costs little memory and prints sharply at any resolution.
struct ReportPage {
    QList<PlacedBand> bands;
};

} // namespace orba
