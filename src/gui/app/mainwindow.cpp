#include "gui/app/mainwindow.h"

#include "core/data/farmdatabase.h"
#include "core/data/referencedatabase.h"
#include "core/data/tables.h"
#include "core/messages/messenger.h"
#include "core/plan/elementselection.h"
#include "core/plan/needcalculation.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "gui/app/datalocationbox.h"
#include "gui/app/hoverhelp.h"
#include "gui/app/movablebox.h"
#include "gui/app/steplistbox.h"
#include "gui/reference/adviserpanel.h"
#include "gui/steps/resultbox.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/step1panel.h"
#include "gui/steps/step2panel.h"
#include "gui/steps/step3panel.h"
#include "gui/steps/step4panel.h"
#include "gui/steps/step5panel.h"
#include "gui/ui/aboutbox.h"
#include "gui/ui/dialogfilechooser.h"
#include "gui/ui/programfont.h"
#include "gui/ui/stepquestion.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {
const QColor windowColour(152, 202, 228);
constexpr int toolBarHeight = 38;
constexpr int statusBarHeight = 27;
const QSize builtInWindowSize(1024, 720);
} // namespace

MainWindow::MainWindow(Plan &plan, Messenger &messenger, ReferenceDatabase &reference,
                       const AppPaths &paths, QWidget *parent)
    : QMainWindow(parent)
    , m_plan(plan)
    , m_messenger(messenger)
    , m_reference(reference)
    , m_paths(paths)
    , m_dialogFileChooser(std::make_unique<DialogFileChooser>(this))
    , m_fileChooser(m_dialogFileChooser.get())
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Tápanyag-gazdálkodási terv"));
    setFont(programFont());
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowColour);
    setPalette(windowPalette);
    setAutoFillBackground(true);

    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusBar()->setFixedHeight(statusBarHeight);
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(m_statusLabel, 1);

    SoilSamples::initSoilGrid(m_plan.items());
    buildMenus();
    buildToolBar();
    buildSurface();
    buildStepPanels();
    buildAdviserPanel();

    // The help texts of the controls, by control name.
    QHash<QString, QString> helpTexts;
    if (const auto rows = m_reference.select(Tables::Comptext::name)) {
        for (const QVariantMap &row : *rows)
            helpTexts.insert(row.value(Tables::Comptext::Compname).toString(),
                             row.value(Tables::Comptext::Text).toString());
    }
    m_hoverHelp = new HoverHelp(m_statusLabel, std::move(helpTexts), this);
    m_hoverHelp->watch(this);
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::watchFocusLeavingStep1);

    connect(&m_plan, &Plan::stepsChanged, this, &MainWindow::showPlanState);
    connect(&m_plan, &Plan::openChanged, this, &MainWindow::showPlanState);
    connect(&m_plan, &Plan::modifiedChanged, this, &MainWindow::showPlanState);
    connect(&m_plan, &Plan::planReset, this, [this] {
        // The boxes of steps 1–4, the result box and the linking box close; the step-5 box
        // keeps its visibility.
        for (int step = 1; step <= 4; ++step)
            m_stepBoxes[step - 1]->hide();
        m_resultBox->hide();
        m_resultBox->clearResult();
        m_stepListBox->show();
        m_stepsMenu->setEnabled(true);
    });

    // Until a plan is started or opened the surface is empty and the steps are out of reach.
    m_stepListBox->hide();
    m_stepsMenu->setEnabled(false);
    m_statusLabel->setText(QStringLiteral(
        "Új terv készítéséhez válassza a Tervkészítés menü Új terv készítése pontját."));

    resize(builtInWindowSize);
    showPlanState();
}

MainWindow::~MainWindow()
{
    // The widgets give up the focus while they are destroyed: stop watching before that.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

QAction *MainWindow::addAction(QMenu *menu, const QString &caption, const QString &name,
                               std::function<void()> command)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (command)
        connect(action, &QAction::triggered, this, std::move(command));
    else
        action->setEnabled(false); // built by a later part of the program
    return action;
}

