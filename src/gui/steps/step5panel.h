#pragma once

#include "core/plan/resulttable.h"
#include "gui/steps/steppanel.h"

#include <QList>
#include <QVariantMap>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class TextTableModel;

// Step 5 "Kijuttattás ütemezése": the application schedule of concrete materials with their
// dates and amounts per hectare, what it applies, what of the corrected need it leaves open,
// and how much of the chosen material would cover the rest. The schedule lives in the plan;
// the panel keeps only the material list and the cover grid, which are not saved.
class Step5Panel final : public StepPanel
{
    Q_OBJECT

public:
    explicit Step5Panel(const StepContext &context, QWidget *parent = nullptr);

    // Reads the materials not marked deleted again, by name, keeping the chosen one.
    void reloadMaterials();
    // The date picker shows today, as every time the step is opened.
    void setDateToToday();

    // The Tapanyagok row of the chosen material; empty when none is chosen.
    QVariantMap currentMaterial() const;

    // "Hozzáadás a tervhez >>>": one row for the chosen material, date and amount.
    void addToSchedule();
    // "Törlés": removes the selected schedule row.
    void deleteSelectedRow();
    // "Összesítés": what the whole schedule applies per element.
    void showAppliedTotals();
    // "Kiértékelés": the corrected need less what the schedule applies.
    void showRemainder();
    // The cover grid for the chosen material; lists nothing on invalid step-4 input.
    void updateCoverGrid();

signals:
    void resultReady(const ResultTable &result);
    void doneRequested();
    // "+" beside the materials: the user wants to add a material.
    void addMaterialRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showItem(PlanItem item) override;
    void clearComputed() override;
    void chooseMaterial(int index);
    void showCover(const QList<std::pair<QString, QString>> &rows);
    void showError(const QString &text);

    QList<QVariantMap> m_materials; // in the order of the list

    QComboBox *m_materialCombo = nullptr;
    QPushButton *m_addMaterialButton = nullptr;
    QDateEdit *m_dateEdit = nullptr;
    QLineEdit *m_amountEdit = nullptr;
    QLabel *m_unitLabel = nullptr;
    QPushButton *m_addButton = nullptr;
    QTableWidget *m_coverGrid = nullptr;
    QLabel *m_coverHintLabel = nullptr;
    QTableView *m_scheduleGrid = nullptr;
    TextTableModel *m_scheduleModel = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_totalsButton = nullptr;
    QPushButton *m_remainderButton = nullptr;
    QPushButton *m_doneButton = nullptr;
};
