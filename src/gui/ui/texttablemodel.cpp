#include "gui/ui/texttablemodel.h"

#include <algorithm>

TextTableModel::TextTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void TextTableModel::setTable(const QStringList &headings, const QList<QStringList> &rows)
{
    beginResetModel();
    m_headings = headings;
    m_rows = rows;
    m_columnCount = int(m_headings.size());
    for (const QStringList &row : m_rows)
        m_columnCount = std::max(m_columnCount, int(row.size()));
    endResetModel();
}

void TextTableModel::setAlignments(const QList<Qt::Alignment> &firstColumns,
                                   Qt::Alignment otherColumns)
{
    m_alignments = firstColumns;
    m_otherAlignment = otherColumns;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::TextAlignmentRole});
}

int TextTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant TextTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).value(index.column());
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment alignment = index.column() < m_alignments.size()
                                            ? m_alignments.at(index.column())
                                            : m_otherAlignment;
        return alignment ? QVariant(int(alignment)) : QVariant();
    }
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_columnCount ? m_headings.value(section) : QVariant();
    return section + 1;
}
