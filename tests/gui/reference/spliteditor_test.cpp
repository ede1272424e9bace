#include "gui/reference/spliteditor.h"

#include "core/data/reference/tables.h"
#include "core/plan/split.h"
#include "support/panelfixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

namespace F = Tables::Find3;
const QString testCrop = QStringLiteral("990001"); // a crop of the tests only, with no defaults

class SplitEditorTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        ASSERT_TRUE(m_reference.insert(Tables::Nov::name,
            {{Tables::Nov::Novid, testCrop}, {Tables::Nov::Nev, QStringLiteral("Próbanövény")}}));
        m_editor = std::make_unique<SplitEditor>(m_messenger, m_reference);
        showPanel(m_editor.get(), QSize(760, 420), QStringLiteral("spliteditor-"));
    }

    void chooseCrop(const QString &id) { combo()->setCurrentIndex(combo()->findData(id)); }
    QComboBox *combo() const { return child<QComboBox>("cropCombo"); }
    bool enabled(const char *button) const { return child<QPushButton>(button)->isEnabled(); }
    void click(const char *name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    QTableWidget *grid() const { return child<QTableWidget>("rulesGrid"); }
    QStringList gridRow(int row) const
    {
        QStringList cells;
        for (int column = 0; column < grid()->columnCount(); ++column)
            cells.append(grid()->item(row, column)->text());
        return cells;
    }
    int rules(const QString &novid) const
    {
        return m_reference.count(F::name, Filter::equals(F::Novid, novid));
    }

    // "Új sor", the boxes typed, "Rögzít".
    void addRule(const QStringList &boxes)
    {
        click("newRuleButton");
        const char *names[] = {"autumnNEdit", "autumnPEdit", "autumnKEdit", "kaEdit", "maxNEdit"};
        for (int box = 0; box < 5; ++box)
            QTest::keyClicks(child<QLineEdit>(names[box]), boxes.at(box));
        click("storeRuleButton");
    }

    std::unique_ptr<SplitEditor> m_editor;
};

} // namespace

TEST_F(SplitEditorTest, RulesAddedOutOfOrderAreListedAndLookedUpByTheirLimit)
{
    // Nothing is chosen yet: no command may act on a crop or a rule.
    EXPECT_EQ(m_editor->chosenCropId(), QString());
    EXPECT_FALSE(
        enabled("newRuleButton") || enabled("restoreButton") || enabled("deleteRuleButton"));
    chooseCrop(testCrop);
    EXPECT_TRUE(enabled("newRuleButton") && enabled("restoreButton"));
    EXPECT_FALSE(enabled("deleteRuleButton"));

    // N %, P %, K %, Ka, maximum N
    addRule({"10", "", "30", "100", "80"});
    addRule({"20", "", "30", "37", "80"});
    addRule({"60", "", "30", "50", "80"});
    addRule({"5", "", "", "", ""}); // a blank limit reads as 0, so it comes first
    EXPECT_FALSE(child<QGroupBox>("rulePanel")->isVisible());
    ASSERT_EQ(grid()->rowCount(), 4);
    EXPECT_EQ(gridRow(0)[1] + gridRow(1)[1], QStringLiteral("37"));
    EXPECT_EQ(gridRow(2),
        (QStringList {
            "I.    Csernozjom talaj", "50", "Ö:60-T:40", "Ö:0-T:100", "Ö:30-T:70", "80"}));
    EXPECT_EQ(gridRow(3)[1], QStringLiteral("100"));

    // A share with a decimal comma is no whole number: nothing written, nothing said, and
    // the box is there to be corrected.
    addRule({"60,5", "", "", "120", ""});
    EXPECT_TRUE(child<QGroupBox>("rulePanel")->isVisible());
    EXPECT_TRUE(child<QLineEdit>("autumnNEdit")->hasFocus());
    saveScreenshot(m_editor.get(), QStringLiteral("spliteditor-panel-"));
    EXPECT_EQ(rules(testCrop), 4);

    // A soil of plasticity 40 falls in the band up to 50.
    PlanItems items = m_plan.items();
    items.cropId = testCrop;
    items.soilSampleTable.setCell(3, 1, QStringLiteral("40"));
    const Outcome<ResultTable> split = showSplit(items, m_state, m_reference);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->rows.value(0).value(1), QStringLiteral("Ö:60%,Max:80kg/ha"));
}

TEST_F(SplitEditorTest, DeletingAndRestoringAskFirstAndActOnTheChosenCropOnly)
{
    const QString wheat = QStringLiteral("1");
    const int defaults
        = m_reference.count(Tables::Find3Back::name, Filter::equals(F::Novid, wheat));
    ASSERT_GT(defaults, 1);
    chooseCrop(wheat);
    ASSERT_EQ(grid()->rowCount(), defaults);
    EXPECT_FALSE(enabled("deleteRuleButton")); // no rule marked yet
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
        grid()->visualItemRect(grid()->item(1, 0)).center());
    EXPECT_TRUE(enabled("deleteRuleButton"));

    const ScriptedMessenger::Shown deleteQuestion
        = {QStringLiteral("Biztosan törli a kijelölt sort?"), ButtonSet::IgenNem, true,
            MessageKind::Warning};
    m_messenger.expect(Answer::Nem);
    click("deleteRuleButton");
    EXPECT_EQ(m_messenger.shown().last(), deleteQuestion);
    EXPECT_EQ(rules(wheat), defaults);
    m_messenger.expect(Answer::Igen);
    click("deleteRuleButton");
    EXPECT_EQ(rules(wheat), defaults - 1);
    EXPECT_EQ(grid()->rowCount(), defaults - 1);
    EXPECT_FALSE(enabled("deleteRuleButton")); // the marked rule is gone

    const ScriptedMessenger::Shown restoreQuestion = {
        QStringLiteral("A fejlesztői beállítások visszaállítása csak a kijelölt növény megosztási "
                       "adataira érvényes. Valóban visszatölti a fejlesztői beállításokat?"),
        ButtonSet::IgenNem, false, MessageKind::Warning};
    m_messenger.expect(Answer::Igen);
    click("restoreButton");
    EXPECT_EQ(m_messenger.shown().last(), restoreQuestion);
    EXPECT_EQ(grid()->rowCount(), defaults);

    // The test crop has no defaults: its rules stay as they are.
    chooseCrop(testCrop);
    addRule({"40", "70", "60", "37", "60"});
    m_messenger.expect(Answer::Igen);
    m_messenger.expect(Answer::Ok);
    click("restoreButton");
    EXPECT_EQ(m_messenger.shown().last(),
        (ScriptedMessenger::Shown {
            QStringLiteral("Nincs visszatölthető adat! Nem lehet visszatölteni!"),
            ButtonSet::OkOnly, true, MessageKind::Error}));
    EXPECT_EQ(rules(testCrop), 1);

    // The crop deleted meanwhile (in the crop editor behind "+") is chosen no longer.
    ASSERT_TRUE(m_reference.deleteCrop(testCrop));
    EXPECT_EQ(m_editor->chosenCropId(), QString());
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_FALSE(enabled("newRuleButton") || enabled("restoreButton"));
}
