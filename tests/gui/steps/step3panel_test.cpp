#include "gui/steps/step3panel.h"

#include "support/panelfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Step3PanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_panel = std::make_unique<Step3Panel>(context());
        showPanel(m_panel.get(), QSize(620, 460), QStringLiteral("step3-"));
    }

    QString needCell(int row, int column) const
    {
        return child<QTableView>("needGrid")->model()->index(row, column).data().toString();
    }

    void chooseCrop(const QString &name)
    {
        auto *list = child<QTableWidget>("cropList");
        const QList<QTableWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << qPrintable(name);
        list->setCurrentItem(found.first());
    }

    std::unique_ptr<Step3Panel> m_panel;
};

TEST_F(Step3PanelTest, MissingYieldWarnsOnceAndShowsNoValue)
{
    selectOnly({Elements::N, Elements::Mg});
    chooseCrop(QStringLiteral("Őszi búza"));
    m_messenger.expect(Answer::Ok);
    QSignalSpy results(m_panel.get(), &Step3Panel::resultReady);
    QTest::mouseClick(child<QPushButton>("recommendedDosesButton"), Qt::LeftButton);

    EXPECT_EQ(m_messenger.shown(),
              QList<ScriptedMessenger::Shown>(
                  {{"A magnézium, mangán, cink számításához kérem állítsa be a várt hozamot!",
                    ButtonSet::OkOnly, true, MessageKind::Warning}}));
    ASSERT_EQ(results.size(), 1);
    const auto doses = results.first().first().value<ResultTable>();
    // The need of nitrogen is known without a yield; its dose and magnesium are not.
    EXPECT_EQ(needCell(0, 1), QStringLiteral("30"));
    EXPECT_EQ(needCell(0, 2), QStringLiteral("---"));
    EXPECT_EQ(doses.cell(0, 1), QStringLiteral("---"));
    EXPECT_EQ(doses.cell(0, 2), QStringLiteral("---"));
}

TEST_F(Step3PanelTest, CropWithoutReferenceRowsShowsTheCaption)
{
    // A crop of our own without any specific-need rows; the list reads Nov again by itself.
    ASSERT_TRUE(m_reference.insert(QStringLiteral("Nov"),
                                   {{QStringLiteral("Novid"), QStringLiteral("99")},
                                    {QStringLiteral("Nev"), QStringLiteral("Árvácska")}}));
    chooseCrop(QStringLiteral("Árvácska"));
    m_plan.setPlannedYield(QStringLiteral("4"));
    QTest::mouseClick(child<QPushButton>("selectButton"), Qt::LeftButton);
    EXPECT_EQ(needCell(0, 1), QStringLiteral("---"));
    EXPECT_EQ(child<QLabel>("noReferenceLabel")->text(), QStringLiteral("(nincs az adatbázisban NPK)"));

    // Back to a crop with rows: the caption goes.
    chooseCrop(QStringLiteral("Őszi búza"));
    QTest::mouseClick(child<QPushButton>("selectButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QLabel>("noReferenceLabel")->text().isEmpty());
}

// The yield takes number keys only; leaving it shows the needs.
TEST_F(Step3PanelTest, TheYieldTakesOnlyNumberKeysAndLeavingItShowsTheNeeds)
{
    chooseCrop(QStringLiteral("Őszi búza"));
    auto *yield = child<QLineEdit>("yieldEdit");
    yield->setFocus();
    QTest::keyClicks(yield, QStringLiteral("7x,5")); // the keys refused are the filter's tests'
    EXPECT_EQ(yield->text(), QStringLiteral("7,5"));
    EXPECT_EQ(items().plannedYield, QStringLiteral("7,5"));
    EXPECT_TRUE(m_plan.isModified());
    EXPECT_EQ(child<QTableView>("needGrid")->model()->rowCount(), 0);
    child<QTableWidget>("cropList")->setFocus();
    EXPECT_EQ(needCell(0, 1), QStringLiteral("30"));
}

} // namespace

