#include "gui/steps/soilsamplegrid.h"

#include "gui/ui/numberkeyfilter.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

// Puts the grid's key filter on every cell editor as well: while an editor is open the keys
// go to it, not to the grid. The filter is installed when the editor gets its data, after
// the view has installed the delegate's own filter, so that ours sees the keys first.
class FilteredCellDelegate final : public QStyledItemDelegate
{
public:
    FilteredCellDelegate(NumberKeyFilter *filter, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_filter(filter)
    {
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        editor->installEventFilter(m_filter);
        QStyledItemDelegate::setEditorData(editor, index);
    }

private:
    NumberKeyFilter *m_filter;
};

} // namespace

SoilSampleGrid::SoilSampleGrid(QWidget *parent)
    : QTableView(parent)
{
    m_keyFilter = new NumberKeyFilter(NumberKeyFilter::Mode::Grid, [this] { emit keyEdited(); },
                                      this);
    m_keyFilter->setCurrentColumn([this] { return currentIndex().column(); });
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
    rows->setHighlightSections(false);
    rows->setSectionsClickable(false);
}

void SoilSampleGrid::setModel(QAbstractItemModel *model)
{
    disconnect(m_resetConnection);
    QTableView::setModel(model);
    if (model) {
        // A reset forgets which sections were hidden.
        m_resetConnection = connect(model, &QAbstractItemModel::modelReset, this,
                                    &SoilSampleGrid::hideTitleCells);
    }
    hideTitleCells();
}

void SoilSampleGrid::hideTitleCells()
{
    if (!model())
        return;
    setRowHidden(0, true);
    setColumnHidden(0, true);
}
