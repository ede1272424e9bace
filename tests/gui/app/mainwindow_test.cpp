#include "gui/app/mainwindow.h"

#include "gui/reference/adviserpanel.h"
#include "gui/steps/resultbox.h"
#include "support/typetext.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QTimer>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QtEndian>

#include <array>
#include <cstdint>

#include "mainwindowfixture.h"

TEST_F(MainWindowTest, NewPlanFromTheToolbarOpensStepOne)
{
    // At start no plan is open.
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_FALSE(action("closePlanAction")->isEnabled());
    EXPECT_FALSE(action("savePlanAction")->isEnabled());
    EXPECT_FALSE(toolButton("savePlanButton")->isEnabled());
    EXPECT_TRUE(toolButton("newPlanButton")->isEnabled());
    EXPECT_FALSE(m_window->stepListBox()->isVisible());
    EXPECT_FALSE(m_window->menuBar()->actions().at(1)->isEnabled()); // "Lépések"

    QTest::mouseClick(toolButton("newPlanButton"), Qt::LeftButton);

    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_FALSE(m_plan.isModified());
    StepListBox *steps = m_window->stepListBox();
    EXPECT_TRUE(steps->isVisible());
    EXPECT_EQ(steps->title(), QStringLiteral("Új terv létrehozása"));
    EXPECT_EQ(m_window->statusLabel()->text(),
              QStringLiteral("Töltse ki az 1. lépés adatait, majd nyomja meg a „Kész” gombot."));
    EXPECT_TRUE(action("closePlanAction")->isEnabled());
    EXPECT_TRUE(m_window->menuBar()->actions().at(1)->isEnabled());
    // Only step 1 is available.
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(steps->stepButton(step)->isEnabled(), step == 1);
        EXPECT_EQ(action(qPrintable(QStringLiteral("step%1Action").arg(step)))->isEnabled(),
                  step == 1);
    }
    EXPECT_FALSE(steps->summaryButton()->isEnabled());

    // The step button shows its box; the others stay closed.
    QTest::mouseClick(steps->stepButton(1), Qt::LeftButton);
    EXPECT_TRUE(m_window->stepBox(1)->isVisible());
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());
}

// The save question and its answers are PlanSession's (tests/core/session); here the menus
// and the toolbar follow the plan.
TEST_F(MainWindowTest, SavingAndClosingFollowThePlan)
{
    m_window->session().newPlan();
    m_plan.setLotNumber(QStringLiteral("0123/4"));
    EXPECT_TRUE(action("savePlanAction")->isEnabled());
    EXPECT_TRUE(toolButton("savePlanButton")->isEnabled());

    // No answer is queued: any question here fails the test.
    action("newPlanAction")->trigger();
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_TRUE(m_plan.items().lotNumber.isEmpty());
    EXPECT_FALSE(toolButton("savePlanButton")->isEnabled());

    m_plan.markEdited();
    m_messenger.expect(Answer::Nem);
    action("closePlanAction")->trigger();
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_FALSE(m_window->stepListBox()->isVisible());
    EXPECT_FALSE(action("closePlanAction")->isEnabled());
    EXPECT_FALSE(action("savePlanAction")->isEnabled());
}

TEST_F(MainWindowTest, CloseBoxWithAModifiedPlanAsksLikeTheExitCommands)
{
    m_window->session().newPlan();
    m_plan.markEdited();
    m_messenger.expect(Answer::Megsem);
    EXPECT_FALSE(m_window->close());
    EXPECT_TRUE(m_window->isVisible());

    m_messenger.expect(Answer::Nem);
    EXPECT_TRUE(m_window->close());
}

// Stands in for the desktop's viewer: records the files it is asked to open.
class GuideViewer : public QObject
{
    Q_OBJECT

public:
    GuideViewer() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "show"); }
    ~GuideViewer() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;

public slots:
    void show(const QUrl &url) { opened.append(url); }
};

TEST_F(MainWindowTest, HelpOpensTheUserGuideOrNamesIt)
{
    GuideViewer viewer;
    // No guide beside the program: the message says where it belongs, nothing is opened.
    m_messenger.expect(Answer::Ok);
    action("helpAction")->trigger();
    EXPECT_EQ(m_messenger.shown(),
              QList<ScriptedMessenger::Shown>({{"A Használati leírást megtalálja a program "
                                                "könyvtárában hasznalati.pdf fájlnéven.",
                                                ButtonSet::OkOnly, false, MessageKind::Information}}));
    EXPECT_TRUE(viewer.opened.isEmpty());

    // With the guide there, the desktop is asked to open that very file, and no message comes.
    const QString guide = m_dir.filePath(QStringLiteral("hasznalati.pdf"));
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
    file.close();
    action("helpAction")->trigger();
    EXPECT_EQ(viewer.opened, QList<QUrl>({QUrl::fromLocalFile(guide)}));
    EXPECT_EQ(m_messenger.shown().size(), 1);
}

