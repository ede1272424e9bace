#include "gui/steps/farmrecordmodel.h"

#include "core/data/farmtable.h"
#include "core/text/numbers.h"

#include <QVariant>

namespace {

// Numbers the way the user reads them (decimal comma), texts as stored.
QString displayText(const FarmTable &table, const QString &field)
{
    const QVariant value = table.value(field);
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Text::formatGeneral(table.number(field));
    default:
        return table.text(field);
    }
}

} // namespace

FarmRecordModel::FarmRecordModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void FarmRecordModel::setTable(FarmTable *table, const QList<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows.clear();
    if (table) {
        for (table->first(); !table->eof(); table->next()) {
            QStringList row;
            row.reserve(columns.size());
            for (const Column &column : columns)
                row.append(displayText(*table, column.field));
            m_rows.append(row);
        }
        table->first();
    }
    endResetModel();
}

int FarmRecordModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FarmRecordModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant FarmRecordModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !checkIndex(index))
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).at(index.column());
    return {};
}

QVariant FarmRecordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return {};
        return m_columns.at(section).title;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
