#include "gui/ui/numberkeyfilter.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

struct KeyCase
{
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool passes;
};

class NumberKeyFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&m_window);
        m_edit = new QLineEdit(&m_window);
        m_next = new QLineEdit(&m_window);
        layout->addWidget(m_edit);
        layout->addWidget(m_next);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    QWidget m_window;
    QLineEdit *m_edit = nullptr;
    QLineEdit *m_next = nullptr;
    int m_edits = 0;
};

TEST_F(NumberKeyFilterTest, EditModePassesNumberKeysAndCountsThemAsEdits)
{
    NumberKeyFilter filter(NumberKeyFilter::Mode::Edit, [this] { ++m_edits; });
    m_edit->installEventFilter(&filter);
    QSignalSpy refused(&filter, &NumberKeyFilter::keyRefused);

    const QList<KeyCase> cases = {
        {"digit 0", Qt::Key_0, Qt::NoModifier, true},
        {"digit 9", Qt::Key_9, Qt::NoModifier, true},
        {"comma", Qt::Key_Comma, Qt::NoModifier, true},
        {"left", Qt::Key_Left, Qt::NoModifier, true},
        {"right", Qt::Key_Right, Qt::NoModifier, true},
        {"up", Qt::Key_Up, Qt::NoModifier, true},
        {"down", Qt::Key_Down, Qt::NoModifier, true},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, true},
        {"keypad 5", Qt::Key_5, Qt::KeypadModifier, false},
        {"letter", Qt::Key_A, Qt::NoModifier, false},
        {"point", Qt::Key_Period, Qt::NoModifier, false},
        {"minus", Qt::Key_Minus, Qt::NoModifier, false},
        {"space", Qt::Key_Space, Qt::NoModifier, false},
        {"delete", Qt::Key_Delete, Qt::NoModifier, false},
        {"control 1", Qt::Key_1, Qt::ControlModifier, false},
    };
    for (const KeyCase &keyCase : cases) {
        SCOPED_TRACE(keyCase.name);
        m_edit->setFocus();
        const int edits = m_edits;
        const qsizetype refusals = refused.count();
        QTest::keyClick(m_edit, keyCase.key, keyCase.modifiers);
        EXPECT_EQ(m_edits, edits + (keyCase.passes ? 1 : 0));
        EXPECT_EQ(refused.count(), refusals + (keyCase.passes ? 0 : 1));
    }
    // What reached the edit: "09," typed, the cursor moved back and forth, Backspace took
    // the comma again.
    EXPECT_EQ(m_edit->text(), QStringLiteral("09"));

    // Tab passes and moves on.
    m_edit->setFocus();
    QTest::keyClick(m_edit, Qt::Key_Tab);
    EXPECT_TRUE(m_next->hasFocus());
}

} // namespace
