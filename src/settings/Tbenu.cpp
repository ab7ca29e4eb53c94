#include "settings/Tbenu.h"

#include "core/Cp1252.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/ListMerge.h"
#include "core/MessageBox.h"
#include "settings/Tbenu_neu.h"
#include "settings/UserFile.h"

#include <algorithm>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <utility>

namespace orba {
namespace {

// Where the school text starts, as the TAB of an entry is shown.
constexpr int kSchoolColumn = 250;
constexpr int kTextMargin = 2;

// Shows an entry's TAB as a column break: the school text starts at the second column.
class UserLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString line = item.text;
        item.text.clear();
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        const QPalette::ColorGroup group =
            !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (item.state & QStyle::State_Active) ? QPalette::Active
                                                  : QPalette::Inactive;
        const QPalette::ColorRole role =
            (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setPen(item.palette.color(group, role));
        painter->setFont(item.font);
        const QRect text = item.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, line);
        } else {
            QRect nameRect = text;
            nameRect.setRight(item.rect.left() + kSchoolColumn - kTextMargin);
            QRect schoolRect = text;
            schoolRect.setLeft(item.rect.left() + kSchoolColumn);
            const QFontMetrics metrics(item.font);
            painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                              metrics.elidedText(line.left(tab), Qt::ElideRight, nameRect.width()));
            painter->drawText(schoolRect, Qt::AlignLeft | Qt::AlignVCenter, line.mid(tab + 1));
        }
        painter->restore();
    }
};

// Names compare upper-cased as everywhere in the program: by Windows-1252, which keeps "ß", so
// that "Strauß" and "Strauss" are two people.
QByteArray nameKey(const QString& name) {
    return cp1252::upper(cp1252::encode(name));
}

QPushButton* sideButton(QWidget* parent, const char* name, const QString& text, int y) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(458, y, 96, 26);
    return button;
}

} // namespace

