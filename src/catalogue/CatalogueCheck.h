#pragma once

#include <QByteArrayView>
#include <QString>

namespace orba {

// Whether bytes read as a catalogue: at least one record, and every line a record of the 17
// fields with a signature, without NUL bytes, whatever its line ends. The bytes may come in
// pieces, as a download brings them.
class CatalogueCheck {
public:
    void add(QByteArrayView bytes);
    // Empty when everything added reads as a catalogue; else why not, in German
    // ("Zeile 3 hat 2 Felder statt 17").
    QString fault() const;

private:
    void endLine();

    qsizetype m_lines = 0;
    qsizetype m_length = 0;
    int m_separators = 0;
    bool m_signature = false;
    bool m_afterCr = false;
    QString m_fault;
};

} // namespace orba
