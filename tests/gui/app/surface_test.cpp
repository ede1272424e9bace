#include "gui/app/mainwindow.h"

#include "gui/reference/adviserpanel.h"
#include "gui/steps/resultbox.h"
#include "gui/steps/step2panel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
#include <functional>

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

    void click(const char *name, int step)
    {
        QTest::mouseClick(inBox<QPushButton>(step, name), Qt::LeftButton);
    }

    // A list of `rows` rows under a label column and thirteen element columns.
    static ResultTable longList(int rows)
    {
        ResultTable table;
        table.boxTitle = QStringLiteral("Kimutatás");
        table.headings = {QString()};
        for (int column = 1; column <= 13; ++column)
            table.headings << QStringLiteral("Hatóanyag %1").arg(column);
        for (int row = 0; row < rows; ++row)
            table.rows << QStringList(table.headings.size(), QStringLiteral("123,45"));
        return table;
    }
};

// The controls Tab stops at: focusable by Tab, shown and enabled. The inner edit of a date
// edit counts as the date edit.
QWidget *tabStopOf(QWidget *widget, QWidget *container)
{
    if ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || widget->focusProxy()
        || !widget->isVisibleTo(container) || !widget->isEnabled())
        return nullptr;
    QWidget *control = widget;
    for (QWidget *up = widget->parentWidget(); up && up != container; up = up->parentWidget()) {
        if ((up->focusPolicy() & Qt::TabFocus) == Qt::TabFocus || up->focusProxy())
            control = up;
    }
    return control;
}

