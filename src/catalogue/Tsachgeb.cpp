#include "catalogue/Tsachgeb.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "core/Cp1252.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"

#include <algorithm>
#include <QCollator>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>

namespace orba {
namespace {

// The distinct parts of all suitability values: a value names several areas, separated by ",".
QStringList subjectAreas(const Catalogue& catalogue) {
    QSet<QByteArray> values;
    for (qsizetype i = 0; i < catalogue.count(); ++i)
        values.insert(record::field(catalogue.line(i), record::Eignung).toByteArray());
    QSet<QString> parts;
    for (const QByteArray& value : values) {
        for (const QString& part : cp1252::decode(value).split(QLatin1Char(','))) {
            const QString trimmed = part.trimmed();
            if (!trimmed.isEmpty())
                parts.insert(trimmed);
        }
    }
    QStringList areas(parts.begin(), parts.end());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(areas.begin(), areas.end(), collator);
    return areas;
}

} // namespace

Tsachgeb::Tsachgeb(QWidget* parent, const Catalogue& catalogue)
    : QDialog(parent), m_catalogue(catalogue) {
    setUpDialog(this, "Tsachgeb", QStringLiteral("Sachgebiete"), 456, 394);

    // The settings "hauptsach" and "sach" are not consulted: the suitability field holds only
    // flat lists of areas, so the tree has a single level of parts and nothing to nest.
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setGeometry(8, 8, 440, 342);
    TreeView1->setAccessibleName(QStringLiteral("Sachgebiete"));

    BitBtn1 = addDialogButton(this, "BitBtn1",
                              QStringLiteral("&Medien des selektierten Sachgebietes anzeigen"),
                              {8, 358, 260, 28});
    BitBtn1->setDefault(true);
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Übernehmen"), {8, 358, 82, 28});
    BitBtn2->hide();
    BitBtn3 = addDialogButton(this, "BitBtn3", QStringLiteral("&Abbrechen"), {276, 358, 82, 28});
    BitBtn4 = addDialogButton(this, "BitBtn4", QStringLiteral("&Hilfe"), {366, 358, 82, 28});
    on(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);
}

void Tsachgeb::setCaptionText(const QString& caption) {
    if (!caption.isEmpty())
        setWindowTitle(caption);
}

QString Tsachgeb::selectedSubjectArea() const {
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(0, Qt::UserRole).toString();
}

void Tsachgeb::showEvent(QShowEvent* event) {
    if (!m_built)
        buildTree();
    QDialog::showEvent(event);
}

void Tsachgeb::buildTree() {
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QString& area : subjectAreas(m_catalogue)) {
        auto* item = new QTreeWidgetItem(TreeView1, {area});
        item->setIcon(0, icon);
        item->setData(0, Qt::UserRole, area);
    }
    // A catalogue loaded after an empty first showing still gets its tree.
    m_built = m_catalogue.count() > 0;
}

void Tsachgeb::BitBtn1Click() {
    if (!selectedSubjectArea().isEmpty())
        accept();
}

} // namespace orba
