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
    const QStringList soilRows {"átlag|Átlag", "1|M-1", "2|M-2"};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round); // opened again: the same rows, none added
        QStringList rows;
        for (int row = 0; row < 3; ++row)
            rows.append(column("soilList", 0)[row] + QLatin1Char('|') + column("soilList", 1)[row]);
        EXPECT_EQ(rows, soilRows);
        if (round == 0)
            openDialog();
    }
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
    EXPECT_EQ(column("linkGrid", 1), QStringList({"L-2012-003"}));

    select("soilList", 0);
    select("leafList", 1);
    pairButton()->click();
    select("linkGrid", 0);
    child<QPushButton>("removeLinkButton")->click();
    EXPECT_EQ(column("linkGrid", 0), QStringList({"Átlag"}));
    EXPECT_EQ(items().leafLinks.rowCount(), 3);
}

TEST_F(LeafLinkDialogTest, The128thLinkIsRefused)
{
    TextGrid links(PlanItems::maxLeafLinks + 2, LeafLinks::columnCount);
    for (int row = 1; row <= PlanItems::maxLeafLinks; ++row)
        links.setCell(row, LeafLinks::LeafId, QString::number(row));
    m_plan.setLeafLinks(links, Plan::Change::Computed);
    openDialog();
    select("soilList", 1);
    select("leafList", 0);
    m_messenger.expect(Answer::Ok);
    pairButton()->click();
    ASSERT_FALSE(m_messenger.shown().isEmpty());
    EXPECT_EQ(m_messenger.shown().last().text,
              QStringLiteral("A terv legfeljebb 127 talaj- és levélminta-kapcsolatot tartalmazhat."));
    EXPECT_EQ(items().leafLinks, links);
}