Tbenu::Tbenu(QWidget* parent, QString userFilePath)
    : QDialog(parent), m_userFile(std::move(userFilePath)) {
    setUpDialog(this, "Tbenu", QStringLiteral("Benutzerliste"), 562, 245);

    Image1 = addDialogPicture(this, QStringLiteral("ordner.bmp"));

    Label1 = new QLabel(QStringLiteral("Dieser Dialog wird vor dem Drucken einer Bestellung zur "
                                       "Auswahl des Namens angezeigt, damit Sie \n"
                                       "Ihren Namen nicht bei jeder Bestellung neu eingeben "
                                       "müssen."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(48, 8, 506, 34);
    // Its first line fits the dialog's width at 8 points.
    QFont small = Label1->font();
    small.setPointSize(8);
    Label1->setFont(small);

    Header1 = new QLabel(QStringLiteral("Name"), this);
    Header1->setObjectName(QStringLiteral("Header1"));
    Header1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Header1->setIndent(kTextMargin);
    Header1->setGeometry(8, 50, kSchoolColumn, 18);
    Header2 = new QLabel(QStringLiteral("Schule"), this);
    Header2->setObjectName(QStringLiteral("Header2"));
    Header2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Header2->setIndent(kTextMargin);
    Header2->setGeometry(8 + kSchoolColumn, 50, 440 - kSchoolColumn, 18);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 68, 440, 169);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setItemDelegate(new UserLineDelegate(ListBox1));
    ListBox1->setAccessibleName(QStringLiteral("Benutzer"));

    BitBtn4 = sideButton(this, "BitBtn4", QStringLiteral("&Bearbeiten"), 50);
    BitBtn3 = sideButton(this, "BitBtn3", QStringLiteral("&Neu"), 82);
    BitBtn6 = sideButton(this, "BitBtn6", QStringLiteral("&Löschen"), 114);
    BitBtn5 = sideButton(this, "BitBtn5", QStringLiteral("&OK"), 146);
    BitBtn5->setDefault(true);
    BitBtn1 = sideButton(this, "BitBtn1", QStringLiteral("&Hilfe"), 211);

    on(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    on(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    on(BitBtn6, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
    on(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });

    FormCreate();
}

void Tbenu::setSelection(const QString& name, const QString& school) {
    m_selectedName = name;
    m_selectedSchool = school;
}

QStringList Tbenu::entries() const {
    QStringList lines;
    for (int row = 0; row < ListBox1->count(); ++row)
        lines.append(ListBox1->item(row)->text());
    return lines;
}

void Tbenu::FormCreate() {
    // An unreadable file is reported and leaves the list empty; the program starts all the same.
    guarded([this] { ListBox1->addItems(sortUserLines(m_userFile.readLines())); });
    if (ListBox1->count() > 0)
        selectRow(0);
    updateButtons();
    setSelection(QStringLiteral(" "), QStringLiteral(" "));
}

void Tbenu::BitBtn3Click() {
    m_editor->setEntry({});
    m_editor->setWindowTitle(QStringLiteral("Neuen Benutzer eingeben"));
    if (m_editor->exec() != QDialog::Accepted)
        return;
    const UserEntry entry = m_editor->entry();
    const QByteArray wanted = nameKey(entry.name);
    for (const QString& line : entries()) {
        if (nameKey(splitUserLine(line).name) == wanted) {
            msg::error(
                this,
                QStringLiteral("Der Name '%1' ist schon in der Liste enthalten").arg(entry.name));
            return;
        }
    }
    selectRow(insertSorted(joinUserLine(entry)));
    // The buttons follow the list before the file is written: a failed write keeps the entry.
    updateButtons();
    saveUserFile();
}

void Tbenu::BitBtn4Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    // A hand-made line without TAB comes in whole as the name with an empty school and goes
    // back with a TAB, so that from then on OK can take it.
    m_editor->setEntry(splitUserLine(ListBox1->item(row)->text()));
    m_editor->setWindowTitle(QStringLiteral("Benutzer bearbeiten"));
    if (m_editor->exec() != QDialog::Accepted)
        return;
    // The entry keeps its place until the next start sorts the file anew.
    ListBox1->item(row)->setText(joinUserLine(m_editor->entry()));
    selectRow(row);
    saveUserFile();
}

void Tbenu::BitBtn6Click() {
    const int row = selectedRow();
    if (row < 0 || !msg::askWarning(this, QStringLiteral("Eintrag löschen ?")))
        return;
    delete ListBox1->takeItem(row);
    if (ListBox1->count() > 0)
        selectRow(std::min(row, ListBox1->count() - 1));
    updateButtons();
    saveUserFile();
}

void Tbenu::BitBtn5Click() {
    const int row = selectedRow();
    if (row >= 0) {
        const QString line = ListBox1->item(row)->text();
        if (line.contains(QLatin1Char('\t'))) {
            const UserEntry entry = splitUserLine(line);
            setSelection(entry.name, entry.school);
        }
    }
    accept();
}

int Tbenu::insertSorted(const QString& line) {
    const auto row = static_cast<int>(sortedPosition(entries(), line));
    ListBox1->insertItem(row, line);
    return row;
}

int Tbenu::selectedRow() const {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void Tbenu::selectRow(int row) {
    ListBox1->setCurrentRow(row);
}

void Tbenu::updateButtons() {
    const bool hasEntries = ListBox1->count() > 0;
    BitBtn6->setEnabled(hasEntries);
    BitBtn4->setEnabled(hasEntries);
}

// Another copy of the program may have changed the file meanwhile: what it added, removed or
// changed stays, and the list shows the merge.
void Tbenu::saveUserFile() {
    const QStringList lines = entries();
    const QStringList saved =
        m_userFile.writeLines(lines, [](const QStringList& base, const QStringList& mine,
                                        const std::optional<QStringList>& theirs) {
            const QStringList merged =
                mergeByKey([](const QString& line) { return line; })(base, mine, theirs);
            return theirs ? sortUserLines(merged) : merged;
        });
    if (saved == lines)
        return;
    const QString selected = selectedRow() < 0 ? QString() : ListBox1->item(selectedRow())->text();
    ListBox1->clear();
    ListBox1->addItems(saved);
    const auto row = static_cast<int>(saved.indexOf(selected));
    if (row >= 0)
        selectRow(row);
    else if (!saved.isEmpty())
        selectRow(0);
    updateButtons();
}

} // namespace orba
