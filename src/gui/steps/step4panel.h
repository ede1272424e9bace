#pragma once

#include "core/plan/resulttable.h"
#include "gui/steps/steppanel.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QLabel;
class QRadioButton;
class QSpacerItem;

// Step 4 "Módosító tényezők": what happened on the field before this crop (ploughed-in
// residue with the forecrop yield, a legume forecrop, yield loss with the nutrients left in
// the soil, organic manure) and the corrected doses they give. Every control writes its plan
// item at once; the panel keeps nothing of its own.
class Step4Panel final : public StepPanel
{
    Q_OBJECT

public:
    explicit Step4Panel(const StepContext &context, QWidget *parent = nullptr);

    // "Korrigált hatóanyag szükséglet kimutatása": the recommended doses plus their
    // corrections; on invalid input the message and no result.
    void showCorrectedDoses();

signals:
    void resultReady(const ResultTable &result);
    void doneRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    QGroupBox *buildResidueBox();
    QGroupBox *buildLegumeBox();
    QGroupBox *buildYieldLossBox();
    QGroupBox *buildManureBox();
    QRadioButton *addRadio(QButtonGroup *group, int code, const QString &caption,
                           const QString &name, QWidget *parent);
    void connectControls();
    void showItem(PlanItem item) override;
    void alignResidualEdits();


    QButtonGroup *m_residueGroup = nullptr;
    QRadioButton *m_kukoricaRadio = nullptr;
    QRadioButton *m_napraforgoRadio = nullptr;
    QRadioButton *m_osziBuzaRadio = nullptr;
    QRadioButton *m_kaposztarepceRadio = nullptr;
    QRadioButton *m_egyikSemRadio = nullptr;
    QLineEdit *m_forecropYieldEdit = nullptr;

    QButtonGroup *m_legumeGroup = nullptr;
    QRadioButton *m_pillangosElozoEvRadio = nullptr;
    QRadioButton *m_eveloPillangosRadio = nullptr;
    QRadioButton *m_lucernaElozoEvRadio = nullptr;
    QRadioButton *m_lucernaKetEveRadio = nullptr;
    QRadioButton *m_nincsPillangosRadio = nullptr;

    QCheckBox *m_yieldLossCheck = nullptr;
    QLineEdit *m_residualNEdit = nullptr;
    QLineEdit *m_residualPEdit = nullptr;
    QLineEdit *m_residualKEdit = nullptr;
    QLabel *m_residualLabel = nullptr;
    // Before the N edit, between N and P, between P and K.
    std::array<QSpacerItem *, 3> m_residualGaps{};

    QButtonGroup *m_manureGroup = nullptr;
    QRadioButton *m_egyEveRadio = nullptr;
    QRadioButton *m_ketEveRadio = nullptr;
    QRadioButton *m_nemVoltRadio = nullptr;
    QLineEdit *m_manureAmountEdit = nullptr;

    QPushButton *m_correctedDosesButton = nullptr;
    QPushButton *m_doneButton = nullptr;
};
