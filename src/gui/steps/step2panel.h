#pragma once

#include "core/plan/soilsamples.h"
#include "gui/steps/steppanel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RequestPanel;
class SoilSampleGrid;
class SoilSampleModel;

// Step 2 "Tábla adatok": the field's identification (lot and parcel number, area, farming
// year, site category), the number of soil samples and the grid of their laboratory
// results, the data request that fetches them from the farm database, and the two captions
// of the lot and parcel numbers that the reports print (kept in Modtext). Every control
// writes the plan as soon as the user changes it; "Kész" and "Tápanyagszolgáltatás
// kimutatása" are left to the main window, which knows the steps.
class Step2Panel final : public StepPanel
{
    Q_OBJECT

public:
    explicit Step2Panel(const StepContext &context, QWidget *parent = nullptr);

    // Reads the two captions from Modtext again.
    void reloadCaptions();

    // With "Átlag számíttatása programmal" ticked: the average column from the samples. A
    // cell that is not a number is reported and stops it; false then.
    bool computeAverages();

    // Makes `cell` of the sample table the grid's current cell, scrolled into view, selected
    // and focused, so the user sees what to fill in.
    void showSoilCell(const SoilSamples::CellPlace &cell);

    // The farm directory the data request reads.
    void setFarmDirectory(const QString &directory);

    RequestPanel *requestPanel() const { return m_requestPanel; }
    QTableView *soilGrid() const;

signals:
    void supplyLevelsRequested();
    void doneRequested();
    // "Beálítás" of the data request.
    void dataLocationRequested();

private:
    void buildControls();
    void showItem(PlanItem item) override;
    void applySampleCount(const QString &text);
    void saveCaptions();

    QString m_savedLotCaption;
    QString m_savedParcelCaption;
    bool m_savingCaptions = false;

    QLineEdit *m_lotCaptionEdit = nullptr;
    QLineEdit *m_parcelCaptionEdit = nullptr;
    QLineEdit *m_lotNumberEdit = nullptr;
    QLineEdit *m_parcelNumberEdit = nullptr;
    QLineEdit *m_areaEdit = nullptr;
    QLineEdit *m_farmingYearEdit = nullptr;
    QComboBox *m_siteCategoryCombo = nullptr;
    QLineEdit *m_sampleCountEdit = nullptr;
    QCheckBox *m_programAverageBox = nullptr;
    SoilSampleGrid *m_soilGrid = nullptr;
    SoilSampleModel *m_soilModel = nullptr;
    QLabel *m_noteLabel = nullptr;
    QPushButton *m_dataRequestButton = nullptr;
    QPushButton *m_supplyLevelsButton = nullptr;
    QPushButton *m_doneButton = nullptr;
    RequestPanel *m_requestPanel = nullptr;
};
