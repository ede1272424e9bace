#include "gui/reference/materialseditor.h"

#include "core/data/reference/tables.h"
#include "gui/reference/newmaterialdialog.h"
#include "gui/steps/step5panel.h"
#include "support/panelfixture.h"
#include "support/typetext.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

namespace T = Tables::Tapanyagok;

// The first two listed materials, in table order.
constexpr qint64 petiso = 1; // N 27 %
constexpr qint64 nitrate = 2;

class MaterialsEditorTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        chooseWheat();
        m_editor = std::make_unique<MaterialsEditor>(m_messenger, m_reference);
        showPanel(m_editor.get(), QSize(640, 400), QStringLiteral("materialseditor-"));
    }

    QLineEdit *box(const char *name) const { return child<QLineEdit>(name); }
    void click(QWidget *parent, const char *name)
    {
        QTest::mouseClick(namedChild<QPushButton>(parent, name), Qt::LeftButton);
        QCoreApplication::processEvents(); // a mark put back after the click
    }
    double stored(qint64 id, const QString &field) const
    {
        return m_reference.selectFirst(T::name, Filter::equals(T::Anyagid, id))
            ->value(field)
            .toDouble();
    }

    std::unique_ptr<MaterialsEditor> m_editor;
};

} // namespace

TEST_F(MaterialsEditorTest, UnsavedEditsAreAskedAboutOnChoosingAnotherMaterialAndOnClosing)
{
    const ScriptedMessenger::Shown question = {QStringLiteral("Mentsem a változásokat ?"),
        ButtonSet::IgenNemMegsem, true, MessageKind::Warning};
    const struct
    {
        bool closing;
        int answer;
        double storedN;
        qint64 shownAfter; // 0: the window closed
    } cases[] = {
        {false, Answer::Igen, 12, nitrate},
        {false, Answer::Nem, 27, nitrate},
        {false, Answer::Megsem, 27, petiso}, // stays, with the edit kept
        {true, Answer::Igen, 12, 0},
        {true, Answer::Nem, 27, 0},
        {true, Answer::Megsem, 27, petiso},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.closing << " " << c.answer);
        ASSERT_TRUE(
            m_reference.update(T::name, Filter::equals(T::Anyagid, petiso), {{T::N, 27.0}}));
        MaterialsEditor editor(m_messenger, m_reference);
        editor.show();
        ASSERT_EQ(editor.shownId(), petiso);
        retype(namedChild<QLineEdit>(&editor, "contentNEdit"), QStringLiteral("12"));
        m_messenger.expect(c.answer);
        if (c.closing)
            click(&editor, "closeButton");
        else
            QTest::keyClick(namedChild<QTableWidget>(&editor, "materialGrid"), Qt::Key_Down);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_messenger.shown().last(), question);
        EXPECT_EQ(stored(petiso, T::N), c.storedN);
        EXPECT_EQ(editor.isVisible(), c.shownAfter != 0);
        const int markedRow = namedChild<QTableWidget>(&editor, "materialGrid")->currentRow();
        const qint64 shown = c.shownAfter != 0 ? c.shownAfter : petiso; // closed: unchanged
        EXPECT_EQ(std::pair(editor.shownId(), markedRow), std::pair(shown, int(shown - 1)));
        const QString typed = namedChild<QLineEdit>(&editor, "contentNEdit")->text();
        EXPECT_TRUE(c.answer != Answer::Megsem || typed == "12"); // the edit is kept
        editor.hide();
    }
}

TEST_F(MaterialsEditorTest, ANewMaterialIsNamedGivenContentsAndDeletedWhileStep5Follows)
{
    Step5Panel step5(context());
    auto *materials = namedChild<QComboBox>(&step5, "materialCombo");

    NewMaterialDialog dialog(m_messenger, m_reference, m_editor.get());
    dialog.show();
    const auto refused = [&](const QString &name, const QString &message) {
        auto *edit = namedChild<QLineEdit>(&dialog, "nameEdit");
        edit->clear();
        typeText(edit, name);
        m_messenger.expect(Answer::Ok);
        click(&dialog, "storeButton");
        EXPECT_EQ(m_messenger.shown().last(),
            (ScriptedMessenger::Shown {message, ButtonSet::OkOnly, true, MessageKind::Error}));
        EXPECT_TRUE(dialog.isVisible());
    };
    refused(QString(), QStringLiteral("Nincs megnevezés megadva!"));
    // step 5 lists by name: one that differs in case and blanks only could not be told apart
    refused(QStringLiteral(" pétisó 27% n "),
        QStringLiteral("Már van „Pétisó 27% N” nevű anyag! Kérem más nevet adjon meg!"));
    // a deleted material's name is free again
    ASSERT_EQ(m_reference.markDeleted(T::name, Filter::equals(T::Megnev, "Karbamid 46% N")), 1);
    namedChild<QLineEdit>(&dialog, "nameEdit")->clear();
    typeText(namedChild<QLineEdit>(&dialog, "nameEdit"), QStringLiteral("Karbamid 46% N"));
    QTest::mouseClick(namedChild<QRadioButton>(&dialog, "liquidButton"), Qt::LeftButton);
    saveScreenshot(&dialog, QStringLiteral("newmaterial-"));
    click(&dialog, "storeButton");
    EXPECT_FALSE(dialog.isVisible());
    const qint64 id = dialog.createdId();
    ASSERT_GT(id, nitrate);

    m_editor->listNewMaterial(id);
    EXPECT_EQ(m_editor->shownId(), id);
    EXPECT_EQ(m_editor->boxTexts(), QStringList(12, QStringLiteral("0")) + QStringList(QString()));
    // step 5 lists it at once, and it can be chosen there
    materials->setCurrentIndex(materials->findText(QStringLiteral("Karbamid 46% N")));
    ASSERT_GE(materials->currentIndex(), 0);

    // An emptied box reads 0; the keys of a number pass, others not.
    box("contentPEdit")->selectAll();
    QTest::keyClick(box("contentPEdit"), Qt::Key_Delete);
    EXPECT_EQ(box("contentPEdit")->text(), QStringLiteral("0"));
    retype(box("contentNEdit"), QStringLiteral("15,5x-"));
    EXPECT_EQ(box("contentNEdit")->text(), QStringLiteral("15,5"));
    m_messenger.expect(Answer::Igen);
    click(m_editor.get(), "storeButton");
    EXPECT_EQ(m_messenger.shown().last(),
        (ScriptedMessenger::Shown {
            QStringLiteral("Az anyaghoz tartozó adatok rögzítve lettek.                 "
                           "Kéri további anyag felvitelét, vagy módosítását?"),
            ButtonSet::IgenNem, false, MessageKind::Information}));
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_EQ(stored(id, T::N), 15.5);

    m_messenger.expect(Answer::Igen);
    click(m_editor.get(), "deleteMaterialButton");
    EXPECT_EQ(m_messenger.shown().last().text, QStringLiteral("Biztosan törli a kijelölt sort?"));
    EXPECT_NE(m_editor->shownId(), id);
    // step 5 no longer offers it, nor keeps it chosen
    EXPECT_EQ(materials->findText(QStringLiteral("Karbamid 46% N")), -1);
    EXPECT_EQ(materials->currentIndex(), -1);
    EXPECT_EQ(namedChild<QLabel>(&step5, "unitLabel")->text(), QStringLiteral("kg/ha"));

    m_messenger.expect(Answer::Nem); // no further material: the window closes
    click(m_editor.get(), "storeButton");
    EXPECT_FALSE(m_editor->isVisible());
}
