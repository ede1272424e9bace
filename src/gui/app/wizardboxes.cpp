#include "gui/app/wizardboxes.h"

#include "core/data/reference/referencedatabase.h"
#include "core/messages/messenger.h"
#include "core/plan/elementselection.h"
#include "core/plan/plan.h"
#include "core/plan/needcalculation.h"
#include "core/session/plansession.h"
#include "gui/reference/adviserpanel.h"
#include "gui/reference/cropeditors.h"
#include "gui/reference/materialeditors.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/resultbox.h"
#include "gui/steps/step1panel.h"
#include "gui/steps/step2panel.h"
#include "gui/steps/step3panel.h"
#include "gui/steps/step4panel.h"
#include "gui/steps/step5panel.h"
#include "gui/ui/movablebox.h"
#include "gui/ui/stepquestion.h"

#include <QApplication>
#include <QVBoxLayout>

#include <utility>

WizardBoxes::WizardBoxes(PlanSession &session, Messenger &messenger, ReferenceDatabase &reference,
                         QWidget *surface)
    : QObject(surface)
    , m_session(session)
    , m_messenger(messenger)
    , m_reference(reference)
    , m_surface(surface)
{
    static const char *const boxTitles[]
        = {"Elemek kiválasztása", "Tábla adatok", "Növény adatai",
           "Korrekciós tényezők előző évi vetemény alapján", "Kijuttattás ütemezése"};
    for (int step = 1; step <= 5; ++step) {
        auto *box = new MovableBox(QString::fromUtf8(boxTitles[step - 1]), surface);
        box->setObjectName(QStringLiteral("step%1Box").arg(step));
        box->resize(560, 420);
        box->hide();
        connect(box, &MovableBox::moved, this, &WizardBoxes::boxesChanged);
        m_stepBoxes[step - 1] = box;
    }
    m_resultBox = new ResultBox(surface);
    m_resultBox->hide();
    connect(m_resultBox, &MovableBox::moved, this, &WizardBoxes::boxesChanged);

    connect(qApp, &QApplication::focusChanged, this, &WizardBoxes::watchFocusLeavingStep1);
}

AdviserPanel *WizardBoxes::adviserPanel()
{
    buildPanels();
    return m_adviserPanel;
}

Step2Panel *WizardBoxes::step2Panel()
{
    buildPanels();
    return m_step2Panel;
}

Step3Panel *WizardBoxes::step3Panel()
{
    buildPanels();
    return m_step3Panel;
}

