#include "gui/leaf/leafsamplewindow.h"

#include "core/data/reference/tables.h"
#include "core/leaf/leaflimits.h"
#include "gui/leaf/leafchartprinting.h"
#include "gui/leaf/leafchartview.h"
#include "gui/leaf/leafentrypanel.h"
#include "gui/reports/reportpreview.h"
#include "support/panelfixture.h"
#include "support/scriptedfilechooser.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

namespace M = Tables::Mintak;
using DeletedRows = ReferenceDatabase::DeletedRows;

class LeafSampleWindowTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_window = std::make_unique<LeafSampleWindow>(m_messenger, m_reference, m_files);
        showPanel(m_window.get(), QSize(1000, 640), QStringLiteral("leafwindow-"));
    }

    QTableWidget *grid() const { return child<QTableWidget>("leafGrid"); }
    void selectRows(std::initializer_list<int> rows)
    {
        grid()->clearSelection();
        for (int row : rows)
            grid()->selectionModel()->select(grid()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid()->setCurrentCell(*rows.begin(), 0, QItemSelectionModel::NoUpdate);
    }
    bool enabled(const char *button) const { return child<QPushButton>(button)->isEnabled(); }
    int storedRows() const { return m_reference.count(M::name, {}, DeletedRows::Included); }

    ScriptedFileChooser m_files;
    std::unique_ptr<LeafSampleWindow> m_window;
};

} // namespace

// The register as it opens: its title, the grid's titles and the built-in results; the menus
// run the buttons' commands; the commands that need a row wait for one.
TEST_F(LeafSampleWindowTest, RegisterListsMenusAndCommands)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Levélanalízis nyilvántartás és elemzés"));
    QStringList titles;
    for (int column = 0; column < grid()->columnCount(); ++column)
        titles.append(grid()->horizontalHeaderItem(column)->text());
    EXPECT_EQ(titles.join(QLatin1Char('|')),
        QStringLiteral("Gazd.év|Dátum|Megnevezés|Blokk|Tábla s.sz.|Növény faj|Minta azon.|"
                       "Terület|N|P|K|Ca|Mg|Labor neve"));
    ASSERT_EQ(grid()->rowCount(), 5);
    QStringList menus;
    for (QAction *menu : m_window->findChild<QMenuBar *>()->actions())
        menus.append(menu->text());
    EXPECT_EQ(menus, QStringList({"Mittaeredmények", "Elemzés", "Súgó", "Kilépés"}));
    EXPECT_FALSE(enabled("modifyButton"));
    EXPECT_FALSE(m_window->findChild<QAction *>("modifyAction")->isEnabled());

    m_messenger.expect(Answer::Ok);
    m_window->findChild<QAction *>("guideAction")->trigger();
    EXPECT_EQ(m_messenger.shown().last(),
        (ScriptedMessenger::Shown {QStringLiteral("A Használati leírást megtalálja a program "
                                                  "könyvtárában hasznalati.pdf fájlnéven."),
            ButtonSet::OkOnly, false, MessageKind::Information}));

    selectRows({1});
    EXPECT_TRUE(enabled("modifyButton"));
    m_window->findChild<QAction *>("modifyAction")->trigger();
    ASSERT_TRUE(m_window->isEntering());
    EXPECT_EQ(m_window->entryPanel()->entry().sampleMark, m_window->samples().at(1).sampleMark);
    // while the panel is open the list starts no other entry
    EXPECT_FALSE(enabled("newButton"));
    EXPECT_FALSE(m_window->findChild<QAction *>("newAction")->isEnabled());
}

