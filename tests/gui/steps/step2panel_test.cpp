#include "gui/steps/step2panel.h"

#include "core/data/reference/tables.h"
#include "core/plan/soilsamples.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/soilsamplegrid.h"
#include "gui/ui/numberkeyfilter.h"
#include "support/panelfixture.h"
#include "support/typetext.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <functional>

namespace {

class Step2PanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        if (HasFatalFailure())
            return;
        m_panel = std::make_unique<Step2Panel>(context());
        showPanel(m_panel.get(), QSize(780, 520), QStringLiteral("step2-"));
    }

    QLineEdit *edit(const char *name) const { return child<QLineEdit>(name); }
    SoilSampleGrid *grid() const { return child<SoilSampleGrid>("soilGrid"); }
    QAbstractItemModel *gridModel() const { return grid()->model(); }
    QString cell(int row, int column) const { return items().soilSampleTable.cell(row, column); }

    // The one message shown: an error with only "Ok", in the label or the memo.
    void expectOneError(const QString &text, bool inLabel) const
    {
        EXPECT_EQ(m_messenger.shown(), QList<ScriptedMessenger::Shown>(
                                           {{text, ButtonSet::OkOnly, inLabel, MessageKind::Error}}));
    }

    // The two captions as Modtext holds them, after checking it holds one row.
    QStringList savedCaptions()
    {
        namespace F = Tables::Modtext;
        EXPECT_EQ(m_reference.count(F::name), 1);
        const std::optional<QVariantMap> row = m_reference.selectFirst(F::name);
        return row ? QStringList({row->value(F::St1).toString(), row->value(F::St2).toString()})
                   : QStringList();
    }

    // An open cell editor has the focus inside the grid.
    bool cellEditorOpen() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus && focus != grid() && grid()->isAncestorOf(focus);
    }

    // Puts the grid's cursor on a cell, the grid focused, no editor open.
    void goToCell(int row, int column)
    {
        grid()->setFocus();
        grid()->setCurrentIndex(gridModel()->index(row, column));
        ASSERT_TRUE(grid()->hasFocus());
    }

    // Types into the current cell and leaves it with Tab, which keeps what was typed. The
    // first key opens the editor, so each key goes to whatever has the focus then.
    void typeIntoCell(const QString &text)
    {
        for (const QChar character : text)
            typeText(QApplication::focusWidget(), QString(character));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

    std::unique_ptr<Step2Panel> m_panel;
};

// The sample count as it is typed, refused or pasted: the count, the grid's columns and the
// modified flag follow it, step by step.
TEST_F(Step2PanelTest, TheSampleCountSizesTheGridAsItIsTyped)
{
    QLineEdit *count = edit("sampleCountEdit");
    auto *filter = count->findChild<NumberKeyFilter *>();
    ASSERT_NE(filter, nullptr);
    QSignalSpy refused(filter, &NumberKeyFilter::keyRefused);
    const auto paste = [count](const QString &text) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(count, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(count, Qt::Key_V, Qt::ControlModifier);
    };
    const struct
    {
        const char *what;
        std::function<void()> act;
        QString text;
        int samples;
        bool modified;
        int refusedKeys;
    } steps[] = {
        {"typed", [&] { retype(count, QStringLiteral("3")); }, "3", 3, true, 0},
        {"emptied", [&] { QTest::keyClick(count, Qt::Key_Backspace); }, "", 0, true, 0},
        // three characters at most: 999 samples, 1001 columns
        {"too long", [&] { QTest::keyClicks(count, QStringLiteral("9999")); }, "999", 999, true, 0},
        {"letters, minus, blank and the numeric pad",
         [&] {
             retype(count, QStringLiteral("2"));
             m_plan.markSaved();
             for (const Qt::Key key : {Qt::Key_X, Qt::Key_Minus, Qt::Key_Space})
                 QTest::keyClick(count, key);
             QTest::keyClick(count, Qt::Key_7, Qt::KeypadModifier);
         },
         "2", 2, false, 4},
        // a comma passes the filter but "2," is no whole number: the count stays, no message
        {"a comma", [&] { QTest::keyClick(count, Qt::Key_Comma); }, "2,", 2, true, 4},
        {"a pasted text", [&] { paste(QStringLiteral("x7")); }, "x7", 2, true, 4},
        {"a pasted number", [&] { paste(QStringLiteral("7")); }, "7", 7, true, 4},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        m_plan.markSaved();
        step.act();
        EXPECT_EQ(count->text(), step.text);
        EXPECT_EQ(items().sampleCount, step.samples);
        // Label column, average column and the samples.
        EXPECT_EQ(gridModel()->columnCount(), step.samples + 2);
        EXPECT_EQ(gridModel()->headerData(step.samples + 1, Qt::Horizontal).toString(),
                  step.samples ? QString::number(step.samples) + QLatin1Char('.') : "Átlag");
        EXPECT_EQ(m_plan.isModified(), step.modified);
        EXPECT_EQ(refused.count(), step.refusedKeys);
    }
}

