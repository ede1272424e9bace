#include "gui/reference/cropnamesdialog.h"
#include "gui/reference/needtabledialog.h"

#include "core/data/reference/cropeditordata.h"
#include "core/data/reference/tables.h"
#include "gui/steps/step3panel.h"
#include "gui/ui/programfont.h"
#include "support/panelfixture.h"
#include "support/typetext.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace Nov = Tables::Nov;
namespace Find2 = Tables::Find2;

const Refusal questionSave {QStringLiteral("Mentsem a változásokat ?"), MessageKind::Warning, true};

class CropEditorsTest : public PanelTest
{
protected:
    template<typename Dialog>
    void showDialog(std::unique_ptr<Dialog> &dialog, const char *shotPrefix)
    {
        dialog = std::make_unique<Dialog>(m_messenger, m_reference);
        dialog->setFont(programFont());
        showPanel(dialog.get(), dialog->sizeHint(), QLatin1String(shotPrefix));
    }
    void showCropDialog() { showDialog(m_cropDialog, "cropspecies-"); }
    void showNeedDialog() { showDialog(m_needDialog, "specificneed-"); }

    QStringList listed() const
    {
        QStringList names;
        const auto *list = child<QListWidget>("cropList");
        for (int row = 0; row < list->count(); ++row)
            names.append(list->item(row)->text());
        return names;
    }
    void markCrop(const QString &name) const
    {
        auto *list = child<QListWidget>("cropList");
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
    }
    void chooseCrop(const QString &name) const
    {
        auto *box = child<QComboBox>("cropBox");
        box->setCurrentIndex(box->findText(name));
    }
    // Types into a cell of the need grid as the user does, and leaves the cell with Tab.
    void typeIntoCell(int row, int column, const QString &text) const
    {
        auto *grid = child<QTableWidget>("needGrid");
        grid->setFocus();
        grid->setCurrentCell(row, column);
        QTest::keyClicks(grid, text.left(1)); // the first key opens the cell's editor
        QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QString cell(int row, int column) const
    {
        return child<QTableWidget>("needGrid")->item(row, column)->text();
    }
    QList<QVariantMap> needRows(const QString &novid, const char *element) const
    {
        return *m_reference.select(Find2::name, Filter::equals(Find2::Novid, novid)
                                                    && Filter::equals(Find2::Anyid, QString::fromLatin1(element)));
    }
    void expectShown(const QList<Refusal> &expected) const
    {
        QList<Refusal> shown;
        for (const auto &[text, buttons, inLabel, kind] : m_messenger.shown())
            shown.append({text, kind, inLabel});
        EXPECT_EQ(shown, expected);
    }

    std::unique_ptr<CropNamesDialog> m_cropDialog;
    std::unique_ptr<NeedTableDialog> m_needDialog;
};

} // namespace

TEST_F(CropEditorsTest, BothEditorsListCropsInHungarianOrderWithoutCase)
{
    ASSERT_TRUE(m_reference.replaceAllRows(
        Nov::name, {{{Nov::Novid, QStringLiteral("1")}, {Nov::Nev, QStringLiteral("Zab")}},
                    {{Nov::Novid, QStringLiteral("2")}, {Nov::Nev, QStringLiteral("Őszi búza")}},
                    {{Nov::Novid, QStringLiteral("3")}, {Nov::Nev, QStringLiteral("borsó")}},
                    {{Nov::Novid, QStringLiteral("4")}, {Nov::Nev, QStringLiteral("Árpa")}}}));
    const QStringList order {QStringLiteral("Árpa"), QStringLiteral("borsó"),
                             QStringLiteral("Őszi búza"), QStringLiteral("Zab")};
    showCropDialog();
    EXPECT_EQ(listed(), order);
}