TEST_F(MainWindowTest, LayoutIsSavedAndRestored)
{
    m_window->session().newPlan();
    MovableBox *stepList = m_window->stepListBox();
    // Drag the step list by 30, 20 pixels as the mouse would.
    stepList->boxMouseDown(QPoint(10, 10));
    stepList->boxMouseMove(QPoint(40, 30));
    stepList->boxMouseUp();
    stepList->boxMouseMove(QPoint(90, 90)); // no button held: no move
    EXPECT_EQ(stepList->pos(), QPoint(30, 20));
    m_window->stepBox(3)->move(300, 200);

    action("saveLayoutAction")->trigger();
    QFile file(m_paths.configPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    ASSERT_EQ(bytes.size(), 364);

    // Another window reading the same config.ini shows the boxes where they were saved.
    {
        Plan otherPlan;
        MainWindow other(otherPlan, m_messenger, m_reference, m_paths);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
        EXPECT_EQ(other.stepListBox()->pos(), QPoint(30, 20));
        EXPECT_EQ(other.stepBox(3)->pos(), QPoint(300, 200));
        EXPECT_EQ(other.size(), m_window->size());
    }

    // "Eredeti elrendezés" moves the boxes back and writes the file at once.
    action("defaultLayoutAction")->trigger();
    EXPECT_EQ(stepList->pos(), QPoint(0, 0));
    EXPECT_EQ(m_window->stepBox(3)->pos(), QPoint(175, 5));
    ConfigBlock written;
    written.readFile(m_paths.configPath());
    EXPECT_EQ(written.boxPosition(ConfigBlock::StepList), QPoint(0, 0));
    EXPECT_EQ(written.boxPosition(ConfigBlock::Step3), QPoint(175, 5));
}

// A config.ini with places and sizes no screen can show: the window and the boxes open where
// they can be seen, on a surface of about the screen's size. Saved again, what was not moved
// keeps every byte as read; a window rectangle that cannot be read gives way to the window's.
TEST_F(MainWindowTest, StoredPlacesNoScreenCanShow)
{
    const qint32 most = INT32_MAX, least = INT32_MIN;
    // height, width, top and left of the window, top and left of every box, whether the
    // window's rectangle can be read
    const std::array<qint32, 7> cases[] = {{500, 700, 20, 10, 40, 175, true},
                                           {most, most, 0, 0, most, most, true},
                                           {most, most, most, most, least, least, false},
                                           {600, 800, least, least, -30, -30, true},
                                           {0, -5, 10, 10, 0, 0, false},
                                           {400, 500, 100000, -100000, 100000, 5, true}};
    for (const std::array<qint32, 7> &values : cases) {
        SCOPED_TRACE(&values - cases);
        QByteArray stored(ConfigBlock::size, '\0');
        for (int field = 0; field < 18; ++field)
            qToLittleEndian(values[field < 4 ? field : 4 + field % 2],
                            stored.data() + 292 + 4 * field);
        ConfigBlock config;
        config.setBytes(stored);
        ASSERT_TRUE(config.writeFile(m_paths.configPath()));
        Plan plan;
        MainWindow window(plan, m_messenger, m_reference, m_paths);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        const QRect shown(window.pos(), window.size());
        EXPECT_TRUE(screen.contains(shown));
        EXPECT_TRUE(QRect(QPoint(0, 0), screen.size()).contains(window.stepListBox()->pos()));
        EXPECT_TRUE(QRect(QPoint(0, 0), screen.size()).contains(window.resultBox()->pos()));
        const QSize surface = window.findChild<QScrollArea *>()->widget()->minimumSize();
        EXPECT_EQ(surface.boundedTo(2 * screen.size()), surface);

        window.saveLayout();
        config.readFile(m_paths.configPath());
        EXPECT_EQ(config.bytes().mid(308), stored.mid(308));
        if (values[6])
            EXPECT_EQ(config.bytes(), stored);
        else
            EXPECT_EQ(config.mainWindowGeometry(), shown);
    }
}

TEST_F(MainWindowTest, DataLocationCancelledOrWithoutTheSoilSampleTable)
{
    // "Mégsem" changes nothing.
    action("dataLocationAction")->trigger();
    QTest::mouseClick(m_window->dataLocationBox()->findChild<QPushButton *>(
                          QStringLiteral("dataLocationCancelButton")),
                      Qt::LeftButton);
    EXPECT_FALSE(m_window->dataLocationBox()->isVisible());
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());
    EXPECT_FALSE(QFile::exists(m_paths.configPath()));
    EXPECT_TRUE(m_window->farmDatabaseDirectory().isEmpty());

    // A folder without the soil sample table warns, but is remembered.
    QTemporaryDir farm;
    QFile tablak(farm.filePath(QStringLiteral("Tablak.db")));
    ASSERT_TRUE(tablak.open(QIODevice::WriteOnly));
    tablak.close();

    action("dataLocationAction")->trigger();
    EXPECT_TRUE(m_window->stepBox(2)->isVisible());
    EXPECT_TRUE(m_window->dataLocationBox()->isVisible());

    m_messenger.expect(Answer::Ok);
    m_window->dataLocationBox()->accept(farm.path());
    ASSERT_EQ(m_messenger.shown().size(), 1);
    EXPECT_EQ(m_messenger.lastText(),
              QStringLiteral("A megadott helyen nem található megfelelő adatbázis!"));
    EXPECT_EQ(m_messenger.shown().at(0).kind, MessageKind::Warning);
    // Opened from the menu: the chooser and the step-2 box close again.
    EXPECT_FALSE(m_window->dataLocationBox()->isVisible());
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());

    ConfigBlock written;
    written.readFile(m_paths.configPath());
    EXPECT_EQ(written.farmDatabaseDirectory(), farm.path());
}