QAction *MainWindow::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *planMenu = bar->addMenu(QStringLiteral("&Tervkészítés"));
    addAction(planMenu, QStringLiteral("Új &terv készítése"), QStringLiteral("newPlanAction"),
              [this] { newPlan(); });
    addAction(planMenu, QStringLiteral("Vásárlás tervezés"), QStringLiteral("purchaseAction"), {});
    addAction(planMenu, QStringLiteral("&Megnyitás"), QStringLiteral("openPlanAction"),
              [this] { openPlanCommand(); });
    m_saveAction = addAction(planMenu, QStringLiteral("Terv menté&se"),
                             QStringLiteral("savePlanAction"), [this] { savePlan(); });
    m_closePlanAction = addAction(planMenu, QStringLiteral("Terv bezárása"),
                                  QStringLiteral("closePlanAction"), [this] { closePlan(); });
    addAction(planMenu, QStringLiteral("Program bezárása"), QStringLiteral("quitAction"),
              [this] { exitProgram(); });

    m_stepsMenu = bar->addMenu(QStringLiteral("Lépések"));
    m_stepsMenu->setObjectName(QStringLiteral("stepsMenu"));
    static const char *const stepNames[] = {"1. Elemek kiválasztása", "2. Tábla adatok",
                                            "3. Növény adatai", "4. Módosító tényezők",
                                            "5. Kijuttatás"};
    for (int step = 1; step <= 5; ++step) {
        m_stepActions[step - 1] = addAction(m_stepsMenu, QString::fromUtf8(stepNames[step - 1]),
                                            QStringLiteral("step%1Action").arg(step),
                                            [this, step] { showStep(step); });
    }
    m_summaryAction = addAction(m_stepsMenu, QStringLiteral("Összesített kimutatás"),
                                QStringLiteral("summaryAction"), [this] { showSummary(); });

    QMenu *referenceMenu = bar->addMenu(QStringLiteral("Segédadatok"));
    addAction(referenceMenu, QStringLiteral("Növényfajok"), QStringLiteral("cropSpeciesAction"), {});
    addAction(referenceMenu, QStringLiteral("Növények tápanyagigénye"),
              QStringLiteral("specificNeedAction"), {});
    addAction(referenceMenu, QStringLiteral("Kijuttatás megosztása"),
              QStringLiteral("splitEditorAction"), {});
    addAction(referenceMenu, QStringLiteral("Termésnövelő anyagok"),
              QStringLiteral("materialsAction"), {});
    addAction(referenceMenu, QStringLiteral("Szaktanácsadó adatok"),
              QStringLiteral("adviserAction"), [this] { showAdviserPanel(); });

    referenceMenu->addSeparator();
    addAction(referenceMenu, QStringLiteral("Régi referencia-táblák átvétele"),
              QStringLiteral("importReferenceAction"), [this] { importReferenceTables(); });

    QMenu *leafMenu = bar->addMenu(QStringLiteral("Levélanalízis"));
    addAction(leafMenu, QStringLiteral("Levélminta eredmények"), QStringLiteral("leafSamplesAction"),
              {});
    addAction(leafMenu, QStringLiteral("Talajminták - levélminták összekapcsolása"),
              QStringLiteral("leafLinkAction"), {});
    addAction(leafMenu, QStringLiteral("Összesített kimutatás levélanaéízissel"),
              QStringLiteral("leafSummaryAction"), {});

    QMenu *settingsMenu = bar->addMenu(QStringLiteral("Beállítások"));
    addAction(settingsMenu, QStringLiteral("Adatelérés elérési út"),
              QStringLiteral("dataLocationAction"), [this] { openDataLocation(); });
    addAction(settingsMenu, QStringLiteral("Elrendezés mentése"), QStringLiteral("saveLayoutAction"),
              [this] { saveLayout(); });
    addAction(settingsMenu, QStringLiteral("Eredeti elrendezés"),
              QStringLiteral("defaultLayoutAction"), [this] { restoreDefaultLayout(); });

    QMenu *helpMenu = bar->addMenu(QStringLiteral("Help"));
    addAction(helpMenu, QStringLiteral("Nutrisor help"), QStringLiteral("helpAction"),
              [this] { showHelp(); });
    addAction(helpMenu, QStringLiteral("Készítő"), QStringLiteral("aboutAction"),
              [this] { showAbout(); });

    QAction *exitAction = bar->addAction(QStringLiteral("Kilépes"));
    exitAction->setObjectName(QStringLiteral("exitAction"));
    connect(exitAction, &QAction::triggered, this, [this] { exitProgram(); });
}