void WizardBoxes::buildPanels()
{
    if (hasPanels())
        return;
    m_adviserPanel = new AdviserPanel(m_messenger, m_reference, m_surface);
    m_adviserPanel->hide();
    connect(m_adviserPanel, &AdviserPanel::closed, this, [this] {
        if (QWidget *replaced = std::exchange(m_replacedBox, nullptr))
            replaced->show();
    });
    connect(m_adviserPanel, &AdviserPanel::coverSheetRequested, this,
            &WizardBoxes::coverSheetRequested);

    // The panels' one context: the plan, the tables, the messenger and the session's state.
    const StepContext context {m_session.plan(), m_reference, m_messenger,
                               m_session.calculationState(), &m_session.settings()};
    auto fill = [](MovableBox *box, QWidget *panel) {
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(panel);
        box->resize(box->sizeHint());
    };

    auto *step1Panel = new Step1Panel(context, stepBox(1));
    fill(stepBox(1), step1Panel);
    connect(step1Panel, &Step1Panel::doneRequested, this, [this] { finishStep(1); });
    connect(step1Panel, &Step1Panel::printDescriptionsRequested, this,
            &WizardBoxes::printDescriptionsRequested);

    m_step2Panel = new Step2Panel(context, stepBox(2));
    fill(stepBox(2), m_step2Panel);
    connect(m_step2Panel, &Step2Panel::doneRequested, this, [this] { finishStep(2); });
    connect(m_step2Panel, &Step2Panel::supplyLevelsRequested, this, &WizardBoxes::showSupplyLevels);
    connect(m_step2Panel, &Step2Panel::dataLocationRequested, this,
            &WizardBoxes::dataLocationRequested);

    m_step3Panel = new Step3Panel(context, stepBox(3));
    fill(stepBox(3), m_step3Panel);
    connect(m_step3Panel, &Step3Panel::doneRequested, this, [this] { finishStep(3); });
    m_cropEditors = new CropEditors(m_messenger, m_reference, m_surface);
    connect(m_step3Panel, &Step3Panel::addCropRequested, this, &WizardBoxes::openCropSpecies);
    connect(m_step3Panel, &Step3Panel::specificNeedRequested, this,
            &WizardBoxes::openSpecificNeeds);
    connect(m_step3Panel, &Step3Panel::resultReady, this,
            [this](const ResultTable &result) { showStepResult(3, result); });

    auto *step4Panel = new Step4Panel(context, stepBox(4));
    fill(stepBox(4), step4Panel);
    connect(step4Panel, &Step4Panel::doneRequested, this, [this] { finishStep(4); });
    connect(step4Panel, &Step4Panel::resultReady, this,
            [this](const ResultTable &result) { showStepResult(4, result); });

    m_step5Panel = new Step5Panel(context, stepBox(5));
    fill(stepBox(5), m_step5Panel);
    connect(m_step5Panel, &Step5Panel::doneRequested, this, [this] { finishStep(5); });
    connect(m_step5Panel, &Step5Panel::resultReady, this,
            [this](const ResultTable &result) { showStepResult(5, result); });
    m_materialEditors = new MaterialEditors(m_messenger, m_reference, m_surface);
    connect(m_step5Panel, &Step5Panel::addMaterialRequested, m_materialEditors,
            &MaterialEditors::openMaterialsEditor);

    // A loaded plan's crop shows its specific need again.
    connect(&m_session, &PlanSession::knownCropLoaded, m_step3Panel,
            &Step3Panel::showSpecificNeeds);

    m_step2Panel->setFarmDirectory(m_farmDirectory);
    emit panelsBuilt();
}

Step5Panel *WizardBoxes::step5Panel()
{
    buildPanels();
    return m_step5Panel;
}

MaterialEditors *WizardBoxes::materialEditors()
{
    buildPanels();
    return m_materialEditors;
}

CropEditors *WizardBoxes::cropEditors()
{
    buildPanels();
    return m_cropEditors;
}

void WizardBoxes::openCropSpecies()
{
    cropEditors()->openCropSpecies();
}

void WizardBoxes::openSpecificNeeds()
{
    cropEditors()->openSpecificNeeds();
}

bool WizardBoxes::isStepShown(int step) const
{
    return stepBox(step)->isVisible();
}

void WizardBoxes::hideStep(int step)
{
    stepBox(step)->hide();
}

StepOutcome WizardBoxes::finishStep(int step)
{
    buildPanels();
    if (step == 1)
        m_session.applyElementSelection();
    if (step == 2 && !m_step2Panel->computeAverages())
        return StepOutcome::KeepOpen;
    return completeBox(step);
}

StepOutcome WizardBoxes::completeBox(int step)
{
    Plan &plan = m_session.plan();
    const StepCheck check = checkStep(plan.items(), step);
    const bool correct = !check.passed && wantsToCorrect(check, m_messenger);
    const StepOutcome outcome = applyStepCheck(plan, step, check, correct);
    stepBox(step)->setVisible(outcome == StepOutcome::KeepOpen);
    // The message names no cell: the grid shows the first one to fill.
    if (outcome == StepOutcome::KeepOpen && check.missingCell)
        m_step2Panel->showSoilCell(*check.missingCell);
    return outcome;
}

