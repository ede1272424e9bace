#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A read-only table of texts for a view: the farm records of the data request, the computed
// lists, the application schedule. The headings are the horizontal header, the rows are
// numbered from 1. A row may be shorter or longer than the headings: the headings or the
// longest row give the column count, a missing cell is empty. The model shows a copy taken
// by setTable(), so the view never sees its source change between two resets.
class TextTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TextTableModel(QObject *parent = nullptr);

    void setTable(const QStringList &headings, const QList<QStringList> &rows);
    // No rows; the headings stay.
    void clear() { setTable(m_headings, {}); }
    // The alignment of the first columns, one each, and of every column after them; an
    // empty alignment leaves the column to the view.
    void setAlignments(const QList<Qt::Alignment> &firstColumns, Qt::Alignment otherColumns = {});

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList m_headings;
    QList<QStringList> m_rows;
    int m_columnCount = 0;
    QList<Qt::Alignment> m_alignments;
    Qt::Alignment m_otherAlignment;
};