TEST_F(CropEditorsTest, CropEditorActsOnlyOnTheMarkedCropAndAsksBeforeDeleting)
{
    showCropDialog();
    auto *deleteButton = child<QPushButton>("deleteCropButton");
    auto *renameButton = child<QPushButton>("renameCropButton");
    EXPECT_FALSE(deleteButton->isEnabled());
    EXPECT_FALSE(renameButton->isEnabled());
    const QString first = listed().first();
    markCrop(first);
    ASSERT_TRUE(deleteButton->isEnabled() && renameButton->isEnabled());

    m_messenger.expect(Answer::Nem);
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    EXPECT_TRUE(listed().contains(first));
    // renamed after "Igen" only; the crop stays marked under its new name
    typeText(child<QLineEdit>("cropNameEdit"), QStringLiteral("Ősz árpa"));
    m_messenger.expect(Answer::Megsem);
    QTest::mouseClick(renameButton, Qt::LeftButton);
    EXPECT_TRUE(listed().contains(first));
    m_messenger.expect(Answer::Igen);
    QTest::mouseClick(renameButton, Qt::LeftButton);
    EXPECT_FALSE(listed().contains(first));
    EXPECT_TRUE(child<QLineEdit>("cropNameEdit")->text().isEmpty());
    m_messenger.expect(Answer::Igen);
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    EXPECT_FALSE(listed().contains(QStringLiteral("Ősz árpa")));
    EXPECT_FALSE(deleteButton->isEnabled());

    const Refusal rename {QStringLiteral("Módosítja a meglévők listájában megjelölt növényi "
                                         "megnevezést a megnevezés cella értékére ?"),
                          MessageKind::Information, false};
    const Refusal sure {QStringLiteral("Biztosan törli a kijelölt sort?"), MessageKind::Warning, true};
    expectShown({sure, rename, rename, sure});
}

TEST_F(CropEditorsTest, StepThreeFollowsTheCropEditorAndLosesADeletedCrop)
{
    Step3Panel step3(context());
    const QString added = *CropEditorData::addCrop(m_reference, QStringLiteral("Mák"));
    m_plan.setCropId(added);
    EXPECT_EQ(step3.currentCropId(), added);

    showCropDialog();
    markCrop(QStringLiteral("Mák"));
    m_messenger.expect(Answer::Igen);
    QTest::mouseClick(child<QPushButton>("deleteCropButton"), Qt::LeftButton);
    EXPECT_TRUE(step3.currentCropId().isEmpty());
    EXPECT_EQ(items().cropId, PlanItems::noCrop());

    typeText(child<QLineEdit>("cropNameEdit"), QStringLiteral("Csicsóka"));
    QTest::mouseClick(child<QPushButton>("addCropButton"), Qt::LeftButton);
    EXPECT_EQ(m_cropDialog->result(), QDialog::Accepted);
    const auto *list = step3.findChild<QTableWidget *>(QStringLiteral("cropList"));
    EXPECT_EQ(list->findItems(QStringLiteral("Csicsóka"), Qt::MatchExactly).size(), 1);
}

