#include "gui/steps/step5panel.h"

#include "core/plan/schedule.h"
#include "support/panelfixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString nitrateName = QStringLiteral("Ammónium-nitrát 34% N");
const QString invalidStep4 = QStringLiteral("Helytelen adatkitöltés ! A számításokat nem lehet elvégezni.");

class Step5PanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        chooseWheat();
        m_panel = std::make_unique<Step5Panel>(context());
        showPanel(m_panel.get(), QSize(720, 480), QStringLiteral("step5-"));
    }

    void click(const char *name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    // Picks the material from the list with the keyboard, as a user who types its initial
    // and walks down to it.
    void chooseMaterial(const QString &name)
    {
        auto *combo = child<QComboBox>("materialCombo");
        const int wanted = combo->findText(name);
        ASSERT_GE(wanted, 0) << qPrintable(name);
        combo->setFocus();
        if (combo->currentIndex() < 0)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() < wanted)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > wanted)
            QTest::keyClick(combo, Qt::Key_Up);
        ASSERT_EQ(combo->currentText(), name);
    }

    void typeAmount(const QString &text) { retype(child<QLineEdit>("amountEdit"), text); }

    QString scheduleCell(int row, int column) const
    {
        return child<QTableView>("scheduleGrid")->model()->index(row, column).data().toString();
    }

    QStringList scheduleRow(int row) const
    {
        return {scheduleCell(row, 0), scheduleCell(row, 1), scheduleCell(row, 2)};
    }

    int scheduleRows() const { return child<QTableView>("scheduleGrid")->model()->rowCount(); }

    // The cover grid's rows, "<element>: <amount>".
    QStringList coverRows() const
    {
        auto *grid = child<QTableWidget>("coverGrid");
        QStringList rows;
        for (int row = 0; row < grid->rowCount(); ++row)
            rows.append(grid->item(row, 0)->text() + QStringLiteral(": ") + grid->item(row, 1)->text());
        return rows;
    }

    std::unique_ptr<Step5Panel> m_panel;
};

TEST_F(Step5PanelTest, ListsTheMaterialsNotDeletedByName)
{
    auto *combo = child<QComboBox>("materialCombo");
    const auto materials = m_reference.select(QStringLiteral("Tapanyagok"));
    ASSERT_TRUE(materials);
    ASSERT_EQ(combo->count(), materials->size());
    for (int index = 1; index < combo->count(); ++index)
        EXPECT_LE(QString::localeAwareCompare(combo->itemText(index - 1), combo->itemText(index)), 0);
    // Nothing is chosen before the user chooses.
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(child<QLabel>("unitLabel")->text(), QStringLiteral("kg/ha"));
    EXPECT_TRUE(child<QPushButton>("addMaterialButton")->isEnabled());

    // Whoever marks a material deleted, the list follows the table at once.
    chooseMaterial(nitrateName);
    ASSERT_EQ(m_reference.markDeleted(QStringLiteral("Tapanyagok"),
                                      Filter::equals(QStringLiteral("Megnev"),
                                                     QStringLiteral("Karbamid 46% N"))),
              1);
    EXPECT_EQ(combo->count(), materials->size() - 1);
    EXPECT_EQ(combo->findText(QStringLiteral("Karbamid 46% N")), -1);
    // The chosen material stays chosen.
    EXPECT_EQ(combo->currentText(), nitrateName);
}

TEST_F(Step5PanelTest, TheUnitAndTheCoverGridFollowTheMaterial)
{
    chooseMaterial(QStringLiteral("UAN oldat 30% N"));
    EXPECT_EQ(child<QLabel>("unitLabel")->text(), QStringLiteral("l/ha"));
    chooseMaterial(nitrateName);
    EXPECT_EQ(child<QLabel>("unitLabel")->text(), QStringLiteral("kg/ha"));
    // 180 kg/ha of N from a material of 34 %: 180 / 34 × 100 kg/ha.
    EXPECT_EQ(coverRows(), QStringList("Nitrogén: 529,411764705882"));
    // Potash holds no nitrogen, and potassium is not dosed: nothing to cover.
    chooseMaterial(QStringLiteral("Kálisó 60% K2O"));
    EXPECT_TRUE(coverRows().isEmpty());
    // A compound material lists each dosed element it holds; here only nitrogen is dosed.
    chooseMaterial(QStringLiteral("NPK 15-15-15"));
    EXPECT_EQ(coverRows(), QStringList("Nitrogén: 1200"));
}

