#pragma once

#include <QList>
#include <QTableView>

class NumberKeyFilter;

// The soil-sample grid of step 2 over a SoilSampleModel. Row 0 and column 0 of the table are
// its titles, so the view shows them as its fixed headers (they stay in place while the
// samples scroll) and hides the cells themselves. Every sample column has the same width,
// which keeps the grid quick with 999 samples; the user can resize them. Typed keys go
// through the grid's number filter, in the cell editors too.
class SoilSampleGrid final : public QTableView
{
    Q_OBJECT

public:
    // The title column is 80 pixels wide, or as wide as its longest label needs.
    static constexpr int titleColumnWidth = 80;
    static constexpr int sampleColumnWidth = 80;
    static constexpr int rowHeight = 19;

    explicit SoilSampleGrid(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    NumberKeyFilter *keyFilter() const { return m_keyFilter; }

signals:
    // A key that changes a cell was typed.
    void keyEdited();

private:
    void hideTitleCells();
    void fitTitleColumn();

    NumberKeyFilter *m_keyFilter = nullptr;
    QList<QMetaObject::Connection> m_modelConnections;
};
