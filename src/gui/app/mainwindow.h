#pragma once

#include "core/settings/apppaths.h"
#include "core/settings/configblock.h"
#include "gui/app/wizardboxes.h"

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
class PlanPrinting;
class PlanSession;
class PurchaseBox;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class ReferenceDatabase;
class ResultBox;
class StepListBox;
class WindowLayout;

// The main window "Tápanyag-gazdálkodási terv": the menu bar, the toolbar, the scrolling
// surface with the wizard's boxes and the status line. The menus lead to the plan session
// (new, open, save, close), the wizard's boxes, the printouts and the program's settings;
// the window itself places the boxes and keeps the layout and the farm directory.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(Plan &plan, Messenger &messenger, ReferenceDatabase &reference,
               const AppPaths &paths, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The panels and the data location box are built right after the first paint, or sooner
    // when one of these asks for them.
    PlanSession &session() const;
    WizardBoxes &wizard() const;
    PlanPrinting &printing() const { return *m_printing; }

    // Boxes on the surface; the step boxes are numbered 1–5.
    StepListBox *stepListBox() const { return m_stepListBox; }
    MovableBox *stepBox(int step) const;
    ResultBox *resultBox() const { return m_wizard->resultBox(); }
    HoverHelp *hoverHelp() const { return m_hoverHelp; }
    DataLocationBox *dataLocationBox();
    QLabel *statusLabel() const { return m_statusLabel; }
    AdviserPanel *adviserPanel() const { return m_wizard->adviserPanel(); }
    QAction *action(const QString &objectName) const;

    // The two exit commands: the plan's changes are asked about first.
    void exitProgram();
    // The open and save dialogs; tests put their own chooser in.
    void setFileChooser(FileChooser *chooser);

    // Settings.
    void applyStoredLayout();
    void saveLayout();
    void restoreDefaultLayout();
    QString farmDatabaseDirectory() const { return m_config.farmDatabaseDirectory(); }

    // The farm directory to use when config.ini names none (--farm-dir).
    void setFarmDirectoryDefault(const QString &directory) { m_farmDirectoryDefault = directory; }
    // A plan named on the command line; it opens when the window is first shown.
    void setPendingPlanPath(const QString &path) { m_pendingPlanPath = path; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildSurface();
    void connectSession();
    QAction *addAction(QMenu *menu, const QString &caption, const QString &name,
                       std::function<void()> command);
    void showPlanState();
    void showStepList(bool shown);
    void importReferenceTables();
    QList<std::pair<ConfigBlock::Box, QWidget *>> storedBoxes() const;
    // The step boxes took their panels' sizes: placed again as the stored layout puts them.
    void placeBuiltBoxes();

    Plan &m_plan;
    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    AppPaths m_paths;
    ConfigBlock m_config;
    std::unique_ptr<WindowLayout> m_layout;
    bool m_firstShowDone = false;
    bool m_firstPaintDone = false;
    bool m_quitting = false;
    std::unique_ptr<FileChooser> m_dialogFileChooser;
    FileChooser *m_fileChooser = nullptr;
    QString m_farmDirectoryDefault;
    QString m_pendingPlanPath;

    PlanSession *m_session = nullptr;
    WizardBoxes *m_wizard = nullptr;
    PlanPrinting *m_printing = nullptr;
    PurchaseBox *m_purchaseBox = nullptr;
    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_surface = nullptr;
    StepListBox *m_stepListBox = nullptr;
    HoverHelp *m_hoverHelp = nullptr;
    DataLocationBox *m_dataLocationBox = nullptr;
    QLabel *m_statusLabel = nullptr;
    QMenu *m_stepsMenu = nullptr;
    std::array<QAction *, 5> m_stepActions {};
    QAction *m_summaryAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_closePlanAction = nullptr;
    QAction *m_leafLinkAction = nullptr;
    QAction *m_leafSummaryAction = nullptr;
};