// A new result: refused without species and with a content that is no number, nothing
// written; the species shows its sampling period; stored, it is listed. Closing asks.
TEST_F(LeafSampleWindowTest, NewResultRefusedStoredAndClosing)
{
    LeafEntryPanel *panel = m_window->entryPanel();
    EXPECT_EQ(panel->title(), QStringLiteral("  Levélanalízis eredmény rögzítés  "));
    const int before = storedRows();
    QTest::mouseClick(child<QPushButton>("newButton"), Qt::LeftButton);
    ASSERT_TRUE(m_window->isEntering());
    EXPECT_EQ(panel->entry().date, QDate::currentDate());
    retype(namedChild<QLineEdit>(panel, "farmingYearEdit"), "2015");
    retype(namedChild<QLineEdit>(panel, "sampleMarkEdit"), "Új-1");
    retype(namedChild<QLineEdit>(panel, "NEdit"), "2,6");
    retype(namedChild<QLineEdit>(panel, "CaEdit"), "1.4");

    const std::pair<int, QString> refusals[]
        = {{-1, "Kérem válassza ki a növény faját!"}, {7, "A(z) Ca -tartalom nem szám: 1.4"}};
    for (const auto &refusal : refusals) {
        namedChild<QComboBox>(panel, "speciesCombo")->setCurrentIndex(refusal.first);
        m_messenger.expect(Answer::Ok);
        QTest::mouseClick(namedChild<QPushButton>(panel, "storeButton"), Qt::LeftButton);
        EXPECT_EQ(m_messenger.lastText(), refusal.second);
        EXPECT_TRUE(m_window->isEntering());
        EXPECT_EQ(storedRows(), before);
    }
    EXPECT_EQ(namedChild<QLabel>(panel, "optimalPeriodLabel")->text(),
        QStringLiteral("a legalsó fürttel szemközti levél (levéllemez), teljes virágzáskor"));
    saveScreenshot(m_window.get(), QStringLiteral("leafwindow-"), QStringLiteral("-entry"));

    retype(namedChild<QLineEdit>(panel, "CaEdit"), "1,4");
    QTest::mouseClick(namedChild<QPushButton>(panel, "storeButton"), Qt::LeftButton);
    EXPECT_FALSE(m_window->isEntering());
    ASSERT_EQ(grid()->rowCount(), 6);
    EXPECT_EQ(grid()->item(5, 5)->text(), QStringLiteral("Szőlő"));
    EXPECT_EQ(grid()->item(5, 11)->text(), QStringLiteral("1,4"));

    // closing with the panel open asks; "Mégsem" stays, "Nem" drops the entry
    m_window->newResult();
    for (int answer : {Answer::Megsem, Answer::Nem}) {
        m_messenger.expect(answer);
        m_window->reject();
        EXPECT_EQ(m_messenger.shown().last(),
            (ScriptedMessenger::Shown {QStringLiteral("Mentsem a változásokat ?"),
                ButtonSet::IgenNemMegsem, true, MessageKind::Warning}));
        EXPECT_EQ(m_window->isVisible(), answer == Answer::Megsem);
    }
    EXPECT_EQ(storedRows(), before + 1);
}

// Deleting asks, then marks only the selected row.
TEST_F(LeafSampleWindowTest, DeleteAsksAndMarksTheSelectedRow)
{
    selectRows({2});
    const LeafSample chosen = m_window->samples().at(2);
    m_messenger.expect(Answer::Nem);
    QTest::mouseClick(child<QPushButton>("deleteButton"), Qt::LeftButton);
    EXPECT_EQ(m_messenger.lastText(), QStringLiteral("Biztosan törli a kijelölt sort?"));
    EXPECT_EQ(grid()->rowCount(), 5);
    selectRows({2});
    m_messenger.expect(Answer::Igen);
    m_window->findChild<QAction *>("deleteAction")->trigger();
    ASSERT_EQ(grid()->rowCount(), 4);
    for (const LeafSample &sample : m_window->samples())
        EXPECT_NE(sample.id, chosen.id);
    EXPECT_EQ(storedRows(), 5);
    EXPECT_FALSE(enabled("deleteButton"));
}

// Four results evaluated in the order of the selection; the wheel scrolls 120 a notch; the
// printout of all five listed, three a page, goes to a PDF file through the print preview.
TEST_F(LeafSampleWindowTest, EvaluationOfFourResultsAndItsPrintout)
{
    selectRows({3, 0, 1, 2});
    QTest::mouseClick(child<QPushButton>("evaluateButton"), Qt::LeftButton);
    auto *view = child<LeafChartView>("leafChartView");
    QStringList captions;
    for (const ChartText &text : view->chart().pages.first().texts) {
        if (text.text.startsWith(QStringLiteral("Gazd.év")))
            captions.append(text.text);
    }
    ASSERT_EQ(captions.size(), 4);
    EXPECT_EQ(captions.first(), leafCaption(m_window->samples().at(3)));
    QScrollBar *bar = child<QScrollArea>("chartArea")->verticalScrollBar();
    QCoreApplication::processEvents();
    ASSERT_GT(bar->maximum(), 240);
    QWheelEvent back(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(),
        QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &back);
    EXPECT_EQ(bar->value(), 240);
    saveScreenshot(m_window.get(), QStringLiteral("leafwindow-"), QStringLiteral("-evaluation"));

    const LeafChart printed = buildLeafChart(
        m_window->samples(), *LeafLimits::read(m_reference), LeafChart::Medium::Print);
    ReportPreview preview(LeafChartPrinting::paintedPages(printed), m_files, m_messenger);
    EXPECT_EQ(preview.pageCount(), 2);
    QTemporaryDir out;
    m_files.expect(qEnvironmentVariable("NUTRISOR_SCREENSHOTS", out.path()) + "/leaf.pdf");
    EXPECT_TRUE(preview.exportReport());

    QTest::mouseClick(child<QPushButton>("closeEvaluationButton"), Qt::LeftButton);
    EXPECT_TRUE(view->chart().pages.isEmpty());
    EXPECT_TRUE(grid()->isVisible());
}
