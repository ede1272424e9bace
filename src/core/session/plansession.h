#pragma once

#include "core/plan/calculationstate.h"
#include "core/settings/programsettings.h"

#include <QObject>
#include <QString>

class FileChooser;
class Messenger;
class Plan;
class ReferenceDatabase;
class StepBoxes;

// The commands on a whole plan: new, open, save and close, the question about unsaved
// changes, and the step states a loaded or saved plan follows. It owns the calculation state
// the step computations carry between calls. The window connects its menus to it and reacts
// to its signals; the step boxes it reaches only through StepBoxes.
class PlanSession final : public QObject
{
    Q_OBJECT

public:
    PlanSession(Plan &plan, Messenger &messenger, FileChooser &fileChooser,
                const ReferenceDatabase &reference, const QString &startDirectory,
                QObject *parent = nullptr);

    Plan &plan() const { return m_plan; }
    CalculationState &calculationState() { return m_state; }
    const CalculationState &calculationState() const { return m_state; }
    // The program's own settings, read and written by the window's settings menu.
    ProgramSettings &settings() { return m_settings; }

    // The open and save dialogs; tests put their own chooser in.
    void setFileChooser(FileChooser &chooser) { m_fileChooser = &chooser; }
    // The window's boxes; without them a close and a load touch no box.
    void setStepBoxes(StepBoxes *boxes) { m_boxes = boxes; }

    // A new, empty plan, open and unmodified; its changes so far are dropped without a
    // question.
    void newPlan();
    // "Megnyitás": asks about the open plan's changes, then opens a chosen plan file.
    void openPlanCommand();
    // Loads a plan file and re-establishes its step states without a question; false, with
    // the format message, when the file cannot be read (the plan then stays as it was).
    bool openPlanFile(const QString &path);
    // Checks the area, asks for a file name and writes the plan; true when a file was
    // written. A plan whose step 3 is out of reach is saved without its crop.
    bool savePlan();
    // "Mentsem a változásokat ?": true when the caller may go on (saved or "Nem").
    bool askToSave();
    // false when the user kept the plan open.
    bool closePlan();

    // Step 1's choice carried into the plan and the calculation state: the starred rows of
    // the soil table and the element table's selected flags.
    void applyElementSelection();

signals:
    // A plan was started or opened: the step list shows with this caption.
    void planStarted(const QString &stepListCaption);
    // The plan was closed; the step list stays on screen only when a box does too.
    void planClosed(bool stepListShown);
    // A loaded plan's crop is in the crop list: its specific need can be shown again.
    void knownCropLoaded();

private:
    void startPlan(const QString &stepListCaption);
    void completeFirstStep();
    void establishStepStates();

    Plan &m_plan;
    Messenger &m_messenger;
    FileChooser *m_fileChooser;
    const ReferenceDatabase &m_reference;
    QString m_startDirectory;
    StepBoxes *m_boxes = nullptr;
    CalculationState m_state;
    ProgramSettings m_settings;
};
