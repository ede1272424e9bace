#pragma once

#include "core/plan/elements.h"
#include "gui/steps/steppanel.h"

#include <array>

class QCheckBox;
class QPushButton;

// Step 1 "Elemek kiválasztása": which elements the plan covers. The micro elements computed
// from a macro element's result follow its box; a fixed legend beside the boxes tells in
// which lists each element appears.
class Step1Panel final : public StepPanel
{
    Q_OBJECT

public:
    explicit Step1Panel(const StepContext &context, QWidget *parent = nullptr);

    QCheckBox *elementBox(Elements::Element element) const { return m_elementBoxes[element]; }

signals:
    void doneRequested();
    // "Leírások nyomtatása"
    void printDescriptionsRequested();

private:
    void buildControls();
    void showItem(PlanItem item) override;

    std::array<QCheckBox *, Elements::elementCount> m_elementBoxes{};
    QCheckBox *m_showDescriptionsBox = nullptr;
    QPushButton *m_doneButton = nullptr;
    QPushButton *m_printDescriptionsButton = nullptr;
};
