#pragma once

#include "display/FontMeasurer.h"
#include "display/TagLayout.h"
#include "display/ViewReading.h"

#include <optional>
#include <QColor>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace orba {

// The tagged-text view: renders text with inline tags (font style, size, colour, position, line
// and paragraph ends, a bitmap) and macro tags, does its own word wrap and grows its height to
// the text so that the scroll area around it scrolls through all of it.
//
// Screen readers read the text through the view's accessibility interface; with the focus, the
// arrow and page keys move a reading position from line to line, which the view marks and keeps
// in sight.
class Tview : public QWidget {
    Q_OBJECT
public:
    explicit Tview(QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    // Stores the text without repainting.
    void setTextProperty(const QString& text);
    // Stores the text and repaints at once.
    void SetText(const QString& text);
    // Empties the text and paints the background; the height stays.
    void Clear();

    void SetTags(const QStringList& tags);
    const QStringList& tags() const { return m_tags; }
    void setLineFeed(const QString& value) { m_lineFeed = value; }
    void setBlock(const QString& value) { m_block = value; }
    void setBitmapFile(const QString& fileName) { m_bitmapFile = fileName; }

    // The text as a screen reader reads it, laid out for the current width.
    const ViewReading& reading() const;
    int readingPosition() const { return m_readingPosition; }
    // Moves the reading position to `offset` of the reading text and brings its line into view.
    void setReadingPosition(int offset);
    // The place of a character of the reading text, and the character at a place; view terms.
    QRect characterRect(int offset) const;
    int offsetAt(QPoint point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    taglayout::Result layOut(const QPixmap& bitmap) const;
    // The view grows to its text and never shrinks; its owner does not shrink it either.
    void growTo(int height);
    // Tells screen readers that the text changed from `before`.
    void announce(const QString& before);
    void moveReadingLine(qsizetype line);

    QString m_text;
    QStringList m_tags;
    QString m_lineFeed;
    QString m_block;
    QString m_bitmapFile;
    // The colour last set carries over to the next repaint, up to the text's first colour tag.
    QColor m_colour;
    FontMeasurer m_measurer;
    // Laid out on demand for screen readers; a new text or width drops it.
    mutable std::optional<ViewReading> m_reading;
    int m_readingPosition = 0;
};

} // namespace orba
