#pragma once

#include <QWidget>

class QToolButton;

namespace orba {

// A pair of spin buttons beside an edit field without being linked to it: the buttons step the
// position within its range and report a click; setting the position reports nothing.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent);

    void setRange(int minimum, int maximum);
    void setIncrement(int increment) { m_increment = increment; }
    // Kept within the range.
    void setPosition(int position);
    int position() const { return m_position; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void clicked();

private:
    void step(int direction);

    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_increment = 1;
    int m_position = 0;
};

} // namespace orba