void MainWindow::buildToolBar()
{
    QToolBar *toolBar = addToolBar(QStringLiteral("Terv"));
    toolBar->setObjectName(QStringLiteral("planToolBar"));
    toolBar->setMovable(false);
    toolBar->setFixedHeight(toolBarHeight);
    toolBar->setIconSize(QSize(24, 24));

    auto addButton = [&](const QString &name, QStyle::StandardPixmap icon, const QString &tip,
                         QAction *menuAction) {
        auto *button = new QToolButton(toolBar);
        button->setObjectName(name);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(tip);
        button->setAutoRaise(true);
        toolBar->addWidget(button);
        // The button does what its menu entry does and is enabled with it.
        connect(button, &QToolButton::clicked, menuAction, &QAction::trigger);
        connect(menuAction, &QAction::changed, button,
                [button, menuAction] { button->setEnabled(menuAction->isEnabled()); });
        button->setEnabled(menuAction->isEnabled());
        return button;
    };
    addButton(QStringLiteral("newPlanButton"), QStyle::SP_FileIcon,
              QStringLiteral("Új terv készítése"), action(QStringLiteral("newPlanAction")));
    addButton(QStringLiteral("openPlanButton"), QStyle::SP_DialogOpenButton,
              QStringLiteral("Megnyitás"), action(QStringLiteral("openPlanAction")));
    m_saveButton = addButton(QStringLiteral("savePlanButton"), QStyle::SP_DialogSaveButton,
                             QStringLiteral("Terv mentése"), m_saveAction);
}

