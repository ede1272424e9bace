#pragma once

#include "core/leaf/leafregister.h"

#include <QDialog>
#include <QList>

#include <optional>

class FileChooser;
class LeafChartView;
class LeafEntryPanel;
class Messenger;
class Plan;
class QAction;
class QGroupBox;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QTableWidget;
class ReferenceDatabase;

// The window "Levélanalízis nyilvántartás és elemzés": the register of leaf-sample results
// by farming year and date, their entry panel, and the evaluation of the selected results
// against the class limits with its printout. The buttons and the menu entries of the same
// name run the same commands.
class LeafSampleWindow final : public QDialog
{
    Q_OBJECT

public:
    LeafSampleWindow(Messenger &messenger, ReferenceDatabase &reference, FileChooser &fileChooser,
        QWidget *parent = nullptr);

    // "Levélanalízis" → "Levélminta eredmények": the window, modal; afterwards the plan's
    // soil–leaf links are read again from the register.
    static void open(Messenger &messenger, ReferenceDatabase &reference, FileChooser &fileChooser,
        Plan &plan, QWidget *parent);

    const QList<LeafSample> &samples() const { return m_samples; }
    LeafEntryPanel *entryPanel() const { return m_entryPanel; }
    bool isEntering() const;

    // "Új mintaeredmény", "Eredmény módosítása", "Eredmény törlése" (after the question).
    void newResult();
    void modifyResult();
    void deleteResult();
    // "rögzítés": stores the entry; a refused one is said so and the panel stays open.
    bool storeEntry();
    // "mégsem"
    void cancelEntry();
    // "Mintaeredmény elemzése": the evaluation of the selected rows, in selection order.
    void evaluateSelection();
    // "bezárás" of the evaluation
    void closeEvaluation();
    // "nyomtatás": the evaluation in the print preview, three results a page.
    void printEvaluation();
    // "Leírás"
    void showGuide();

    // Closing with the entry panel open asks whether to store the entry first.
    void reject() override;

private:
    void buildMenus(QMenuBar *bar);
    void buildList();
    void buildEvaluation();
    void reload();
    void updateCommands();
    QList<LeafSample> selectedSamples() const;
    std::optional<int> currentSampleRow() const;
    void showEntryPanel(const LeafEntry &entry, std::optional<qint64> id);

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    FileChooser &m_fileChooser;
    QList<LeafSample> m_samples; // in the order of the grid
    QList<LeafSample> m_evaluated;
    std::optional<qint64> m_editedId; // the result the panel changes; none for a new one

    QTableWidget *m_grid = nullptr;
    QWidget *m_listArea = nullptr;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_modifyButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_evaluateButton = nullptr;
    QList<QAction *> m_listActions; // new, modify, delete, evaluate
    LeafEntryPanel *m_entryPanel = nullptr;
    QGroupBox *m_evaluationPanel = nullptr;
    QScrollArea *m_chartArea = nullptr;
    LeafChartView *m_chartView = nullptr;
};
