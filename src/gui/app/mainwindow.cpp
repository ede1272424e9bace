#include "gui/app/mainwindow.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/referenceimportflow.h"
#include "core/data/reference/tables.h"
#include "core/messages/filechooser.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/session/plansession.h"
#include "gui/app/datalocationbox.h"
#include "gui/app/hoverhelp.h"
#include "gui/app/planprinting.h"
#include "gui/app/steplistbox.h"
#include "gui/app/windowlayout.h"
#include "gui/app/wizardboxes.h"
#include "gui/leaf/leaflinkdialog.h"
#include "gui/leaf/leafsamplewindow.h"
#include "gui/purchase/purchasebox.h"
#include "gui/app/programsettingsmenu.h"
#include "gui/reference/materialeditors.h"
#include "gui/reference/nitratelimitsdialog.h"
#include "gui/steps/resultbox.h"
#include "gui/ui/aboutbox.h"
#include "gui/ui/dialogfilechooser.h"
#include "gui/ui/movablebox.h"
#include "gui/ui/programfont.h"
#include "gui/ui/userguide.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {
const QColor windowColour(152, 202, 228);
constexpr int toolBarHeight = 38;
constexpr int statusBarHeight = 27;
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

    m_plan.update(PlanItem::SoilSampleTable, &SoilSamples::initSoilGrid, Plan::Change::Computed);
    m_session = new PlanSession(m_plan, m_messenger, *m_fileChooser, m_reference,
                                m_paths.startDirectory, this);
    buildMenus();
    buildToolBar();
    buildSurface();
    m_session->setStepBoxes(m_wizard);
    m_purchaseBox = new PurchaseBox(m_messenger, *m_fileChooser, m_paths.startDirectory, m_surface);
    m_printing = new PlanPrinting(*m_session, m_reference, m_messenger, *m_fileChooser,
                                  m_paths.startDirectory, *m_wizard->resultBox(), this);
    connectSession();

    // The help texts of the controls, by control name.
    QHash<QString, QString> helpTexts;
    if (const auto rows = m_reference.select(Tables::Comptext::name)) {
        for (const QVariantMap &row : *rows)
            helpTexts.insert(row.value(Tables::Comptext::Compname).toString(),
                             row.value(Tables::Comptext::Text).toString());
    }
    m_hoverHelp = new HoverHelp(m_statusLabel, std::move(helpTexts), this);
    m_hoverHelp->watch(this);

    // Until a plan is started or opened the surface is empty and the steps are out of reach.
    showStepList(false);
    m_statusLabel->setText(QStringLiteral(
        "Új terv készítéséhez válassza a Tervkészítés menü Új terv készítése pontját."));

    resize(WindowLayout::builtInWindowSize);
    showPlanState();
}

void MainWindow::connectSession()
{
    connect(&m_plan, &Plan::stepsChanged, this, &MainWindow::showPlanState);
    connect(&m_plan, &Plan::openChanged, this, &MainWindow::showPlanState);
    connect(&m_plan, &Plan::modifiedChanged, this, &MainWindow::showPlanState);
    connect(&m_plan, &Plan::planReset, this, [this] {
        m_wizard->closeForNewPlan();
        showStepList(true);
    });

    connect(m_session, &PlanSession::planStarted, this, [this](const QString &caption) {
        m_statusLabel->clear();
        m_stepListBox->setTitle(caption);
        showStepList(true);
    });
    connect(m_session, &PlanSession::planClosed, this, &MainWindow::showStepList);

    connect(m_printing, &PlanPrinting::stepToCorrect, m_wizard, &WizardBoxes::correctStep);
    connect(m_wizard->resultBox(), &ResultBox::printRequested, m_printing,
            [this] { m_printing->printResult(PlanPrinting::PrintKind::ResultList); });
    connect(m_wizard, &WizardBoxes::printDescriptionsRequested, m_printing, [this] {
        m_wizard->finishStep(1);
        m_printing->printDescriptions();
    });
    connect(m_wizard, &WizardBoxes::coverSheetRequested, m_printing,
            &PlanPrinting::printCoverSheet);
}

