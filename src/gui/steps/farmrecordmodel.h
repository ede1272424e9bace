#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

class FarmTable;

// The records of a farm table as the data request lists them, read only: one row per record
// in table order, one column per listed field. The texts are taken when the table is set
// (the farm tables hold a farm's fields, a few hundred rows at most), so the table's cursor
// stays free for the import.
class FarmRecordModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString field;
        QString title;
    };

    explicit FarmRecordModel(QObject *parent = nullptr);

    // Lists `table` (null: nothing) with the given columns. The table's cursor is left on
    // its first record.
    void setTable(FarmTable *table, const QList<Column> &columns);
    void clear() { setTable(nullptr, m_columns); }

    QList<Column> columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<Column> m_columns;
    QList<QStringList> m_rows;
};