TEST_F(Step5PanelTest, AddingWithoutMaterialOrAmountIsRefused)
{
    const auto expectRefused = [this](const QString &message) {
        m_plan.markSaved(); // the amount's keys count as edits
        m_messenger.expect(Answer::Ok);
        click("addButton");
        EXPECT_EQ(m_messenger.shown().last(),
                  (ScriptedMessenger::Shown {message, ButtonSet::OkOnly, true, MessageKind::Error}));
        EXPECT_TRUE(Schedule::isEmpty(items()));
        EXPECT_FALSE(m_plan.isModified());
        EXPECT_EQ(scheduleRows(), 1);
    };
    typeAmount(QStringLiteral("100"));
    expectRefused(QStringLiteral("Kérem adja meg az anyag megnevezését!"));
    chooseMaterial(nitrateName);
    child<QLineEdit>("amountEdit")->clear();
    expectRefused(QStringLiteral("Kérem adja meg a tervezett anyagmennyiséget!"));
}

TEST_F(Step5PanelTest, AddingFillsTheFirstRowThenAppends)
{
    const QDate date(2025, 3, 5);
    child<QDateEdit>("dateEdit")->setDate(date);
    EXPECT_EQ(child<QDateEdit>("dateEdit")->text(), QStringLiteral("2025.03.05."));
    chooseMaterial(nitrateName);
    typeAmount(QStringLiteral("200"));
    m_plan.markSaved();
    click("addButton");

    ASSERT_EQ(scheduleRows(), 1);
    EXPECT_EQ(scheduleRow(0), QStringList({"2025.03.05.", nitrateName, "200"}));
    const PlanItems &plan = items();
    EXPECT_EQ(plan.scheduleGrid.cell(1, 1), nitrateName);
    EXPECT_EQ(plan.scheduleDetailGrid.cell(1, 0), QStringLiteral("34"));
    EXPECT_TRUE(m_plan.isModified());
    // 68 kg/ha of the 180 are applied now: (180 - 68) / 34 × 100.
    EXPECT_EQ(coverRows(), QStringList("Nitrogén: 329,411764705882"));

    // Enter in the amount adds as the button does.
    chooseMaterial(QStringLiteral("Pétisó 27% N"));
    typeAmount(QStringLiteral("100"));
    QTest::keyClick(child<QLineEdit>("amountEdit"), Qt::Key_Return);
    ASSERT_EQ(scheduleRows(), 2);
    EXPECT_EQ(scheduleCell(0, 1), nitrateName);
    EXPECT_EQ(scheduleRow(1).mid(1), QStringList({"Pétisó 27% N", "100"}));
    EXPECT_EQ(plan.scheduleDetailGrid.cell(2, 0), QStringLiteral("27"));
    // 68 + 27 kg/ha applied: (180 - 95) / 27 × 100.
    EXPECT_EQ(coverRows(), QStringList("Nitrogén: 314,814814814815"));
}

TEST_F(Step5PanelTest, TheAmountTakesNumberKeysAndAClickSelectsIt)
{
    auto *amount = child<QLineEdit>("amountEdit");
    typeAmount(QStringLiteral("12x,5"));
    EXPECT_EQ(amount->text(), QStringLiteral("12,5"));
    EXPECT_TRUE(m_plan.isModified());
    child<QComboBox>("materialCombo")->setFocus();
    QTest::mouseClick(amount, Qt::LeftButton, Qt::NoModifier, QPoint(4, amount->height() / 2));
    EXPECT_EQ(amount->selectedText(), QStringLiteral("12,5"));
    // The next number typed replaces the old one.
    QTest::keyClicks(amount, QStringLiteral("7"));
    EXPECT_EQ(amount->text(), QStringLiteral("7"));
}

