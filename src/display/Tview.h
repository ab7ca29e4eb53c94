#pragma once

#include "display/FontMeasurer.h"
#include "display/TagLayout.h"

#include <QColor>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace orba {

// The tagged-text view: renders text with inline tags (font style, size, colour, position, line
// and paragraph ends, a bitmap) and macro tags, does its own word wrap and grows its height to
// the text so that the scroll area around it scrolls through all of it.
class Tview : public QWidget {
    Q_OBJECT
public:
    explicit Tview(QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    // Stores the text without repainting.
    void setTextProperty(const QString& text) { m_text = text; }
    // Stores the text and repaints at once.
    void SetText(const QString& text);
    // Empties the text and paints the background; the height stays.
    void Clear();

    void SetTags(const QStringList& tags);
    const QStringList& tags() const { return m_tags; }
    void setLineFeed(const QString& value) { m_lineFeed = value; }
    void setBlock(const QString& value) { m_block = value; }
    void setBitmapFile(const QString& fileName) { m_bitmapFile = fileName; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    taglayout::Result layOut(const QPixmap& bitmap) const;
    // The view grows to its text and never shrinks; its owner does not shrink it either.
    void growTo(int height);

    QString m_text;
    QStringList m_tags;
    QString m_lineFeed;
    QString m_block;
    QString m_bitmapFile;
    // The colour last set carries over to the next repaint, up to the text's first colour tag.
    QColor m_colour;
    FontMeasurer m_measurer;
};

} // namespace orba
