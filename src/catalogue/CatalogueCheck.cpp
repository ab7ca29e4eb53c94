#include "catalogue/CatalogueCheck.h"

#include "catalogue/Record.h"

namespace orba {

void CatalogueCheck::add(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (!m_fault.isEmpty())
            return;
        const bool secondOfCrLf = m_afterCr && c == '\n';
        m_afterCr = c == '\r';
        if (secondOfCrLf)
            continue;
        if (c == '\r' || c == '\n') {
            endLine();
        } else if (c == '\0') {
            m_fault = QStringLiteral("Zeile %1 enthält ein Nullbyte").arg(m_lines + 1);
        } else {
            if (c == '|')
                ++m_separators;
            else if (m_separators == 0)
                m_signature = true;
            ++m_length;
        }
    }
}

void CatalogueCheck::endLine() {
    ++m_lines;
    if (m_separators + 1 != record::FieldCount)
        m_fault = QStringLiteral("Zeile %1 hat %2 Felder statt %3")
                      .arg(m_lines)
                      .arg(m_separators + 1)
                      .arg(record::FieldCount);
    else if (!m_signature)
        m_fault = QStringLiteral("Zeile %1 hat keine Signatur").arg(m_lines);
    m_length = 0;
    m_separators = 0;
    m_signature = false;
}

QString CatalogueCheck::fault() const {
    if (!m_fault.isEmpty())
        return m_fault;
    // A last line without its line end is a record all the same.
    if (m_length > 0) {
        CatalogueCheck last = *this;
        last.endLine();
        return last.m_fault;
    }
    return m_lines == 0 ? QStringLiteral("er enthält keinen einzigen Datensatz") : QString();
}

} // namespace orba
