#pragma once

#include <QByteArray>

class QTextDocument;

namespace orba {

// Replaces the contents of `document` with the rich text `rtf`: fonts, sizes, bold, italic,
// underline, capitals, superscript and subscript, colours, paragraphs with their alignment and
// indents, tabs, special characters, and PNG and JPEG pictures at their stated size. Text is
// decoded in the code page of its font's character set, else in the document's. Whatever it does
// not know (other pictures, objects, style sheets, document information) is left out. Damaged
// input shows what can be read; input that is not RTF at all comes in as plain cp1252 text.
void readRtf(const QByteArray& rtf, QTextDocument* document);

} // namespace orba
