#include "gui/steps/step1panel.h"

#include "core/plan/plan.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Elements::Element;

class Step1PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_plan.resetPlan();
        m_plan.setOpen(true);
        m_plan.markModified(true);
        m_panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_panel));
    }

    void TearDown() override
    {
        const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS");
        if (!shots.isEmpty()) {
            const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
            m_panel.grab().save(shots + QStringLiteral("/step1-") + QString::fromUtf8(info->name())
                                + QStringLiteral(".png"));
        }
    }

    void click(Element element) { QTest::mouseClick(m_panel.elementBox(element), Qt::LeftButton); }
    bool ticked(Element element) const { return m_panel.elementBox(element)->isChecked(); }
    bool usable(Element element) const { return m_panel.elementBox(element)->isEnabled(); }

    Plan m_plan;
    Step1Panel m_panel{m_plan};
};

TEST_F(Step1PanelTest, ANewPlanTicksEveryElement)
{
    QStringList captions;
    for (int index = 0; index < Elements::elementCount; ++index) {
        EXPECT_TRUE(ticked(Element(index)));
        EXPECT_TRUE(usable(Element(index)));
        captions << m_panel.elementBox(Element(index))->text();
    }
    EXPECT_EQ(captions, (QStringList{"Nitrogén", "Foszfor", "Kálium", "Magnézium", "Kén", "Mangán",
                                     "Cink", "Réz", "Vas", "Molibdén", "Bór"}));
    auto *descriptions = m_panel.findChild<QCheckBox *>(QStringLiteral("showDescriptionsBox"));
    ASSERT_NE(descriptions, nullptr);
    EXPECT_EQ(descriptions->text(), QStringLiteral("Leírás megjelenítése az összesített kimutatáson"));
    EXPECT_FALSE(descriptions->isChecked());
}

TEST_F(Step1PanelTest, MicroElementsFollowTheirMacroElement)
{
    const struct {
        Element macro;
        QList<Element> dependants;
    } links[] = {
        {Element::N, {Element::Cu, Element::Mn}},
        {Element::P, {Element::Zn}},
        {Element::K, {Element::Mg}},
    };
    for (const auto &link : links) {
        SCOPED_TRACE(int(link.macro));
        click(link.macro);
        EXPECT_FALSE(m_plan.items().elementSelected[link.macro]);
        for (Element dependant : link.dependants) {
            EXPECT_FALSE(ticked(dependant));
            EXPECT_FALSE(usable(dependant));
            EXPECT_FALSE(m_plan.items().elementSelected[dependant]);
        }
        click(link.macro);
        for (Element dependant : link.dependants) {
            EXPECT_TRUE(ticked(dependant));
            EXPECT_TRUE(usable(dependant));
        }
    }
    // A dependant unticked by the user comes back ticked with its macro element.
    click(Element::Zn);
    EXPECT_FALSE(ticked(Element::Zn));
    click(Element::P);
    click(Element::P);
    EXPECT_TRUE(ticked(Element::Zn));
    // The others stay as they are.
    EXPECT_TRUE(ticked(Element::Fe));
    EXPECT_TRUE(ticked(Element::S));
}

TEST_F(Step1PanelTest, EveryClickIsAnEdit)
{
    for (Element element : {Element::S, Element::N}) {
        SCOPED_TRACE(int(element));
        m_plan.markModified(true);
        click(element);
        EXPECT_TRUE(m_plan.isModified());
    }
    m_plan.markModified(true);
    QTest::mouseClick(m_panel.findChild<QCheckBox *>(QStringLiteral("showDescriptionsBox")),
                      Qt::LeftButton);
    EXPECT_TRUE(m_plan.items().showDescriptions);
    EXPECT_TRUE(m_plan.isModified());
}

TEST_F(Step1PanelTest, TheLegendIsFixed)
{
    // Magnézium is not in the corrected recommendation; Kén, Vas, Molibdén and Bór only in
    // the descriptions.
    auto legend = [this](const char *code, int column) {
        return m_panel.findChild<QCheckBox *>(QStringLiteral("legend%1_%2")
                                                  .arg(QLatin1String(code))
                                                  .arg(column));
    };
    ASSERT_NE(legend("Mg", 2), nullptr);
    EXPECT_FALSE(legend("Mg", 2)->isChecked());
    EXPECT_TRUE(legend("Mg", 1)->isChecked());
    for (const char *code : {"S", "Fe", "Mo", "B"}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(legend(code, 0)->isChecked());
        EXPECT_TRUE(legend(code, 3)->isChecked());
        EXPECT_FALSE(legend(code, 3)->isEnabled());
    }
    QTest::mouseClick(legend("N", 0), Qt::LeftButton);
    EXPECT_TRUE(legend("N", 0)->isChecked());
}

TEST_F(Step1PanelTest, ANewPlanShowsItsTicksAgainAndDoneIsReported)
{
    click(Element::N);
    m_plan.resetPlan();
    EXPECT_TRUE(ticked(Element::N));
    EXPECT_TRUE(usable(Element::Cu));
    QSignalSpy done(&m_panel, &Step1Panel::doneRequested);
    QTest::mouseClick(m_panel.findChild<QPushButton *>(QStringLiteral("doneButton")), Qt::LeftButton);
    EXPECT_EQ(done.size(), 1);
}

} // namespace
