#include "display/RtfReader.h"

#include "core/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextOption>
#include <QUrl>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orba {
namespace {

// Groups nested deeper than this are still balanced but share the formatting of the last kept
// level, so hostile nesting cannot exhaust memory.
constexpr std::size_t kMaxDepth = 1000;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxUnicodeSkip = 16;
constexpr qsizetype kMaxTabStops = 64;
constexpr int kLargestParameterPrefix = 99'999'999;
constexpr double kTwipsPerPixel = 15.0; // 1440 twips and 96 pixels an inch
constexpr int kWesternCodePage = 1252;
// A picture beyond these is left out: more data than any news picture needs, or a size no
// window shows.
constexpr qsizetype kMaxPictureBytes = 32 * 1024 * 1024;
constexpr double kMaxPicturePixels = 10000;

enum class Destination { Text, Skip, FontTable, ColorTable, Picture };

enum class Word {
    SkippedDestination,
    FontTable,
    ColorTable,
    Picture,
    PictureGroup,
    Paragraph,
    Line,
    Tab,
    Character,
    Unicode,
    UnicodeSkip,
    Font,
    DefaultFont,
    FontCharset,
    FontCodePage,
    AnsiCodePage,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Super,
    Sub,
    NoSuperSub,
    Caps,
    Foreground,
    Background,
    Plain,
    ParagraphDefault,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    TabStop,
    Red,
    Green,
    Blue,
    PngBlip,
    JpegBlip,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

struct WordInfo {
    Word kind;
    char16_t character = 0;
};

using WordTable = std::unordered_map<std::string_view, WordInfo>;

const WordTable& words() {
    static const WordTable table = [] {
        WordTable t;
        // Groups whose content is never shown: document information, style and list
        // definitions, objects, pictures in formats the viewer cannot draw (the metafile copy
        // beside a PNG), headers and footers, field instructions.
        for (std::string_view name : {"annotation",   "atnauthor",
                                      "atnid",        "author",
                                      "buptim",       "colorschememapping",
                                      "comment",      "company",
                                      "creatim",      "datastore",
                                      "doccomm",      "docvar",
                                      "fldinst",      "filetbl",
                                      "footer",       "footerf",
                                      "footerl",      "footerr",
                                      "footnote",     "generator",
                                      "header",       "headerf",
                                      "headerl",      "headerr",
                                      "info",         "keywords",
                                      "latentstyles", "listoverridetable",
                                      "listtable",    "mmathPr",
                                      "nonshppict",   "object",
                                      "operator",     "pgdsctbl",
                                      "pn",           "pntxta",
                                      "pntxtb",       "printim",
                                      "private",      "protusertbl",
                                      "revtbl",       "revtim",
                                      "rsidtbl",      "shp",
                                      "stylesheet",   "subject",
                                      "tc",           "template",
                                      "themedata",    "title",
                                      "userprops",    "wgrffmtfilter",
                                      "xe",           "xmlnstbl"})
            t[name] = {Word::SkippedDestination};
        for (std::string_view name :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
              "ulwave"})
            t[name] = {Word::Underline};
        for (std::string_view name : {"par", "row", "page", "sect"})
            t[name] = {Word::Paragraph};
        for (std::string_view name : {"tab", "cell"})
            t[name] = {Word::Tab};
        const std::pair<std::string_view, char16_t> characters[] = {
            {"emdash", u'\u2014'},    {"endash", u'\u2013'},  {"bullet", u'\u2022'},
            {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
            {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
            {"qmspace", u'\u2005'},   {"zwj", u'\u200D'},     {"zwnj", u'\u200C'}};
        for (const auto& [name, character] : characters)
            t[name] = {Word::Character, character};
        const std::pair<std::string_view, Word> others[] = {
            {"fonttbl", Word::FontTable},
            {"colortbl", Word::ColorTable},
            {"line", Word::Line},
            {"u", Word::Unicode},
            {"uc", Word::UnicodeSkip},
            {"f", Word::Font},
            {"deff", Word::DefaultFont},
            {"fcharset", Word::FontCharset},
            {"cpg", Word::FontCodePage},
            {"ansicpg", Word::AnsiCodePage},
            {"pict", Word::Picture},
            {"shppict", Word::PictureGroup},
            {"pngblip", Word::PngBlip},
            {"jpegblip", Word::JpegBlip},
            {"picw", Word::PictureWidth},
            {"pich", Word::PictureHeight},
            {"picwgoal", Word::PictureGoalWidth},
            {"pichgoal", Word::PictureGoalHeight},
            {"picscalex", Word::PictureScaleX},
            {"picscaley", Word::PictureScaleY},
            {"super", Word::Super},
            {"sub", Word::Sub},
            {"nosupersub", Word::NoSuperSub},
            {"caps", Word::Caps},
            {"fs", Word::FontSize},
            {"b", Word::Bold},
            {"i", Word::Italic},
            {"ulnone", Word::UnderlineNone},
            {"strike", Word::Strike},
            {"v", Word::Hidden},
            {"cf", Word::Foreground},
            {"cb", Word::Background},
            {"highlight", Word::Background},
            {"chcbpat", Word::Background},
            {"plain", Word::Plain},
            {"pard", Word::ParagraphDefault},
            {"ql", Word::AlignLeft},
            {"qr", Word::AlignRight},
            {"qc", Word::AlignCenter},
            {"qj", Word::AlignJustify},
            {"li", Word::LeftIndent},
            {"lin", Word::LeftIndent},
            {"ri", Word::RightIndent},
            {"rin", Word::RightIndent},
            {"fi", Word::FirstIndent},
            {"sb", Word::SpaceBefore},
            {"sa", Word::SpaceAfter},
            {"tx", Word::TabStop},
            {"red", Word::Red},
            {"green", Word::Green},
            {"blue", Word::Blue},
        };
        for (const auto& [name, kind] : others)
            t[name] = {kind};
        return t;
    }();
    return table;
}

const std::array<char16_t, 256>& cp1252Table() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char, 256> bytes{};
        for (int b = 0; b < 256; ++b)
            bytes[b] = static_cast<char>(b);
        const QString decoded = cp1252::decode(bytes.data(), qsizetype(bytes.size()));
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = decoded[b].unicode();
        return t;
    }();
    return table;
}

// Bullets written in the Symbol and Wingdings fonts, which the platform may not have.
char16_t symbolCharacter(unsigned char b) {
    switch (b) {
    case 0xB7:
        return u'\u2022';
    case 0xA7:
        return u'\u25AA';
    case 0xD8:
        return u'\u27A2';
    case 0xFC:
        return u'\u2713';
    default:
        return cp1252Table()[b];
    }
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool switchedOn(std::optional<int> parameter) {
    return !parameter || *parameter != 0;
}

// The Windows code page of a font's character set; 0 for ANSI and the default, which write in
// the document's own code page.
int codePageOfCharset(int charset) {
    static constexpr std::pair<int, int> codePages[] = {
        {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
        {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
        {204, 1251}, {222, 874},  {238, 1250}, {255, 437}};
    for (const auto& [set, codePage] : codePages) {
        if (set == charset)
            return codePage;
    }
    return 0;
}

QByteArray codePageName(int codePage) {
    return codePage == 10000 ? QByteArray("macintosh") : "cp" + QByteArray::number(codePage);
}

enum class Script { Normal, Super, Sub };

struct CharState {
    int font = -1; // -1: the document's default font
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    Script script = Script::Normal;
    bool caps = false;
    int foreground = -1; // colour table entries; -1: automatic
    int background = -1;
    bool operator==(const CharState&) const = default;
};

struct ParagraphState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // all in twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    QList<int> tabStops; // twips from the left margin of the page
};

struct GroupState {
    CharState chars;
    ParagraphState paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

struct FontEntry {
    QString family;
    bool symbol = false;
    int codePage = 0; // 0: the document's
};

// A picture being read: its format, its data (written as hex digits or as \bin bytes) and the
// sizes the group states.
struct Picture {
    const char* format = nullptr; // "PNG" or "JPEG"; null for one the viewer cannot draw
    QByteArray data;
    int pendingNibble = -1;
    int width = 0; // pixels
    int height = 0;
    int goalWidth = 0; // twips
    int goalHeight = 0;
    int scaleX = 100; // percent
    int scaleY = 100;
};

class Reader {
public:
    Reader(const char* begin, const char* end, QTextDocument* document)
        : m_pos(begin), m_end(end), m_cursor(document) {}

    void read() {
        m_cursor.beginEditBlock();
        while (m_pos < m_end && !m_finished) {
            switch (*m_pos) {
            case '{':
                ++m_pos;
                openGroup();
                break;
            case '}':
                ++m_pos;
                closeGroup();
                break;
            case '\\':
                ++m_pos;
                readControl();
                break;
            default:
                readText();
                break;
            }
        }
        if (!m_finished)
            finishDocument();
        m_cursor.endEditBlock();
    }

private:
    void openGroup() {
        m_fallbackToSkip = 0;
        m_starred = false;
        if (m_overflow > 0 || m_stack.size() >= kMaxDepth) {
            ++m_overflow;
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup() {
        m_fallbackToSkip = 0;
        m_starred = false;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_state.destination == Destination::FontTable)
            storeFont();
        if (m_state.destination == Destination::Picture && !m_stack.empty() &&
            m_stack.back().destination != Destination::Picture)
            insertPicture();
        if (m_stack.size() == 1) {
            // The group that opened the document closes: whatever follows is not part of it.
            finishDocument();
            m_finished = true;
        }
        m_state = m_stack.back();
        m_stack.pop_back();
    }

    // The last paragraph may end without \par; it takes the formatting in effect at the end.
    void finishDocument() {
        flushRun();
        m_cursor.setBlockFormat(blockFormat(m_state.paragraph));
    }

    void readText() {
        const char* start = m_pos;
        while (m_pos < m_end && *m_pos != '{' && *m_pos != '}' && *m_pos != '\\')
            ++m_pos;
        if (m_state.destination == Destination::Text && !m_state.chars.hidden)
            appendTextBytes(start, m_pos);
        else if (m_state.destination == Destination::Picture)
            appendPictureHex(start, m_pos);
        else
            for (const char* p = start; p < m_pos; ++p)
                byte(static_cast<unsigned char>(*p));
    }

    // The hot path: a run of plain text goes into the pending run in one pass.
    void appendTextBytes(const char* begin, const char* end) {
        syncRunFormat();
        for (const char* p = begin; p < end; ++p) {
            const auto b = static_cast<unsigned char>(*p);
            if (b == '\r' || b == '\n')
                continue;
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            if (b < 0x20 && b != '\t')
                continue;
            textByte(b);
        }
    }

    // A byte of text in the current font: a symbol, a Windows-1252 character straight away, or
    // a byte of another code page, kept until the run ends, since its characters may take two
    // bytes each.
    void textByte(unsigned char b) {
        refreshFontCache();
        if (m_cachedFontIsSymbol || m_cachedCodePage == kWesternCodePage) {
            decodePending();
            m_run.append(QChar(m_cachedFontIsSymbol ? symbolCharacter(b) : cp1252Table()[b]));
            return;
        }
        if (m_pendingCodePage != m_cachedCodePage) {
            decodePending();
            m_pendingCodePage = m_cachedCodePage;
        }
        m_pending.append(char(b));
    }

    void decodePending() {
        if (m_pending.isEmpty())
            return;
        auto found = m_decoders.find(m_pendingCodePage);
        if (found == m_decoders.end())
            found = m_decoders
                        .emplace(m_pendingCodePage,
                                 QStringDecoder(codePageName(m_pendingCodePage).constData(),
                                                QStringDecoder::Flag::Stateless))
                        .first;
        QStringDecoder& decoder = found->second;
        // A code page the platform does not know is read as the Western one.
        m_run += decoder.isValid() ? QString(decoder.decode(m_pending)) : cp1252::decode(m_pending);
        m_pending.clear();
    }

    void appendPictureHex(const char* begin, const char* end) {
        for (const char* p = begin; p < end; ++p) {
            const int nibble = hexValue(*p);
            if (nibble < 0)
                continue;
            if (m_picture.pendingNibble < 0) {
                m_picture.pendingNibble = nibble;
                continue;
            }
            const char byte = char(m_picture.pendingNibble * 16 + nibble);
            m_picture.pendingNibble = -1;
            appendPictureBytes(&byte, 1);
        }
    }

    void appendPictureBytes(const char* bytes, qsizetype count) {
        if (m_picture.data.size() + count > kMaxPictureBytes)
            m_picture.format = nullptr;
        else
            m_picture.data.append(bytes, count);
    }

    void byte(unsigned char b) {
        if (b == '\r' || b == '\n')
            return;
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        character(b);
    }

    // One character byte (plain or written as \'hh) in the current destination.
    void character(unsigned char b) {
        switch (m_state.destination) {
        case Destination::FontTable:
            if (b == ';')
                storeFont();
            else if (b >= 0x20)
                m_fontName.append(QChar(cp1252Table()[b]));
            return;
        case Destination::ColorTable:
            if (b == ';')
                storeColor();
            return;
        case Destination::Skip:
        case Destination::Picture:
            return;
        case Destination::Text:
            if ((b >= 0x20 || b == '\t') && !m_state.chars.hidden) {
                syncRunFormat();
                textByte(b);
            }
            return;
        }
    }

    void appendCharacter(char16_t c) {
        if (m_state.destination == Destination::FontTable) {
            m_fontName.append(QChar(c));
            return;
        }
        if (m_state.destination != Destination::Text || m_state.chars.hidden)
            return;
        syncRunFormat();
        decodePending();
        m_run.append(QChar(c));
    }

    void readControl() {
        if (m_pos >= m_end)
            return;
        const char first = *m_pos;
        if (!isLetter(first)) {
            ++m_pos;
            controlSymbol(first);
            return;
        }
        const char* start = m_pos;
        while (m_pos < m_end && isLetter(*m_pos))
            ++m_pos;
        const std::string_view name(start, std::size_t(m_pos - start));
        const std::optional<int> parameter = readParameter();
        if (m_pos < m_end && *m_pos == ' ')
            ++m_pos;
        controlWord(name, parameter);
    }

    std::optional<int> readParameter() {
        const char* p = m_pos;
        const bool negative = p < m_end && *p == '-';
        if (negative)
            ++p;
        if (p >= m_end || !isDigit(*p))
            return std::nullopt;
        int value = 0;
        for (; p < m_end && isDigit(*p); ++p) {
            if (value <= kLargestParameterPrefix)
                value = value * 10 + (*p - '0');
        }
        m_pos = p;
        return negative ? -value : value;
    }

    void controlSymbol(char symbol) {
        int hexByte = -1;
        if (symbol == '\'')
            hexByte = readHexByte();
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        switch (symbol) {
        case '\'':
            if (hexByte >= 0)
                character(static_cast<unsigned char>(hexByte));
            return;
        case '*':
            // The group is skipped unless the destination word that follows is one we know.
            m_starred = true;
            return;
        case '\\':
        case '{':
        case '}':
            appendCharacter(char16_t(symbol));
            return;
        case '~':
            appendCharacter(u'\u00A0');
            return;
        case '_':
            appendCharacter(u'-');
            return;
        case '\r':
        case '\n':
            if (m_state.destination == Destination::Text)
                endParagraph();
            return;
        default: // optional hyphen, index subentry and the like: nothing to show
            return;
        }
    }

    int readHexByte() {
        int value = 0;
        for (int digit = 0; digit < 2; ++digit) {
            const int nibble = m_pos < m_end ? hexValue(*m_pos) : -1;
            if (nibble < 0)
                return -1;
            value = value * 16 + nibble;
            ++m_pos;
        }
        return value;
    }

    void controlWord(std::string_view name, std::optional<int> parameter) {
        if (name == "bin") {
            // Raw bytes follow; they may contain anything, braces included.
            const qsizetype length = std::clamp<qsizetype>(parameter.value_or(0), 0, m_end - m_pos);
            if (m_state.destination == Destination::Picture && m_overflow == 0)
                appendPictureBytes(m_pos, length);
            m_pos += length;
            return;
        }
        const bool starred = std::exchange(m_starred, false);
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        if (m_state.destination == Destination::Skip)
            return;
        const auto found = words().find(name);
        if (found == words().end()) {
            if (starred)
                setDestination(Destination::Skip);
            return;
        }
        const WordInfo info = found->second;
        switch (info.kind) {
        case Word::SkippedDestination:
            setDestination(Destination::Skip);
            return;
        case Word::FontTable:
            setDestination(Destination::FontTable);
            return;
        case Word::ColorTable:
            setDestination(Destination::ColorTable);
            m_colorSet = false;
            return;
        case Word::Picture:
            setDestination(m_state.destination == Destination::Text ? Destination::Picture
                                                                    : Destination::Skip);
            m_picture = Picture{};
            return;
        case Word::PictureGroup: // holds a picture like any other group
            return;
        default:
            if (starred) {
                setDestination(Destination::Skip);
                return;
            }
            break;
        }
        switch (m_state.destination) {
        case Destination::FontTable:
            fontTableWord(info.kind, parameter);
            return;
        case Destination::ColorTable:
            colorTableWord(info.kind, parameter);
            return;
        case Destination::Text:
            textWord(info, parameter);
            return;
        case Destination::Picture:
            pictureWord(info.kind, parameter);
            return;
        case Destination::Skip:
            return;
        }
    }

    void setDestination(Destination destination) {
        if (m_overflow == 0)
            m_state.destination = destination;
    }

    void fontTableWord(Word kind, std::optional<int> parameter) {
        switch (kind) {
        case Word::Font:
            m_fontNumber = parameter.value_or(-1);
            m_fontName.clear();
            m_fontSymbol = false;
            m_fontCharsetCodePage = 0;
            m_fontCodePage = 0;
            return;
        case Word::FontCharset:
            m_fontSymbol = parameter == 2;
            m_fontCharsetCodePage = codePageOfCharset(parameter.value_or(0));
            return;
        case Word::FontCodePage:
            m_fontCodePage = std::max(parameter.value_or(0), 0);
            return;
        case Word::Unicode:
            unicodeCharacter(parameter);
            return;
        default:
            return;
        }
    }

    void colorTableWord(Word kind, std::optional<int> parameter) {
        const int value = std::clamp(parameter.value_or(0), 0, 255);
        switch (kind) {
        case Word::Red:
            m_red = value;
            break;
        case Word::Green:
            m_green = value;
            break;
        case Word::Blue:
            m_blue = value;
            break;
        default:
            return;
        }
        m_colorSet = true;
    }

    void pictureWord(Word kind, std::optional<int> parameter) {
        const int value = parameter.value_or(0);
        const int scale = std::clamp(parameter.value_or(100), 1, 10000);
        switch (kind) {
        case Word::PngBlip:
            m_picture.format = "PNG";
            break;
        case Word::JpegBlip:
            m_picture.format = "JPEG";
            break;
        case Word::PictureWidth:
            m_picture.width = value;
            break;
        case Word::PictureHeight:
            m_picture.height = value;
            break;
        case Word::PictureGoalWidth:
            m_picture.goalWidth = value;
            break;
        case Word::PictureGoalHeight:
            m_picture.goalHeight = value;
            break;
        case Word::PictureScaleX:
            m_picture.scaleX = scale;
            break;
        case Word::PictureScaleY:
            m_picture.scaleY = scale;
            break;
        default:
            break;
        }
    }

    // At the size the document states: the intended size in twips, else the size in pixels,
    // else the picture's own; each scaled as the document says. A size beyond reason gives the
    // picture's own.
    void insertPicture() {
        const Picture picture = std::exchange(m_picture, Picture{});
        QImage image;
        if (!picture.format || m_state.chars.hidden ||
            !image.loadFromData(picture.data, picture.format))
            return;
        auto side = [](int goal, int pixels, int natural, int scale) {
            const double size = goal > 0 ? goal / kTwipsPerPixel : pixels > 0 ? pixels : natural;
            return size * scale / 100.0;
        };
        double width = side(picture.goalWidth, picture.width, image.width(), picture.scaleX);
        double height = side(picture.goalHeight, picture.height, image.height(), picture.scaleY);
        if (!(width >= 1 && height >= 1 && width <= kMaxPicturePixels &&
              height <= kMaxPicturePixels)) {
            width = std::min<double>(image.width(), kMaxPicturePixels);
            height = std::min<double>(image.height(), kMaxPicturePixels);
        }
        flushRun();
        const QString name = QStringLiteral("rtf-bild-%1").arg(++m_pictureCount);
        m_cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(width);
        format.setHeight(height);
        m_cursor.insertImage(format);
    }

    void textWord(WordInfo info, std::optional<int> parameter) {
        CharState& chars = m_state.chars;
        ParagraphState& paragraph = m_state.paragraph;
        const int value = parameter.value_or(0);
        switch (info.kind) {
        case Word::Paragraph:
            endParagraph();
            break;
        case Word::Line:
            appendCharacter(QChar::LineSeparator);
            break;
        case Word::Tab:
            appendCharacter(u'\t');
            break;
        case Word::Character:
            appendCharacter(info.character);
            break;
        case Word::Unicode:
            unicodeCharacter(parameter);
            break;
        case Word::UnicodeSkip:
            m_state.unicodeSkip = std::clamp(parameter.value_or(1), 0, kMaxUnicodeSkip);
            break;
        case Word::Font:
            if (parameter)
                chars.font = value;
            break;
        case Word::DefaultFont:
            m_defaultFont = value;
            break;
        case Word::AnsiCodePage:
            m_ansiCodePage = value > 0 ? value : kWesternCodePage;
            m_cachedFont.reset();
            break;
        case Word::FontSize:
            chars.halfPoints = value > 0 && value <= kMaxHalfPoints ? value : kDefaultHalfPoints;
            break;
        case Word::Bold:
            chars.bold = switchedOn(parameter);
            break;
        case Word::Italic:
            chars.italic = switchedOn(parameter);
            break;
        case Word::Underline:
            chars.underline = switchedOn(parameter);
            break;
        case Word::UnderlineNone:
            chars.underline = false;
            break;
        case Word::Strike:
            chars.strike = switchedOn(parameter);
            break;
        case Word::Hidden:
            chars.hidden = switchedOn(parameter);
            break;
        case Word::Super:
            chars.script = switchedOn(parameter) ? Script::Super : Script::Normal;
            break;
        case Word::Sub:
            chars.script = switchedOn(parameter) ? Script::Sub : Script::Normal;
            break;
        case Word::NoSuperSub:
            chars.script = Script::Normal;
            break;
        case Word::Caps:
            chars.caps = switchedOn(parameter);
            break;
        case Word::Foreground:
            chars.foreground = parameter ? value : -1;
            break;
        case Word::Background:
            chars.background = parameter ? value : -1;
            break;
        case Word::Plain:
            chars = CharState{};
            break;
        case Word::ParagraphDefault:
            paragraph = ParagraphState{};
            break;
        case Word::AlignLeft:
            paragraph.alignment = Qt::AlignLeft;
            break;
        case Word::AlignRight:
            paragraph.alignment = Qt::AlignRight;
            break;
        case Word::AlignCenter:
            paragraph.alignment = Qt::AlignHCenter;
            break;
        case Word::AlignJustify:
            paragraph.alignment = Qt::AlignJustify;
            break;
        case Word::LeftIndent:
            paragraph.leftIndent = value;
            break;
        case Word::RightIndent:
            paragraph.rightIndent = value;
            break;
        case Word::FirstIndent:
            paragraph.firstIndent = value;
            break;
        case Word::SpaceBefore:
            paragraph.spaceBefore = value;
            break;
        case Word::SpaceAfter:
            paragraph.spaceAfter = value;
            break;
        case Word::TabStop:
            if (paragraph.tabStops.size() < kMaxTabStops)
                paragraph.tabStops.append(value);
            break;
        default:
            break;
        }
    }

    // \uN: N is a signed 16-bit number; the next \ucN characters are the fallback for readers
    // without Unicode and are skipped.
    void unicodeCharacter(std::optional<int> parameter) {
        int code = parameter.value_or(0);
        if (code < 0)
            code += 0x10000;
        if (code == '\t' || isShowable(code))
            appendCharacter(char16_t(code));
        else if (code == QChar::ParagraphSeparator)
            appendCharacter(QChar::LineSeparator);
        m_fallbackToSkip = m_state.unicodeSkip;
    }

    // Controls and the characters the text document uses as its own markers (frames, objects)
    // are not taken from the input.
    static bool isShowable(int code) {
        return code >= 0x20 && code <= 0xFFFF && code != QChar::ParagraphSeparator &&
               !(code >= 0xFDD0 && code <= 0xFDEF) && code != QChar::ObjectReplacementCharacter &&
               code < 0xFFFE;
    }

    void storeFont() {
        const QString family = m_fontName.trimmed();
        m_fontName.clear();
        if (m_fontNumber < 0 || (family.isEmpty() && !m_fontSymbol))
            return;
        static const QStringList symbolFamilies = {
            QStringLiteral("Symbol"), QStringLiteral("Wingdings"), QStringLiteral("Webdings")};
        bool symbol = m_fontSymbol;
        for (const QString& name : symbolFamilies)
            symbol = symbol || family.startsWith(name, Qt::CaseInsensitive);
        m_fonts.insert(
            m_fontNumber,
            FontEntry{family, symbol, m_fontCodePage > 0 ? m_fontCodePage : m_fontCharsetCodePage});
        m_fontSymbol = false;
        m_cachedFont.reset();
    }

    void storeColor() {
        m_colors.append(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
    }

    const FontEntry* fontOf(int font) const {
        const auto found = m_fonts.constFind(font < 0 ? m_defaultFont : font);
        return found == m_fonts.constEnd() ? nullptr : &found.value();
    }

    void refreshFontCache() {
        if (m_cachedFont == m_state.chars.font)
            return;
        m_cachedFont = m_state.chars.font;
        const FontEntry* font = fontOf(m_state.chars.font);
        m_cachedFontIsSymbol = font && font->symbol;
        m_cachedCodePage = font && font->codePage > 0 ? font->codePage : m_ansiCodePage;
    }

    QColor colorAt(int index) const {
        return index >= 0 && index < m_colors.size() ? m_colors[index] : QColor();
    }

    QTextCharFormat charFormat(const CharState& chars) const {
        QTextCharFormat format;
        const FontEntry* font = fontOf(chars.font);
        // Symbol fonts are shown as Unicode characters in the ordinary font.
        if (font && !font->symbol && !font->family.isEmpty())
            format.setFontFamilies({font->family});
        format.setFontPointSize(chars.halfPoints / 2.0);
        format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(chars.italic);
        format.setFontUnderline(chars.underline);
        format.setFontStrikeOut(chars.strike);
        if (chars.script != Script::Normal)
            format.setVerticalAlignment(chars.script == Script::Super
                                            ? QTextCharFormat::AlignSuperScript
                                            : QTextCharFormat::AlignSubScript);
        if (chars.caps)
            format.setFontCapitalization(QFont::AllUppercase);
        if (const QColor color = colorAt(chars.foreground); color.isValid())
            format.setForeground(color);
        if (const QColor color = colorAt(chars.background); color.isValid())
            format.setBackground(color);
        return format;
    }

    static QTextBlockFormat blockFormat(const ParagraphState& paragraph) {
        QTextBlockFormat format;
        format.setAlignment(paragraph.alignment);
        format.setLeftMargin(std::max(0, paragraph.leftIndent) / kTwipsPerPixel);
        format.setRightMargin(std::max(0, paragraph.rightIndent) / kTwipsPerPixel);
        format.setTextIndent(paragraph.firstIndent / kTwipsPerPixel);
        format.setTopMargin(std::max(0, paragraph.spaceBefore) / kTwipsPerPixel);
        format.setBottomMargin(std::max(0, paragraph.spaceAfter) / kTwipsPerPixel);
        format.setTabPositions(tabPositions(paragraph));
        return format;
    }

    // The document measures tabs from where the line starts, RTF from the page margin. A
    // hanging indent has a tab stop of its own where the following lines begin (a list bullet).
    static QList<QTextOption::Tab> tabPositions(const ParagraphState& paragraph) {
        const int lineStart = std::max(0, paragraph.leftIndent) + paragraph.firstIndent;
        QList<QTextOption::Tab> tabs;
        if (paragraph.firstIndent < 0)
            tabs.append(tabAt(-paragraph.firstIndent));
        for (int stop : paragraph.tabStops) {
            if (stop > lineStart)
                tabs.append(tabAt(stop - lineStart));
        }
        return tabs;
    }

    static QTextOption::Tab tabAt(int twips) {
        return QTextOption::Tab(twips / kTwipsPerPixel, QTextOption::LeftTab);
    }

    // Text is collected while its formatting stays the same and inserted as one run.
    void syncRunFormat() {
        if (m_run.isEmpty() && m_pending.isEmpty()) {
            m_runChars = m_state.chars;
        } else if (!(m_runChars == m_state.chars)) {
            flushRun();
            m_runChars = m_state.chars;
        }
    }

    void flushRun() {
        decodePending();
        if (m_run.isEmpty())
            return;
        m_cursor.insertText(m_run, charFormat(m_runChars));
        m_run.resize(0);
    }

    void endParagraph() {
        flushRun();
        m_cursor.setBlockFormat(blockFormat(m_state.paragraph));
        m_cursor.insertBlock();
    }

    const char* m_pos;
    const char* const m_end;
    QTextCursor m_cursor;
    bool m_finished = false;

    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_overflow = 0;
    int m_fallbackToSkip = 0;
    bool m_starred = false;

    QString m_run;
    CharState m_runChars;
    QByteArray m_pending; // bytes of a code page other than Windows-1252, not decoded yet
    int m_pendingCodePage = 0;
    std::unordered_map<int, QStringDecoder> m_decoders;
    int m_ansiCodePage = kWesternCodePage;

    Picture m_picture;
    int m_pictureCount = 0;

    QHash<int, FontEntry> m_fonts;
    int m_defaultFont = 0;
    int m_fontNumber = -1;
    QString m_fontName;
    bool m_fontSymbol = false;
    int m_fontCharsetCodePage = 0;
    int m_fontCodePage = 0;
    std::optional<int> m_cachedFont;
    bool m_cachedFontIsSymbol = false;
    int m_cachedCodePage = kWesternCodePage;

    QList<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;
};

void readPlainText(const QByteArray& bytes, QTextDocument* document) {
    qsizetype size = bytes.size();
    // As with every text file of the program, a NUL byte ends the text.
    if (const void* nul = std::memchr(bytes.constData(), '\0', std::size_t(size)))
        size = static_cast<const char*>(nul) - bytes.constData();
    document->setPlainText(cp1252::decode(bytes.constData(), size));
}

} // namespace

void readRtf(const QByteArray& rtf, QTextDocument* document) {
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    qsizetype start = 0;
    while (start < rtf.size() && QChar::isSpace(uchar(rtf[start])))
        ++start;
    if (QByteArrayView(rtf).sliced(start).startsWith("{\\rtf"))
        Reader(rtf.constData() + start, rtf.constData() + rtf.size(), document).read();
    else
        readPlainText(rtf, document);
    document->setUndoRedoEnabled(undo);
}

} // namespace orba