PlanSession &MainWindow::session() const
{
    m_wizard->buildPanels();
    return *m_session;
}

WizardBoxes &MainWindow::wizard() const
{
    m_wizard->buildPanels();
    return *m_wizard;
}

MovableBox *MainWindow::stepBox(int step) const
{
    m_wizard->buildPanels();
    return m_wizard->stepBox(step);
}

DataLocationBox *MainWindow::dataLocationBox()
{
    if (m_dataLocationBox)
        return m_dataLocationBox;
    m_wizard->buildPanels(); // the box stands over the step-2 panel
    m_dataLocationBox
        = new DataLocationBox(m_config, m_paths.configPath(), m_messenger, m_wizard->stepBox(2));
    m_dataLocationBox->hide();
    connect(m_dataLocationBox, &DataLocationBox::directoryChanged, m_wizard,
            &WizardBoxes::setFarmDirectory);
    m_hoverHelp->watch(this);
    return m_dataLocationBox;
}

void MainWindow::showStepList(bool shown)
{
    m_stepListBox->setVisible(shown);
    m_stepsMenu->setEnabled(shown);
}

MainWindow::~MainWindow()
{
    // The widgets give up the focus while they are destroyed: stop watching before that.
    disconnect(qApp, &QApplication::focusChanged, m_wizard, nullptr);
}

