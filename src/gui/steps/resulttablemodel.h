#pragma once

#include "core/plan/resulttable.h"

#include <QAbstractTableModel>

// A computed list for a view: the headings as the horizontal header, one row per soil
// column with its label in column 0. Read only.
class ResultTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ResultTableModel(QObject *parent = nullptr);

    void setTable(const ResultTable &table);
    const ResultTable &table() const { return m_table; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    ResultTable m_table;
};
