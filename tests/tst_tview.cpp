#include "display/FontMeasurer.h"
#include "display/TagLayout.h"
#include "display/Tview.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <algorithm>
#include <QImage>

using namespace orba;

namespace {

// Every character 7 pixels wide (8 in bold); a line is twice its point size high.
class FixedMeasurer : public TextMeasurer {
public:
    int width(const QString& text, const FontSpec& font) const override {
        return int(text.size()) * (font.bold ? 8 : 7);
    }
    int height(const QString&, const FontSpec& font) const override { return font.pointSize * 2; }
};

const QStringList mainWindowMacros = {
    QStringLiteral("<h1>=<b><img><x=5><c=255,0,0><fs=10>"),
    QStringLiteral("<h2>=<b><x=5><c=0,0,255><fs=12>"),
    QStringLiteral("<n>=<fs=10><c=0,0,0>"),
    QStringLiteral("<blue>=<c=0,0,255>"),
};

const QString headingExample = QStringLiteral("<h1>Titel<br> <n>eins zwei<p> ");

taglayout::Input input(const QString& text, int width = 579) {
    taglayout::Input in;
    in.text = text;
    in.tags = mainWindowMacros;
    in.width = width;
    in.bitmapSize = QSize(16, 16);
    in.colour = Qt::black;
    return in;
}

taglayout::Result lay(const taglayout::Input& in) {
    return taglayout::layout(in, FixedMeasurer());
}

QList<DrawOp> textOps(const taglayout::Result& result) {
    QList<DrawOp> ops;
    for (const DrawOp& op : result.ops)
        if (op.kind == DrawOp::Kind::Text)
            ops.append(op);
    return ops;
}

QStringList lineTexts(const taglayout::Result& result) {
    QStringList lines;
    for (const DrawOp& op : textOps(result))
        lines.append(op.text);
    return lines;
}

int bitmapCount(const taglayout::Result& result) {
    return int(std::count_if(result.ops.begin(), result.ops.end(),
                             [](const DrawOp& op) { return op.kind == DrawOp::Kind::Bitmap; }));
}

FontSpec font(int pointSize, bool bold = false) {
    FontSpec fontSpec;
    fontSpec.pointSize = pointSize;
    fontSpec.bold = bold;
    return fontSpec;
}

QString longDetailText() {
    QString text;
    for (int i = 0; i < 40; ++i)
        text +=
            QStringLiteral("<h1>Beschreibung<br> <n>") +
            QStringLiteral("Ein Film über die Tiere des Waldes und ihre Nachbarn. ").repeated(4) +
            QStringLiteral("<p> ");
    return text;
}

template <typename Pred> int countPixels(const QImage& image, const QRect& area, Pred pred) {
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (pred(QColor::fromRgba(image.pixel(x, y))))
                ++count;
    return count;
}

// Unpainted pixels stay transparent and match none of these.
bool isRed(const QColor& c) {
    return c.alpha() == 255 && c.red() > 180 && c.green() < 80 && c.blue() < 80;
}
bool isGreen(const QColor& c) {
    return c.alpha() == 255 && c.green() > 100 && c.red() < 80 && c.blue() < 80;
}
bool isDark(const QColor& c) {
    return c.alpha() == 255 && c.red() < 80 && c.green() < 80 && c.blue() < 80;
}
bool isWhite(const QColor& c) {
    return c == QColor(Qt::white);
}

QImage rendered(Tview& view) {
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    view.render(&image);
    return image;
}

} // namespace

class TestTview : public QObject {
    Q_OBJECT

private slots:
    // A huge record with a huge font would put lines beyond any int; the layout stops at the
    // view's maximum height instead.
    void hugeTextStopsAtTheMaximumHeight() {
        taglayout::Input in = input(QStringLiteral("<fs=1000000>Zeile<p> ").repeated(2000));
        in.maxHeight = 100'000'000;
        const taglayout::Result result = lay(in);
        QCOMPARE(result.height, in.maxHeight);
        QVERIFY(!result.ops.isEmpty());
        for (const DrawOp& op : result.ops)
            QVERIFY(op.y >= 0 && op.y < in.maxHeight);
    }

