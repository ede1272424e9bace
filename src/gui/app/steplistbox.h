#pragma once

#include "gui/ui/movablebox.h"

#include <array>

class Plan;
class QLabel;
class QPushButton;

// The step list: the five step buttons with their status pictures, "Bezárás" (close the
// plan) and "Összesített kimutatás" (the summary). It shows the plan's step progress and
// reports which button was pressed.
class StepListBox final : public MovableBox
{
    Q_OBJECT

public:
    static constexpr int stepCount = 5;

    explicit StepListBox(QWidget *parent = nullptr);

    // The caption of each step button, trailing blanks included.
    static QString stepCaption(int step);

    void showProgress(const Plan &plan);

    QPushButton *stepButton(int step) const { return m_stepButtons[step - 1]; }
    QPushButton *summaryButton() const { return m_summaryButton; }
    QPushButton *closeButton() const { return m_closeButton; }

signals:
    void stepRequested(int step);
    void summaryRequested();
    void closeRequested();

private:
    std::array<QPushButton *, stepCount> m_stepButtons{};
    std::array<QLabel *, stepCount> m_pictures{};
    QPushButton *m_summaryButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};