void WizardBoxes::correctStep(int step)
{
    showStep(step);
    if (step != 2)
        return;
    if (const auto cell = SoilSamples::firstMissingCell(m_session.plan().items()))
        m_step2Panel->showSoilCell(*cell);
}

bool WizardBoxes::showStep(int step)
{
    buildPanels();
    if (!leaveAdviserPanel())
        return false;
    for (int other = 1; other <= 5; ++other) {
        if (other != step)
            hideStep(other);
    }
    m_resultBox->hide();
    if (step == 5)
        m_step5Panel->setDateToToday();
    MovableBox *box = stepBox(step);
    box->show();
    box->raise();
    return true;
}

void WizardBoxes::openAdviserPanel()
{
    buildPanels();
    if (m_adviserPanel->isVisible()) {
        m_adviserPanel->open();
        return;
    }
    MovableBox *replaced = m_resultBox->isVisible() ? m_resultBox : nullptr;
    for (MovableBox *box : m_stepBoxes) {
        if (box->isVisible())
            replaced = box;
    }
    m_adviserPanel->move((replaced ? replaced : stepBox(1))->pos());
    if (!m_adviserPanel->open())
        return;
    // Opening moved the focus out of a step-1 box, which closed it as leaving it does.
    if (replaced && replaced->isVisible()) {
        replaced->hide();
        m_replacedBox = replaced;
    }
    emit boxesChanged();
}

bool WizardBoxes::leaveAdviserPanel()
{
    if (!hasPanels()) // a panel never built was never opened
        return true;
    // The box the panel stood in for stays closed: another takes its place.
    QPointer<QWidget> replaced = std::exchange(m_replacedBox, nullptr);
    if (m_adviserPanel->leave())
        return true;
    m_replacedBox = replaced;
    return false;
}

void WizardBoxes::showSupplyLevels()
{
    buildPanels();
    m_resultBox->clearResult();
    // The step's "Kész" without averaging a second time.
    if (!m_step2Panel->computeAverages())
        return;
    completeBox(2);
    const Plan &plan = m_session.plan();
    if (plan.stepState(2) != Plan::StepState::Done)
        return;
    NeedCalculation need(m_reference, plan.items());
    const Outcome<ResultTable> supply
        = ::showSupplyLevels(plan.items(), m_session.calculationState(), need.classifier);
    if (!supply) {
        m_messenger.inform(supply.refusal());
        return;
    }
    m_resultBox->showResult(*supply);
    emit boxesChanged();
}

void WizardBoxes::showStepResult(int step, const ResultTable &result)
{
    // A list replaces the step's box on the surface.
    hideStep(step);
    m_resultBox->showResult(result);
    emit boxesChanged();
}

void WizardBoxes::closeForNewPlan()
{
    for (int step = 1; step <= 4; ++step)
        hideStep(step);
    m_resultBox->hide();
    m_resultBox->clearResult();
}

void WizardBoxes::setFarmDirectory(const QString &directory)
{
    m_farmDirectory = directory;
    if (!hasPanels())
        return;
    m_step2Panel->setFarmDirectory(directory);
    if (m_step2Panel->requestPanel()->isVisible())
        m_step2Panel->requestPanel()->open();
}

void WizardBoxes::watchFocusLeavingStep1(QWidget *old, QWidget *now)
{
    // Leaving the element selection completes step 1 as its "Kész" does, but leaves the row
    // labels of the sample table alone. The lists follow the ticks all the same, so that a
    // selection changed and left is never listed by its old ticks. A dialog taking the focus
    // does not count as leaving.
    MovableBox *box = stepBox(1);
    if (!old || !now || !box->isVisible() || now->window() != m_surface->window())
        return;
    if (box->isAncestorOf(old) && !box->isAncestorOf(now)) {
        ElementSelection::applySelectedFlags(m_session.plan().items(),
                                             m_session.calculationState().elements);
        completeStep(m_session.plan(), 1, true, m_messenger);
        box->hide();
    }
}
