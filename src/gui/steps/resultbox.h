#pragma once

#include "core/plan/resulttable.h"
#include "gui/ui/movablebox.h"

class QPushButton;
class QTableView;
class ResultNotes;
class TextTableModel;

// The result box "Kimutatás": the computed list of a step (supply levels, doses) in a grid
// sized to its rows, "Bezárás" to hide it and "Nyomtatás" to print it under the report
// title. The box takes the title of the list it shows.
class ResultBox final : public MovableBox
{
    Q_OBJECT

public:
    static constexpr int rowHeight = 19;

    explicit ResultBox(QWidget *parent = nullptr);

    // Shows the list: the box title, the grid of (rows + 2) × 19 pixels with one row per
    // soil column under a heading row, the box 60 pixels taller, the buttons 25 pixels
    // above its bottom; then the box comes to the front. A list too wide or too long for
    // the window scrolls inside the grid. The list's notes show under the grid, the box that
    // much taller.
    void showResult(const ResultTable &table);
    // Empties the grid (a new plan) without changing the box's visibility.
    void clearResult();

    const ResultTable &result() const { return m_result; }
    QString reportTitle() const { return result().reportTitle; }
    QTableView *grid() const { return m_grid; }
    QPushButton *printButton() const { return m_printButton; }
    ResultNotes *notes() const { return m_notes; }

signals:
    void printRequested();

private:
    void layoutBox();

    ResultTable m_result;
    TextTableModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    ResultNotes *m_notes = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_printButton = nullptr;
};
