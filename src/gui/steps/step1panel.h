#pragma once

#include "core/plan/elements.h"

#include <QWidget>

#include <array>

class Plan;
class QCheckBox;
class QPushButton;

// Step 1 "Elemek kiválasztása": which elements the plan covers. The micro elements computed
// from a macro element's result follow its box; a fixed legend beside the boxes tells in
// which lists each element appears.
class Step1Panel final : public QWidget
{
    Q_OBJECT

public:
    explicit Step1Panel(Plan &plan, QWidget *parent = nullptr);

    // Shows the plan's ticks without counting it as an edit.
    void refreshFromPlan();

    QCheckBox *elementBox(Elements::Element element) const { return m_elementBoxes[element]; }

signals:
    void doneRequested();
    // "Leírások nyomtatása"
    void printDescriptionsRequested();

private:
    void buildControls();
    void elementClicked(Elements::Element element);
    void showEditable();

    Plan &m_plan;
    std::array<QCheckBox *, Elements::elementCount> m_elementBoxes{};
    QCheckBox *m_showDescriptionsBox = nullptr;
    QPushButton *m_doneButton = nullptr;
    QPushButton *m_printDescriptionsButton = nullptr;
};
