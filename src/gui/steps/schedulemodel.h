#pragma once

#include "core/plan/textgrid.h"

#include <QAbstractTableModel>

// The application schedule for a view: the data rows (1 …) of the plan's schedule grid as
// the rows "Dátum", "Megnevezés", "Mennyiség". It shows a copy taken by setGrid(), so the
// view never sees the plan change between two resets. Read only.
class ScheduleModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ScheduleModel(QObject *parent = nullptr);

    void setGrid(const TextGrid &scheduleGrid);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TextGrid m_grid;
};
