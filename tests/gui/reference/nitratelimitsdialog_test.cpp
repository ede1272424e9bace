#include "gui/reference/nitratelimitsdialog.h"

#include "core/data/reference/nitratelimittable.h"
#include "core/data/reference/tables.h"
#include "support/panelfixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

class NitrateLimitsDialogTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_dialog = std::make_unique<NitrateLimitsDialog>(m_messenger, m_reference);
        showPanel(m_dialog.get(), QSize(620, 460), QStringLiteral("nitratelimits-"));
    }

    QTableWidget *grid() const { return child<QTableWidget>("limitsGrid"); }
    QString cell(int row, int column) const { return grid()->item(row, column)->text(); }
    // Winter wheat's limit on site I at level 3, as the table now holds it.
    QVariant storedLimit() const
    {
        const auto rows = NitrateLimitTable::cropRows(m_reference, QStringLiteral("1"));
        return rows.value(2).value(Tables::NitrateLimits::MaxN);
    }

    std::unique_ptr<NitrateLimitsDialog> m_dialog;
};

// Edits in place, a refused edit, a new row, a deleted row and the defaults back.
TEST_F(NitrateLimitsDialogTest, LimitsAreEditedInTheGridAndRestored)
{
    auto *crops = child<QComboBox>("cropCombo");
    crops->setCurrentIndex(crops->findData(QStringLiteral("1"))); // Őszi búza
    ASSERT_EQ(grid()->rowCount(), 28); // site categories I–IV × levels 1–7
    EXPECT_EQ(cell(2, 0), QStringLiteral("I.    Csernozjom talaj"));
    EXPECT_EQ(cell(2, 1), QStringLiteral("Közepes"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("170"));

    grid()->item(2, 2)->setText(QStringLiteral("165,5"));
    EXPECT_EQ(storedLimit(), 165.5);
    m_messenger.expect(Answer::Ok);
    grid()->item(2, 2)->setText(QStringLiteral("sok"));
    EXPECT_EQ(m_messenger.lastText(),
              QStringLiteral("A legnagyobb N-adag 0 vagy annál nagyobb szám legyen (kg/ha)!"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("165,5"));

    child<QComboBox>("siteCategoryCombo")->setCurrentIndex(4); // V: the table has no row
    retype(child<QLineEdit>("maxNEdit"), QStringLiteral("150"));
    child<QPushButton>("addButton")->click();
    EXPECT_EQ(grid()->rowCount(), 29);
    m_messenger.expect(Answer::Igen);
    grid()->selectRow(0);
    child<QPushButton>("deleteButton")->click();
    EXPECT_EQ(grid()->rowCount(), 28);

    m_messenger.expect(Answer::Igen);
    child<QPushButton>("restoreButton")->click();
    EXPECT_EQ(grid()->rowCount(), 28);
    EXPECT_EQ(cell(0, 2), QStringLiteral("190"));
    EXPECT_EQ(storedLimit(), 170.0);
}

} // namespace
