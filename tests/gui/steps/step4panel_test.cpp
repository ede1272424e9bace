#include "gui/steps/step4panel.h"

#include "support/panelfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Step4PanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        chooseWheat();
        m_panel = std::make_unique<Step4Panel>(context());
        showPanel(m_panel.get(), QSize(700, 440), QStringLiteral("step4-"));
    }

    // Radio buttons and the check box take a click on their indicator or caption only, not
    // on the empty width the layout gives them, so click near their left edge.
    void click(const char *name)
    {
        auto *button = child<QAbstractButton>(name);
        const bool isPushButton = qobject_cast<QPushButton *>(button) != nullptr;
        const QPoint at = isPushButton ? button->rect().center() : QPoint(8, button->height() / 2);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    }

    void type(const char *name, const QString &text) { retype(child<QLineEdit>(name), text); }

    // The corrected doses the button emits; none when it emitted nothing.
    std::optional<ResultTable> pressCorrectedDoses()
    {
        QSignalSpy results(m_panel.get(), &Step4Panel::resultReady);
        click("correctedDosesButton");
        if (results.isEmpty())
            return std::nullopt;
        EXPECT_EQ(results.size(), 1);
        return results.first().first().value<ResultTable>();
    }

    std::unique_ptr<Step4Panel> m_panel;
};

TEST_F(Step4PanelTest, RadioButtonsWriteTheirCodes)
{
    struct Row
    {
        const char *radio;
        int PlanItems::*item;
        int code;
    };
    const QList<Row> rows = {
        {"kukoricaRadio", &PlanItems::residueCrop, 0},
        {"napraforgoRadio", &PlanItems::residueCrop, 1},
        {"osziBuzaRadio", &PlanItems::residueCrop, 2},
        // Rapeseed is a choice of this run only; the plan file has no code for it.
        {"kaposztarepceRadio", &PlanItems::residueCrop, 4},
        {"egyikSemRadio", &PlanItems::residueCrop, 3},
        {"pillangosElozoEvRadio", &PlanItems::legumeEffect, 4},
        {"eveloPillangosRadio", &PlanItems::legumeEffect, 3},
        {"lucernaElozoEvRadio", &PlanItems::legumeEffect, 2},
        {"lucernaKetEveRadio", &PlanItems::legumeEffect, 1},
        {"nincsPillangosRadio", &PlanItems::legumeEffect, 0},
        {"egyEveRadio", &PlanItems::manureTiming, 0},
        {"ketEveRadio", &PlanItems::manureTiming, 1},
        {"nemVoltRadio", &PlanItems::manureTiming, 2},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.radio);
        // Start from another code, so that a radio writing nothing is caught.
        m_plan.update(PlanItem::All, [&row](PlanItems &plan) { plan.*row.item = -1; });
        m_plan.markSaved();
        click(row.radio);
        EXPECT_EQ(items().*row.item, row.code);
        EXPECT_TRUE(m_plan.isModified());
    }
}

TEST_F(Step4PanelTest, EditsTakeTheirKeysAndWriteThePlan)
{
    // The yields take number keys only: letters and minus are refused.
    type("forecropYieldEdit", QStringLiteral("4x-,5"));
    EXPECT_EQ(child<QLineEdit>("forecropYieldEdit")->text(), QStringLiteral("4,5"));
    EXPECT_EQ(items().forecropYield, QStringLiteral("4,5"));
    EXPECT_TRUE(m_plan.isModified());

    m_plan.markSaved();
    click("yieldLossCheck");
    EXPECT_TRUE(items().yieldLoss);
    EXPECT_TRUE(m_plan.isModified());

    // A surplus of the forecrop is typed with a minus.
    type("residualNEdit", QStringLiteral("-10"));
    type("residualPEdit", QStringLiteral("5"));
    type("residualKEdit", QStringLiteral("-2,5"));
    EXPECT_EQ(QStringList({items().residualN, items().residualP, items().residualK}),
              QStringList({"-10", "5", "-2,5"}));

    m_plan.markSaved();
    type("manureAmountEdit", QStringLiteral("2a0"));
    EXPECT_EQ(items().manureAmount, QStringLiteral("20"));
    EXPECT_TRUE(m_plan.isModified());
}

// The message is the one step 5 shows for the same fault (checked there).
TEST_F(Step4PanelTest, AFactorWithoutItsAmountIsRefused)
{
    const auto expectRefused = [this] {
        m_messenger.expect(Answer::Ok);
        EXPECT_FALSE(pressCorrectedDoses());
        EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Error);
        EXPECT_EQ(m_messenger.shown().last().buttons, ButtonSet::OkOnly);
    };
    click("egyEveRadio"); // manure without its amount
    expectRefused();
    click("nemVoltRadio");
    click("yieldLossCheck"); // the residual P left empty
    type("residualNEdit", QStringLiteral("10"));
    type("residualKEdit", QStringLiteral("10"));
    expectRefused();
    EXPECT_EQ(m_messenger.shown().size(), 2);
}

TEST_F(Step4PanelTest, ShowsThePlanWithoutCountingAnEdit)
{
    PlanItems loaded = items();
    loaded.residueCrop = PlanItems::Kaposztarepce;
    loaded.legumeEffect = PlanItems::EveloPillangos;
    loaded.manureTiming = PlanItems::KetEve;
    loaded.forecropYield = QStringLiteral("3");
    loaded.manureAmount = QStringLiteral("15");
    loaded.yieldLoss = true;
    loaded.residualN = QStringLiteral("-4");
    m_plan.setItems(loaded);
    EXPECT_TRUE(child<QRadioButton>("kaposztarepceRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("eveloPillangosRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("ketEveRadio")->isChecked());
    EXPECT_EQ(QStringList({child<QLineEdit>("forecropYieldEdit")->text(),
                           child<QLineEdit>("manureAmountEdit")->text(),
                           child<QLineEdit>("residualNEdit")->text()}),
              QStringList({"3", "15", "-4"}));
    EXPECT_TRUE(child<QCheckBox>("yieldLossCheck")->isChecked());
    EXPECT_FALSE(m_plan.isModified());

    // A new plan puts the defaults back; the manure amount stays for a file load to set.
    m_plan.resetPlan();
    EXPECT_TRUE(child<QRadioButton>("egyikSemRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("nincsPillangosRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("nemVoltRadio")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("yieldLossCheck")->isChecked());
    EXPECT_TRUE(child<QLineEdit>("residualNEdit")->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>("manureAmountEdit")->text(), QStringLiteral("15"));
}

} // namespace
