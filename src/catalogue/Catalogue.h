#pragma once

#include <cstdint>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

namespace orba {

// The catalogue file "orb32.dat", loaded whole: one cp1252 buffer plus the position of every
// line in it, so a million records cost no heap string each. Read-only once loaded.
class Catalogue {
public:
    // Replaces the contents with the lines of the file (CR LF, CR or LF end a line, a NUL ends
    // the text). Throws "Datei %s kann nicht geöffnet werden"; the Catalogue is then empty.
    void load(const QString& fileName);
    void clear();

    qsizetype count() const { return static_cast<qsizetype>(m_lines.size()); }
    bool contains(qsizetype index) const { return index >= 0 && index < count(); }

    // The record line as loaded; throws "Listenindex außerhalb des zulässigen Bereichs".
    QByteArrayView line(qsizetype index) const;
    QString lineText(qsizetype index) const;

    // Unchecked access for scans over the whole buffer.
    const char* data() const { return m_text.constData(); }
    qsizetype begin(qsizetype index) const { return m_lines[index].offset; }
    qsizetype end(qsizetype index) const { return m_lines[index].offset + m_lines[index].length; }

private:
    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
    };
    QByteArray m_text;
    std::vector<Span> m_lines;
};

} // namespace orba
