#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

// The keyboard filter of the number fields: it runs before the control sees a key, lets the
// keys of number entry through and refuses the rest with the system beep. One filter may
// watch several objects (a grid and the cell editors it opens).
//
// Edit      "Minták száma:", the planned yield, the step-5 amount: arrows, the digits of the
//           main keyboard, comma, Backspace, Tab and Shift+Tab pass (and copy, paste, cut,
//           select all); every passing key counts as an edit.
// Grid      the soil-sample grid: in the average column every key passes and counts as an
//           edit; in the other columns arrows, digits, comma, Backspace, Tab and Delete pass,
//           and only digits and the comma count as edits.
// SiteCategory  the site-category combo: arrows and Tab pass, Enter moves on like Tab, the
//           other keys are dropped without a beep.
class NumberKeyFilter final : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Edit, Grid, SiteCategory };

    // The grid's average column: free text is allowed there.
    static constexpr int averageColumn = 1;

    NumberKeyFilter(Mode mode, std::function<void()> onEdit, QObject *parent = nullptr);

    Mode mode() const { return m_mode; }

    // Grid mode: where the current cell is; without it every column counts as a sample.
    void setCurrentColumn(std::function<int()> currentColumn)
    {
        m_currentColumn = std::move(currentColumn);
    }
    // Grid mode: the current row; the sample marks of row 1 are names, so any key passes
    // there as in the average column.
    static constexpr int markRow = 1;
    void setCurrentRow(std::function<int()> currentRow) { m_currentRow = std::move(currentRow); }

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // A key was refused with a beep.
    void keyRefused(int key);

private:
    enum class Verdict { Pass, PassAsEdit, Refuse, Drop };

    Verdict editVerdict(const QKeyEvent &key) const;
    Verdict gridVerdict(const QKeyEvent &key) const;
    Verdict siteCategoryVerdict(const QKeyEvent &key) const;

    Mode m_mode;
    std::function<void()> m_onEdit;
    std::function<int()> m_currentColumn;
    std::function<int()> m_currentRow;
};
