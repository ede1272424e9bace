#include "gui/steps/soilsamplegrid.h"

#include "gui/ui/filteredcelldelegate.h"
#include "gui/ui/numberkeyfilter.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

SoilSampleGrid::SoilSampleGrid(QWidget *parent)
    : QTableView(parent)
{
    m_keyFilter = new NumberKeyFilter(NumberKeyFilter::Mode::Grid, [this] { emit keyEdited(); },
                                      this);
    m_keyFilter->setCurrentColumn([this] { return currentIndex().column(); });
    m_keyFilter->setCurrentRow([this] { return currentIndex().row(); });
    installEventFilter(m_keyFilter);
    setItemDelegate(new FilteredCellDelegate(m_keyFilter, this));

    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);

    QHeaderView *columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultSectionSize(sampleColumnWidth);
    columns->setMinimumSectionSize(20);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);

    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(rowHeight);
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setFixedWidth(titleColumnWidth);
    rows->setTextElideMode(Qt::ElideNone);
    rows->setHighlightSections(false);
    rows->setSectionsClickable(false);
}

void SoilSampleGrid::setModel(QAbstractItemModel *model)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    QTableView::setModel(model);
    if (model) {
        // A reset forgets which sections were hidden.
        m_modelConnections << connect(model, &QAbstractItemModel::modelReset, this, [this] {
            hideTitleCells();
            fitTitleColumn();
        });
        // Step 1 stars the labels of the rows it needs.
        m_modelConnections << connect(model, &QAbstractItemModel::headerDataChanged, this,
                                      &SoilSampleGrid::fitTitleColumn);
    }
    hideTitleCells();
    fitTitleColumn();
}

void SoilSampleGrid::fitTitleColumn()
{
    int width = titleColumnWidth;
    if (QAbstractItemModel *rows = model()) {
        const QFontMetrics metrics = verticalHeader()->fontMetrics();
        const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QString label = rows->headerData(row, Qt::Vertical).toString();
            width = std::max(width, metrics.horizontalAdvance(label) + margins);
        }
    }
    verticalHeader()->setFixedWidth(width);
}

void SoilSampleGrid::hideTitleCells()
{
    if (!model())
        return;
    setRowHidden(0, true);
    setColumnHidden(0, true);
}
