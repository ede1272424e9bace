#include "gui/ui/numberkeyfilter.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

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

    const Qt::KeyboardModifiers plain = Qt::NoModifier;
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool passes;
    } cases[] = {
        // digits, the comma, the arrows and Backspace pass
        {Qt::Key_0, plain, true}, {Qt::Key_9, plain, true}, {Qt::Key_Comma, plain, true},
        {Qt::Key_Left, plain, true}, {Qt::Key_Right, plain, true}, {Qt::Key_Up, plain, true},
        {Qt::Key_Down, plain, true}, {Qt::Key_Backspace, plain, true},
        // the keypad, letters, point, minus, space, Delete and Control are refused
        {Qt::Key_5, Qt::KeypadModifier, false}, {Qt::Key_A, plain, false},
        {Qt::Key_Period, plain, false}, {Qt::Key_Minus, plain, false},
        {Qt::Key_Space, plain, false}, {Qt::Key_Delete, plain, false},
        {Qt::Key_1, Qt::ControlModifier, false},
    };
    for (const auto &keyCase : cases) {
        SCOPED_TRACE(QKeySequence(keyCase.key | keyCase.modifiers).toString().toStdString());
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
