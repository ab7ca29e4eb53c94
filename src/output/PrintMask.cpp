#include "output/PrintMask.h"

#include "core/MessageBox.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "output/MaskFile.h"
#include "output/Tprint.h"

namespace orba::printmask {
namespace {

constexpr int textElementType = 1;
constexpr qsizetype maxFontNameLength = 31;
const QChar maskLineBreak(0xB0); // the degree sign

class BandLoader {
public:
    BandLoader(const MaskFile& mask, ReportBand& band, PlaceholderList* placeholders)
        : m_mask(mask), m_band(band), m_placeholders(placeholders) {}

    void load() {
        m_band.setHeight(integer(QStringLiteral("bnd_h")));
        const int count = integer(QStringLiteral("cnt"));
        for (int i = 0; i < count; ++i)
            loadElement(QString::number(i));
    }

private:
    QString key(const QString& suffix) const { return QString(m_band.prefix()) + suffix; }
    int integer(const QString& suffix) const { return m_mask.integer(key(suffix)); }
    QString text(const QString& suffix) const { return m_mask.text(key(suffix)); }

    struct Geometry {
        int type, left, top, width, height, alignment;
    };

    void loadElement(const QString& number) {
        const Geometry geometry{integer(number + "_typ"), integer(number + "_x"),
                                integer(number + "_y"),   integer(number + "_w"),
                                integer(number + "_h"),   integer(number + "_algn")};
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
        const int fontSize = integer(number + "_fs");
        const QString fontName = text(number + "_fn");
        const QString value = text(number + "_t");
        auto created = std::make_unique<ReportElement>();
        created->kind = ReportElement::Kind::Text;
        created->font = ReportFont{fontName.left(maxFontNameLength), fontSize};
        if (m_placeholders && value.startsWith(u'^'))
            m_placeholders->add(value, created.get());
        ReportElement& element = place(number, geometry, std::move(created));
        element.setText(QString(value).replace(maskLineBreak, QStringLiteral("\r\n")));
        element.colour = colourFromNumber(integer(number + "_fc"));
        element.alignment = geometry.alignment;
    }

    void loadPicture(const QString& number, const Geometry& geometry) {
        const QString file = text(number + "_bmp");
        auto created = std::make_unique<ReportElement>();
        created->kind = ReportElement::Kind::Picture;
        ReportElement& element = place(number, geometry, std::move(created));
        if (file.isEmpty())
            return;
        if (!element.picture.load(file))
            throw OrbaError::cannotOpen(file);
    }

    const MaskFile& m_mask;
    ReportBand& m_band;
    PlaceholderList* m_placeholders;
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
    BandLoader(mask, report.QRBand1, &report.placeholders).load();
    BandLoader(mask, report.QRBand2, nullptr).load();
    BandLoader(mask, report.QRBand3, &report.placeholders).load();
    return true;
}

} // namespace orba::printmask
