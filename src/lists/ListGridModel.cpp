#include "lists/ListGridModel.h"

#include "lists/ListGrid.h"

#include <algorithm>
#include <QColor>
#include <QFont>

namespace orba {

ListGridModel::ListGridModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::max(columns, 1)) {
    m_titles.resize(m_columns);
    m_indices.push_back(0);
    m_texts.push_back(std::make_unique<QStringList>());
}

ListGridModel::~ListGridModel() = default;

int ListGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_indices.size());
}

int ListGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant ListGridModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return text(index.row(), index.column());
    if (catalogueIndex(index.row()) != ListGrid::NotInCatalogue)
        return {};
    switch (role) {
    case Qt::FontRole: {
        QFont struckThrough;
        struckThrough.setStrikeOut(true);
        return struckThrough;
    }
    case Qt::ForegroundRole:
        return QColor(Qt::gray);
    case Qt::ToolTipRole:
        return QStringLiteral("nicht mehr im Katalog");
    default:
        return {};
    }
}

bool ListGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_editable || role != Qt::EditRole || !contains(index.row(), index.column()))
        return false;
    setText(index.row(), index.column(), value.toString());
    return true;
}

QVariant ListGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The vertical header is never shown; answering nothing spares it a million row numbers.
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return title(section);
}

Qt::ItemFlags ListGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (m_editable)
        result |= Qt::ItemIsEditable;
    return result;
}

QString ListGridModel::title(int column) const {
    return m_titles.value(column);
}

void ListGridModel::setTitle(int column, const QString& text) {
    if (column < 0 || column >= m_columns)
        return;
    m_titles[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString ListGridModel::text(int row, int column) const {
    if (!contains(row, column))
        return {};
    if (const QStringList* texts = m_texts[row].get())
        return texts->value(column);
    return m_source ? m_source(m_indices[row], column) : QString();
}

void ListGridModel::setText(int row, int column, const QString& text) {
    if (!contains(row, column))
        return;
    QStringList& texts = ownTexts(row);
    if (texts.size() <= column)
        texts.resize(m_columns);
    texts[column] = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

qint32 ListGridModel::catalogueIndex(int row) const {
    return contains(row, 0) ? m_indices[row] : 0;
}

void ListGridModel::setCatalogueIndex(int row, qint32 catalogueIndex) {
    if (!contains(row, 0) || m_indices[row] == catalogueIndex)
        return;
    // The row keeps the texts it shows now, whatever the new index would fetch.
    ownTexts(row);
    m_indices[row] = catalogueIndex;
    // Whether the row is struck through may have changed.
    emit dataChanged(index(row, 0), index(row, m_columns - 1));
}

void ListGridModel::resize(int rows) {
    rows = std::max(rows, 1);
    const int current = rowCount();
    if (rows > current) {
        beginInsertRows({}, current, rows - 1);
        m_indices.resize(rows, 0);
        while (int(m_texts.size()) < rows)
            m_texts.push_back(std::make_unique<QStringList>());
        endInsertRows();
    } else if (rows < current) {
        beginRemoveRows({}, rows, current - 1);
        m_indices.resize(rows);
        m_texts.resize(rows);
        endRemoveRows();
    }
}

void ListGridModel::clear() {
    resize(1);
    // A cleared hit list gives back the memory of its hits.
    m_indices.shrink_to_fit();
    m_texts.shrink_to_fit();
    m_indices[0] = 0;
    m_texts[0] = std::make_unique<QStringList>();
    emitRowChanged(0);
}

int ListGridModel::appendRow() {
    resize(rowCount() + 1);
    return rowCount() - 1;
}

void ListGridModel::appendIndexRows(const qint32* indices, qsizetype count) {
    if (count <= 0)
        return;
    if (isSingleEmptyRow()) {
        m_indices[0] = *indices;
        m_texts[0].reset();
        emitRowChanged(0);
        ++indices;
        --count;
        if (count == 0)
            return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + int(count) - 1);
    m_indices.insert(m_indices.end(), indices, indices + count);
    m_texts.resize(m_texts.size() + size_t(count));
    endInsertRows();
}

void ListGridModel::setCellSource(CellSource source) {
    m_source = std::move(source);
    emit dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1), {Qt::DisplayRole});
}

void ListGridModel::setEditable(bool editable) {
    m_editable = editable;
}

bool ListGridModel::contains(int row, int column) const {
    return row >= 0 && row < rowCount() && column >= 0 && column < m_columns;
}

bool ListGridModel::isSingleEmptyRow() const {
    return m_indices.size() == 1 && text(0, 0).isEmpty();
}

QStringList& ListGridModel::ownTexts(int row) {
    std::unique_ptr<QStringList>& texts = m_texts[row];
    if (!texts) {
        texts = std::make_unique<QStringList>();
        texts->reserve(m_columns);
        for (int column = 0; column < m_columns; ++column)
            texts->append(m_source ? m_source(m_indices[row], column) : QString());
    }
    return *texts;
}

void ListGridModel::emitRowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, m_columns - 1), {Qt::DisplayRole, Qt::EditRole});
}

} // namespace orba
