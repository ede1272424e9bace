#include "gui/steps/soilsamplemodel.h"

#include "core/plan/plan.h"

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <utility>

namespace {

constexpr int titleRow = 0;
constexpr int titleColumn = 0;

} // namespace

SoilSampleModel::SoilSampleModel(Plan &plan, QObject *parent)
    : QAbstractTableModel(parent)
    , m_plan(plan)
    , m_columnCount(planColumnCount())
{
    connect(&m_plan, &Plan::itemChanged, this, &SoilSampleModel::showItem);
}

void SoilSampleModel::showItem(PlanItem item)
{
    switch (item) {
    case PlanItem::All:
        reload();
        break;
    case PlanItem::SampleCount:
        syncColumnCount();
        break;
    case PlanItem::SoilSampleTable:
        // The averages, the starred row titles or a cell.
        emit headerDataChanged(Qt::Vertical, 0, PlanItems::soilRowCount - 1);
        emit headerDataChanged(Qt::Horizontal, 0, m_columnCount - 1);
        emit dataChanged(index(0, 0), index(PlanItems::soilRowCount - 1, m_columnCount - 1),
                         {Qt::DisplayRole, Qt::EditRole});
        break;
    default:
        break;
    }
}

int SoilSampleModel::planColumnCount() const
{
    const int count = m_plan.items().sampleCount;
    const int samples = std::clamp(count, 0, PlanItems::maxSampleCount);
    return samples + 2;
}

int SoilSampleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PlanItems::soilRowCount;
}

int SoilSampleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant SoilSampleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !checkIndex(index))
        return {};
    const bool isTitle = index.row() == titleRow || index.column() == titleColumn;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_plan.items().soilSampleTable.cell(index.row(), index.column());
    case Qt::BackgroundRole:
        if (isTitle)
            return QBrush(QColor(212, 208, 200));
        return {};
    default:
        return {};
    }
}

bool SoilSampleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index))
        return false;
    if (index.row() == titleRow || index.column() == titleColumn)
        return false;
    m_plan.setSoilCell(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags SoilSampleModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !checkIndex(index))
        return Qt::NoItemFlags;
    if (index.row() == titleRow || index.column() == titleColumn)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant SoilSampleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    const TextGrid &grid = m_plan.items().soilSampleTable;
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columnCount)
            return {};
        return grid.cell(titleRow, section);
    }
    if (section < 0 || section >= PlanItems::soilRowCount)
        return {};
    return grid.cell(section, titleColumn);
}

void SoilSampleModel::syncColumnCount()
{
    const int wanted = planColumnCount();
    if (wanted > m_columnCount) {
        beginInsertColumns({}, m_columnCount, wanted - 1);
        m_columnCount = wanted;
        endInsertColumns();
    } else if (wanted < m_columnCount) {
        beginRemoveColumns({}, wanted, m_columnCount - 1);
        m_columnCount = wanted;
        endRemoveColumns();
    }
}

void SoilSampleModel::reload()
{
    beginResetModel();
    m_columnCount = planColumnCount();
    endResetModel();
}
