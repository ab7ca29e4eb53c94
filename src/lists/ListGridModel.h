#pragma once

#include <functional>
#include <memory>
#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace orba {

// The rows behind a ListGrid, counted from 0 (the grid's row 1). A row either owns its texts or,
// when it was appended as a bare Catalogue index, leaves them to the cell source; that keeps a
// million hits at a few bytes each.
class ListGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellSource = std::function<QString(qint32 catalogueIndex, int column)>;

    ListGridModel(int columns, QObject* parent = nullptr);
    ~ListGridModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QString title(int column) const;
    void setTitle(int column, const QString& text);
    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    qint32 catalogueIndex(int row) const;
    void setCatalogueIndex(int row, qint32 catalogueIndex);

    // Never fewer than one row.
    void resize(int rows);
    // Back to a single empty row with index 0.
    void clear();
    int appendRow();
    void appendIndexRows(const qint32* indices, qsizetype count);
    void setCellSource(CellSource source);
    void setEditable(bool editable);

private:
    bool contains(int row, int column) const;
    bool isSingleEmptyRow() const;
    QStringList& ownTexts(int row);
    void emitRowChanged(int row);

    int m_columns;
    QStringList m_titles;
    std::vector<qint32> m_indices;
    // nullptr: the row's texts come from the cell source.
    std::vector<std::unique_ptr<QStringList>> m_texts;
    CellSource m_source;
    bool m_editable = false;
};

} // namespace orba
