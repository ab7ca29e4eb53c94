#include "core/StorableInput.h"

#include "core/Cp1252.h"

#include <algorithm>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QToolTip>
#include <QValidator>

namespace orba {
namespace {

const QChar kBreak = QLatin1Char('\n');

struct Cleaned {
    QString text;
    int cursor = 0;
    QStringList refused; // each refused character once, in order
};

bool keptInText(char16_t c) {
    // An editor's own line and paragraph separators become CR LF on saving.
    return cp1252::canEncode(c) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The text as a file can hold it; `cursor` moves along with the characters kept. Letters that
// come decomposed (a "u" and a combining diaeresis, as PDFs and macOS deliver them) are composed
// first, since cp1252 holds most composed letters.
Cleaned clean(QStringView typed, bool oneLine, int cursor) {
    const QString composed = typed.toString().normalized(QString::NormalizationForm_C);
    if (composed.size() != typed.size())
        cursor = int(typed.first(std::clamp<qsizetype>(cursor, 0, typed.size()))
                         .toString()
                         .normalized(QString::NormalizationForm_C)
                         .size());
    const QStringView text = composed;
    Cleaned out;
    QString& kept = out.text;
    kept.reserve(text.size());
    out.cursor = -1;
    for (qsizetype i = 0; i < text.size();) {
        if (i == cursor)
            out.cursor = int(kept.size());
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView unit = text.sliced(i, pair ? 2 : 1);
        const char16_t c = text[i].unicode();
        i += unit.size();
        if (c == 0)
            continue;
        if (oneLine && (c == u'\r' || c == u'\n')) {
            // A run of breaks stands for one: CR LF and blank lines give a single blank.
            if (!kept.endsWith(kBreak))
                kept += kBreak;
        } else if (oneLine && c == u'\t') {
            kept += QLatin1Char(' ');
        } else if (pair || !(oneLine ? cp1252::canEncode(c) : keptInText(c))) {
            if (!out.refused.contains(unit))
                out.refused.append(unit.toString());
        } else {
            kept += unit;
        }
    }
    if (out.cursor < 0)
        out.cursor = int(kept.size());
    if (oneLine) {
        if (kept.startsWith(kBreak)) {
            kept.remove(0, 1);
            out.cursor = std::max(0, out.cursor - 1);
        }
        if (kept.endsWith(kBreak)) {
            kept.chop(1);
            out.cursor = std::min(out.cursor, int(kept.size()));
        }
        kept.replace(kBreak, QLatin1Char(' '));
    }
    return out;
}

void tellRefused(QWidget* field, QPoint at, const QStringList& refused) {
    QStringList quoted;
    for (const QString& c : refused)
        quoted.append(QStringLiteral("„%1“").arg(c));
    const QString note =
        refused.size() == 1
            ? QStringLiteral("Das Zeichen %1 kann nicht gespeichert werden und wurde nicht "
                             "übernommen.")
                  .arg(quoted.first())
            : QStringLiteral("Die Zeichen %1 können nicht gespeichert werden und wurden nicht "
                             "übernommen.")
                  .arg(quoted.join(QStringLiteral(", ")));
    QToolTip::showText(field->mapToGlobal(at), note, field);
}

// A validator may change the text it is shown; the line edit then takes the changed text, for
// typing, pasting and setText alike.
class LineValidator : public QValidator {
public:
    explicit LineValidator(QLineEdit* field) : QValidator(field), m_field(field) {}

    State validate(QString& input, int& pos) const override {
        const Cleaned cleaned = clean(input, true, pos);
        if (cleaned.text != input) {
            input = cleaned.text;
            pos = cleaned.cursor;
        }
        if (!cleaned.refused.isEmpty())
            tellRefused(m_field, m_field->rect().bottomLeft(), cleaned.refused);
        return Acceptable;
    }

private:
    QLineEdit* m_field;
};

} // namespace

void guardLineInput(QLineEdit* field) {
    field->setValidator(new LineValidator(field));
}

void guardTextInput(QPlainTextEdit* editor) {
    QTextDocument* document = editor->document();
    QObject::connect(document, &QTextDocument::contentsChange, editor,
                     [editor, document](int from, int, int added) {
                         // The count may take in the document's final paragraph end, which is no
                         // text.
                         const int end = std::min(from + added, document->characterCount() - 1);
                         if (end <= from)
                             return;
                         // A combining mark typed on its own joins the letter before it.
                         if (from > 0 && document->characterAt(from).isMark())
                             --from;
                         QTextCursor range(document);
                         range.setPosition(from);
                         range.setPosition(end, QTextCursor::KeepAnchor);
                         const QString inserted = range.selectedText();
                         const Cleaned cleaned = clean(inserted, false, 0);
                         if (cleaned.text == inserted)
                             return;
                         // One step with the insertion, so that undo takes back both.
                         range.joinPreviousEditBlock();
                         range.insertText(cleaned.text);
                         range.endEditBlock();
                         if (!cleaned.refused.isEmpty())
                             tellRefused(editor->viewport(), editor->cursorRect().bottomLeft(),
                                         cleaned.refused);
                     });
}

} // namespace orba