// Reading order of the controls in `area`: its children line by line (a child starts a new
// line when it lies below every child of the line so far), each line left to right. A child
// holding controls (a group box, a column) is read whole, in its own reading order.
QList<QWidget *> readingOrder(QWidget *area, const QList<QWidget *> &controls)
{
    QList<QWidget *> items;
    for (QWidget *child : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(area)
            && std::any_of(controls.begin(), controls.end(), [child](QWidget *control) {
                   return control == child || child->isAncestorOf(control);
               }))
            items << child;
    }
    std::sort(items.begin(), items.end(),
              [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
    QList<QList<QWidget *>> lines;
    int lineBottom = 0;
    for (QWidget *item : std::as_const(items)) {
        if (lines.isEmpty() || item->y() >= lineBottom) {
            lines.append(QList<QWidget *>());
            lineBottom = item->geometry().bottom() + 1;
        }
        lines.last() << item;
        lineBottom = std::min(lineBottom, item->geometry().bottom() + 1);
    }
    QList<QWidget *> order;
    for (QList<QWidget *> &line : lines) {
        std::sort(line.begin(), line.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
        for (QWidget *item : std::as_const(line))
            order << (controls.contains(item) ? QList<QWidget *>{item} : readingOrder(item, controls));
    }
    return order;
}

QStringList names(const QList<QWidget *> &widgets)
{
    QStringList list;
    for (const QWidget *widget : widgets)
        list << widget->objectName();
    return list;
}

// Every box that can be open together with others lies inside the surface's visible part,
// none covers another and the surface needs no scroll bar.
TEST_F(SurfaceTest, EveryBoxFitsTheWindowAndNoneCoversAnother)
{
    QTemporaryDir farm;
    m_messenger.expect(Answer::Ok); // no farm tables there
    m_window->dataLocationBox()->accept(farm.path());
    auto *scrollArea = m_window->findChild<QScrollArea *>();
    QWidget *surface = scrollArea->widget();
    QWidget *viewport = scrollArea->viewport();

    const struct
    {
        const char *name;
        std::function<void()> open;
        std::function<void()> close;
    } cases[] = {
        {"step 1", [&] { m_window->wizard().showStep(1); }, {}},
        {"step 2", [&] { m_window->wizard().showStep(2); }, {}},
        {"step 3", [&] { m_window->wizard().showStep(3); }, {}},
        {"step 4", [&] { m_window->wizard().showStep(4); }, {}},
        {"step 5", [&] { m_window->wizard().showStep(5); }, {}},
        {"Összesítés", [&] { m_window->wizard().showStep(5); click("totalsButton", 5); }, {}},
        {"a long, wide list", [&] { m_window->wizard().showStepResult(3, longList(60)); }, {}},
        {"adviser panel over step 3",
         [&] {
             m_window->wizard().showStep(3);
             action("adviserAction")->trigger();
         },
         [&] {
             QTest::mouseClick(namedChild<QPushButton>(m_window->adviserPanel(), "cancelAdviserButton"),
                               Qt::LeftButton);
             EXPECT_TRUE(m_window->stepBox(3)->isVisible()); // back in its place
         }},
        {"data-location chooser", [&] { action("dataLocationAction")->trigger(); },
         [&] {
             // it fills the step-2 box, at the folder chosen last, in view
             MovableBox *box = m_window->stepBox(2);
             for (QWidget *content : box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                 EXPECT_EQ(content->isVisible(), content == m_window->dataLocationBox());
             EXPECT_GE(m_window->dataLocationBox()->height(), 400);
             EXPECT_EQ(m_window->dataLocationBox()->directory(), farm.path());
             auto *tree = namedChild<QTreeView>(m_window->dataLocationBox(), "directoryList");
             EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
             m_window->dataLocationBox()->cancel();
             EXPECT_FALSE(box->isVisible()); // opened from the menu: closed with the chooser
             EXPECT_TRUE(m_window->wizard().step2Panel()->isVisibleTo(box));
         }},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        entry.open();
        QCoreApplication::processEvents();
        const QRect visible(surface->mapFrom(viewport, QPoint(0, 0)), viewport->size());
        EXPECT_EQ(visible.size(), surface->size()) << "the surface scrolls";
        QList<QWidget *> open;
        for (QWidget *box : surface->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly)) {
            if (!box->isVisible())
                continue;
            EXPECT_TRUE(visible.contains(box->geometry())) << qPrintable(box->objectName());
            for (const QWidget *other : std::as_const(open))
                EXPECT_FALSE(box->geometry().intersects(other->geometry()))
                    << qPrintable(box->objectName() + u' ' + other->objectName());
            open << box;
        }
        EXPECT_GE(open.size(), 2);
        snapshot(entry.name);
        if (entry.close)
            entry.close();
    }
}

// The amounts just added to the schedule are in view: every column of both grids of step 5
// lies inside its grid at the default layout, with a long material name and amount too.
TEST_F(SurfaceTest, StepFiveShowsEveryColumnOfItsGrids)
{
    m_window->wizard().showStep(5);
    auto *materials = inBox<QComboBox>(5, "materialCombo");
    materials->setCurrentIndex(materials->findText(QStringLiteral("Pétisó 27% N")));
    auto *amount = inBox<QLineEdit>(5, "amountEdit");
    amount->setFocus();
    QTest::keyClicks(amount, QStringLiteral("12345,678"));
    click("addButton", 5);
    QCoreApplication::processEvents();
    for (const char *name : {"scheduleGrid", "coverGrid"}) {
        SCOPED_TRACE(name);
        auto *grid = inBox<QTableView>(5, name);
        ASSERT_GE(grid->model()->rowCount(), 1);
        EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
        QHeaderView *columns = grid->horizontalHeader();
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            const int left = columns->sectionViewportPosition(column);
            EXPECT_GE(left, 0) << column;
            EXPECT_LE(left + columns->sectionSize(column), grid->viewport()->width()) << column;
            // the texts fit their columns
            const QString text = grid->model()->index(0, column).data().toString();
            EXPECT_LE(grid->fontMetrics().horizontalAdvance(text), columns->sectionSize(column))
                << qPrintable(text);
        }
    }
}

// Tab goes through every panel in reading order and reaches each enabled control.
TEST_F(SurfaceTest, TabFollowsReadingOrderInEveryPanel)
{
    const struct
    {
        const char *name;
        std::function<QWidget *()> open;
    } cases[] = {
        {"step 1", [&] { m_window->wizard().showStep(1); return m_window->stepBox(1); }},
        {"step 2", [&] { m_window->wizard().showStep(2); return m_window->stepBox(2); }},
        {"step 3", [&] { m_window->wizard().showStep(3); return m_window->stepBox(3); }},
        {"step 4", [&] { m_window->wizard().showStep(4); return m_window->stepBox(4); }},
        {"step 5", [&] { m_window->wizard().showStep(5); return m_window->stepBox(5); }},
        {"result box",
         [&] {
             m_window->wizard().showStep(5);
             click("totalsButton", 5);
             return static_cast<QWidget *>(m_window->resultBox());
         }},
    };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.name);
        QWidget *box = entry.open();
        QCoreApplication::processEvents();
        ASSERT_TRUE(box->isVisible());
        // The one panel of a step box is the area read; the result box is read itself.
        const auto panels = box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QWidget *area = box == m_window->resultBox() ? box : panels.value(0);
        QList<QWidget *> visited;
        for (QWidget *next = area->nextInFocusChain(); next != area; next = next->nextInFocusChain()) {
            QWidget *control = area->isAncestorOf(next) ? tabStopOf(next, area) : nullptr;
            if (control && !visited.contains(control))
                visited << control;
        }
        ASSERT_GE(visited.size(), 3);
        EXPECT_EQ(names(visited), names(readingOrder(area, visited)));
        // Each enabled control is reached.
        for (QWidget *widget : area->findChildren<QWidget *>()) {
            if (QWidget *control = tabStopOf(widget, area))
                EXPECT_TRUE(visited.contains(control)) << qPrintable(control->objectName());
        }
    }
}

} // namespace