TEST_F(Step2PanelTest, IdentificationEditsWriteThePlanAndCountOnlyWhileItIsOpen)
{
    QTest::keyClicks(edit("lotNumberEdit"), QStringLiteral("0112/3"));
    EXPECT_TRUE(m_plan.isModified());
    QTest::keyClicks(edit("parcelNumberEdit"), QString(35, QLatin1Char('7')));
    QTest::keyClicks(edit("areaEdit"), QStringLiteral("124500"));
    QTest::keyClicks(edit("farmingYearEdit"), QStringLiteral("2024/2025 gazdasagi ev"));

    // the parcel number's input limit is 30, the farming year's 20
    EXPECT_EQ(QStringList({items().lotNumber, items().parcelNumber, items().area,
                           items().farmingYear}),
              QStringList({"0112/3", QString(30, QLatin1Char('7')), "124500",
                           "2024/2025 gazdasagi "}));

    // While no plan is open, nothing counts as an edit.
    m_plan.setOpen(false);
    m_plan.markSaved();
    QTest::keyClicks(edit("lotNumberEdit"), QStringLiteral("12"));
    retype(edit("sampleCountEdit"), QStringLiteral("2"));
    goToCell(2, 2);
    QTest::keyClick(grid(), Qt::Key_5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(cell(2, 2), QStringLiteral("5"));
    EXPECT_FALSE(m_plan.isModified());
}

// No category shows an empty box; the first arrow chooses one.
TEST_F(Step2PanelTest, SiteCategoryTakesArrowsAndEnterMovesOn)
{
    m_plan.setSiteCategory(-1, Plan::Change::Computed);
    auto *combo = child<QComboBox>("siteCategoryCombo");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(m_plan.isModified());
    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    for (int category = 0; category <= 1; ++category) {
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(combo->currentIndex(), category);
        EXPECT_EQ(items().siteCategory, category);
        EXPECT_TRUE(m_plan.isModified());
    }

    // Letters would jump to a matching item; here they are ignored.
    QTest::keyClick(combo, Qt::Key_V);
    QTest::keyClick(combo, Qt::Key_Space);
    EXPECT_EQ(combo->currentIndex(), 1);

    // Enter goes on to the next field, as Tab does.
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), edit("sampleCountEdit"));
    EXPECT_EQ(items().siteCategory, 1);
}

