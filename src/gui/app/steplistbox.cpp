#include "gui/app/steplistbox.h"

#include "core/plan/plan.h"
#include "gui/app/statuspictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

StepListBox::StepListBox(QWidget *parent)
    : MovableBox(QStringLiteral("Új terv létrehozása"), parent)
{
    setObjectName(QStringLiteral("stepListBox"));
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(5, 14, 5, 8);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(6);

    for (int step = 1; step <= stepCount; ++step) {
        auto *picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("step%1Picture").arg(step));
        picture->setFixedSize(18, 18);
        auto *button = new QPushButton(stepCaption(step), this);
        button->setObjectName(QStringLiteral("step%1Button").arg(step));
        // The captions are padded with blanks to one width; keep the text at the left.
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 3px;"));
        layout->addWidget(picture, step - 1, 0);
        layout->addWidget(button, step - 1, 1);
        m_pictures[step - 1] = picture;
        m_stepButtons[step - 1] = button;
        connect(button, &QPushButton::clicked, this, [this, step] { emit stepRequested(step); });
    }

    m_summaryButton = new QPushButton(QStringLiteral("Összesített kimutatás"), this);
    m_summaryButton->setObjectName(QStringLiteral("summaryButton"));
    layout->addWidget(m_summaryButton, stepCount, 1);
    connect(m_summaryButton, &QPushButton::clicked, this, &StepListBox::summaryRequested);

    m_closeButton = new QPushButton(QStringLiteral("Bezárás"), this);
    m_closeButton->setObjectName(QStringLiteral("closePlanButton"));
    layout->addWidget(m_closeButton, stepCount + 1, 1);
    connect(m_closeButton, &QPushButton::clicked, this, &StepListBox::closeRequested);

    // The step boxes open at Left 175, right of the list.
    setFixedWidth(170);
    adjustSize();
}

QString StepListBox::stepCaption(int step)
{
    switch (step) {
    case 1: return QStringLiteral("1. Elemek kiválasztása") + QString(3, QLatin1Char(' '));
    case 2: return QStringLiteral("2. Tábla adatok") + QString(13, QLatin1Char(' '));
    case 3: return QStringLiteral("3. Növény adatai") + QString(10, QLatin1Char(' '));
    case 4: return QStringLiteral("4. Módosító tényezők") + QString(4, QLatin1Char(' '));
    case 5: return QStringLiteral("5. Kijuttatás") + QString(18, QLatin1Char(' '));
    default: return QString();
    }
}

void StepListBox::showProgress(const Plan &plan)
{
    for (int step = 1; step <= stepCount; ++step) {
        m_pictures[step - 1]->setPixmap(stepStatePicture(plan.stepState(step)));
        m_stepButtons[step - 1]->setEnabled(plan.isStepEnabled(step));
    }
    m_summaryButton->setEnabled(plan.isSummaryEnabled());
}
