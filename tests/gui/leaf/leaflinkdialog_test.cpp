#include "gui/leaf/leaflinkdialog.h"

#include "core/leaf/leaflinks.h"
#include "support/panelfixture.h"
#include "support/qstringprinter.h"

#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The link box over the fixture's plan with two samples and the built-in leaf register.
class LeafLinkDialogTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_plan.update(
            PlanItem::All,
            [](PlanItems &items) {
                SoilSamples::setSampleCount(items, 2);
                items.sampleCount = 2;
                items.soilSampleTable.setCell(1, 2, QStringLiteral("M-1"));
                items.soilSampleTable.setCell(1, 3, QStringLiteral("M-2"));
            },
            Plan::Change::Computed);
        m_plan.markSaved();
    }

    LeafLinkDialog *openDialog()
    {
        m_dialog = std::make_unique<LeafLinkDialog>(m_plan, m_reference, m_messenger);
        showPanel(m_dialog.get(), QSize(1000, 620), QStringLiteral("leaflinkdialog-"));
        return m_dialog.get();
    }
    void select(const char *grid, int row) { child<QTableWidget>(grid)->selectRow(row); }
    QStringList column(const char *grid, int column) const
    {
        QStringList texts;
        const auto *table = child<QTableWidget>(grid);
        for (int row = 0; row < table->rowCount(); ++row)
            texts.append(table->item(row, column)->text());
        return texts;
    }
    QPushButton *pairButton() const { return child<QPushButton>("pairButton"); }

    std::unique_ptr<LeafLinkDialog> m_dialog;
};

} // namespace

TEST_F(LeafLinkDialogTest, PairingNeedsBothSamplesAndMarksThePlanModified)
{
    openDialog();
    openDialog(); // opened again: the same rows, none added
    EXPECT_EQ(column("soilList", 0), QStringList({"átlag", "1", "2"}));
    EXPECT_EQ(column("soilList", 1), QStringList({"Átlag", "M-1", "M-2"}));
    EXPECT_EQ(column("leafList", 2).first(), QStringLiteral("L-2012-003"));

    select("soilList", 2);
    EXPECT_FALSE(pairButton()->isEnabled()); // no leaf sample chosen
    m_dialog->addLink();
    EXPECT_EQ(LeafLinks::linkCount(items().leafLinks), 0);
    EXPECT_FALSE(m_plan.isModified());

    select("leafList", 0);
    ASSERT_TRUE(pairButton()->isEnabled());
    pairButton()->click();
    EXPECT_EQ(items().leafLinks.row(1), QStringList({"M-2", "L-2012-003", "7", "2012", "3"}));
    EXPECT_EQ(items().leafLinks.rowCount(), 3);
    EXPECT_TRUE(m_plan.isModified());

    select("soilList", 0);
    select("leafList", 1);
    pairButton()->click();
    select("linkGrid", 0);
    child<QPushButton>("removeLinkButton")->click();
    EXPECT_EQ(column("linkGrid", 0), QStringList({"Átlag"}));

    // the 128th link is refused: a plan file holds 127
    TextGrid links(PlanItems::maxLeafLinks + 2, LeafLinks::columnCount);
    m_plan.setLeafLinks(links, Plan::Change::Computed);
    m_messenger.expect(Answer::Ok);
    pairButton()->click();
    EXPECT_EQ(m_messenger.lastText(),
              QStringLiteral("A terv legfeljebb 127 talaj- és levélminta-kapcsolatot tartalmazhat."));
    EXPECT_EQ(items().leafLinks, links);
}
