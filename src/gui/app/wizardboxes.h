#pragma once

#include "core/session/stepboxes.h"

#include <QObject>
#include <QPointer>

#include <array>

class AdviserPanel;
class CropEditors;
class MaterialEditors;
class Messenger;
class MovableBox;
class PlanSession;
class QWidget;
class ReferenceDatabase;
class ResultBox;
class Step2Panel;
class Step3Panel;
class Step5Panel;
struct ResultTable;

// The wizard's boxes on the main window's surface: the five step boxes with their panels and
// the result box, and the adviser panel. It carries out a step's "Kész" (the panel's own part
// first, then the step check), shows one step at a time and puts a step's list in the result
// box. The boxes are children of the surface; the window places them. One box at a time
// stands right of the step list: the adviser panel takes the place of the box open there and
// gives it back when it closes. The step boxes start empty: their panels and the adviser
// panel are built when first needed, so the window comes up without them.
class WizardBoxes final : public QObject, public StepBoxes
{
    Q_OBJECT

public:
    WizardBoxes(PlanSession &session, Messenger &messenger, ReferenceDatabase &reference,
                QWidget *surface);

    // The step boxes are numbered 1–5; a box holds its panel once the panels are built.
    MovableBox *stepBox(int step) const { return m_stepBoxes[step - 1]; }
    ResultBox *resultBox() const { return m_resultBox; }
    AdviserPanel *adviserPanel();
    Step2Panel *step2Panel();
    Step3Panel *step3Panel();
    // The crop species ("Növényfajok") and specific-need ("Növények tápanyagigénye") editors,
    // for the menu and step 3's buttons.
    CropEditors *cropEditors();
    void openCropSpecies();
    void openSpecificNeeds();
    Step5Panel *step5Panel();
    // The split and materials editors, for the menu and step 5's "+".
    MaterialEditors *materialEditors();

    // Builds the step panels and the adviser panel unless they are built; each box then takes
    // its panel's size and panelsBuilt() is emitted.
    void buildPanels();
    bool hasPanels() const { return m_step2Panel != nullptr; }

    bool isStepShown(int step) const override;
    // Step 1 applies the element selection first; step 2 computes the averages first and
    // stops when a sample value is not a number.
    StepOutcome finishStep(int step) override;
    void hideStep(int step) override;

    // Shows the box of a step and hides the other step boxes, the result box and the adviser
    // panel; false (nothing changed) when the user chose to stay in the adviser panel.
    bool showStep(int step);
    // "Szaktanácsadó adatok": the adviser panel in place of the box open right of the list.
    void openAdviserPanel();
    // Closes the adviser panel for another box (see AdviserPanel::leave()); true when closed.
    bool leaveAdviserPanel();
    // Shows the box of a step the user chose to correct; in step 2 the first empty cell of
    // the sample table that fails the check becomes the grid's current cell.
    void correctStep(int step);
    // "Tápanyagszolgáltatás kimutatása": completes step 2, then lists the supply levels.
    void showSupplyLevels();
    // A list computed in a step's box: the box closes and the result box shows the list.
    void showStepResult(int step, const ResultTable &result);
    // A new plan: the boxes of steps 1–4 and the result box close and empty; the step-5
    // box keeps its visibility.
    void closeForNewPlan();
    // The farm directory the data request reads; an open data request lists the records of
    // the new place at once.
    void setFarmDirectory(const QString &directory);

signals:
    void printDescriptionsRequested();
    void dataLocationRequested();
    // A box moved or grew: the surface may need to grow with it.
    void boxesChanged();
    // The boxes took the sizes of their panels.
    void panelsBuilt();
    void coverSheetRequested();

private:
    // The check of a step whose inputs are ready, its question, and the box's visibility.
    StepOutcome completeBox(int step);
    void watchFocusLeavingStep1(QWidget *old, QWidget *now);

    PlanSession &m_session;
    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QWidget *m_surface;
    std::array<MovableBox *, 5> m_stepBoxes {};
    ResultBox *m_resultBox = nullptr;
    AdviserPanel *m_adviserPanel = nullptr;
    QPointer<QWidget> m_replacedBox; // hidden while the adviser panel stands in its place
    QString m_farmDirectory;
    Step2Panel *m_step2Panel = nullptr;
    Step3Panel *m_step3Panel = nullptr;
    CropEditors *m_cropEditors = nullptr;
    Step5Panel *m_step5Panel = nullptr;
    MaterialEditors *m_materialEditors = nullptr;
};
