#include "gui/reference/adviserpanel.h"

#include "core/data/reference/adviserrecord.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "gui/ui/programfont.h"
#include "support/panelfixture.h"
#include "support/typetext.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class AdviserPanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_panel = std::make_unique<AdviserPanel>(m_messenger, m_reference);
        m_panel->setFont(programFont());
        showPanel(m_panel.get(), m_panel->sizeHint(), QStringLiteral("adviser-"));
        m_panel->hide();
    }

    QLineEdit *edit(const char *name) const { return child<QLineEdit>(name); }

    void retype(const char *name, const QString &text) const
    {
        edit(name)->clear();
        typeText(edit(name), text);
    }

    int storedRows() const { return m_reference.count(Tables::Tanacsado::name); }

    std::unique_ptr<AdviserPanel> m_panel;
};

} // namespace

// Typed into an empty table and stored with Enter; the post code takes four characters.
TEST_F(AdviserPanelTest, EmptyTableFilledAndStoredWithEnterGainsOneRow)
{
    ASSERT_GE(m_reference.remove(Tables::Tanacsado::name, {}), 0);
    ASSERT_TRUE(m_panel->open());
    EXPECT_TRUE(m_panel->isVisible());
    EXPECT_EQ(edit("adviserNameEdit")->text(), QString());

    const AdviserRecord typed = {QStringLiteral("Kovács Ödön"), QStringLiteral("9400"),
        QStringLiteral("Sopron"), QStringLiteral("Ősz utca 12."), QStringLiteral("06 99 123 456"),
        QStringLiteral("06 99 123 457"), QStringLiteral("kovacs@example.hu"),
        QStringLiteral("SZT-0042"), QStringLiteral("Győri Agrárkamara"), true};
    const std::pair<const char *, QString> fields[] = {{"adviserNameEdit", typed.Nev},
        {"adviserPostCodeEdit", typed.Irany + QStringLiteral("1")}, // a fifth character
        {"adviserTownEdit", typed.Telep}, {"adviserAddressEdit", typed.Cim},
        {"adviserPhoneEdit", typed.Tel}, {"adviserFaxEdit", typed.Fax}, {"adviserEmailEdit", typed.Email},
        {"adviserIdentifierEdit", typed.Regsz}, {"adviserOrganisationEdit", typed.Szerv}};
    for (const auto &[name, text] : fields)
        typeText(edit(name), text);
    EXPECT_EQ(edit("adviserPostCodeEdit")->text(), typed.Irany);
    QTest::mouseClick(child<QCheckBox>("showAdviserBox"), Qt::LeftButton);
    QTest::keyClick(edit("adviserOrganisationEdit"), Qt::Key_Return);

    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(storedRows(), 1);
    EXPECT_EQ(AdviserRecord::readAdviser(m_reference), typed);
    EXPECT_TRUE(m_messenger.shown().isEmpty());
}

TEST_F(AdviserPanelTest, CancelStoresNothingAndTheNextOpeningShowsTheStoredDetails)
{
    const AdviserRecord before = AdviserRecord::readAdviser(m_reference);
    ASSERT_EQ(before.Nev, QStringLiteral("Minta Szaktanácsadó")); // the built-in row

    ASSERT_TRUE(m_panel->open());
    EXPECT_EQ(edit("adviserNameEdit")->text(), QStringLiteral("Minta Szaktanácsadó"));
    retype("adviserNameEdit", QStringLiteral("Szabó Éva"));
    ASSERT_TRUE(m_panel->open()); // the menu entry again: the typing stays
    EXPECT_EQ(edit("adviserNameEdit")->text(), QStringLiteral("Szabó Éva"));
    QTest::mouseClick(child<QPushButton>("cancelAdviserButton"), Qt::LeftButton);
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(AdviserRecord::readAdviser(m_reference), before);

    ASSERT_TRUE(m_panel->open());
    EXPECT_EQ(edit("adviserNameEdit")->text(), QStringLiteral("Minta Szaktanácsadó"));

    // Escape does what "Mégsem" does.
    retype("adviserTownEdit", QStringLiteral("Győr"));
    QTest::keyClick(edit("adviserTownEdit"), Qt::Key_Escape);
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(AdviserRecord::readAdviser(m_reference), before);
    EXPECT_EQ(edit("adviserTownEdit")->text(), QStringLiteral("Kapuvár"));
}

TEST_F(AdviserPanelTest, FailedStoreSaysWhyAndKeepsThePanelOpen)
{
    ASSERT_TRUE(m_panel->open());
    retype("adviserNameEdit", QStringLiteral("Szabó Éva"));
    m_reference.close();
    m_messenger.expect(Answer::Ok);
    QTest::mouseClick(child<QPushButton>("storeAdviserButton"), Qt::LeftButton);

    EXPECT_EQ(m_messenger.shown(),
        QList<ScriptedMessenger::Shown>({{"A szaktanácsadó adatai nem rögzíthetők. "
                                          "A referencia-adatbázis nincs megnyitva.",
            ButtonSet::OkOnly, false, MessageKind::Error}}));
    EXPECT_TRUE(m_panel->isVisible());
    EXPECT_EQ(edit("adviserNameEdit")->text(), QStringLiteral("Szabó Éva"));

    // Details that cannot be read are not shown as if the table were empty.
    m_panel->cancel();
    m_messenger.expect(Answer::Ok);
    EXPECT_FALSE(m_panel->open());
    EXPECT_EQ(m_messenger.lastText(),
        QStringLiteral("A szaktanácsadó adatai nem olvashatók. "
                       "A referencia-adatbázis nincs megnyitva."));
    EXPECT_FALSE(m_panel->isVisible());
}

TEST_F(AdviserPanelTest, CoverSheetOfStoredDetailsOffersToStoreWhatWasTyped)
{
    QSignalSpy requests(m_panel.get(), &AdviserPanel::coverSheetRequested);
    ASSERT_TRUE(m_panel->open());
    auto *coverSheet = child<QPushButton>("coverSheetButton");

    // Nothing typed: printed at once, nothing asked.
    QTest::mouseClick(coverSheet, Qt::LeftButton);
    EXPECT_EQ(requests.count(), 1);
    EXPECT_TRUE(m_messenger.shown().isEmpty());

    // "Mégsem": neither printed nor stored; "Nem": the stored details are printed and the
    // typed name stays in the panel; "Igen": stored first, then printed, the panel open.
    retype("adviserNameEdit", QStringLiteral("Szabó Éva"));
    const struct
    {
        int answer;
        int requests;
        QString stored;
    } cases[] = {{Answer::Megsem, 1, QStringLiteral("Minta Szaktanácsadó")},
                 {Answer::Nem, 2, QStringLiteral("Minta Szaktanácsadó")},
                 {Answer::Igen, 3, QStringLiteral("Szabó Éva")}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.requests);
        m_messenger.expect(c.answer);
        QTest::mouseClick(coverSheet, Qt::LeftButton);
        EXPECT_EQ(m_messenger.lastText(),
            QStringLiteral("A szaktanácsadó adatai módosultak. Rögzíti őket a nyomtatás előtt?"));
        EXPECT_EQ(requests.count(), c.requests);
        EXPECT_EQ(AdviserRecord::readAdviser(m_reference).Nev, c.stored);
        EXPECT_EQ(edit("adviserNameEdit")->text(), QStringLiteral("Szabó Éva"));
        EXPECT_TRUE(m_panel->isVisible());
    }
    EXPECT_EQ(m_messenger.shown().size(), 3);
}