TEST_F(CropEditorsTest, NeedEditorWaitsForACropAndRefusesABadCellWritingNothing)
{
    showNeedDialog();
    for (const char *name : {"restoreDefaultsButton", "newRowButton", "deleteRowButton", "storeButton"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    chooseCrop(QStringLiteral("Őszi búza"));
    EXPECT_TRUE(child<QPushButton>("storeButton")->isEnabled());
    ASSERT_EQ(child<QTableWidget>("needGrid")->rowCount(), 6);
    EXPECT_EQ(cell(0, 0), QStringLiteral("I.    Csernozjom talaj"));

    const QList<QVariantMap> before = needRows(QStringLiteral("1"), "N");
    typeIntoCell(0, 1, QStringLiteral("1,,5x"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("1,,5")); // the letter is refused by the key filter
    m_messenger.expect(Answer::Ok);
    QTest::mouseClick(child<QPushButton>("storeButton"), Qt::LeftButton);
    EXPECT_EQ(needRows(QStringLiteral("1"), "N"), before);
    EXPECT_EQ(cell(0, 1), QStringLiteral("1,,5"));
    expectShown({{QStringLiteral("Hibás érték: „1,,5” (I. Csernozjom talaj, Igen gyenge). Csak nem "
                                 "negatív szám adható meg, tizedesvesszővel. Semmi sem került "
                                 "rögzítésre."),
                  MessageKind::Error, false}});
    // closing asks about the edit; "Nem" drops it
    m_messenger.expect(Answer::Nem);
    QTest::mouseClick(child<QPushButton>("closeButton"), Qt::LeftButton);
    EXPECT_EQ(m_needDialog->result(), QDialog::Rejected);
}

TEST_F(CropEditorsTest, UnsavedEditsAreStoredDroppedOrKeptAsAnswered)
{
    struct Case
    {
        int answer;
        const char *stored; // N, site I, "Igen gyenge" afterwards
        int element;        // the element shown afterwards
    };
    const Case cases[] = {
        {Answer::Igen, "9,5", 1}, // stored, then phosphorus shown
        {Answer::Nem, "33", 1},   // dropped, phosphorus shown
        {Answer::Megsem, "33", 0}, // nothing written, the edit stays on screen
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer);
        ASSERT_GT(m_reference.restoreCropNeeds(QStringLiteral("1")), 0);
        showNeedDialog();
        chooseCrop(QStringLiteral("Őszi búza"));
        typeIntoCell(0, 1, QStringLiteral("9,5"));
        const qsizetype messages = m_messenger.shown().size();
        m_messenger.expect(c.answer);
        child<QComboBox>("elementBox")->setCurrentIndex(1);
        ASSERT_EQ(m_messenger.shown().size(), messages + 1);
        const ScriptedMessenger::Shown &asked = m_messenger.shown().last();
        EXPECT_EQ((Refusal {asked.text, asked.kind, asked.inLabel}), questionSave);
        EXPECT_EQ(asked.buttons, ButtonSet::IgenNemMegsem);
        EXPECT_EQ(child<QComboBox>("elementBox")->currentIndex(), c.element);
        EXPECT_EQ(needRows(QStringLiteral("1"), "N").first().value(Find2::Igy).toString(),
                  QString::fromLatin1(c.stored).replace(QLatin1Char(','), QLatin1Char('.')));
        if (c.element == 0) {
            EXPECT_EQ(cell(0, 1), QStringLiteral("9,5"));
        }
    }
}

TEST_F(CropEditorsTest, NewCropGetsItsRowsThroughTheNewRowPanel)
{
    const QString added = *CropEditorData::addCrop(m_reference, QStringLiteral("Mák"));
    showNeedDialog();
    chooseCrop(QStringLiteral("Mák"));
    EXPECT_EQ(child<QTableWidget>("needGrid")->rowCount(), 0);
    QTest::mouseClick(child<QPushButton>("newRowButton"), Qt::LeftButton);
    auto *sites = child<QComboBox>("siteCategoryBox");
    EXPECT_EQ(sites->count(), 6);
    sites->setCurrentIndex(3);
    child<QTableWidget>("newRowGrid")->item(0, 2)->setText(QStringLiteral("2,5"));
    saveScreenshot(m_needDialog.get(), QStringLiteral("specificneed-"), QStringLiteral("-panel"));
    QTest::mouseClick(child<QPushButton>("addRowButton"), Qt::LeftButton);
    EXPECT_FALSE(child<QGroupBox>("newRowPanel")->isVisible());
    EXPECT_EQ(cell(0, 0), QStringLiteral("IV.  Homok és laza talaj"));
    QTest::mouseClick(child<QPushButton>("storeButton"), Qt::LeftButton);
    const QList<QVariantMap> stored = needRows(added, "N");
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.first().value(Find2::Sztid).toInt(), 4);
    EXPECT_EQ(stored.first().value(Find2::K).toDouble(), 2.5);
}
