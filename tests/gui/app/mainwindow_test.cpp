#include "gui/app/mainwindow.h"

#include "core/planfile/planfile.h"
#include "gui/reference/adviserpanel.h"
#include "gui/steps/step3panel.h"
#include "gui/steps/resultbox.h"
#include "support/typetext.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
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
#include <functional>

#include "mainwindowfixture.h"

namespace {

// Close, save (menu and toolbar), new, the step list shown and the "Lépések" menu usable.
QList<bool> planControls(MainWindow &window)
{
    const auto enabled = [&window](const char *name) {
        return window.action(QString::fromLatin1(name))->isEnabled();
    };
    return {enabled("closePlanAction"), enabled("savePlanAction"),
            window.findChild<QToolButton *>(QStringLiteral("savePlanButton"))->isEnabled(),
            window.findChild<QToolButton *>(QStringLiteral("newPlanButton"))->isEnabled(),
            window.stepListBox()->isVisible(), window.menuBar()->actions().at(1)->isEnabled()};
}

const QList<bool> noPlan {false, false, false, true, false, false};

} // namespace

TEST_F(MainWindowTest, NewPlanFromTheToolbarOpensStepOne)
{
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_EQ(planControls(*m_window), noPlan);

    QTest::mouseClick(toolButton("newPlanButton"), Qt::LeftButton);
    EXPECT_TRUE(m_plan.isOpen());
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_EQ(planControls(*m_window), QList<bool>({true, false, false, true, true, true}));
    StepListBox *steps = m_window->stepListBox();
    EXPECT_EQ(steps->title(), QStringLiteral("Új terv létrehozása"));
    EXPECT_EQ(m_window->statusLabel()->text(),
              QStringLiteral("Töltse ki az 1. lépés adatait, majd nyomja meg a „Kész” gombot."));
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
    EXPECT_EQ(planControls(*m_window), QList<bool>({true, true, true, true, true, true}));

    // No answer is queued: any question here fails the test.
    action("newPlanAction")->trigger();
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_TRUE(m_plan.items().lotNumber.isEmpty());
    EXPECT_FALSE(toolButton("savePlanButton")->isEnabled());

    m_plan.markEdited();
    m_messenger.expect(Answer::Nem);
    action("closePlanAction")->trigger();
    EXPECT_FALSE(m_plan.isOpen());
    EXPECT_EQ(planControls(*m_window), noPlan);
}

// The close box asks as "Kilépés" does (a save cancelled after "Igen" is the session's):
// "Mégsem" keeps the window and the plan, "Nem" closes both without writing a file.
TEST_F(MainWindowTest, TheCloseBoxAndExitAskAboutAModifiedPlan)
{
    const std::function<void()> ways[] = {
        [this] { EXPECT_EQ(m_window->isVisible(), !m_window->close()); },
        [this] { action("exitAction")->trigger(); }};
    for (const auto &leave : ways) {
        SCOPED_TRACE(&leave - ways);
        m_window->show();
        makePlan(3);
        m_plan.markEdited();
        m_messenger.expect(Answer::Megsem);
        leave();
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_TRUE(m_plan.isModified());
        m_messenger.expect(Answer::Nem);
        leave();
        EXPECT_FALSE(m_plan.isOpen());
        EXPECT_FALSE(m_window->isVisible());
    }
    EXPECT_TRUE(QDir(m_dir.path()).entryList({QStringLiteral("*.tap")}).isEmpty());
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
    EXPECT_EQ(m_messenger.shown(), QList<ScriptedMessenger::Shown>(
                                       {{"A megadott helyen nem található megfelelő adatbázis!",
                                         ButtonSet::OkOnly, true, MessageKind::Warning}}));
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
    // the mouse-over help knows the step buttons and the panel's controls
    const std::pair<QWidget *, const char *> hovered[] = {
        {stepButton(1), "1. lépés: a tervezendő tápelemek kiválasztása"},
        {name, "A szaktanácsadó neve"}};
    for (const auto &[control, help] : hovered) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(control, &enter);
        EXPECT_EQ(m_window->statusLabel()->text(), QString::fromUtf8(help));
    }

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

// The file commands themselves are PlanSession's (tests/core/session); here the menu reaches
// them and the window follows the plan.
TEST_F(MainWindowTest, MenuSaveAndOpenReachTheSession)
{
    makePlan(3);
    m_plan.markEdited();
    const QString path = m_dir.filePath(QStringLiteral("terv.tap"));
    m_chooser.expect(path);
    action("savePlanAction")->trigger();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(action("savePlanAction")->isEnabled());

    m_window->session().newPlan();
    m_window->wizard().showStep(1);
    m_chooser.expect(path);
    action("openPlanAction")->trigger();
    EXPECT_EQ(m_window->stepListBox()->title(), QStringLiteral("Tápanyagterv módosítása"));
    for (int step = 1; step <= 5; ++step)
        EXPECT_FALSE(m_window->stepBox(step)->isVisible()) << step;
    EXPECT_FALSE(action("savePlanAction")->isEnabled());
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

TEST_F(MainWindowTest, AnUnknownCropIsReportedAndLoadingGoesOn)
{
    makePlan(3);
    m_plan.setCropId(QStringLiteral("987"), Plan::Change::Computed);
    const QString path = m_dir.filePath(QStringLiteral("ismeretlen.tap"));
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(path, m_plan.items(), &error)) << qPrintable(error);
    m_window->session().newPlan();
    m_messenger.expect(Answer::Ok);
    EXPECT_TRUE(m_window->session().openPlanFile(path));
    // The crop list stands on its first crop, and that is the plan's crop now.
    EXPECT_EQ(m_plan.items().cropId, m_window->wizard().step3Panel()->currentCropId());
    EXPECT_EQ(m_messenger.lastText(), QStringLiteral("A növény fajtája nem ismert!"));
    EXPECT_EQ(m_plan.items().lotNumber, QStringLiteral("0452/7 Őrség-dűlő"));
    // The step-3 check looks only at the yield, so the steps still come back.
    EXPECT_EQ(m_plan.stepState(3), Plan::StepState::Done);
    EXPECT_FALSE(m_plan.isModified());
}

TEST_F(MainWindowTest, APlanNamedOnTheCommandLineOpensAtStart)
{
    makePlan(3);
    const QString path = m_dir.filePath(QStringLiteral("indulo.tap"));
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(path, m_plan.items(), &error));
    Plan otherPlan;
    MainWindow other(otherPlan, m_messenger, m_reference, m_paths);
    other.setPendingPlanPath(path);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    EXPECT_TRUE(otherPlan.isOpen());
    EXPECT_EQ(otherPlan.items().lotNumber, QStringLiteral("0452/7 Őrség-dűlő"));
    EXPECT_EQ(other.stepListBox()->title(), QStringLiteral("Tápanyagterv módosítása"));
    // As after opening from the menu: a change makes it savable.
    otherPlan.markEdited();
    EXPECT_TRUE(other.action(QStringLiteral("savePlanAction"))->isEnabled());
}

#include "mainwindow_test.moc"