// The panel takes the place of the open step box, which comes back when it closes; a step
// opened meanwhile asks about what was typed first.
TEST_F(MainWindowTest, AdviserDataFromTheMenuTakeTheStepBoxPlace)
{
    QTest::mouseClick(toolButton("newPlanButton"), Qt::LeftButton);
    m_window->wizard().finishStep(1);
    m_window->wizard().showStep(2);
    ASSERT_TRUE(m_window->stepBox(2)->isVisible());

    ASSERT_TRUE(action("adviserAction")->isEnabled());
    action("adviserAction")->trigger();
    AdviserPanel *panel = m_window->adviserPanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), m_window->stepBox(2)->pos());
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());

    auto *name = panel->findChild<QLineEdit *>(QStringLiteral("adviserNameEdit"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Minta Szaktanácsadó"));
    // the mouse-over help knows the panel's controls
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(name, &enter);
    EXPECT_EQ(m_window->statusLabel()->text(), QStringLiteral("A szaktanácsadó neve"));

    // (storing what is typed is the adviser panel's tests')
    name->clear();
    typeText(name, QStringLiteral("Szabó Éva"));
    snapshot("adviser");

    // "Mégsem" to the question keeps the panel; "Nem" drops the typing and opens step 1.
    const QString question = QStringLiteral("A szaktanácsadó adatai módosultak. Rögzíti őket?");
    m_messenger.expect(Answer::Megsem);
    QTest::mouseClick(stepButton(1), Qt::LeftButton);
    EXPECT_EQ(m_messenger.lastText(), question);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(m_window->stepBox(1)->isVisible());
    m_messenger.expect(Answer::Nem);
    QTest::mouseClick(stepButton(1), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(m_window->stepBox(1)->isVisible());
    EXPECT_FALSE(m_window->stepBox(2)->isVisible());
    EXPECT_EQ(m_messenger.shown().size(), 2);
}

// Each reference editor of the "Segédadatok" menu opens as a dialog of its own, before any
// step panel has been asked for.
TEST_F(MainWindowTest, EveryReferenceEditorOpensFromTheMenu)
{
    const std::pair<const char *, const char *> editors[] = {
        {"cropSpeciesAction", "CropNamesDialog"}, {"specificNeedAction", "NeedTableDialog"},
        {"splitEditorAction", "SplitEditor"}, {"materialsAction", "MaterialsEditor"}};
    for (const auto &[name, dialogClass] : editors) {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                shown = QString::fromLatin1(dialog->metaObject()->className());
                dialog->close();
            }
        });
        action(name)->trigger();
        EXPECT_EQ(shown, QLatin1String(dialogClass)) << name;
    }
}

#include "mainwindow_test.moc"
