#include "core/session/plansession.h"

#include "core/data/reference/planlookups.h"
#include "core/messages/filechooser.h"
#include "core/messages/messenger.h"
#include "core/plan/elementselection.h"
#include "core/plan/plan.h"
#include "core/plan/stepcompletion.h"
#include "core/planfile/planfile.h"
#include "core/session/stepboxes.h"
#include "core/text/numbers.h"

namespace {
const QString openFilter = QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap");
const QString saveFilter = QStringLiteral("Tápanyag-gazdálkodási terv (.tap)|*.tap");
} // namespace

PlanSession::PlanSession(Plan &plan, Messenger &messenger, FileChooser &fileChooser,
                         const ReferenceDatabase &reference, const QString &startDirectory,
                         QObject *parent)
    : QObject(parent)
    , m_plan(plan)
    , m_messenger(messenger)
    , m_fileChooser(&fileChooser)
    , m_reference(reference)
    , m_startDirectory(startDirectory)
{ }

void PlanSession::startPlan(const QString &stepListCaption)
{
    // Leaf mode belongs to the plan whose combined summary asked for it.
    m_state.withLeafAnalysis = false;
    m_plan.resetPlan();
    emit planStarted(stepListCaption);
    m_plan.setOpen(true);
    m_plan.markSaved();
}

void PlanSession::newPlan()
{
    startPlan(QStringLiteral("Új terv létrehozása"));
}

void PlanSession::openPlanCommand()
{
    // Whatever the user answers about the open plan, the open dialog comes.
    if (m_plan.isOpen() && m_plan.isModified())
        closePlan();
    const QString path
        = m_fileChooser->openFileName(QStringLiteral("Megnyitás"), m_startDirectory, openFilter);
    if (!path.isEmpty())
        openPlanFile(path);
}

void PlanSession::applyElementSelection()
{
    m_plan.update(
        PlanItem::SoilSampleTable,
        [this](PlanItems &items) {
            ElementSelection::applyElementSelection(items, m_state.elements);
        },
        Plan::Change::Computed);
}

void PlanSession::completeFirstStep()
{
    // Step 1 has no check: its "Kész" always completes and closes its box.
    applyElementSelection();
    completeStep(m_plan, 1, false);
    if (m_boxes)
        m_boxes->hideStep(1);
}

void PlanSession::establishStepStates()
{
    // The step states follow what the data allow, without a question; step 2 is completed
    // only when its data pass, so a faulty field leaves it as the load found it.
    if (m_plan.stepState(1) != Plan::StepState::Done)
        return;
    for (int step = 2; step <= Plan::stepCount; ++step) {
        const StepCheck check = checkStep(m_plan.items(), step);
        if (step == 2 && !check.passed)
            return;
        applyStepCheck(m_plan, step, check, false);
        if (m_plan.stepState(step) != Plan::StepState::Done)
            break;
    }
}

bool PlanSession::openPlanFile(const QString &path)
{
    // The grid's titles come along from the plan on screen; the reader fills only the cells.
    PlanItems loaded = m_plan.items();
    QString error;
    if (!PlanFile::loadPlanFile(path, loaded, &error)) {
        m_messenger.display(QStringLiteral("A fájl formátuma helytelen! Nem lehet megnyitni!"),
                            ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }
    startPlan(QStringLiteral("Tápanyagterv módosítása"));
    // The site category and the manure amount survive a reset; the file sets them too.
    m_plan.setItems(loaded);
    m_state = CalculationState();
    completeFirstStep();

    // The crop: its need is shown again; a crop the list no longer has is reported, and the
    // plan takes the list's first crop instead.
    if (PlanLookups::isKnownCrop(m_reference, loaded.cropId)) {
        m_plan.setCropId(loaded.cropId, Plan::Change::Computed);
        emit knownCropLoaded();
    } else {
        m_plan.setCropId(PlanLookups::firstCropId(m_reference), Plan::Change::Computed);
        m_messenger.display(QStringLiteral("A növény fajtája nem ismert!"), ButtonSet::OkOnly, true,
                            MessageKind::Error);
    }
    m_state.correctionsApplied = false;
    m_plan.setLeafLinks(
        PlanLookups::fillLeafLinks(m_reference, m_plan.items().leafLinks),
        Plan::Change::Computed);

    completeFirstStep();
    establishStepStates();
    if (m_boxes) {
        for (int step = 2; step <= Plan::stepCount; ++step)
            m_boxes->hideStep(step);
    }
    m_plan.setOpen(true);
    m_plan.markSaved();
    return true;
}

bool PlanSession::savePlan()
{
    // The area is checked before the dialog, so that a plan that cannot be written is never
    // reported saved.
    const QString area = m_plan.items().area;
    if (!Text::parseInteger(area)) {
        m_messenger.display(area.trimmed().isEmpty()
                                ? QStringLiteral("Nincs megadva terület. A terv nem menthető.")
                                : QStringLiteral("Terület értéke nem egész szám: „%1”. A terv "
                                                 "nem menthető.")
                                      .arg(area),
                            ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }
    const QString chosen
        = m_fileChooser->saveFileName(QStringLiteral("Terv mentése"), m_startDirectory, saveFilter);
    if (chosen.isEmpty())
        return false;
    const QString path = PlanFile::ensureTapExtension(chosen);
    PlanItems saved = m_plan.items();
    if (m_plan.stepState(3) == Plan::StepState::Locked)
        saved.cropId = PlanItems::noCrop();
    QString error;
    if (!PlanFile::savePlanFile(path, saved, &error)) {
        m_messenger.display(error, ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }
    m_plan.markSaved();
    return true;
}

bool PlanSession::askToSave()
{
    const int answer = m_messenger.display(QStringLiteral("Mentsem a változásokat ?"),
                                           ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
    if (answer == Answer::Igen)
        return savePlan();
    return answer == Answer::Nem;
}

bool PlanSession::closePlan()
{
    if (m_plan.isModified() && !askToSave())
        return false;
    // The open step boxes are finished as their "Kész" would; one stays on screen when its
    // check failed and the user chose to correct the data.
    bool stillShown = false;
    for (int step = 1; m_boxes && step <= 4; ++step) {
        if (m_boxes->isStepShown(step)) {
            m_boxes->finishStep(step);
            stillShown = m_boxes->isStepShown(step);
        }
    }
    emit planClosed(stillShown);
    m_state.withLeafAnalysis = false;
    m_plan.setOpen(false);
    m_plan.markSaved();
    return true;
}
