#include "lists/ReservationDateEdit.h"

#include "core/MessageBox.h"
#include "lists/ReservationDate.h"

#include <QDateEdit>
#include <QPointer>
#include <QTimer>

namespace orba {
namespace {

// Set once the user changes the field's date: a field merely opened and left changes nothing.
const char* const kChanged = "orbaDateChanged";

} // namespace

QDateEdit* reservationDateEdit(QWidget* parent) {
    auto* edit = new QDateEdit(parent);
    edit->setLocale(QLocale(QLocale::German, QLocale::Germany));
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setAccessibleName(QStringLiteral("Reservierungsdatum"));
    return edit;
}

QWidget* ReservationDateDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                               const QModelIndex&) const {
    QDateEdit* edit = reservationDateEdit(parent);
    edit->setObjectName(QStringLiteral("DateEdit1"));
    edit->setFrame(false);
    connect(edit, &QDateEdit::dateChanged, edit, [edit] { edit->setProperty(kChanged, true); });
    return edit;
}

// A text that is no date, or a date gone by, starts the field at today.
void ReservationDateDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QDate today = QDate::currentDate();
    const std::optional<QDate> stored = readReservationDate(index.data(Qt::EditRole).toString());
    static_cast<QDateEdit*>(editor)->setDate(stored && *stored >= today ? *stored : today);
    editor->setProperty(kChanged, false);
}

void ReservationDateDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                           const QModelIndex& index) const {
    if (!editor->property(kChanged).toBool())
        return;
    const QDate date = static_cast<QDateEdit*>(editor)->date();
    const QString refusal = pastReservationDateMessage(date);
    if (!refusal.isEmpty()) {
        // The message waits until the view has closed the field it is committing.
        QPointer<QWidget> view = editor->parentWidget();
        QTimer::singleShot(0, view, [view, refusal] {
            if (view)
                msg::error(view->window(), refusal);
        });
        return;
    }
    if (model->setData(index, formatReservationDate(date), Qt::EditRole))
        emit dateEdited(index.row() + 1);
}

} // namespace orba
