#include "catalogue/Catalogue.h"

#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"

#include <cstring>
#include <limits>
#include <QFile>

namespace orba {
namespace {

// Line positions are 32 bits wide, which keeps a million records at 8 MB of bookkeeping.
constexpr qint64 MaxFileSize = std::numeric_limits<std::uint32_t>::max();

// CR LF and LF files have exactly one line per LF (plus a last line without end), so this
// sizes the vector in one go; files ended by lone CRs merely fall back to growing it.
std::size_t estimateLineCount(const char* data, qsizetype size) {
    std::size_t count = 1;
    const char* const end = data + size;
    for (const char* pos = data; pos < end; ++count) {
        const void* hit = std::memchr(pos, '\n', end - pos);
        if (!hit)
            break;
        pos = static_cast<const char*>(hit) + 1;
    }
    return count;
}

OrbaError tooLarge(const QString& fileName) {
    return OrbaError(
        QStringLiteral("Datei %1 ist zu groß: ein Katalog darf höchstens 4 GiB umfassen")
            .arg(fileName));
}

} // namespace

void Catalogue::load(const QString& fileName) {
    // The old contents go first: a failed load leaves the catalogue empty, and the old buffer
    // is not held alongside the new one.
    clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw OrbaError::cannotOpen(fileName);
    if (file.size() > MaxFileSize)
        throw tooLarge(fileName);
    QByteArray text = file.readAll();
    if (text.size() > MaxFileSize) // the file grew while being read
        throw tooLarge(fileName);

    std::vector<Span> lines;
    lines.reserve(estimateLineCount(text.constData(), text.size()));
    const char* const base = text.constData();
    textfile::forEachLine(base, text.size(), [&](const char* begin, qsizetype length) {
        lines.push_back(
            {static_cast<std::uint32_t>(begin - base), static_cast<std::uint32_t>(length)});
    });
    m_text = std::move(text);
    m_lines = std::move(lines);
}

void Catalogue::clear() {
    m_text = QByteArray();
    m_lines = std::vector<Span>();
}

QByteArrayView Catalogue::line(qsizetype index) const {
    if (!contains(index))
        throw OrbaError::indexOutOfRange();
    return QByteArrayView(m_text.constData() + begin(index), m_lines[index].length);
}

QString Catalogue::lineText(qsizetype index) const {
    const QByteArrayView bytes = line(index);
    return cp1252::decode(bytes.data(), bytes.size());
}

} // namespace orba
