#pragma once

#include "core/plan/resulttable.h"
#include "gui/steps/steppanel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class TextTableModel;

// Step 3 "Növény adatai": the crop (ordered by name), the planned yield, the crop's specific
// need per soil column and element, and the recommended doses that go to the result box.
class Step3Panel final : public StepPanel
{
    Q_OBJECT

public:
    explicit Step3Panel(const StepContext &context, QWidget *parent = nullptr);

    // Reads the crops again, keeping the chosen one; a chosen crop that is gone leaves no crop
    // chosen. A change of Nov does so by itself.
    void reloadCrops();

    // The specific-need grid ("Kiválasztás"); warns when the yield is needed but missing.
    void showSpecificNeeds();
    // "Hatóanyag szükséglet kimutatása": the need grid and the recommended doses.
    void showRecommendedDoses();
    // "Kijuttatás megosztása (Ősz, Tavasz)": the autumn/spring split of the chosen crop.
    void showSplit();

    // The crop the list shows as current; empty when the list is empty.
    QString currentCropId() const;
    const ResultTable &specificNeeds() const { return m_needs; }

signals:
    void resultReady(const ResultTable &result);
    void doneRequested();
    // "+" beside the crops: the user wants to add a crop.
    void addCropRequested();
    // "Tápanyagigény beállítása": the user wants to edit the crops' specific need.
    void specificNeedRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showItem(PlanItem item) override;
    void clearComputed() override;
    void chooseCrop(int row);
    void selectCropRow(const QString &novid);
    void showNeeds(const struct SpecificNeeds &needs);


    QTableWidget *m_cropList = nullptr;
    QPushButton *m_addCropButton = nullptr;
    QLineEdit *m_yieldEdit = nullptr;
    QTableView *m_needGrid = nullptr;
    ResultTable m_needs;
    TextTableModel *m_needModel = nullptr;
    QLabel *m_noReferenceLabel = nullptr;
    QPushButton *m_specificNeedButton = nullptr;
    QPushButton *m_splitButton = nullptr;
    QPushButton *m_recommendedDosesButton = nullptr;
    QPushButton *m_selectButton = nullptr;
    QPushButton *m_doneButton = nullptr;
};
