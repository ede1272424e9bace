#include "gui/app/hoverhelp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

void sendEnter(QWidget *control)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(control, &enter);
}

void sendLeave(QWidget *control)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(control, &leave);
}

class HoverHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *control : std::initializer_list<QWidget *>{edit, combo, grid, button, check}) {
            layout->addWidget(control);
        }
        edit->setObjectName(QStringLiteral("yieldEdit"));
        combo->setObjectName(QStringLiteral("siteCategoryCombo"));
        combo->setEditable(true); // its own line edit must not be watched on its own
        grid->setObjectName(QStringLiteral("soilGrid"));
        button->setObjectName(QStringLiteral("doneButton"));
        check->setObjectName(QStringLiteral("nitrogenBox"));
        help.watch(&window);
    }

    QWidget window;
    QLabel status;
    QLineEdit *edit = new QLineEdit;
    QComboBox *combo = new QComboBox;
    QTableView *grid = new QTableView;
    QPushButton *button = new QPushButton(QStringLiteral("Kész"));
    QCheckBox *check = new QCheckBox(QStringLiteral("Nitrogén"));
    HoverHelp help{&status,
                   {{QStringLiteral("yieldEdit"), QStringLiteral("A várt termés t/ha-ban")},
                    {QStringLiteral("doneButton"), QStringLiteral("A lépés befejezése")}}};
};

// Fields get the highlight, buttons and check boxes the underline, until the mouse leaves;
// the status line shows the control's help text, or nothing when it has none.
TEST_F(HoverHelpTest, ControlsGetTheirMarkAndTheHelpText)
{
    const struct
    {
        QWidget *control;
        bool field;
        QString help;
    } rows[] = {{edit, true, QStringLiteral("A várt termés t/ha-ban")}, {combo, true, {}},
        {grid, true, {}}, {button, false, QStringLiteral("A lépés befejezése")},
        {check, false, {}}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.control->objectName().toStdString());
        sendEnter(row.control);
        EXPECT_EQ(status.text(), row.help);
        EXPECT_EQ(row.control->palette().color(QPalette::Base) == HoverHelp::highlightColour(),
                  row.field);
        EXPECT_EQ(row.control->font().underline(), !row.field);
        sendLeave(row.control);
        EXPECT_TRUE(status.text().isEmpty());
        EXPECT_FALSE(row.control->font().underline());
        if (row.field)
            EXPECT_EQ(row.control->palette().color(QPalette::Base), QColor(Qt::white));
    }
}

TEST_F(HoverHelpTest, ControlsAddedLaterAreWatchedOnTheNextCallOnly)
{
    auto *late = new QLineEdit(&window);
    late->setObjectName(QStringLiteral("yieldEdit"));
    sendEnter(late);
    EXPECT_TRUE(status.text().isEmpty());
    help.watch(&window);
    help.watch(&window); // watching twice must not double the handling
    sendEnter(late);
    EXPECT_EQ(status.text(), QStringLiteral("A várt termés t/ha-ban"));
    // The combo box's own line edit is left to the combo box.
    EXPECT_FALSE(combo->lineEdit()->property("nutrisorHoverHelp").toBool());
}

} // namespace
