#include "catalogue/Tschlag.h"

#include "catalogue/KeywordList.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace orba {
namespace {

// Shortens the list to a whole number of rows, so that no keyword is shown cut in half.
void showWholeRowsOnly(QListWidget* list) {
    const int frame = 2 * list->frameWidth();
    const int rowHeight = list->sizeHintForRow(0);
    const int rows = (list->height() - frame) / rowHeight;
    list->resize(list->width(), rows * rowHeight + frame);
}

} // namespace

Tschlag::Tschlag(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tschlag", QStringLiteral("Schlagwortliste"), 392, 279);

    Label1 = addExplanation(this,
                            QStringLiteral("Wenn Sie nach bestimmten Schlagwörtern suchen möchten, "
                                           "so geben Sie bitte \nden gewünschten Begriff über die "
                                           "Tastatur ein."),
                            {8, 2, 380, 42});

    // A caption above the list, not a sortable column header: it reacts to nothing.
    Header1 = new QLabel(QStringLiteral("Schlagwörter"), this);
    Header1->setObjectName(QStringLiteral("Header1"));
    Header1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Header1->setIndent(4);
    Header1->setGeometry(8, 46, 376, 20);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setGeometry(8, 66, 376, 168);
    ListBox1->setAccessibleName(Header1->text());

    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&Übernehmen"), {84, 243, 100, 28});
    BitBtn1->setDefault(true);
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Abbrechen"), {208, 243, 100, 28});
    on(BitBtn1, &QPushButton::clicked, this, [this] { ListBox1DblClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    on(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });

    loadKeywords();
}

void Tschlag::reload() {
    ListBox1->clear();
    loadKeywords();
}

void Tschlag::loadKeywords() {
    QStringList keywords;
    try {
        keywords = textfile::readLines(QStringLiteral("schlag.dat"));
    } catch (const OrbaError& e) {
        // Start-up goes on without keywords.
        showError(e.message());
    }
    ListBox1->addItems(keywordList(keywords));
    if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(0);
        showWholeRowsOnly(ListBox1);
    }
}

void Tschlag::ListBox1DblClick() {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (!selected.isEmpty())
        m_chosenKeyword = selected.first()->text();
    accept();
}

} // namespace orba
