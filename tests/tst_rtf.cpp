#include "display/RtfReader.h"
#include "TestMain.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

using orba::readRtf;

namespace {

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0"
                           "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                           "{\\f1\\fmodern\\fcharset0 Courier New;}"
                           "{\\f2\\fnil\\fcharset2 Symbol;}}"
                           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

QByteArray document(const QByteArray& body) {
    return kHeader + body + "}";
}

// Reads the RTF and gives its text, paragraphs separated by '\n', special spaces kept.
QString textOf(const QByteArray& rtf) {
    QTextDocument doc;
    readRtf(rtf, &doc);
    return doc.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

// The character format of the first occurrence of `word`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& word) {
    const QTextCursor found = doc.find(word, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return {};
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() <= found.selectionStart() &&
                fragment.position() + fragment.length() >= found.selectionEnd())
                return fragment.charFormat();
        }
    }
    return {};
}

// A picture of the given size in the given format, as a word processor embeds it.
QByteArray pictureBytes(const char* format, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The size of every picture of the document, in order; each must have its image at hand.
QList<QSizeF> pictureSizes(const QTextDocument& doc) {
    QList<QSizeF> sizes;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            const QVariant image = doc.resource(QTextDocument::ImageResource, format.name());
            sizes.append(image.value<QImage>().isNull() ? QSizeF()
                                                        : QSizeF(format.width(), format.height()));
        }
    }
    return sizes;
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private slots:
    void emphasisAndSize_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<double>("points");
        QTest::newRow("bold switched off")
            << QByteArray("\\b fett\\b0  normal") << "normal" << false << false << false << 12.0;
        QTest::newRow("underline")
            << QByteArray("\\ul unten\\ulnone  weg") << "unten" << false << false << true << 12.0;
        QTest::newRow("ulnone ends it")
            << QByteArray("\\ul unten\\ulnone  weg") << "weg" << false << false << false << 12.0;
        QTest::newRow("ul0 ends it")
            << QByteArray("\\ul unten\\ul0  weg") << "weg" << false << false << false << 12.0;
        QTest::newRow("double underline")
            << QByteArray("\\uldb doppelt") << "doppelt" << false << false << true << 12.0;
        QTest::newRow("odd half points")
            << QByteArray("\\fs17 klein") << "klein" << false << false << false << 8.5;
        QTest::newRow("group restores") << QByteArray("{\\b\\i\\fs40 innen} aussen") << "aussen"
                                        << false << false << false << 12.0;
        QTest::newRow("inside the group") << QByteArray("{\\b\\i\\fs40 innen} aussen") << "innen"
                                          << true << true << false << 20.0;
        QTest::newRow("plain resets") << QByteArray("\\b\\i\\ul\\fs40 vor\\plain  nach") << "nach"
                                      << false << false << false << 12.0;
        QTest::newRow("pard keeps characters")
            << QByteArray("\\b vor\\par\\pard nach") << "nach" << true << false << false << 12.0;
    }
    void emphasisAndSize() {
        QFETCH(QByteArray, body);
        QFETCH(QString, word);
        QTextDocument doc;
        readRtf(document(body), &doc);
        const QTextCharFormat format = formatOf(doc, word);
        QVERIFY2(format.isValid(), qPrintable(doc.toPlainText()));
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(double, points);
        QCOMPARE(format.fontWeight() >= QFont::Bold, bold);
        QCOMPARE(format.fontItalic(), italic);
        QCOMPARE(format.fontUnderline(), underline);
        QCOMPARE(format.fontPointSize(), points);
    }

    void superscriptSubscriptCapitals_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("capitals");
        const int normal = QTextCharFormat::AlignNormal;
        QTest::newRow("super") << QByteArray("mc\\super hoch\\nosupersub  x") << "hoch"
                               << int(QTextCharFormat::AlignSuperScript) << false;
        QTest::newRow("nosupersub ends it")
            << QByteArray("mc\\super hoch\\nosupersub  zurück") << "zurück" << normal << false;
        QTest::newRow("sub in a group") << QByteArray("H{\\sub tief}O") << "tief"
                                        << int(QTextCharFormat::AlignSubScript) << false;
        QTest::newRow("group ends sub")
            << QByteArray("H{\\sub tief} danach") << "danach" << normal << false;
        QTest::newRow("caps") << QByteArray("{\\caps gross}") << "gross" << normal << true;
        QTest::newRow("caps0 ends it")
            << QByteArray("\\caps a\\caps0  klein") << "klein" << normal << false;
        QTest::newRow("plain ends all")
            << QByteArray("\\super\\caps a\\plain  b") << "b" << normal << false;
    }
    void superscriptSubscriptCapitals() {
        QFETCH(QByteArray, body);
        QFETCH(QString, word);
        QFETCH(int, alignment);
        QFETCH(bool, capitals);
        QTextDocument doc;
        readRtf(document(body), &doc);
        const QTextCharFormat format = formatOf(doc, word);
        QVERIFY2(format.isValid(), qPrintable(doc.toPlainText()));
        QCOMPARE(int(format.verticalAlignment()), alignment);
        QCOMPARE(format.fontCapitalization() == QFont::AllUppercase, capitals);
    }

    void codePages_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("document code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset0 Arial;}}"
                          "\\f0 \\'a3\\'f3d\\'9f}")
            << QString::fromUtf8("Łódź");
        QTest::newRow("raw bytes in the document code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}") << QString::fromUtf8("При");
        QTest::newRow("font character set over the document code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset238 Arial;}"
                          "{\\f1\\fcharset0 Arial;}}\\f0 \\'b9{\\f1 \\'b9}}")
            << QString::fromUtf8("ą¹");
        QTest::newRow("two bytes a character")
            << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}")
            << QString::fromUtf8("あい");
        QTest::newRow("unicode between code page text")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'a3\\u321\\'a3\\'a3}")
            << QString::fromUtf8("ŁŁŁ");
        QTest::newRow("symbol font keeps its bullet")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f2\\fcharset2 Symbol;}}"
                          "{\\f2\\'b7}x}")
            << QString::fromUtf8("\u2022x");
        QTest::newRow("unknown code page reads as Western")
            << QByteArray("{\\rtf1\\ansi\\ansicpg99999 \\'e4}") << QString::fromUtf8("ä");
    }
    void codePages() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(textOf(rtf), text);
    }

    // "%png" stands for the hex digits of a 40 x 20 PNG, "%bin" for "\\bin" and the raw bytes
    // of a 40 x 20 JPEG.
    void pictures_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QList<QSizeF>>("sizes");
        QTest::addColumn<QString>("text");
        QTest::newRow("PNG at its intended size")
            << QByteArray("a{\\pict\\pngblip\\picw40\\pich20\\picwgoal1200\\pichgoal450 %png}b")
            << QList<QSizeF>{{80, 30}} << "a\uFFFCb";
        QTest::newRow("JPEG as binary, scaled")
            << QByteArray("{\\pict\\jpegblip\\picscalex50\\picscaley200%bin}")
            << QList<QSizeF>{{20, 40}} << "\uFFFC";
        QTest::newRow("size in pixels only") << QByteArray("{\\pict\\pngblip\\picw60\\pich10 %png}")
                                             << QList<QSizeF>{{60, 10}} << "\uFFFC";
        QTest::newRow("no size: the picture's own")
            << QByteArray("{\\pict\\pngblip %png}") << QList<QSizeF>{{40, 20}} << "\uFFFC";
        QTest::newRow("size beyond reason: the picture's own")
            << QByteArray("{\\pict\\pngblip\\picwgoal999999999\\pichgoal1 %png}")
            << QList<QSizeF>{{40, 20}} << "\uFFFC";
        QTest::newRow("Word's picture with its metafile copy")
            << QByteArray("{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}}}\\pngblip"
                          "{\\*\\blipuid 0123}%png}}{\\nonshppict{\\pict\\wmetafile8 0100}}x")
            << QList<QSizeF>{{40, 20}} << "\uFFFCx";
        QTest::newRow("metafile alone is left out")
            << QByteArray("{\\pict\\wmetafile8\\picw10\\pich10 01000900}x") << QList<QSizeF>{}
            << "x";
        QTest::newRow("damaged data is left out")
            << QByteArray("{\\pict\\pngblip 89504e470d0a1a0aff}x") << QList<QSizeF>{} << "x";
        QTest::newRow("hidden picture")
            << QByteArray("{\\v{\\pict\\pngblip %png}}x") << QList<QSizeF>{} << "x";
        QTest::newRow("picture cut off by the end")
            << QByteArray("a{\\pict\\pngblip 89504e47\\bin99999 ") << QList<QSizeF>{} << "a";
    }
    void pictures() {
        QFETCH(QByteArray, body);
        QFETCH(QList<QSizeF>, sizes);
        QFETCH(QString, text);
        const QByteArray jpeg = pictureBytes("JPEG", 40, 20);
        body.replace("%png", pictureBytes("PNG", 40, 20).toHex())
            .replace("%bin", "\\bin" + QByteArray::number(jpeg.size()) + " " + jpeg);
        QTextDocument doc;
        readRtf(document(body), &doc);
        QCOMPARE(pictureSizes(doc), sizes);
        QCOMPARE(doc.toRawText().replace(QChar::ParagraphSeparator, u'\n'), text);
    }

    void fontTable_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("family");
        QTest::newRow("default font") << QByteArray("Wort") << "Arial";
        QTest::newRow("second font") << QByteArray("\\f1 Wort") << "Courier New";
        QTest::newRow("back after a group") << QByteArray("{\\f1 1}Wort") << "Arial";
        QTest::newRow("unknown font number") << QByteArray("\\f7 Wort") << "";
        QTest::newRow("symbol font is not used") << QByteArray("\\f2 Wort") << "";
    }
    void fontTable() {
        QFETCH(QByteArray, body);
        QFETCH(QString, family);
        QTextDocument doc;
        readRtf(document(body), &doc);
        QVERIFY(doc.toPlainText().endsWith("Wort"));
        const QStringList families = formatOf(doc, "Wort").fontFamilies().toStringList();
        QCOMPARE(families.value(0), family);
    }

    void fontTableEntriesWithoutBraces() {
        QTextDocument doc;
        readRtf("{\\rtf1{\\fonttbl\\f0\\froman Times New Roman;\\f1\\fswiss Verdana;}\\f1 Text}",
                &doc);
        QCOMPARE(doc.toPlainText(), QString("Text"));
        QCOMPARE(formatOf(doc, "Text").fontFamilies().toStringList(), QStringList{"Verdana"});
    }

    void colours_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QColor>("foreground");
        QTest::addColumn<QColor>("background");
        QTest::newRow("red") << "rot" << QColor(255, 0, 0) << QColor();
        QTest::newRow("automatic entry") << "auto" << QColor() << QColor();
        QTest::newRow("background") << "hinterlegt" << QColor() << QColor(0, 0, 255);
        QTest::newRow("highlight") << "markiert" << QColor() << QColor(255, 0, 0);
        QTest::newRow("beyond the table") << "fremd" << QColor() << QColor();
    }
    void colours() {
        QFETCH(QString, word);
        QFETCH(QColor, foreground);
        QFETCH(QColor, background);
        QTextDocument doc;
        readRtf(document("\\cf1 rot \\cf2 blau \\cf0 auto {\\cb2 hinterlegt} "
                         "{\\highlight1 markiert} \\cf9 fremd"),
                &doc);
        const QTextCharFormat format = formatOf(doc, word);
        QVERIFY(format.isValid());
        QCOMPARE(format.hasProperty(QTextFormat::ForegroundBrush), foreground.isValid());
        if (foreground.isValid())
            QCOMPARE(format.foreground().color(), foreground);
        QCOMPARE(format.hasProperty(QTextFormat::BackgroundBrush), background.isValid());
        if (background.isValid())
            QCOMPARE(format.background().color(), background);
    }

    void alignment_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("alignment");
        QTest::newRow("centred") << QByteArray("\\qc a\\par") << 0 << int(Qt::AlignHCenter);
        QTest::newRow("right") << QByteArray("\\qr a\\par") << 0 << int(Qt::AlignRight);
        QTest::newRow("justified") << QByteArray("\\qj a\\par") << 0 << int(Qt::AlignJustify);
        QTest::newRow("left again")
            << QByteArray("\\qc a\\par\\ql b\\par") << 1 << int(Qt::AlignLeft);
        QTest::newRow("kept into the next paragraph")
            << QByteArray("\\qc a\\par b\\par") << 1 << int(Qt::AlignHCenter);
        QTest::newRow("pard resets")
            << QByteArray("\\qc a\\par\\pard b\\par") << 1 << int(Qt::AlignLeft);
        QTest::newRow("last paragraph without par")
            << QByteArray("a\\par\\qr b") << 1 << int(Qt::AlignRight);
        QTest::newRow("group ends the alignment")
            << QByteArray("{\\qc a\\par}b\\par") << 1 << int(Qt::AlignLeft);
    }
    void alignment() {
        QFETCH(QByteArray, body);
        QFETCH(int, block);
        QFETCH(int, alignment);
        QTextDocument doc;
        readRtf(document(body), &doc);
        const QTextBlock b = doc.findBlockByNumber(block);
        QVERIFY(b.isValid());
        QCOMPARE(int(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask), alignment);
    }

    void indents() {
        QTextDocument doc;
        readRtf(document("\\li720\\ri360\\fi-360\\sb120 eingerueckt\\par\\pard normal\\par"), &doc);
        const QTextBlockFormat indented = doc.findBlockByNumber(0).blockFormat();
        QCOMPARE(indented.leftMargin(), 48.0);
        QCOMPARE(indented.rightMargin(), 24.0);
        QCOMPARE(indented.textIndent(), -24.0);
        QCOMPARE(indented.topMargin(), 8.0);
        const QTextBlockFormat normal = doc.findBlockByNumber(1).blockFormat();
        QCOMPARE(normal.leftMargin(), 0.0);
        QCOMPARE(normal.textIndent(), 0.0);
    }

    // Tab positions count from where the first line starts; RTF counts from the page margin.
    void tabStops_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("block");
        QTest::addColumn<QList<qreal>>("positions");
        QTest::newRow("from the margin")
            << QByteArray("\\tx1440\\tx2880 a\\par") << 0 << QList<qreal>{96, 192};
        QTest::newRow("indented paragraph")
            << QByteArray("\\li720\\tx1440 a\\par") << 0 << QList<qreal>{48};
        QTest::newRow("stop left of the indent dropped")
            << QByteArray("\\li1440\\tx720 a\\par") << 0 << QList<qreal>{};
        QTest::newRow("hanging indent of a list")
            << QByteArray("\\li360\\fi-360 a\\par") << 0 << QList<qreal>{24};
        QTest::newRow("hanging indent and a stop")
            << QByteArray("\\li360\\fi-360\\tx1440 a\\par") << 0 << QList<qreal>{24, 96};
        QTest::newRow("kept into the next paragraph")
            << QByteArray("\\tx1440 a\\par b\\par") << 1 << QList<qreal>{96};
        QTest::newRow("pard clears them")
            << QByteArray("\\tx1440 a\\par\\pard b\\par") << 1 << QList<qreal>{};
    }
    void tabStops() {
        QFETCH(QByteArray, body);
        QFETCH(int, block);
        QFETCH(QList<qreal>, positions);
        QTextDocument doc;
        readRtf(document(body), &doc);
        QList<qreal> actual;
        for (const QTextOption::Tab& tab :
             doc.findBlockByNumber(block).blockFormat().tabPositions())
            actual.append(tab.position);
        QCOMPARE(actual, positions);
    }

    void characters_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("tab") << QByteArray("a\\tab b") << "a\tb";
        QTest::newRow("paragraphs and lines")
            << QByteArray("eins\\par zwei\\line drei\\par\r\nvier\\\r\nf\\'fcnf")
            << "eins\nzwei\u2028drei\nvier\nfünf";
        QTest::newRow("cp1252 escapes") << QByteArray("\\'e4\\'f6\\'fc\\'df\\'C4\\'80") << "äöüßÄ€";
        QTest::newRow("raw cp1252 byte") << QByteArray("Gr\xf6\xdf"
                                                       "e")
                                         << "Größe";
        QTest::newRow("unicode with fallback") << QByteArray("\\u8364?x") << "€x";
        QTest::newRow("fallback as escape") << QByteArray("\\u8364\\'80x") << "€x";
        QTest::newRow("uc0 has no fallback") << QByteArray("\\uc0\\u8364 ?") << "€?";
        QTest::newRow("uc2 skips two") << QByteArray("\\uc2\\u8364 EUx") << "€x";
        QTest::newRow("uc is kept per group") << QByteArray("{\\uc0 a}\\u8364?x") << "a€x";
        QTest::newRow("negative code") << QByteArray("\\u-4064?") << QString(QChar(0xF020));
        QTest::newRow("surrogate pair")
            << QByteArray("\\u-10179?\\u-8704?") << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("fallback ends with the group") << QByteArray("{\\uc3\\u8364}abc") << "€abc";
        QTest::newRow("document markers dropped")
            << QByteArray("\\u64976?\\u65532?a\\u8233?b\\u1?") << "a\u2028b";
        QTest::newRow("special characters") << QByteArray("a\\~b Trenn\\-ung E\\_Mail \\{a\\}\\\\")
                                            << "a\u00A0b Trennung E-Mail {a}\\";
        QTest::newRow("named characters")
            << QByteArray("\\ldblquote x\\rdblquote\\emdash\\endash\\bullet")
            << "\u201Cx\u201D\u2014\u2013\u2022";
        QTest::newRow("line ends in the source") << QByteArray("ab\r\ncd\ref") << "abcdef";
        QTest::newRow("space ends a control word") << QByteArray("\\b  zwei") << " zwei";
        QTest::newRow("minus without digits is text") << QByteArray("\\b-x") << "-x";
        QTest::newRow("space after a parameter") << QByteArray("\\fs20 7") << "7";
        QTest::newRow("symbol font bullet") << QByteArray("{\\f2\\'b7}x") << "\u2022x";
        QTest::newRow("cp1252 middle dot") << QByteArray("{\\f0\\'b7}x") << "\u00B7x";
        QTest::newRow("hidden text") << QByteArray("\\v versteckt\\v0 sichtbar") << "sichtbar";
        // Destinations the viewer has no use for are skipped, with all they hold.
        QTest::newRow("starred nested") << QByteArray("{\\*\\foo {a {b} c}}sichtbar") << "sichtbar";
        QTest::newRow("info, picture, object, header and footer")
            << QByteArray(
                   "{\\info{\\title Titel}{\\author Autor}}{\\pict\\pngblip 89504e470d0a}"
                   "{\\object\\objemb{\\*\\objdata 0105}}{\\header Kopf}{\\footer Fuss}sichtbar")
            << "sichtbar";
        QTest::newRow("list table")
            << QByteArray("{\\*\\listtable{\\list{\\listlevel{\\leveltext\\'01\\'b7;}}}}"
                          "{\\*\\listoverridetable{\\listoverride\\ls1}}sichtbar")
            << "sichtbar";
        QTest::newRow("field shows its result")
            << QByteArray("{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Verweis}}")
            << "Verweis";
        QTest::newRow("list text shown")
            << QByteArray("{\\listtext\\f2\\'b7\\tab}Punkt") << "\u2022\tPunkt";
        QTest::newRow("pntext shown, pn skipped")
            << QByteArray("{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody{\\pntxta .}}Eins")
            << "1.\tEins";
        QTest::newRow("unstarred pn skipped")
            << QByteArray("{\\pn\\pnlvlblt{\\pntxtb\\'b7}}x") << "x";
        QTest::newRow("unknown control words")
            << QByteArray("\\foo\\bar12 sichtbar\\baz") << "sichtbar";
        QTest::newRow("binary data") << QByteArray("vor\\bin5 {{\\}}nach") << "vornach";
        QTest::newRow("binary inside a skipped group")
            << QByteArray("{\\*\\blob\\bin3 }}}}sichtbar") << "sichtbar";
    }
    void characters() {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QCOMPARE(textOf(document(body)), text);
    }

    void wholeInput_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("cp1252 text") << QByteArray("Hallo\r\nWelt \xe4\x80") << "Hallo\nWelt ä€";
        QTest::newRow("braces but no rtf") << QByteArray("{\\b x}") << "{\\b x}";
        QTest::newRow("NUL ends the text") << QByteArray("vor\0nach", 8) << "vor";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("blank before rtf is still rtf") << QByteArray("\r\n {\\rtf1 \\b x}") << "x";
        QTest::newRow("text after the document ignored")
            << QByteArray("{\\rtf1 drin}draussen{\\rtf1 noch}") << "drin";
        // Damaged files show what can be read, without a crash or a hang.
        QTest::newRow("truncated in a group")
            << QByteArray("{\\rtf1 {\\b eins {\\i zwei") << "eins zwei";
        QTest::newRow("truncated after backslash") << QByteArray("{\\rtf1 Text\\") << "Text";
        QTest::newRow("truncated escape") << QByteArray("{\\rtf1 Text\\'e") << "Text";
        QTest::newRow("truncated parameter") << QByteArray("{\\rtf1 Text\\fs2") << "Text";
        QTest::newRow("truncated binary") << QByteArray("{\\rtf1 Text\\bin100 ab") << "Text";
        QTest::newRow("truncated colour table") << QByteArray("{\\rtf1{\\colortbl;\\red255") << "";
        QTest::newRow("negative binary length") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab";
        QTest::newRow("extra closing brace") << QByteArray("{\\rtf1 eins}} zwei") << "eins";
        QTest::newRow("huge parameters")
            << QByteArray("{\\rtf1 \\fs99999999999999 a\\cf99999 b\\f-5 c\\li-99999999999 d}")
            << "abcd";
        QTest::newRow("colour index into nothing") << QByteArray("{\\rtf1 \\cf3\\cb-1 a}") << "a";
        QTest::newRow("control bytes") << QByteArray("{\\rtf1 a\x01\x02\x1f"
                                                     "b}")
                                       << "ab";
        QTest::newRow("deep nesting") << "{\\rtf1 " + QByteArray(100000, '{') + "\\b tief" +
                                             QByteArray(100000, '}') + " danach}"
                                      << "tief danach";
        QTest::newRow("very long control word")
            << QByteArray("{\\rtf1 \\" + QByteArray(100000, 'x') + " a}") << "a";
    }
    void wholeInput() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(textOf(bytes), text);
    }

    void replacesEarlierContents() {
        QTextDocument doc;
        doc.setPlainText("alt");
        readRtf("{\\rtf1 neu}", &doc);
        QCOMPARE(doc.toPlainText(), QString("neu"));
    }

    void binaryJunk() {
        QRandomGenerator random(4711);
        QByteArray junk(200000, Qt::Uninitialized);
        for (char& c : junk)
            c = char(random.bounded(256));
        QTextDocument doc;
        readRtf("{\\rtf1 Anfang\\par " + junk, &doc);
        QVERIFY(doc.toPlainText().startsWith("Anfang\n"));
    }

    void skippedGroupBeyondTheDepthLimit() {
        const int depth = 2000;
        const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "{\\*\\foo x}" +
                               QByteArray(depth, '}') + "danach}";
        QVERIFY(textOf(rtf).endsWith("danach"));
    }

    void largeDocument() {
        QByteArray rtf = kHeader;
        const QByteArray paragraph = "{\\b\\cf1 Titel} mit \\'e4 und \\i kursiv\\i0 , "
                                     "\\u8364? und {\\ul Strich}\\tab Ende\\par\r\n";
        int paragraphs = 0;
        while (rtf.size() < 10 * 1024 * 1024) {
            rtf += paragraph;
            ++paragraphs;
        }
        rtf += "Schluss}";
        QTextDocument doc;
        readRtf(rtf, &doc);
        QCOMPARE(doc.blockCount(), paragraphs + 1);
        QCOMPARE(doc.findBlockByNumber(paragraphs / 2).text(),
                 QString("Titel mit ä und kursiv, € und Strich\tEnde"));
        QCOMPARE(doc.lastBlock().text(), QString("Schluss"));
        QVERIFY(formatOf(doc, "Titel").fontWeight() >= QFont::Bold);
    }
};

ORBA_TEST_MAIN(TestRtf)
#include "tst_rtf.moc"