TEST_F(Step5PanelTest, DeletingARowMovesTheNextOnesUpAndTheLastLeavesABlankRow)
{
    for (const QString &material : {nitrateName, QStringLiteral("Pétisó 27% N"),
                                    QStringLiteral("Karbamid 46% N")}) {
        chooseMaterial(material);
        typeAmount(QStringLiteral("50"));
        click("addButton");
    }
    ASSERT_EQ(scheduleRows(), 3);
    auto *grid = child<QTableView>("scheduleGrid");
    const QRect second = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    click("deleteButton");
    ASSERT_EQ(scheduleRows(), 2);
    EXPECT_EQ(scheduleCell(0, 1), nitrateName);
    EXPECT_EQ(scheduleCell(1, 1), QStringLiteral("Karbamid 46% N"));
    EXPECT_EQ(items().scheduleDetailGrid.cell(2, 0), QStringLiteral("46"));

    for (int left = 2; left >= 1; --left) {
        SCOPED_TRACE(left);
        grid->selectRow(0);
        m_plan.markSaved();
        click("deleteButton");
        EXPECT_TRUE(m_plan.isModified());
    }
    EXPECT_EQ(scheduleRows(), 1);
    EXPECT_EQ(scheduleRow(0), QStringList({"", "", ""}));
    EXPECT_TRUE(Schedule::isEmpty(items()));
    EXPECT_EQ(items().scheduleGrid.rowCount(), 2);
}

TEST_F(Step5PanelTest, InvalidStep4InputStopsTheRemainderAndTheCoverGrid)
{
    chooseMaterial(nitrateName);
    ASSERT_FALSE(coverRows().isEmpty());
    m_plan.setManureTiming(PlanItems::EgyEve); // without an amount

    m_messenger.expect(Answer::Ok);
    QSignalSpy results(m_panel.get(), &Step5Panel::resultReady);
    click("remainderButton");
    EXPECT_TRUE(results.isEmpty());
    EXPECT_EQ(m_messenger.lastText(), invalidStep4);

    // Typing the initial picks the one material starting with it.
    m_messenger.expect(Answer::Ok);
    QTest::keyClick(child<QComboBox>("materialCombo"), Qt::Key_P);
    ASSERT_EQ(child<QComboBox>("materialCombo")->currentText(), QStringLiteral("Pétisó 27% N"));
    EXPECT_EQ(m_messenger.shown().size(), 2);
    EXPECT_EQ(m_messenger.lastText(), invalidStep4);
    EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
    EXPECT_TRUE(coverRows().isEmpty());
}

// A loaded schedule is shown; a new plan empties it and the amount. Neither is an edit.
TEST_F(Step5PanelTest, ALoadedScheduleIsShownAndANewPlanEmptiesIt)
{
    PlanItems loaded = items();
    loaded.scheduleGrid.setCell(1, 0, QStringLiteral("2012.3.5."));
    loaded.scheduleGrid.setCell(1, 1, QStringLiteral("Kalcium-nitrát"));
    loaded.scheduleGrid.setCell(1, 2, QStringLiteral("75"));
    m_plan.setItems(loaded);
    EXPECT_EQ(scheduleRow(0), QStringList({"2012.3.5.", "Kalcium-nitrát", "75"}));
    EXPECT_FALSE(m_plan.isModified());
    chooseMaterial(nitrateName);
    typeAmount(QStringLiteral("200"));
    child<QDateEdit>("dateEdit")->setDate(QDate(2001, 1, 1));
    m_panel->setDateToToday();
    EXPECT_EQ(child<QDateEdit>("dateEdit")->date(), QDate::currentDate());

    m_plan.markSaved();
    m_plan.resetPlan();
    EXPECT_EQ(scheduleRows(), 1);
    EXPECT_EQ(scheduleRow(0), QStringList({"", "", ""}));
    EXPECT_TRUE(child<QLineEdit>("amountEdit")->text().isEmpty());
    EXPECT_TRUE(coverRows().isEmpty());
    EXPECT_FALSE(m_plan.isModified());
}

} // namespace
