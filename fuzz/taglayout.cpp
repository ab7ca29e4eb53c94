// The tagged-text view's layout, with the main window's macros and fonts. The input is tagged
// text, or a catalogue record shown through the detail text; the last bytes choose which, the
// view's width and height limit, its bitmap and which of the two views. Whatever the text holds
// (tags with huge numbers, words without end), the layout stays within the view's limits and the
// view grows no further than it can.
#include "display/TagLayout.h"

#include "display/DetailText.h"
#include "display/FontMeasurer.h"
#include "display/Tview.h"
#include "display/ViewReading.h"
#include "FuzzSupport.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace orba;

namespace {

const QStringList kMacros = {
    QStringLiteral("<h1>=<b><img><x=5><c=255,0,0><fs=10>"),
    QStringLiteral("<h2>=<b><x=5><c=0,0,255><fs=12>"),
    QStringLiteral("<n>=<fs=10><c=0,0,0>"),
    QStringLiteral("<blue>=<c=0,0,255>"),
};

DisplayList displayListOf(unsigned shownFields) {
    DisplayList list;
    for (int field = 0; field < displayFieldNames().size(); ++field)
        list.append({field, (shownFields >> field & 1) != 0});
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const bool asRecord = provider.ConsumeBool();
    const auto shownFields = provider.ConsumeIntegral<quint16>();
    const bool secondView = provider.ConsumeBool();
    taglayout::Input input;
    input.tags = kMacros;
    input.block = secondView ? QStringLiteral("-10") : QString();
    input.width = provider.ConsumeIntegralInRange(0, 4000);
    input.maxHeight = provider.ConsumeIntegralInRange(0, 16777215);
    if (provider.ConsumeBool())
        input.bitmapSize = QSize(provider.ConsumeIntegralInRange(0, 2000),
                                 provider.ConsumeIntegralInRange(0, 2000));
    input.colour = Qt::black;
    const std::string rest = provider.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), static_cast<qsizetype>(rest.size()));
    input.text =
        asRecord ? detailText(bytes, displayListOf(shownFields)) : QString::fromUtf8(bytes);

    const taglayout::Result result = taglayout::layout(input, FontMeasurer());
    FUZZ_EXPECT(result.height >= 0 && result.height <= input.maxHeight);
    for (const DrawOp& op : result.ops) {
        FUZZ_EXPECT(std::abs(op.y) < input.maxHeight && op.height >= 0,
                    QStringLiteral("%1 %2").arg(op.y).arg(op.height));
        FUZZ_EXPECT(op.x >= 0);
    }

    // What a screen reader reads: the lines in order within the text, and around any offset a
    // segment of each kind that holds it.
    const ViewReading reading(result.ops);
    const qsizetype length = reading.text().size();
    qsizetype previous = -1;
    for (const ViewReading::Line& line : reading.lines()) {
        FUZZ_EXPECT(line.start > previous && line.start + line.length <= length);
        previous = line.start;
    }
    const qsizetype at = length / 2;
    for (int boundary = QAccessible::CharBoundary; boundary <= QAccessible::NoBoundary;
         ++boundary) {
        const auto [first, second] =
            reading.segmentAt(at, static_cast<QAccessible::TextBoundaryType>(boundary));
        FUZZ_EXPECT(first >= 0 && first <= at && at <= second && second <= length,
                    QStringLiteral("%1: %2 %3 %4").arg(boundary).arg(first).arg(at).arg(second));
    }

    // Never destroyed, as the application it needs is not.
    static Tview& view = *new Tview;
    view.resize(input.width, view.height());
    view.SetTags(kMacros);
    view.SetText(input.text);
    FUZZ_EXPECT(view.height() <= view.maximumHeight());
    return 0;
}
