#include "gui/steps/schedulemodel.h"

#include <QStringList>

namespace {

const QStringList &columnTitles()
{
    static const QStringList titles = {QStringLiteral("Dátum"), QStringLiteral("Megnevezés"),
                                       QStringLiteral("Mennyiség")};
    return titles;
}

} // namespace

ScheduleModel::ScheduleModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ScheduleModel::setGrid(const TextGrid &scheduleGrid)
{
    beginResetModel();
    m_grid = scheduleGrid;
    endResetModel();
}

int ScheduleModel::rowCount(const QModelIndex &parent) const
{
    // Row 0 of the grid is its header.
    return parent.isValid() ? 0 : qMax(0, m_grid.rowCount() - 1);
}

int ScheduleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columnTitles().size());
}

QVariant ScheduleModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    // Amounts line up by their digits.
    if (role == Qt::TextAlignmentRole && index.column() == 2)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    return m_grid.cell(index.row() + 1, index.column());
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columnTitles().size() ? columnTitles().at(section)
                                                               : QVariant();
    return section + 1;
}
