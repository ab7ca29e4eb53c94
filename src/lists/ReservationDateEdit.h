#pragma once

#include <QStyledItemDelegate>

class QDateEdit;

namespace orba {

// A date field for reservation dates: German day, month and year, with a calendar to pick from.
// It holds nothing but whole dates.
QDateEdit* reservationDateEdit(QWidget* parent);

// Edits a cell of the basket's date column in place with such a field. A date before today is
// refused with the German message, and the cell keeps its text.
class ReservationDateDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    // A date was stored in the cell of this data row (counted from 1, as the grid counts).
    void dateEdited(int row) const;
};

} // namespace orba
