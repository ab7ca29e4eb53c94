// Cost of laying out and repainting a long medium detail text in the tagged-text view.
#include "catalogue/Catalogue.h"
#include "display/DetailText.h"
#include "display/FontMeasurer.h"
#include "display/TagLayout.h"
#include "display/Tview.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

using namespace orba;

namespace {

const QStringList macros = {
    QStringLiteral("<h1>=<b><img><x=5><c=255,0,0><fs=10>"),
    QStringLiteral("<h2>=<b><x=5><c=0,0,255><fs=12>"),
    QStringLiteral("<n>=<fs=10><c=0,0,0>"),
    QStringLiteral("<blue>=<c=0,0,255>"),
};

// Numbered sentences, so that lines do not repeat and every width is measured afresh.
QString description() {
    const QString sentence =
        QStringLiteral("Teil %1: Der Film begleitet eine Schulklasse durch ein Jahr im Wald und "
                       "zeigt, wie Tiere und Pflanzen sich den Jahreszeiten anpassen. ");
    QString text;
    for (int part = 1; text.size() < 3000; ++part)
        text += sentence.arg(part) + (part % 3 == 0 ? QStringLiteral("<br> ") : QString());
    return text;
}

QString detailText() {
    const QStringList headings = {"Beschreibung",  "Alter",     "Titel",       "Untertitel",
                                  "Signatur",      "Medienart", "Laufzeit",    "Produktion",
                                  "Sprache",       "Fach",      "Schlagworte", "Verleih",
                                  "Bestellnummer", "Jahr",      "Land",        "Bemerkung"};
    QString text;
    for (const QString& heading : headings) {
        const QString value =
            heading == "Beschreibung" ? description() : QStringLiteral("Wert zu ") + heading;
        text += "<h1>" + heading + "<br> <n>" + value + "<p> ";
    }
    return text;
}

template <typename Fn> double bestMicroseconds(int runs, Fn fn) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        best = std::min(best, timer.nsecsElapsed());
    }
    return double(best) / 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QImage bitmap(16, 16, QImage::Format_RGB32);
    bitmap.fill(Qt::darkYellow);
    bitmap.save(QStringLiteral("ordner.bmp"));

    const QString text = detailText();
    const taglayout::Input input{text, macros, {}, {}, 579, QSize(16, 16), Qt::black};
    taglayout::Result result;
    const double coldUs =
        bestMicroseconds(50, [&] { result = taglayout::layout(input, FontMeasurer()); });
    const FontMeasurer measurer;
    const double warmUs =
        bestMicroseconds(200, [&] { result = taglayout::layout(input, measurer); });
    std::printf("text: %lld characters; layout: %lld ops, height %d px\n",
                static_cast<long long>(text.size()), static_cast<long long>(result.ops.size()),
                result.height);
    std::printf("layout at width 579, first time: %.1f us\n", coldUs);
    std::printf("layout at width 579, again (widths known): %.1f us\n", warmUs);

    // The longest record of the demo catalogue with every detail field shown: building its text
    // and laying it out, the first time (no widths known yet) and again.
    Catalogue demo;
    demo.load(QStringLiteral(ORBA_DEMO_DIR "/orb32.dat"));
    qsizetype longest = 0;
    for (qsizetype i = 1; i < demo.count(); ++i) {
        if (demo.line(i).size() > demo.line(longest).size())
            longest = i;
    }
    DisplayList everything;
    for (int field = 0; field < 16; ++field)
        everything.append({field, true});
    auto showDemoRecord = [&](const TextMeasurer& m) {
        const taglayout::Input demoInput{detailText(demo.line(longest), everything),
                                         macros,
                                         {},
                                         {},
                                         579,
                                         QSize(16, 16),
                                         Qt::black};
        return taglayout::layout(demoInput, m);
    };
    const double demoColdUs = bestMicroseconds(20, [&] { showDemoRecord(FontMeasurer()); });
    const FontMeasurer demoMeasurer;
    const double demoWarmUs = bestMicroseconds(200, [&] { showDemoRecord(demoMeasurer); });
    std::printf("longest demo record (%lld bytes): detail text and layout %.1f us first time, "
                "%.1f us again\n",
                static_cast<long long>(demo.line(longest).size()), demoColdUs, demoWarmUs);

    Tview view;
    view.resize(579, 500);
    view.SetTags(macros);
    view.setBitmapFile(QStringLiteral("ordner.bmp"));
    view.SetText(text);
    QImage full(view.size(), QImage::Format_ARGB32_Premultiplied);
    const double fullUs = bestMicroseconds(50, [&] { view.render(&full); });
    std::printf("full repaint (%dx%d): %.1f us\n", view.width(), view.height(), fullUs);

    QImage window(579, 300, QImage::Format_ARGB32_Premultiplied);
    const QRegion visible(0, 600, 579, 300);
    const double partUs = bestMicroseconds(50, [&] { view.render(&window, QPoint(), visible); });
    std::printf("repaint of a 579x300 exposed strip: %.1f us\n", partUs);
    return 0;
}