// Arrows move through the samples without an edit, Enter is no key of a cell. The sample values
// take numbers only (a refused key beeps, and as the first key opens no editor); the average
// column and the marks of the samples, names typed in by hand when the field is not imported,
// take any text.
TEST_F(Step2PanelTest, SampleCellsTakeNumbersTheAverageAndTheMarksAnyText)
{
    retype(edit("sampleCountEdit"), QStringLiteral("3"));
    QSignalSpy refused(grid()->keyFilter(), &NumberKeyFilter::keyRefused);
    m_plan.markSaved();
    goToCell(2, 2);
    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Down);
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_EQ(grid()->currentIndex(), gridModel()->index(3, 3));
    EXPECT_EQ(refused.count(), 0);
    EXPECT_FALSE(m_plan.isModified());

    // The titles are no cells the cursor can reach.
    goToCell(1, 2);
    QTest::keyClick(grid(), Qt::Key_Up);
    QTest::keyClick(grid(), Qt::Key_Left);
    QTest::keyClick(grid(), Qt::Key_Left);
    EXPECT_EQ(grid()->currentIndex(), gridModel()->index(1, 1));

    // Enter beeps, on the cell and inside its editor; the editor stays open, Tab keeps the text.
    goToCell(2, 2);
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(refused.count(), 1);
    EXPECT_FALSE(cellEditorOpen());
    QTest::keyClick(grid(), Qt::Key_7);
    ASSERT_TRUE(cellEditorOpen());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(refused.count(), 2);
    EXPECT_TRUE(cellEditorOpen());
    EXPECT_EQ(cell(2, 2), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(cell(2, 2), QStringLiteral("7"));

    // The first key opens no editor when refused.
    refused.clear();
    m_plan.markSaved();
    m_plan.setSoilCell(2, 2, QString(), Plan::Change::Computed);
    goToCell(2, 2);
    QTest::keyClick(grid(), Qt::Key_A);
    QTest::keyClick(grid(), Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(refused.count(), 2);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(cell(2, 2), QString());
    EXPECT_FALSE(m_plan.isModified());

    const struct
    {
        int row, column;
        const char *typed, *stored;
        int refusedKeys;
    } cases[] = {{2, 2, "6,0x7", "6,07", 1}, // a letter inside the editor is refused as well
                 {1, 1, "Tábla átlag", "Tábla átlag", 0},
                 {2, 1, "n.a.", "n.a.", 0},
                 {1, 3, "K-2/a", "K-2/a", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        m_plan.markSaved();
        refused.clear();
        goToCell(c.row, c.column);
        typeIntoCell(QString::fromUtf8(c.typed));
        EXPECT_EQ(cell(c.row, c.column), QString::fromUtf8(c.stored));
        EXPECT_EQ(refused.count(), c.refusedKeys);
        EXPECT_TRUE(m_plan.isModified());
        if (c.column < 4) { // Tab moved on to the next column
            EXPECT_EQ(grid()->currentIndex(), gridModel()->index(c.row, c.column + 1));
        }
    }
    // The values under a mark stay numbers only.
    goToCell(2, 3);
    QTest::keyClick(grid(), Qt::Key_B);
    EXPECT_EQ(refused.count(), 1);
}

TEST_F(Step2PanelTest, TickingProgramAverageComputesTheAveragesUnlessACellIsBad)
{
    retype(edit("sampleCountEdit"), QStringLiteral("3"));
    QAbstractItemModel *model = gridModel();
    // pH of the three samples 2, nothing and 4: the empty cell counts, 6 / 3 = 2.
    model->setData(model->index(2, 2), QStringLiteral("2"));
    model->setData(model->index(2, 4), QStringLiteral("4"));
    model->setData(model->index(3, 2), QStringLiteral("1,5"));
    m_plan.markSaved();

    auto *box = child<QCheckBox>("programAverageBox");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(items().programAverage);
    EXPECT_EQ(cell(2, 1), QStringLiteral("2"));
    EXPECT_EQ(cell(3, 1), QStringLiteral("0,5"));
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), QStringLiteral("2"));
    EXPECT_TRUE(m_plan.isModified());

    // Unticking keeps the averages.
    model->setData(model->index(2, 4), QStringLiteral("10"));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(items().programAverage);
    EXPECT_EQ(cell(2, 1), QStringLiteral("2"));

    // Ticked again over a cell that is no number: reported, and no average changes.
    model->setData(model->index(6, 3), QStringLiteral("x"));
    m_messenger.expect(Answer::Ok);
    QTest::mouseClick(box, Qt::LeftButton);
    expectOneError(QStringLiteral("A(z) 2. minta „Foszfor P2O” értéke nem szám: „x”. "
                                  "Kérem javítsa!"),
                   true);
    EXPECT_EQ(cell(2, 1), QStringLiteral("2"));
}

TEST_F(Step2PanelTest, ThePlanShowsWithoutCountingAsAnEdit)
{
    PlanItems loaded = items();
    loaded.lotNumber = QStringLiteral("0121/5");
    loaded.area = QStringLiteral("1234500");
    loaded.farmingYear = QStringLiteral("2024");
    loaded.siteCategory = 3;
    loaded.programAverage = true;
    SoilSamples::setSampleCount(loaded, 2);
    loaded.soilSampleTable.setCell(1, 2, QStringLiteral("TVG1"));
    m_plan.setItems(loaded);

    // A new plan empties the fields again; the site category stays.
    for (const bool reset : {false, true}) {
        SCOPED_TRACE(reset);
        if (reset)
            m_plan.resetPlan();
        EXPECT_EQ(QStringList({edit("lotNumberEdit")->text(), edit("areaEdit")->text(),
                               edit("farmingYearEdit")->text(), edit("sampleCountEdit")->text(),
                               gridModel()->index(1, 2).data().toString()}),
                  reset ? QStringList({"", "", "", "0", ""})
                        : QStringList({"0121/5", "1234500", "2024", "2", "TVG1"}));
        EXPECT_EQ(child<QComboBox>("siteCategoryCombo")->currentIndex(), 3);
        EXPECT_EQ(child<QCheckBox>("programAverageBox")->isChecked(), !reset);
        EXPECT_EQ(gridModel()->columnCount(), reset ? 2 : 4);
        EXPECT_FALSE(m_plan.isModified());
    }
}

