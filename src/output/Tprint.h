#pragma once

#include "output/PlaceholderList.h"
#include "output/ReportBand.h"

namespace orba {

// The report: its four bands and the placeholders of the loaded mask. QRBand4, the page
// footer, stays empty and only reserves its height at the foot of every page.
class Tprint {
public:
    ReportBand QRBand1{u'0'}; // title band, printed once at the start
    ReportBand QRBand2{u'1'}; // column header band, at the top of every page
    ReportBand QRBand3{u'2'}; // detail band, once per record
    ReportBand QRBand4{u'3'}; // page footer band
    PlaceholderList placeholders;
};

} // namespace orba
