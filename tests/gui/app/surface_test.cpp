#include "gui/app/mainwindow.h"

#include "gui/reference/adviserpanel.h"
#include "gui/steps/resultbox.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <string>

#include "mainwindowfixture.h"

namespace {

// The main window at its built-in 1024 × 720 and the default layout, a plan made up to step 4.
class SurfaceTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        m_window->resize(1024, 720);
        makePlan(4);
    }

    void click(int step, const char *name) { inBox<QPushButton>(step, name)->click(); }

    QWidget *openTotals()
    {
        m_window->wizard().showStep(5);
        click(5, "totalsButton");
        return m_window->resultBox();
    }
};

// The control Tab stops at for `widget`, or null: the inner edit of a date edit or a combo
// box counts as its owner.
QWidget *tabStopOf(QWidget *widget, QWidget *area)
{
    if ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || widget->focusProxy()
        || !widget->isVisibleTo(area) || !widget->isEnabled())
        return nullptr;
    QWidget *control = widget;
    for (QWidget *up = widget->parentWidget(); up && up != area; up = up->parentWidget()) {
        if ((up->focusPolicy() & Qt::TabFocus) == Qt::TabFocus || up->focusProxy())
            control = up;
    }
    return control;
}

// The reading order of `controls` inside `area`: its children line by line (a child below
// every child of the line so far starts a new one), each line left to right, and a child that
// holds controls (a group box, a column) read whole, in its own reading order.
QStringList readingOrder(QWidget *area, const QList<QWidget *> &controls)
{
    QList<QWidget *> items;
    for (QWidget *child : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(area) && std::any_of(controls.begin(), controls.end(), [&](auto *c) {
                return c == child || child->isAncestorOf(c);
            }))
            items << child;
    }
    std::sort(items.begin(), items.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
    QList<QList<QWidget *>> lines;
    int lineBottom = 0;
    for (QWidget *item : std::as_const(items)) {
        if (lines.isEmpty() || item->y() >= lineBottom)
            lines.append(QList<QWidget *>());
        lineBottom = lines.last().isEmpty() ? item->geometry().bottom() + 1
                                            : std::min(lineBottom, item->geometry().bottom() + 1);
        lines.last() << item;
    }
    QStringList order;
    for (QList<QWidget *> &line : lines) {
        std::sort(line.begin(), line.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
        for (QWidget *item : std::as_const(line))
            order << (controls.contains(item) ? QStringList {item->objectName()}
                                              : readingOrder(item, controls));
    }
    return order;
}

// Every box open at one time lies inside the visible surface, none covers another, and the
// surface never scrolls: the steps, the totals, a long and wide list, the adviser panel in the
// open box's place and the data-location chooser in the step-2 box, at the chosen folder.
TEST_F(SurfaceTest, EveryBoxFitsTheWindowAndNoneCoversAnother)
{
    QTemporaryDir farm;
    m_messenger.expect(Answer::Ok); // no farm tables there
    m_window->dataLocationBox()->accept(farm.path());
    auto *scrollArea = m_window->findChild<QScrollArea *>();
    ResultTable wide;
    wide.headings = QStringList(14, QStringLiteral("Hatóanyag"));
    wide.rows = QList<QStringList>(60, QStringList(14, QStringLiteral("123,45")));
    const std::function<void()> cases[] = {
        [&] { m_window->wizard().showStep(1); },
        [&] { m_window->wizard().showStep(2); },
        [&] { m_window->wizard().showStep(3); },
        [&] { m_window->wizard().showStep(4); },
        [&] { m_window->wizard().showStep(5); },
        [&] { openTotals(); },
        [&] { m_window->wizard().showStepResult(3, wide); },
        [&] { action("adviserAction")->trigger(); },
        [&] { action("dataLocationAction")->trigger(); },
    };
    for (const auto &open : cases) {
        SCOPED_TRACE(&open - cases);
        open();
        QCoreApplication::processEvents();
        QWidget *surface = scrollArea->widget();
        EXPECT_EQ(scrollArea->viewport()->size(), surface->size()) << "the surface scrolls";
        QList<QWidget *> shown;
        for (QWidget *box : surface->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly)) {
            if (!box->isVisible())
                continue;
            EXPECT_TRUE(surface->rect().contains(box->geometry())) << box->objectName().toStdString();
            for (const QWidget *other : std::as_const(shown))
                EXPECT_FALSE(box->geometry().intersects(other->geometry()));
            shown << box;
        }
        EXPECT_GE(shown.size(), 2);
        snapshot(std::to_string(&open - cases).c_str());
    }
    auto *tree = m_window->dataLocationBox()->findChild<QTreeView *>(QStringLiteral("directoryList"));
    EXPECT_EQ(m_window->dataLocationBox()->directory(), farm.path());
    EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
    EXPECT_GE(tree->height(), 200);
}