    void expandsMacros_data() {
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QStringList& tags, const char* text,
                            const char* expected) {
            QTest::newRow(name) << tags << QString(text) << QString(expected);
        };
        row("every occurrence", {"<n>=<fs=10>"}, "a<n>b <n>", "a<fs=10>b <fs=10>");
        row("later macro expands earlier output", {"<h>=<x><y>", "<x>=X"}, "<h>", "X<y>");
        row("earlier macro misses later output", {"<x>=X", "<h>=<x>"}, "<h>", "<x>");
        row("value containing its own name", {"<a>=[<a>]"}, "<a>-<a>", "[<a>]-[<a>]");
        row("line without equals sign", {"abc"}, "abc", "abc");
        row("empty name", {"=x"}, "abc", "abc");
        row("value with equals sign", {"<k>=a=b"}, "<k>", "a=b");
        row("case-sensitive", {"<n>=X"}, "<N>", "<N>");
        row("main window heading", mainWindowMacros, "<h1>T<br> <n>",
            "<b><img><x=5><c=255,0,0><fs=10>T<br> <fs=10><c=0,0,0>");
    }

    void expandsMacros() {
        QFETCH(QStringList, tags);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(taglayout::expandMacros(text, tags), expected);
    }

    void laysOutHeadingExample() {
        const taglayout::Result result = lay(input(headingExample));
        QCOMPARE(result.ops.size(), 3);

        const DrawOp& bitmap = result.ops[0];
        QCOMPARE(bitmap.kind, DrawOp::Kind::Bitmap);
        QCOMPARE(QPoint(bitmap.x, bitmap.y), QPoint(5, 0));

        const DrawOp& title = result.ops[1];
        QCOMPARE(title.kind, DrawOp::Kind::Text);
        QCOMPARE(title.text, QStringLiteral("Titel "));
        QCOMPARE(QPoint(title.x, title.y), QPoint(5 + 16, 0));
        QCOMPARE(title.font, font(10, true));
        QCOMPARE(title.colour, QColor(255, 0, 0));

        const DrawOp& value = result.ops[2];
        QCOMPARE(value.text, QStringLiteral("eins zwei "));
        QCOMPARE(QPoint(value.x, value.y), QPoint(5 + 16, 20));
        QCOMPARE(value.font, font(10));
        QCOMPARE(value.colour, QColor(0, 0, 0));

        // Two lines of 20 pixels and the blank line of the paragraph.
        QCOMPARE(result.height, 60);
    }

    void addsLineFeedAndBlock_data() {
        QTest::addColumn<QString>("lineFeed");
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("nextY");
        const auto row = [](const char* name, const char* lineFeed, const char* block, int nextY) {
            QTest::newRow(name) << QString(lineFeed) << QString(block) << nextY;
        };
        row("none", "", "", 60);
        row("negative block", "", "-10", 50);
        row("positive block", "", "7", 67);
        row("line feed and block", "3", "-10", 56);
    }

    void addsLineFeedAndBlock() {
        QFETCH(QString, lineFeed);
        QFETCH(QString, block);
        QFETCH(int, nextY);
        taglayout::Input in = input(headingExample + "<h2>Weiter<br> ");
        in.lineFeed = lineFeed;
        in.block = block;
        const QList<DrawOp> ops = textOps(lay(in));
        QCOMPARE(ops.size(), 3);
        QCOMPARE(ops[2].text, QStringLiteral("Weiter "));
        QCOMPARE(ops[2].x, 5);
        QCOMPARE(ops[2].y, nextY);
    }

    void wrapsWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("lines");
        const QString fiveWords = QStringLiteral("aaaa aaaa aaaa aaaa aaaa");
        // With x = 2 and 35 pixels a word, the third word reaches 2 + 105 + 110 = 217.
        QTest::newRow("word reaching the limit closes its line")
            << fiveWords << 217 << QStringList{"aaaa aaaa aaaa ", "aaaa aaaa"};
        QTest::newRow("word one pixel short stays open")
            << fiveWords << 218 << QStringList{"aaaa aaaa aaaa aaaa ", "aaaa"};
        QTest::newRow("narrow control puts every word alone")
            << fiveWords << 100 << QStringList{"aaaa ", "aaaa ", "aaaa ", "aaaa ", "aaaa"};
        QTest::newRow("last word closes the last line")
            << fiveWords << 10000 << QStringList{fiveWords};
        const QString wide = QString(40, u'w');
        QTest::newRow("wide word alone on an empty line")
            << wide + " cd" << 300 << QStringList{wide + " ", "cd"};
        QTest::newRow("wide word joins the current line")
            << "ab " + wide + " cd" << 300 << QStringList{"ab " + wide + " ", "cd"};
        QTest::newRow("tag between two letters")
            << "ab<br>cd ef" << 579 << QStringList{"abcd ", "ef"};
        QTest::newRow("paragraph between two letters")
            << "ab<p>cd ef" << 579 << QStringList{"abcd ", "ef"};
        QTest::newRow("text without blanks") << "eins,zwei,drei,vier,fuenf,sechs" << 50
                                             << QStringList{"eins,zwei,drei,vier,fuenf,sechs"};
        QTest::newRow("only the first line break of a word counts")
            << "a<br>b<br>c d" << 579 << QStringList{"ab<br>c ", "d"};
    }

    void wrapsWords() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QStringList, lines);
        QCOMPARE(lineTexts(lay(input(text, width))), lines);
    }

    void interpretsStyleTags_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        const auto row = [](const char* name, const char* text, const char* shown, bool bold,
                            bool italic, bool underline) {
            QTest::newRow(name) << QString(text) << QString(shown) << bold << italic << underline;
        };
        row("bold twice", "a<b>b<b>c", "ab<b>c", true, false, false);
        row("upper case is text", "<B>a", "<B>a", false, false, false);
        row("underline after the text", "a<u>", "a", false, false, true);
        row("all three", "<u><b><i>a", "a", true, true, true);
        row("removing italic forms bold", "<<i>b>a", "a", true, true, false);
        row("removing bold forms italic too late", "<<b>i>a", "<i>a", true, false, false);
    }

    void interpretsStyleTags() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        const QList<DrawOp> ops = textOps(lay(input(text)));
        QCOMPARE(ops.size(), 1);
        QCOMPARE(ops[0].text, shown);
        QCOMPARE(ops[0].font.bold, bold);
        QCOMPARE(ops[0].font.italic, italic);
        QCOMPARE(ops[0].font.underline, underline);
    }

    void resetsStylesAtLineEndOnly() {
        // The bold of the second word applies to the whole first line.
        taglayout::Input in = input("<fs=12><i><u>ab <b>cd<br> <x=30>ef gh", 2 + 110 + 48);
        const taglayout::Result result = lay(in);
        const QList<DrawOp> ops = textOps(result);
        QCOMPARE(ops.size(), 3);
        FontSpec first = font(12, true);
        first.italic = first.underline = true;
        QCOMPARE(ops[0].font, first);
        QCOMPARE(ops[0].text, QStringLiteral("ab cd "));
        // Size and position persist, styles do not: "ef " in 7 px chars reaches 30 + 21 + 110 >=
        // 160.
        QCOMPARE(ops[1].font, font(12));
        QCOMPARE(ops[1].text, QStringLiteral("ef "));
        QCOMPARE(QPoint(ops[2].x, ops[2].y), QPoint(30, 48));
        QCOMPARE(result.height, 72);
    }

    void skipsMissingBitmap() {
        taglayout::Input in = input("<img><x=5>abc<br> def");
        in.bitmapSize.reset();
        const taglayout::Result result = lay(in);
        QCOMPARE(bitmapCount(result), 0);
        const QList<DrawOp> ops = textOps(result);
        QCOMPARE(ops.size(), 2);
        QCOMPARE(ops[0].x, 5);
        QCOMPARE(ops[1].x, 5);

        in.bitmapSize = QSize(16, 16);
        const taglayout::Result withBitmap = lay(in);
        QCOMPARE(bitmapCount(withBitmap), 1);
        QCOMPARE(textOps(withBitmap)[1].x, 21);
    }

    void countsMissingDigitsAsZero_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<QColor>("colour");
        const auto row = [](const char* name, const char* text, const char* shown, int x,
                            int pointSize, const QColor& colour) {
            QTest::newRow(name) << QString(text) << QString(shown) << x << pointSize << colour;
        };
        const QColor initial(Qt::blue);
        row("position without digits", "<x=>a", "a", 0, 10, initial);
        row("size without digits", "<fs=>a", "a", 2, 0, initial);
        row("colour without digits eats two letters", "<c=>abc", "c", 2, 10, QColor(0, 0, 0));
        row("colour with red only eats two letters", "<c=7>xyzab", "zab", 2, 10, QColor(7, 0, 0));
        row("colour parts keep their low 8 bits", "<c=300,2,513>t", "t", 2, 10, QColor(44, 2, 1));
        row("unclosed position at the word end", "a<x=12", "a", 12, 10, initial);
        row("huge position", "<x=99999999999999999999>a", "a", 1000000, 10, initial);
    }

    void countsMissingDigitsAsZero() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, x);
        QFETCH(int, pointSize);
        QFETCH(QColor, colour);
        taglayout::Input in = input(text);
        in.colour = Qt::blue;
        const taglayout::Result result = lay(in);
        const QList<DrawOp> ops = textOps(result);
        QCOMPARE(ops.size(), 1);
        QCOMPARE(ops[0].text, shown);
        QCOMPARE(ops[0].x, x);
        QCOMPARE(ops[0].font.pointSize, pointSize);
        QCOMPARE(ops[0].colour, colour);
        QCOMPARE(result.colour, colour);
    }

    void emptyTextDrawsNothing() {
        taglayout::Input in = input(QString());
        in.colour = Qt::red;
        const taglayout::Result result = lay(in);
        QVERIFY(result.ops.isEmpty());
        QCOMPARE(result.height, 0);
        QCOMPARE(result.colour, QColor(Qt::red));
    }

    void viewGrowsAndNeverShrinks() {
        test::WorkingDir dir;
        Tview view;
        view.resize(579, 500);
        view.SetTags(mainWindowMacros);
        view.setBitmapFile(QStringLiteral("ordner.bmp"));

        taglayout::Input in = input(longDetailText());
        in.bitmapSize.reset();
        const int needed = taglayout::layout(in, FontMeasurer()).height;
        QVERIFY(needed > 500);

        view.SetText(longDetailText());
        QCOMPARE(view.height(), needed);
        QCOMPARE(view.width(), 579);

        view.SetText(QStringLiteral("<h1>Kurz<br> <n>Text<p> "));
        QCOMPARE(view.height(), needed);
        rendered(view);
        QCOMPARE(view.height(), needed);

        view.Clear();
        QVERIFY(view.text().isEmpty());
        QCOMPARE(view.height(), needed);
    }

    void viewPaintsBitmapAndText() {
        test::WorkingDir dir;
        QImage green(16, 16, QImage::Format_RGB32);
        green.fill(QColor(0, 160, 0));
        QVERIFY(green.save(dir.file(QStringLiteral("ordner.bmp"))));

        Tview view;
        view.resize(579, 100);
        view.SetTags(mainWindowMacros);
        view.setBitmapFile(QStringLiteral("ordner.bmp"));
        view.SetText(headingExample);

        const int lineHeight = FontMeasurer().height(QString(), font(10, true));
        const QImage image = rendered(view);
        QCOMPARE(QColor(image.pixel(5 + 8, 8)), QColor(0, 160, 0));
        QVERIFY(isWhite(QColor::fromRgba(image.pixel(3, 8))));
        QVERIFY(isWhite(QColor::fromRgba(image.pixel(570, 95))));
        const QRect firstLine(21, 0, 200, lineHeight);
        const QRect secondLine(21, lineHeight, 200, lineHeight);
        QVERIFY(countPixels(image, firstLine, isRed) > 10);
        QCOMPARE(countPixels(image, firstLine, isDark), 0);
        QVERIFY(countPixels(image, secondLine, isDark) > 10);
        QCOMPARE(countPixels(image, secondLine, isRed), 0);
        // Nothing left of the aligned text on the second line.
        QCOMPARE(countPixels(image, QRect(0, lineHeight, 21, lineHeight), isDark), 0);

        // A repaint of the lower half of the second line still draws that line.
        const QRect lowerHalf(21, lineHeight + lineHeight / 2, 200, lineHeight / 2);
        QImage part(view.size(), QImage::Format_ARGB32);
        part.fill(Qt::transparent);
        view.render(&part, lowerHalf.topLeft(), QRegion(lowerHalf));
        QVERIFY(countPixels(part, lowerHalf, isDark) > 10);

        // The colour last set carries over to text without a colour tag.
        view.SetText(QStringLiteral("<c=0,160,0>gruen "));
        rendered(view);
        view.SetText(QStringLiteral("weiter"));
        const QImage carried = rendered(view);
        QVERIFY(countPixels(carried, QRect(0, 0, 100, lineHeight), isGreen) > 10);

        view.Clear();
        const QImage cleared = rendered(view);
        QCOMPARE(countPixels(cleared, cleared.rect(), isWhite), cleared.width() * cleared.height());
    }
};

ORBA_TEST_MAIN(TestTview)
#include "tst_tview.moc"
