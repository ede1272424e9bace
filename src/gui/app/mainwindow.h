#pragma once

#include "core/data/filter.h"
#include "core/plan/calculationstate.h"
#include "gui/app/apppaths.h"
#include "gui/app/configblock.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class AdviserPanel;
class DataLocationBox;
class FileChooser;
class HoverHelp;
class Messenger;
class MovableBox;
class Plan;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;
class ReferenceDatabase;
class ReportDocument;
struct PlanReport;
struct PlanSummary;
class ResultBox;
class Step2Panel;
class Step3Panel;
class Step5Panel;
class StepListBox;
enum class StepOutcome;

// The main window "Tápanyag-gazdálkodási terv": the menu bar, the toolbar, the scrolling
// surface with the wizard's boxes and the status line. It binds the plan to the boxes and
// carries out the commands on a whole plan and on the program's settings.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(Plan &plan, Messenger &messenger, ReferenceDatabase &reference,
               const AppPaths &paths, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Boxes on the surface; the step boxes are numbered 1–5.
    StepListBox *stepListBox() const { return m_stepListBox; }
    MovableBox *stepBox(int step) const { return m_stepBoxes[step - 1]; }
    ResultBox *resultBox() const { return m_resultBox; }
    Step2Panel *step2Panel() const { return m_step2Panel; }
    Step3Panel *step3Panel() const { return m_step3Panel; }
    HoverHelp *hoverHelp() const { return m_hoverHelp; }
    const CalculationState &calculationState() const { return m_state; }
    DataLocationBox *dataLocationBox() const { return m_dataLocationBox; }
    QLabel *statusLabel() const { return m_statusLabel; }
    AdviserPanel *adviserPanel() const { return m_adviserPanel; }

    // The built-in place of every box ("Eredeti elrendezés").
    static QPoint defaultBoxPosition(ConfigBlock::Box box);

    // Commands on the whole plan.
    void newPlan();
    bool closePlan();   // false when the user kept the plan open
    bool askToSave();   // true when the caller may go on
    void exitProgram(); // the two exit commands

    // "Megnyitás": asks about the open plan's changes, then opens a chosen plan file.
    void openPlanCommand();
    // Loads a plan file and re-establishes its step states; false, with the format message,
    // when the file cannot be read (the plan on screen then stays as it was).
    bool openPlanFile(const QString &path);
    // Asks for a file name and writes the plan; true when a file was written.
    bool savePlan();
    // The open and save dialogs; tests put their own chooser in.
    void setFileChooser(FileChooser *chooser) { m_fileChooser = chooser; }

    // Shows the box of a step and hides the other step boxes and the result box.
    void showStep(int step);

    // The "Kész" of a step: its check, the step states and the box's visibility. Step 1
    // applies the element selection first; step 2 computes the averages first and stops
    // when a sample value is not a number.
    StepOutcome finishStep(int step);
    // "Tápanyagszolgáltatás kimutatása": completes step 2, then lists the supply levels.
    void showSupplyLevels();
    // A list computed in a step's box: the box closes and the result box shows the list.
    void showStepResult(int step, const struct ResultTable &result);

    // Printouts, each shown in the print preview.
    enum class PrintKind { ResultList, Summary, Recommendations };
    // "Nyomtatás" of the result box (a list), the full summary built last, or the
    // recommendation texts chosen last.
    void printResult(PrintKind kind);
    // "Összesített kimutatás": replays the plan's lists and prints the summary; a step that
    // fails says so and nothing is printed.
    void showSummary();
    // "Leírások nyomtatása": completes step 1 and prints the texts of the ticked elements.
    void printDescriptions();
    // "Fedlap nyomtatása" of the adviser panel.
    void printCoverSheet();
    // Tests look at the report instead of the modal preview.
    void setReportViewer(std::function<void(const ReportDocument &)> viewer)
    {
        m_reportViewer = std::move(viewer);
    }

    // Settings.
    void applyStoredLayout();
    void saveLayout();
    void restoreDefaultLayout();
    void openDataLocation();
    void acceptDataLocation(const QString &directory);
    void cancelDataLocation();
    // "Szaktanácsadó adatok": the adviser panel with the stored details, in front.
    void showAdviserPanel();
    // "Régi referencia-táblák átvétele": an earlier installation's tables from a chosen
    // directory.
    void importReferenceTables();
    QString farmDatabaseDirectory() const { return m_config.farmDatabaseDirectory(); }
    const ConfigBlock &config() const { return m_config; }

    QAction *action(const QString &objectName) const;

    // The farm directory to use when config.ini names none (--farm-dir).
    void setFarmDirectoryDefault(const QString &directory) { m_farmDirectoryDefault = directory; }
    // A plan named on the command line; it opens when the window is first shown.
    void setPendingPlanPath(const QString &path);
    QString pendingPlanPath() const { return m_pendingPlanPath; }

signals:
    // The farm directory was accepted and holds the farm tables (true) or not (false).
    void farmDirectoryChanged(const QString &directory, bool valid);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildSurface();
    void buildStepPanels();
    void buildAdviserPanel();
    // The report in the preview, or the error when it could not be made (report null).
    void showReport(const PlanReport *report, const QString &error);
    void watchFocusLeavingStep1(QWidget *old, QWidget *now);
    bool computeAverages();
    void fillLeafLinks();
    QAction *addAction(QMenu *menu, const QString &caption, const QString &name,
                       std::function<void()> command);
    void showPlanState();
    void showHelp();
    void showAbout();
    void updateSurfaceSize();
    QList<std::pair<ConfigBlock::Box, QWidget *>> storedBoxes() const;

    Plan &m_plan;
    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    CalculationState m_state;
    AppPaths m_paths;
    ConfigBlock m_config;
    bool m_firstShowDone = false;
    bool m_pathChooserFromMenu = false;
    bool m_quitting = false;
    std::unique_ptr<FileChooser> m_dialogFileChooser;
    FileChooser *m_fileChooser = nullptr;
    QString m_farmDirectoryDefault;
    QString m_pendingPlanPath;

    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_surface = nullptr;
    StepListBox *m_stepListBox = nullptr;
    std::array<MovableBox *, 5> m_stepBoxes{};
    ResultBox *m_resultBox = nullptr;
    Step2Panel *m_step2Panel = nullptr;
    Step3Panel *m_step3Panel = nullptr;
    Step5Panel *m_step5Panel = nullptr;
    HoverHelp *m_hoverHelp = nullptr;
    DataLocationBox *m_dataLocationBox = nullptr;
    AdviserPanel *m_adviserPanel = nullptr;
    std::function<void(const ReportDocument &)> m_reportViewer;
    std::shared_ptr<const PlanSummary> m_lastSummary;
    Filter m_recommendationFilter;
    QLabel *m_statusLabel = nullptr;
    QMenu *m_stepsMenu = nullptr;
    std::array<QAction *, 5> m_stepActions{};
    QAction *m_summaryAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_closePlanAction = nullptr;
    QToolButton *m_saveButton = nullptr;
};
