#include "display/TviewAccessible.h"

#include "display/Tview.h"

#include <QAccessibleWidget>

namespace orba {
namespace {

class TviewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TviewAccessible(Tview* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    using QAccessibleWidget::text;

    QString text(int startOffset, int endOffset) const override {
        return reading().text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(reading().text().size()); }
    int cursorPosition() const override { return view()->readingPosition(); }
    void setCursorPosition(int position) override { view()->setReadingPosition(position); }
    void scrollToSubstring(int startIndex, int) override { view()->setReadingPosition(startIndex); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return segment(reading().segmentAt(offset, boundary), startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return segment(reading().segmentBefore(offset, boundary), startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return segment(reading().segmentAfter(offset, boundary), startOffset, endOffset);
    }

    QRect characterRect(int offset) const override {
        const QRect place = view()->characterRect(offset);
        return place.isNull() ? place : QRect(view()->mapToGlobal(place.topLeft()), place.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return view()->offsetAt(view()->mapFromGlobal(point));
    }

    // Nothing can be selected; the text carries no attributes worth reading out.
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    Tview* view() const { return static_cast<Tview*>(widget()); }
    const ViewReading& reading() const { return view()->reading(); }

    QString segment(std::pair<qsizetype, qsizetype> range, int* startOffset, int* endOffset) const {
        *startOffset = int(range.first);
        *endOffset = int(range.second);
        return reading().text().mid(range.first, range.second - range.first);
    }
};

} // namespace

QAccessibleInterface* tviewAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("orba::Tview") && object && object->isWidgetType())
        return new TviewAccessible(static_cast<Tview*>(object));
    return nullptr;
}

} // namespace orba