// The captions the reports print come from Modtext; a left caption is saved there, or the
// failure reported.
TEST_F(Step2PanelTest, ALeftCaptionIsSavedInModtext)
{
    EXPECT_EQ(QStringList({edit("lotCaptionEdit")->text(), edit("parcelCaptionEdit")->text()}),
              QStringList({"Helyrajzi szám :", "Parcella sorszám:"}));
    retype(edit("lotCaptionEdit"), QStringLiteral("Hrsz.:"));
    // Nothing is saved while the caption is being typed.
    EXPECT_EQ(savedCaptions(), QStringList({"Helyrajzi szám :", "Parcella sorszám:"}));

    QTest::mouseClick(edit("areaEdit"), Qt::LeftButton);
    EXPECT_EQ(savedCaptions(), QStringList({"Hrsz.:", "Parcella sorszám:"}));

    // Enter saves as well; the table keeps its one row.
    retype(edit("parcelCaptionEdit"), QStringLiteral("Parcella:"));
    QTest::keyClick(edit("parcelCaptionEdit"), Qt::Key_Return);
    EXPECT_EQ(savedCaptions(), QStringList({"Hrsz.:", "Parcella:"}));
    // The captions are no plan item.
    EXPECT_FALSE(m_plan.isModified());

    // An empty Modtext gets its row.
    ASSERT_EQ(m_reference.remove(Tables::Modtext::name, {}), 1);
    m_panel->reloadCaptions();
    EXPECT_EQ(edit("lotCaptionEdit")->text(), QString());
    retype(edit("lotCaptionEdit"), QStringLiteral("Hrsz.:"));
    QTest::mouseClick(edit("areaEdit"), Qt::LeftButton);
    EXPECT_EQ(savedCaptions(), QStringList({"Hrsz.:", ""}));

    // A caption that cannot be saved is reported.
    m_reference.close();
    m_messenger.expect(Answer::Ok);
    retype(edit("lotCaptionEdit"), QStringLiteral("Hrsz:"));
    QTest::mouseClick(edit("areaEdit"), Qt::LeftButton);
    expectOneError(
        QStringLiteral("A feliratok nem menthetők. A referencia-adatbázis nincs megnyitva."), false);
}

// The request opens from the step; its settings button asks the main window, through the step,
// for the data location. What a fetch copies is the request's and the field import's tests',
// the whole way through the window the whole plan's; a loaded plan shown is checked above.
TEST_F(Step2PanelTest, TheDataRequestOpensAndAsksForTheDataLocationThroughTheStep)
{
    RequestPanel *request = m_panel->requestPanel();
    QTest::mouseClick(child<QPushButton>("dataRequestButton"), Qt::LeftButton);
    ASSERT_TRUE(request->isVisible());
    QSignalSpy location(m_panel.get(), &Step2Panel::dataLocationRequested);
    QTest::mouseClick(request->findChild<QPushButton *>(QStringLiteral("settingsButton")),
                      Qt::LeftButton);
    EXPECT_EQ(location.count(), 1);
}

TEST_F(Step2PanelTest, StarredLabelsReachTheFixedTitles)
{
    // The labels starred by step 1 reach the grid when the plan says the table changed, and
    // the title column grows to show them whole; the titles stay headers, no cells.
    retype(edit("sampleCountEdit"), QStringLiteral("2"));
    SoilSampleGrid *view = grid();
    const int plainWidth = view->verticalHeader()->width();
    const QString starred = QStringLiteral("Magnézium Mg * (mg/kg)");
    m_plan.update(
        PlanItem::SoilSampleTable,
        [&starred](PlanItems &plan) { plan.soilSampleTable.setCell(8, 0, starred); },
        Plan::Change::Computed);
    EXPECT_EQ(gridModel()->headerData(8, Qt::Vertical).toString(), starred);
    EXPECT_GT(view->verticalHeader()->width(), plainWidth);
    EXPECT_GT(view->verticalHeader()->width(),
              view->verticalHeader()->fontMetrics().horizontalAdvance(starred));
}

} // namespace
