#pragma once

class QLineEdit;
class QPlainTextEdit;

namespace orba {

// What the user types or pastes ends up in cp1252 text files that a NUL cuts short and whose
// records are lines. These guards keep a field to what such a file holds, whether the text is
// typed, pasted, dropped or set: decomposed letters are composed (Unicode NFC), a NUL is left
// out, and a character without a cp1252 form is refused with a note beside the field naming it,
// so that nothing is changed on saving.

// A one-line field: besides, line breaks and TABs become blanks (at either end they go), so
// that the field never splits a record.
void guardLineInput(QLineEdit* field);
// A multi-line editor, whose line breaks are its lines.
void guardTextInput(QPlainTextEdit* editor);

} // namespace orba
