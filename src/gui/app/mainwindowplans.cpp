// The commands on a whole plan: new, open, save, close and exit, and the loading of a plan
// file back into a working plan.

#include "gui/app/mainwindow.h"

#include "core/data/referencedatabase.h"
#include "core/data/tables.h"
#include "core/messages/filechooser.h"
#include "core/messages/messenger.h"
#include "core/plan/elementselection.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/plan/stepcompletion.h"
#include "core/planfile/planfile.h"
#include "core/text/numbers.h"
#include "gui/app/steplistbox.h"
#include "gui/steps/step3panel.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>

namespace {
const QString openFilter = QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap");
const QString saveFilter = QStringLiteral("Tápanyag-gazdálkodási terv (.tap)|*.tap");
} // namespace

void MainWindow::newPlan()
{
    m_plan.resetPlan();
    m_statusLabel->clear();
    m_stepListBox->setTitle(QStringLiteral("Új terv létrehozása"));
    m_plan.setOpen(true);
    m_plan.markModified(true);
    m_stepListBox->show();
    m_stepsMenu->setEnabled(true);
    showPlanState();
}

void MainWindow::openPlanCommand()
{
    // Whatever the user answers about the open plan, the open dialog comes.
    if (m_plan.isOpen() && m_plan.isModified())
        closePlan();
    const QString path = m_fileChooser->openFileName(QStringLiteral("Megnyitás"),
                                                     m_paths.startDirectory, openFilter);
    if (!path.isEmpty())
        openPlanFile(path);
}

bool MainWindow::openPlanFile(const QString &path)
{
    PlanItems loaded = m_plan.items();
    QString error;
    if (!PlanFile::loadPlanFile(path, loaded, &error)) {
        m_messenger.display(QStringLiteral("A fájl formátuma helytelen! Nem lehet megnyitni!"),
                            ButtonSet::OkOnly, true, MessageKind::Error);
        return false;
    }
    newPlan();
    m_stepListBox->setTitle(QStringLiteral("Tápanyagterv módosítása"));
    PlanItems &items = m_plan.items();
    // The site category and the manure amount survive a reset; a file sets them too.
    items = loaded;
    m_state = CalculationState();
    // The grid's titles came along from the plan on screen; the reader fills only the cells.
    finishStep(1);
    m_plan.notifyItemsChanged();
    // The crop list has moved to the plan's crop, or to its first row: that is the plan's crop.
    const QString shownCrop = m_step3Panel->currentCropId();
    m_plan.setCropId(shownCrop.isEmpty() ? PlanItems::noCrop() : shownCrop, Plan::Change::Computed);

    // The crop: its need is shown again; a crop the list no longer has is reported.
    const QString cropId = loaded.cropId; // the crop list has moved to it, or to its first row
    const bool known = m_reference.count(Tables::Nov::name,
                                         Filter::equals(Tables::Nov::Novid, cropId))
                       > 0;
    if (known) {
        m_step3Panel->showSpecificNeeds();
    } else {
        m_messenger.display(QStringLiteral("A növény fajtája nem ismert!"), ButtonSet::OkOnly, true,
                            MessageKind::Error);
    }
    m_state.correctionsApplied = false;
    fillLeafLinks();

    finishStep(1);
    // The step states follow what the data allow, without a question.
    if (m_plan.stepState(1) == Plan::StepState::Done && SoilSamples::checkSoilGrid(items)
        && SoilSamples::checkFieldData(items).isEmpty()) {
        for (int step = 2; step <= Plan::stepCount; ++step) {
            completeStep(m_plan, step, false, m_messenger);
            if (m_plan.stepState(step) != Plan::StepState::Done)
                break;
        }
    }
    for (int step = 2; step <= Plan::stepCount; ++step)
        stepBox(step)->hide();
    m_plan.setOpen(true);
    m_plan.markModified(true);
    showPlanState();
    return true;
}

void MainWindow::fillLeafLinks()
{
    // Each link keeps its soil sample's mark; the leaf sample's data come from the register,
    // and a link whose leaf sample is gone keeps only the mark.
    TextGrid &links = m_plan.items().leafLinks;
    for (int row = 1; row < links.rowCount(); ++row) {
        const std::optional<int> id = Text::parseInteger(links.cell(row, 4));
        if (!id)
            continue;
        const auto sample = m_reference.selectFirst(Tables::Mintak::name,
                                                    Filter::equals(Tables::Mintak::Id, *id));
        links.clear(row, row, 1, 4);
        if (!sample)
            continue;
        links.setCell(row, 1, sample->value(Tables::Mintak::Mintaazon).toString());
        links.setCell(row, 2, sample->value(Tables::Mintak::Tablassz).toString());
        links.setCell(row, 3, sample->value(Tables::Mintak::Gazdev).toString());
        links.setCell(row, 4, QString::number(*id));
    }
}

bool MainWindow::savePlan()
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
    const QString chosen = m_fileChooser->saveFileName(QStringLiteral("Terv mentése"),
                                                       m_paths.startDirectory, saveFilter);
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
    m_plan.markModified(true);
    return true;
}

bool MainWindow::askToSave()
{
    const int answer = m_messenger.display(QStringLiteral("Mentsem a változásokat ?"),
                                           ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
    if (answer == Answer::Igen)
        return savePlan();
    return answer == Answer::Nem;
}

bool MainWindow::closePlan()
{
    if (m_plan.isModified() && !askToSave())
        return false;
    // The open step boxes are finished as their "Kész" would; one stays on screen when its
    // check failed and the user chose to correct the data.
    bool stillShown = false;
    for (int step = 1; step <= 4; ++step) {
        if (stepBox(step)->isVisible()) {
            finishStep(step);
            stillShown = stepBox(step)->isVisible();
        }
    }
    m_stepListBox->setVisible(stillShown);
    m_stepsMenu->setEnabled(stillShown);
    m_plan.setOpen(false);
    m_plan.markModified(true);
    showPlanState();
    return true;
}

void MainWindow::exitProgram()
{
    if (m_plan.isOpen() && m_plan.isModified() && !closePlan())
        return; // the user chose to stay, or the save was cancelled
    m_quitting = true;
    close();
    QApplication::quit();
}

void MainWindow::setPendingPlanPath(const QString &path)
{
    m_pendingPlanPath = path;
}