void MainWindow::buildSurface()
{
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setObjectName(QStringLiteral("surfaceScrollArea"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_surface = new QWidget;
    m_surface->setObjectName(QStringLiteral("surface"));
    QPalette surfacePalette = m_surface->palette();
    surfacePalette.setColor(QPalette::Window, windowColour);
    m_surface->setPalette(surfacePalette);
    m_surface->setAutoFillBackground(true);
    m_scrollArea->setWidget(m_surface);
    setCentralWidget(m_scrollArea);

    m_stepListBox = new StepListBox(m_surface);
    connect(m_stepListBox, &StepListBox::stepRequested, this, &MainWindow::showStep);
    connect(m_stepListBox, &StepListBox::closeRequested, this, [this] { closePlan(); });
    connect(m_stepListBox, &MovableBox::moved, this, &MainWindow::updateSurfaceSize);
    connect(m_stepListBox, &StepListBox::summaryRequested, this, &MainWindow::showSummary);

    static const char *const boxTitles[] = {
        "Elemek kiválasztása", "Tábla adatok", "Növény adatai",
        "Korrekciós tényezők előző évi vetemény alapján", "Kijuttattás ütemezése"};
    for (int step = 1; step <= 5; ++step) {
        auto *box = new MovableBox(QString::fromUtf8(boxTitles[step - 1]), m_surface);
        box->setObjectName(QStringLiteral("step%1Box").arg(step));
        box->resize(560, 420);
        box->hide();
        connect(box, &MovableBox::moved, this, &MainWindow::updateSurfaceSize);
        m_stepBoxes[step - 1] = box;
    }
    m_resultBox = new ResultBox(m_surface);
    m_resultBox->hide();
    connect(m_resultBox, &MovableBox::moved, this, &MainWindow::updateSurfaceSize);
    connect(m_resultBox, &ResultBox::printRequested, this,
            [this] { printResult(PrintKind::ResultList); });

    m_dataLocationBox = new DataLocationBox(stepBox(2));
    m_dataLocationBox->resize(320, 300);
    m_dataLocationBox->hide();
    connect(m_dataLocationBox, &DataLocationBox::accepted, this, &MainWindow::acceptDataLocation);
    connect(m_dataLocationBox, &DataLocationBox::cancelled, this, &MainWindow::cancelDataLocation);

    for (const auto &[box, widget] : storedBoxes())
        widget->move(defaultBoxPosition(box));
    updateSurfaceSize();
}

QList<std::pair<ConfigBlock::Box, QWidget *>> MainWindow::storedBoxes() const
{
    return {{ConfigBlock::StepList, m_stepListBox}, {ConfigBlock::Step1, m_stepBoxes[0]},
            {ConfigBlock::Step2, m_stepBoxes[1]},   {ConfigBlock::Step3, m_stepBoxes[2]},
            {ConfigBlock::Step4, m_stepBoxes[3]},   {ConfigBlock::Result, m_resultBox},
            {ConfigBlock::Step5, m_stepBoxes[4]}};
}

QPoint MainWindow::defaultBoxPosition(ConfigBlock::Box box)
{
    return box == ConfigBlock::StepList ? QPoint(0, 0) : QPoint(175, 5);
}

void MainWindow::updateSurfaceSize()
{
    // The surface reaches a little beyond the farthest box, so a box dragged away can
    // always be scrolled back into view.
    QRect extent(0, 0, 1, 1);
    for (const auto &entry : storedBoxes())
        extent = extent.united(entry.second->geometry());
    m_surface->setMinimumSize(extent.right() + 40, extent.bottom() + 40);
}

void MainWindow::showPlanState()
{
    m_stepListBox->showProgress(m_plan);
    for (int step = 1; step <= 5; ++step)
        m_stepActions[step - 1]->setEnabled(m_plan.isStepEnabled(step));
    m_summaryAction->setEnabled(m_plan.isOpen() && m_plan.isSummaryEnabled());
    m_closePlanAction->setEnabled(m_plan.isOpen());
    m_saveAction->setEnabled(m_plan.isModified());
}

void MainWindow::buildStepPanels()
{
    auto fill = [](MovableBox *box, QWidget *panel) {
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(panel);
        box->resize(box->sizeHint());
    };

    auto *step1Panel = new Step1Panel(m_plan, stepBox(1));
    fill(stepBox(1), step1Panel);
    connect(step1Panel, &Step1Panel::doneRequested, this, [this] { finishStep(1); });
    connect(step1Panel, &Step1Panel::printDescriptionsRequested, this,
            &MainWindow::printDescriptions);

    m_step2Panel = new Step2Panel(m_plan, m_messenger, m_reference, stepBox(2));
    fill(stepBox(2), m_step2Panel);
    connect(m_step2Panel, &Step2Panel::doneRequested, this, [this] { finishStep(2); });
    connect(m_step2Panel, &Step2Panel::supplyLevelsRequested, this, &MainWindow::showSupplyLevels);
    connect(m_step2Panel, &Step2Panel::dataLocationRequested, this, [this] {
        openDataLocation();
        m_pathChooserFromMenu = false;
    });
    connect(this, &MainWindow::farmDirectoryChanged, this, [this](const QString &directory) {
        m_step2Panel->setFarmDirectory(directory);
        // The data request, when open, lists the records of the new place at once.
        if (m_step2Panel->requestPanel()->isVisible())
            m_step2Panel->requestPanel()->open();
    });

    m_step3Panel = new Step3Panel(m_plan, m_messenger, m_reference, m_state, stepBox(3));
    fill(stepBox(3), m_step3Panel);
    connect(m_step3Panel, &Step3Panel::doneRequested, this, [this] { finishStep(3); });
    connect(m_step3Panel, &Step3Panel::resultReady, this,
            [this](const ResultTable &result) { showStepResult(3, result); });

    auto *step4Panel = new Step4Panel(m_plan, m_messenger, m_reference, m_state, stepBox(4));
    fill(stepBox(4), step4Panel);
    connect(step4Panel, &Step4Panel::doneRequested, this, [this] { finishStep(4); });
    connect(step4Panel, &Step4Panel::resultReady, this,
            [this](const ResultTable &result) { showStepResult(4, result); });

    m_step5Panel = new Step5Panel(m_plan, m_messenger, m_reference, m_state, stepBox(5));
    fill(stepBox(5), m_step5Panel);
    connect(m_step5Panel, &Step5Panel::doneRequested, this, [this] { finishStep(5); });
    connect(m_step5Panel, &Step5Panel::resultReady, this,
            [this](const ResultTable &result) { showStepResult(5, result); });
}

void MainWindow::showStepResult(int step, const ResultTable &result)
{
    // A list replaces the step's box on the surface.
    stepBox(step)->hide();
    m_resultBox->showResult(result);
    updateSurfaceSize();
}

bool MainWindow::computeAverages()
{
    return m_step2Panel->computeAverages();
}

StepOutcome MainWindow::finishStep(int step)
{
    if (step == 1)
        ElementSelection::applyElementSelection(m_plan.items(), m_state.elements);
    if (step == 2 && !computeAverages())
        return StepOutcome::KeepOpen;
    const StepOutcome outcome = completeStep(m_plan, step, true, m_messenger);
    stepBox(step)->setVisible(outcome == StepOutcome::KeepOpen);
    if (step == 1)
        m_plan.notifyItemsChanged(); // the starred row labels of the sample table
    return outcome;
}

void MainWindow::showSupplyLevels()
{
    m_resultBox->clearResult();
    if (!computeAverages())
        return;
    finishStep(2);
    if (m_plan.stepState(2) != Plan::StepState::Done)
        return;
    NeedCalculation need(m_reference);
    m_resultBox->showResult(
        ::showSupplyLevels(std::as_const(m_plan).items(), m_state, need.classifier));
    updateSurfaceSize();
}

void MainWindow::watchFocusLeavingStep1(QWidget *old, QWidget *now)
{
    // Leaving the element selection completes step 1 as its "Kész" does, but leaves the row
    // labels of the sample table alone. The lists follow the ticks all the same, so that a
    // selection changed and left is never listed by its old ticks. A dialog taking the focus
    // does not count as leaving.
    MovableBox *box = stepBox(1);
    if (!old || !now || !box->isVisible() || now->window() != this)
        return;
    if (box->isAncestorOf(old) && !box->isAncestorOf(now)) {
        ElementSelection::applySelectedFlags(m_plan.items(), m_state.elements);
        completeStep(m_plan, 1, true, m_messenger);
        box->hide();
    }
}

void MainWindow::showStep(int step)
{
    for (int other = 1; other <= 5; ++other) {
        if (other != step)
            m_stepBoxes[other - 1]->hide();
    }
    m_resultBox->hide();
    if (step == 5)
        m_step5Panel->setDateToToday();
    MovableBox *box = m_stepBoxes[step - 1];
    box->show();
    box->raise();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The close box asks about unsaved changes like the exit commands do, instead of
    // dropping them silently.
    if (!m_quitting && m_plan.isOpen() && m_plan.isModified()) {
        if (!closePlan()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShowDone)
        return;
    m_firstShowDone = true;
    m_config.readFile(m_paths.configPath());
    if (m_config.farmDatabaseDirectory().isEmpty() && !m_farmDirectoryDefault.isEmpty())
        m_config.setFarmDatabaseDirectory(QDir::toNativeSeparators(m_farmDirectoryDefault));
    applyStoredLayout();
    m_step2Panel->setFarmDirectory(m_config.farmDatabaseDirectory());
    // A plan named on the command line opens as one chosen from the menu would.
    if (!m_pendingPlanPath.isEmpty())
        openPlanFile(std::exchange(m_pendingPlanPath, QString()));
}

void MainWindow::applyStoredLayout()
{
    if (const std::optional<QRect> geometry = m_config.mainWindowGeometry()) {
        resize(geometry->size());
        move(geometry->topLeft());
    } else if (const QScreen *screen = this->screen()) {
        // No stored place: the built-in size, centred on the screen.
        const QRect available = screen->availableGeometry();
        const QSize size = builtInWindowSize.boundedTo(available.size());
        resize(size);
        move(available.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    for (const auto &[box, widget] : storedBoxes())
        widget->move(m_config.boxPosition(box).value_or(defaultBoxPosition(box)));
    updateSurfaceSize();
}

void MainWindow::saveLayout()
{
    m_config.setMainWindowGeometry(QRect(pos(), size()));
    for (const auto &[box, widget] : storedBoxes())
        m_config.setBoxPosition(box, widget->pos());
    m_config.writeFile(m_paths.configPath()); // an unwritable file fails silently
}

void MainWindow::restoreDefaultLayout()
{
    for (const auto &[box, widget] : storedBoxes())
        widget->move(defaultBoxPosition(box));
    updateSurfaceSize();
    saveLayout();
}

void MainWindow::openDataLocation()
{
    m_pathChooserFromMenu = true;
    MovableBox *box = stepBox(2);
    box->show();
    box->raise();
    m_dataLocationBox->move(3, 15);
    m_dataLocationBox->setDirectory(m_config.farmDatabaseDirectory());
    m_dataLocationBox->show();
    m_dataLocationBox->raise();
}

void MainWindow::acceptDataLocation(const QString &directory)
{
    m_config.setFarmDatabaseDirectory(directory.left(255));
    const bool valid = FarmDatabase::isFarmDirectory(m_config.farmDatabaseDirectory());
    if (!valid) {
        m_messenger.display(QStringLiteral("A megadott helyen nem található megfelelő adatbázis!"),
                            ButtonSet::OkOnly, true, MessageKind::Warning);
    }
    // Remembered even when the tables are missing.
    m_config.writeFile(m_paths.configPath());
    emit farmDirectoryChanged(m_config.farmDatabaseDirectory(), valid);
    m_dataLocationBox->hide();
    if (m_pathChooserFromMenu)
        stepBox(2)->hide();
}

void MainWindow::cancelDataLocation()
{
    m_dataLocationBox->hide();
    if (m_pathChooserFromMenu)
        stepBox(2)->hide();
}

void MainWindow::buildAdviserPanel()
{
    // Not part of the stored layout: it opens where the step boxes open.
    m_adviserPanel = new AdviserPanel(m_messenger, m_reference, m_surface);
    m_adviserPanel->move(defaultBoxPosition(ConfigBlock::Step1));
    m_adviserPanel->hide();
    connect(m_adviserPanel, &AdviserPanel::coverSheetRequested, this, &MainWindow::printCoverSheet);
}

void MainWindow::showAdviserPanel()
{
    m_adviserPanel->open();
}

void MainWindow::showHelp()
{
    m_messenger.display(QStringLiteral("A Használati leírást megtalálja a program könyvtárában "
                                       "hasznalati.pdf fájlnéven."),
                        ButtonSet::OkOnly, false, MessageKind::Information);
}

void MainWindow::showAbout()
{
    AboutBox about(this);
    about.exec();
}
