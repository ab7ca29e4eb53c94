#pragma once

#include <QByteArray>

class QTextDocument;

namespace orba {

// Replaces the contents of `document` with the rich text `rtf`: fonts, sizes, bold, italic,
// underline, colours, paragraphs with their alignment and indents, tabs and special characters.
// Whatever it does not know (pictures, objects, style sheets, document information) is left
// out. Damaged input shows what can be read; input that is not RTF at all comes in as plain
// cp1252 text.
void readRtf(const QByteArray& rtf, QTextDocument* document);

} // namespace orba
