#include "output/PrintMask.h"

#include "core/MessageBox.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "output/MaskFile.h"
#include "output/Tprint.h"

#include <algorithm>
#include <limits>
#include <QHash>
#include <QImageReader>

namespace orba::printmask {
namespace {

constexpr int textElementType = 1;

// The range each number of a mask is brought into: wide enough for any page, narrow enough that
// no sum of the layout can overflow. Tops and heights are kept in 16 bits as templates.
struct Range {
    int min;
    int max;
};
constexpr Range extentRange{0, 65535};
constexpr Range leftRange{-65535, 65535};
constexpr Range fontSizeRange{1, ReportFont::maxPointSize};
constexpr Range anyInteger{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
constexpr qsizetype maxFontNameLength = 31;
const QChar maskLineBreak(0xB0); // the degree sign

// Every picture file of a mask is decoded once; all its elements share the one image, however
// many there are.
class PictureFiles {
public:
    QImage picture(const QString& file) {
        const auto known = m_decoded.constFind(file);
        if (known != m_decoded.cend())
            return *known;
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull())
            throw failure(file, reader.error());
        m_decoded.insert(file, image);
        return image;
    }

private:
    static OrbaError failure(const QString& file, QImageReader::ImageReaderError error) {
        switch (error) {
        case QImageReader::FileNotFoundError:
        case QImageReader::DeviceError:
            return OrbaError::cannotOpen(file);
        case QImageReader::UnsupportedFormatError:
            return OrbaError(QStringLiteral("Die Datei %1 enthält kein lesbares Bild.").arg(file));
        default:
            return OrbaError(QStringLiteral("Das Bild %1 kann nicht geladen werden: Die Datei ist "
                                            "beschädigt, oder das Bild ist zu groß für den "
                                            "verfügbaren Speicher.")
                                 .arg(file));
        }
    }

    QHash<QString, QImage> m_decoded;
};

class BandLoader {
public:
    BandLoader(const MaskFile& mask, ReportBand& band, PlaceholderList* placeholders,
               PictureFiles& pictures)
        : m_mask(mask), m_band(band), m_placeholders(placeholders), m_pictures(pictures) {}

    void load() {
        m_band.setHeight(integer(QStringLiteral("bnd_h"), extentRange));
        const int count = integer(QStringLiteral("cnt"), anyInteger);
        for (int i = 0; i < count; ++i)
            loadElement(QString::number(i));
    }

private:
    QString key(const QString& suffix) const { return QString(m_band.prefix()) + suffix; }
    int integer(const QString& suffix, Range range) const {
        return std::clamp(m_mask.integer(key(suffix)), range.min, range.max);
    }
    QString text(const QString& suffix) const { return m_mask.text(key(suffix)); }

    struct Geometry {
        int type, left, top, width, height, alignment;
    };

    void loadElement(const QString& number) {
        const Geometry geometry{
            integer(number + "_typ", anyInteger), integer(number + "_x", leftRange),
            integer(number + "_y", extentRange),  integer(number + "_w", extentRange),
            integer(number + "_h", extentRange),  integer(number + "_algn", anyInteger)};
        if (geometry.type == textElementType)
            loadText(number, geometry);
        else
            loadPicture(number, geometry);
    }

    ReportElement& place(const QString& number, const Geometry& geometry,
                         std::unique_ptr<ReportElement> element) {
        element->left = geometry.left;
        element->top = geometry.top;
        element->width = geometry.width;
        element->height = geometry.height;
        element->recordTemplate();
        element->name = QStringLiteral("F") + m_band.prefix() + number;
        return m_band.add(std::move(element));
    }

    void loadText(const QString& number, const Geometry& geometry) {
        const int fontSize = integer(number + "_fs", fontSizeRange);
        const QString fontName = text(number + "_fn");
        const QString value = text(number + "_t");
        auto created = std::make_unique<ReportElement>();
        created->kind = ReportElement::Kind::Text;
        created->font = ReportFont{fontName.left(maxFontNameLength), fontSize};
        if (m_placeholders && value.startsWith(u'^'))
            m_placeholders->add(value, created.get());
        ReportElement& element = place(number, geometry, std::move(created));
        element.setText(QString(value).replace(maskLineBreak, QStringLiteral("\r\n")));
        element.colour = colourFromNumber(integer(number + "_fc", anyInteger));
        element.alignment = geometry.alignment;
    }

    void loadPicture(const QString& number, const Geometry& geometry) {
        const QString file = text(number + "_bmp");
        auto created = std::make_unique<ReportElement>();
        created->kind = ReportElement::Kind::Picture;
        ReportElement& element = place(number, geometry, std::move(created));
        if (!file.isEmpty())
            element.picture = m_pictures.picture(file);
    }

    const MaskFile& m_mask;
    ReportBand& m_band;
    PlaceholderList* m_placeholders;
    PictureFiles& m_pictures;
};

} // namespace

bool load(Tprint& report, const QString& fileName, QWidget* parent) {
    if (!textfile::exists(fileName)) {
        msg::error(parent, QStringLiteral("Druckmaskenformat '%1' nicht vorhanden.").arg(fileName));
        return false;
    }
    for (ReportBand* band : {&report.QRBand1, &report.QRBand2, &report.QRBand3})
        band->clear();
    report.placeholders.clear();
    const MaskFile mask = MaskFile::read(fileName);
    PictureFiles pictures;
    BandLoader(mask, report.QRBand1, &report.placeholders, pictures).load();
    BandLoader(mask, report.QRBand2, nullptr, pictures).load();
    BandLoader(mask, report.QRBand3, &report.placeholders, pictures).load();
    return true;
}

} // namespace orba::printmask
