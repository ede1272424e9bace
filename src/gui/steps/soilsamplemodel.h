#pragma once

#include <QAbstractTableModel>

class Plan;
enum class PlanItem;

// The plan's soil-sample table for the grid of step 2, in the table's own coordinates:
// 12 rows (0 header, 1 sample mark, 2–11 the laboratory values) and sampleCount + 2 columns
// (0 row titles, 1 the average, then the samples). The cells are read from the plan when the
// view asks, never copied. Row 0 and column 0 are the titles: they also come as the header
// texts and cannot be edited. An edit writes the plan, as a user's edit; the model follows
// the plan's changes of the table and the sample count by itself.
class SoilSampleModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SoilSampleModel(Plan &plan, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    int planColumnCount() const;
    void showItem(PlanItem item);
    // Follows the plan's sample count, adding or removing sample columns.
    void syncColumnCount();
    // Everything may have changed (a plan loaded, a field imported).
    void reload();

    Plan &m_plan;
    int m_columnCount = 0;
};