// The amount just added is in view: every column of both grids of step 5 lies inside its grid.
TEST_F(SurfaceTest, StepFiveShowsEveryColumnOfItsGrids)
{
    m_window->wizard().showStep(5);
    auto *materials = inBox<QComboBox>(5, "materialCombo");
    materials->setCurrentIndex(materials->findText(QStringLiteral("Pétisó 27% N")));
    inBox<QLineEdit>(5, "amountEdit")->setText(QStringLiteral("12345,678"));
    click(5, "addButton");
    QCoreApplication::processEvents();
    for (const char *name : {"scheduleGrid", "coverGrid"}) {
        auto *grid = inBox<QTableView>(5, name);
        ASSERT_GE(grid->model()->rowCount(), 1) << name;
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            const int width = grid->horizontalHeader()->sectionSize(column);
            const int right = grid->horizontalHeader()->sectionViewportPosition(column) + width;
            EXPECT_LE(right, grid->viewport()->width()) << name << column;
            const QString text = grid->model()->index(0, column).data().toString();
            EXPECT_LE(grid->fontMetrics().horizontalAdvance(text), width) << name << column;
        }
    }
}

// Tab walks every panel in reading order and reaches each enabled control: the five steps,
// the totals and the adviser's data.
TEST_F(SurfaceTest, TabFollowsReadingOrderInEveryPanel)
{
    for (int panel = 1; panel <= 7; ++panel) {
        SCOPED_TRACE(panel);
        QWidget *area = panel == 6 ? openTotals() : nullptr;
        if (panel == 7) {
            action("adviserAction")->trigger();
            area = m_window->adviserPanel();
        } else if (!area) {
            m_window->wizard().showStep(panel);
            area = m_window->stepBox(panel)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
                       .value(0);
        }
        QCoreApplication::processEvents();
        QList<QWidget *> visited;
        for (QWidget *next = area->nextInFocusChain(); next != area; next = next->nextInFocusChain()) {
            QWidget *control = area->isAncestorOf(next) ? tabStopOf(next, area) : nullptr;
            if (control && !visited.contains(control))
                visited << control;
        }
        ASSERT_GE(visited.size(), 3);
        QStringList tabOrder;
        for (const QWidget *control : std::as_const(visited))
            tabOrder << control->objectName();
        EXPECT_EQ(tabOrder, readingOrder(area, visited));
        for (QWidget *widget : area->findChildren<QWidget *>()) {
            if (QWidget *control = tabStopOf(widget, area)) {
                EXPECT_TRUE(visited.contains(control)) << control->objectName().toStdString();
            }
        }
    }
}

// After "Igen" to step 2's failed check, the first empty cell it met is the grid's current
// cell, selected, focused and in view: the average's mark a field import leaves empty, or a
// value of the last sample. The message and the check stay as they were.
TEST_F(SurfaceTest, StepTwoShowsTheCellToFill)
{
    m_window->wizard().showStep(2);
    auto *grid = inBox<QTableView>(2, "soilGrid");
    const int last = m_plan.items().sampleCount + 1;
    for (const auto &[row, column] : {std::pair(1, 1), std::pair(3, last)}) {
        SCOPED_TRACE(column);
        const QString kept = m_plan.items().soilSampleTable.cell(row, column);
        m_plan.setSoilCell(row, column, QString(), Plan::Change::Computed);
        grid->setCurrentIndex(grid->model()->index(2, 2));
        m_messenger.expect(Answer::Igen);
        click(2, "doneButton");
        EXPECT_EQ(m_messenger.lastText(),
                  QStringLiteral("Helytelen adatkitöltés! Javítja?  Hiba a táblázat kitöltésénél."));
        const QModelIndex cell = grid->model()->index(row, column);
        EXPECT_EQ(grid->currentIndex(), cell);
        EXPECT_TRUE(grid->selectionModel()->isSelected(cell));
        EXPECT_EQ(QApplication::focusWidget(), grid);
        EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(cell)));
        m_plan.setSoilCell(row, column, kept, Plan::Change::Computed);
    }
}

} // namespace
