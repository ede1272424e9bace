#pragma once

#include "gui/ui/numberkeyfilter.h"

#include <QStyledItemDelegate>

// Puts a grid's key filter on every cell editor as well: while an editor is open the keys go
// to it, not to the grid. The filter is installed when the editor gets its data, after the
// view has installed the delegate's own filter, so that ours sees the keys first.
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