void MainWindow::setFileChooser(FileChooser *chooser)
{
    m_fileChooser = chooser;
    m_session->setFileChooser(*chooser);
    m_printing->setFileChooser(*chooser);
    m_purchaseBox->setFileChooser(*chooser);
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
              [this] {
                  m_wizard->buildPanels();
                  m_session->newPlan();
                  m_statusLabel->setText(QStringLiteral(
                      "Töltse ki az 1. lépés adatait, majd nyomja meg a „Kész” gombot."));
              });
    addAction(planMenu, QStringLiteral("Vásárlás tervezés"), QStringLiteral("purchaseAction"),
              [this] { m_purchaseBox->planPurchases(); });
    addAction(planMenu, QStringLiteral("&Megnyitás"), QStringLiteral("openPlanAction"),
              [this] {
                  m_wizard->buildPanels();
                  m_session->openPlanCommand();
              });
    m_saveAction = addAction(planMenu, QStringLiteral("Terv menté&se"),
                             QStringLiteral("savePlanAction"), [this] { m_session->savePlan(); });
    m_closePlanAction
        = addAction(planMenu, QStringLiteral("Terv bezárása"), QStringLiteral("closePlanAction"),
                    [this] { m_session->closePlan(); });
    addAction(planMenu, QStringLiteral("Program bezárása"), QStringLiteral("quitAction"),
              [this] { exitProgram(); });

    m_stepsMenu = bar->addMenu(QStringLiteral("Lépések"));
    m_stepsMenu->setObjectName(QStringLiteral("stepsMenu"));
    static const char *const stepNames[]
        = {"1. Elemek kiválasztása", "2. Tábla adatok", "3. Növény adatai", "4. Módosító tényezők",
           "5. Kijuttatás"};
    for (int step = 1; step <= 5; ++step) {
        m_stepActions[step - 1] = addAction(m_stepsMenu, QString::fromUtf8(stepNames[step - 1]),
                                            QStringLiteral("step%1Action").arg(step),
                                            [this, step] { m_wizard->showStep(step); });
    }
    m_summaryAction
        = addAction(m_stepsMenu, QStringLiteral("Összesített kimutatás"),
                    QStringLiteral("summaryAction"), [this] { m_printing->showSummary(); });

    QMenu *referenceMenu = bar->addMenu(QStringLiteral("Segédadatok"));
    addAction(referenceMenu, QStringLiteral("Növényfajok"), QStringLiteral("cropSpeciesAction"),
              [this] { m_wizard->openCropSpecies(); });
    addAction(referenceMenu, QStringLiteral("Növények tápanyagigénye"),
              QStringLiteral("specificNeedAction"), [this] { m_wizard->openSpecificNeeds(); });
    const auto editors = [this] { return m_wizard->materialEditors(); };
    addAction(referenceMenu, QStringLiteral("Kijuttatás megosztása"),
              QStringLiteral("splitEditorAction"), [editors] { editors()->openSplitEditor(); });
    addAction(referenceMenu, QStringLiteral("Termésnövelő anyagok"),
              QStringLiteral("materialsAction"), [editors] { editors()->openMaterialsEditor(); });
    addAction(referenceMenu, QStringLiteral("Szaktanácsadó adatok"),
              QStringLiteral("adviserAction"), [this] { m_wizard->openAdviserPanel(); });
    addAction(referenceMenu, QStringLiteral("Nitrátérzékeny terület N-korlátai"), QStringLiteral(
        "nitrateLimitsAction"), [this] { NitrateLimitsDialog::open(m_messenger, m_reference, this); });

    referenceMenu->addSeparator();
    addAction(referenceMenu, QStringLiteral("Régi referencia-táblák átvétele"),
              QStringLiteral("importReferenceAction"), [this] { importReferenceTables(); });

    QMenu *leafMenu = bar->addMenu(QStringLiteral("Levélanalízis"));
    addAction(leafMenu, QStringLiteral("Levélminta eredmények"), QStringLiteral("leafSamplesAction"),
              [this] {
                  LeafSampleWindow::open(m_messenger, m_reference, *m_fileChooser, m_plan, this);
              });
    m_leafLinkAction = addAction(
        leafMenu, QStringLiteral("Talajminták - levélminták összekapcsolása"),
        QStringLiteral("leafLinkAction"),
        [this] { LeafLinkDialog::open(m_plan, m_reference, m_messenger, this); });
    m_leafSummaryAction = addAction(
        leafMenu, QStringLiteral("Összesített kimutatás levélanaéízissel"),
        QStringLiteral("leafSummaryAction"), [this] { m_printing->showSummary(true); });

    QMenu *settingsMenu = bar->addMenu(QStringLiteral("Beállítások"));
    addAction(settingsMenu, QStringLiteral("Adatelérés elérési út"),
              QStringLiteral("dataLocationAction"), [this] {
                  if (m_wizard->showStep(2))
                      dataLocationBox()->open(true);
              });
    addAction(settingsMenu, QStringLiteral("Elrendezés mentése"),
              QStringLiteral("saveLayoutAction"), [this] { saveLayout(); });
    addAction(settingsMenu, QStringLiteral("Eredeti elrendezés"),
              QStringLiteral("defaultLayoutAction"), [this] { restoreDefaultLayout(); });
    new ProgramSettingsMenu(m_session->settings(), m_paths.settingsPath(), m_messenger, settingsMenu);

    QMenu *helpMenu = bar->addMenu(QStringLiteral("Help"));
    addAction(helpMenu, QStringLiteral("Nutrisor help"), QStringLiteral("helpAction"), [this] { UserGuide::open(m_paths.helpFilePath(), m_messenger); });
    addAction(helpMenu, QStringLiteral("Készítő"), QStringLiteral("aboutAction"),
              [this] { AboutBox(this).exec(); });

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
    addButton(QStringLiteral("savePlanButton"), QStyle::SP_DialogSaveButton,
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
    connect(m_stepListBox, &StepListBox::stepRequested, this,
            [this](int step) { m_wizard->showStep(step); });
    connect(m_stepListBox, &StepListBox::closeRequested, this, [this] { m_session->closePlan(); });
    m_layout = std::make_unique<WindowLayout>(*this, *m_surface, m_config,
                                              [this] { return storedBoxes(); });
    connect(m_stepListBox, &MovableBox::moved, this, [this] { m_layout->updateSurfaceSize(); });
    connect(m_stepListBox, &StepListBox::summaryRequested, this,
            [this] { m_printing->showSummary(); });

    m_wizard = new WizardBoxes(*m_session, m_messenger, m_reference, m_surface);
    connect(m_wizard, &WizardBoxes::boxesChanged, this, [this] { m_layout->updateSurfaceSize(); });
    connect(m_wizard, &WizardBoxes::panelsBuilt, this, &MainWindow::placeBuiltBoxes);
    connect(m_wizard, &WizardBoxes::dataLocationRequested, this,
            [this] { dataLocationBox()->open(false); });

    m_layout->placeDefault();
}

