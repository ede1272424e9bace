#include "gui/steps/step1panel.h"

#include "core/plan/plan.h"
#include "support/panelfixture.h"

#include <QCheckBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Elements::Element;

class Step1PanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_plan.resetPlan();
        m_plan.markSaved();
        m_panel = std::make_unique<Step1Panel>(context());
        showPanel(m_panel.get(), m_panel->sizeHint(), QStringLiteral("step1-"));
    }

    void click(Element element) { QTest::mouseClick(m_panel->elementBox(element), Qt::LeftButton); }
    bool ticked(Element element) const { return m_panel->elementBox(element)->isChecked(); }
    bool usable(Element element) const { return m_panel->elementBox(element)->isEnabled(); }

    std::unique_ptr<Step1Panel> m_panel;
};

TEST_F(Step1PanelTest, ANewPlanTicksEveryElement)
{
    click(Element::N); // unticks and locks Cu and Mn, until the new plan
    m_plan.resetPlan();
    for (int index = 0; index < Elements::elementCount; ++index) {
        EXPECT_TRUE(ticked(Element(index)));
        EXPECT_TRUE(usable(Element(index)));
    }
    auto *descriptions = m_panel->findChild<QCheckBox *>(QStringLiteral("showDescriptionsBox"));
    ASSERT_NE(descriptions, nullptr);
    EXPECT_FALSE(descriptions->isChecked());
    m_plan.markSaved();
    QTest::mouseClick(descriptions, Qt::LeftButton);
    EXPECT_TRUE(m_plan.items().showDescriptions);
    EXPECT_TRUE(m_plan.isModified());
}

// Which box follows which is ElementSelection's; here the boxes show it.
TEST_F(Step1PanelTest, MicroElementsFollowTheirMacroElement)
{
    click(Element::N); // every click is an edit
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_FALSE(m_plan.items().elementSelected[Element::N]);
    for (Element dependant : {Element::Cu, Element::Mn}) {
        EXPECT_FALSE(ticked(dependant));
        EXPECT_FALSE(usable(dependant));
    }
    click(Element::N);
    EXPECT_TRUE(ticked(Element::Cu) && usable(Element::Cu));
    // A dependant unticked by the user comes back ticked with its macro element.
    m_plan.markSaved();
    click(Element::Zn);
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_FALSE(ticked(Element::Zn));
    click(Element::P);
    EXPECT_FALSE(usable(Element::Zn));
    click(Element::P);
    EXPECT_TRUE(ticked(Element::Zn));
    // The others stay as they are.
    EXPECT_TRUE(ticked(Element::Fe));
    EXPECT_TRUE(ticked(Element::Mg));
}

} // namespace
