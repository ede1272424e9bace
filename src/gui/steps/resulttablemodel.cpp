#include "gui/steps/resulttablemodel.h"

ResultTableModel::ResultTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ResultTableModel::setTable(const ResultTable &table)
{
    beginResetModel();
    m_table = table;
    endResetModel();
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    // A row may be longer than the headings when a caller filled it so; show every cell.
    int columns = m_table.columnCount();
    for (const QStringList &row : m_table.rows)
        columns = std::max(columns, int(row.size()));
    return columns;
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole)
        return m_table.cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return int(Qt::AlignCenter);
    return {};
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_table.headings.size() ? m_table.headings[section] : QString();
    return section + 1;
}