QList<std::pair<ConfigBlock::Box, QWidget *>> MainWindow::storedBoxes() const
{
    const WizardBoxes &wizard = *m_wizard;
    return {{ConfigBlock::StepList, m_stepListBox},  {ConfigBlock::Step1, wizard.stepBox(1)},
            {ConfigBlock::Step2, wizard.stepBox(2)}, {ConfigBlock::Step3, wizard.stepBox(3)},
            {ConfigBlock::Step4, wizard.stepBox(4)}, {ConfigBlock::Result, resultBox()},
            {ConfigBlock::Step5, wizard.stepBox(5)}};
}

void MainWindow::placeBuiltBoxes()
{
    m_wizard->materialEditors()->setCropEditorAction(action(QStringLiteral("cropSpeciesAction")));
    m_layout->placeBuiltBoxes();
    m_hoverHelp->watch(this);
}

void MainWindow::showPlanState()
{
    m_stepListBox->showProgress(m_plan);
    for (int step = 1; step <= 5; ++step)
        m_stepActions[step - 1]->setEnabled(m_plan.isStepEnabled(step));
    m_summaryAction->setEnabled(m_plan.isOpen() && m_plan.isSummaryEnabled());
    m_closePlanAction->setEnabled(m_plan.isOpen());
    m_leafLinkAction->setEnabled(m_plan.isOpen());
    m_leafSummaryAction->setEnabled(m_plan.isOpen());
    m_saveAction->setEnabled(m_plan.isModified());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The close box asks about unsaved changes as the exit commands do, never drops them.
    if (!m_quitting && m_plan.isOpen() && m_plan.isModified()) {
        if (!m_session->closePlan()) {
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
    m_wizard->setFarmDirectory(m_config.farmDatabaseDirectory());
    // A plan named on the command line opens as one chosen from the menu would.
    if (!m_pendingPlanPath.isEmpty()) {
        m_wizard->buildPanels();
        m_session->openPlanFile(std::exchange(m_pendingPlanPath, QString()));
    }
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // The panels come once the window stands on the screen, with the next turn of the events.
    if (!std::exchange(m_firstPaintDone, true))
        QTimer::singleShot(0, m_wizard, &WizardBoxes::buildPanels);
}

void MainWindow::applyStoredLayout()
{
    m_layout->applyStored();
}

void MainWindow::saveLayout()
{
    m_layout->save(m_paths.configPath());
}

void MainWindow::restoreDefaultLayout()
{
    m_layout->restoreDefault(m_paths.configPath());
}

void MainWindow::exitProgram()
{
    if (m_plan.isOpen() && m_plan.isModified() && !m_session->closePlan())
        return; // the user chose to stay, or the save was cancelled
    m_quitting = true;
    close();
    QApplication::quit();
}

void MainWindow::importReferenceTables()
{
    // "Régi referencia-táblák átvétele": an earlier installation's tables, from a directory.
    const QString directory = m_fileChooser->existingDirectory(
        QStringLiteral("A korábbi telepítés referencia-táblái"), m_paths.startDirectory);
    if (directory.isEmpty())
        return;
    const ReferenceImportOutcome outcome
        = ::importReferenceTables(directory, m_reference, m_messenger, QDate::currentDate());
    // The lists follow the tables taken over: the database announces each table replaced.
    if (!outcome.declined)
        m_messenger.inform(outcome.message, false,
                           outcome.imported ? MessageKind::Information : MessageKind::Warning);
}
