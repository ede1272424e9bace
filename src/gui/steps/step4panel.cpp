#include "gui/steps/step4panel.h"

#include "core/messages/messenger.h"
#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/needcalculation.h"
#include "core/plan/nitratecheck.h"
#include "core/plan/plan.h"
#include "gui/ui/controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

Step4Panel::Step4Panel(const StepContext &context, QWidget *parent)
    : StepPanel(context, parent)
{
    setObjectName(QStringLiteral("step4Panel"));

    auto *boxes = new QGridLayout;
    boxes->setHorizontalSpacing(10);
    boxes->setVerticalSpacing(8);
    boxes->addWidget(buildResidueBox(), 0, 0);
    boxes->addWidget(buildLegumeBox(), 0, 1);
    boxes->addWidget(buildYieldLossBox(), 1, 0);
    boxes->addWidget(buildManureBox(), 1, 1);
    boxes->setColumnStretch(0, 1);
    boxes->setColumnStretch(1, 1);

    m_correctedDosesButton = Controls::makeButton(QStringLiteral("Korrigált hatóanyag szükséglet kimutatása"),
                                        QStringLiteral("correctedDosesButton"), this);
    m_doneButton = Controls::makeButton(QStringLiteral("Kész"), QStringLiteral("doneButton"), this);
    m_doneButton->setFixedWidth(75);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_correctedDosesButton);
    buttons->addStretch();
    buttons->addWidget(m_doneButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addLayout(boxes);
    layout->addStretch();
    layout->addLayout(buttons);

    connectControls();
    refreshFromPlan();
}

QRadioButton *Step4Panel::addRadio(QButtonGroup *group, int code, const QString &caption,
                                   const QString &name, QWidget *parent)
{
    auto *radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    group->addButton(radio, code);
    parent->layout()->addWidget(radio);
    return radio;
}

QGroupBox *Step4Panel::buildResidueBox()
{
    auto *box = new QGroupBox(QStringLiteral("Szervesanyag leszántása"), this);
    box->setObjectName(QStringLiteral("residueBox"));
    auto *layout = new QVBoxLayout(box);
    m_residueGroup = new QButtonGroup(this);
    m_kukoricaRadio = addRadio(m_residueGroup, PlanItems::Kukorica, QStringLiteral("Kukorica"),
                               QStringLiteral("kukoricaRadio"), box);
    m_napraforgoRadio = addRadio(m_residueGroup, PlanItems::Napraforgo,
                                 QStringLiteral("Napraforgó"), QStringLiteral("napraforgoRadio"), box);
    m_osziBuzaRadio = addRadio(m_residueGroup, PlanItems::OsziBuza, QStringLiteral("Őszi búza"),
                               QStringLiteral("osziBuzaRadio"), box);
    m_kaposztarepceRadio = addRadio(m_residueGroup, PlanItems::Kaposztarepce,
                                    QStringLiteral("Káposztarepce"),
                                    QStringLiteral("kaposztarepceRadio"), box);
    m_egyikSemRadio = addRadio(m_residueGroup, PlanItems::EgyikSem, QStringLiteral("Egyik sem"),
                               QStringLiteral("egyikSemRadio"), box);

    m_forecropYieldEdit = Controls::makeEdit(QStringLiteral("forecropYieldEdit"), box, 60);
    auto *yieldRow = new QHBoxLayout;
    yieldRow->addWidget(new QLabel(QStringLiteral("Elővetemény hozam :"), box));
    yieldRow->addWidget(m_forecropYieldEdit);
    yieldRow->addWidget(new QLabel(QStringLiteral("t/ha"), box));
    yieldRow->addStretch();
    layout->addSpacing(4);
    layout->addLayout(yieldRow);
    return box;
}

QGroupBox *Step4Panel::buildLegumeBox()
{
    auto *box = new QGroupBox(QStringLiteral("Pillangós növények hatása"), this);
    box->setObjectName(QStringLiteral("legumeBox"));
    auto *layout = new QVBoxLayout(box);
    m_legumeGroup = new QButtonGroup(this);
    m_pillangosElozoEvRadio = addRadio(m_legumeGroup, PlanItems::PillangosElozoEv,
                                       QStringLiteral("Pillangós növény előző évben"),
                                       QStringLiteral("pillangosElozoEvRadio"), box);
    m_eveloPillangosRadio = addRadio(m_legumeGroup, PlanItems::EveloPillangos,
                                     QStringLiteral("Évelő pillangós előző évben"),
                                     QStringLiteral("eveloPillangosRadio"), box);
    m_lucernaElozoEvRadio = addRadio(m_legumeGroup, PlanItems::LucernaElozoEv,
                                     QStringLiteral("Lucerna előző évben"),
                                     QStringLiteral("lucernaElozoEvRadio"), box);
    m_lucernaKetEveRadio = addRadio(m_legumeGroup, PlanItems::LucernaKetEve,
                                    QStringLiteral("Lucerna két évvel ezelött"),
                                    QStringLiteral("lucernaKetEveRadio"), box);
    m_nincsPillangosRadio = addRadio(m_legumeGroup, PlanItems::NincsPillangos,
                                     QStringLiteral("Nincs pillangós korrekció"),
                                     QStringLiteral("nincsPillangosRadio"), box);
    layout->addStretch();
    return box;
}

QGroupBox *Step4Panel::buildYieldLossBox()
{
    auto *box = new QGroupBox(QStringLiteral("Hozamkiesés kártevő, betegség vagy szárasság miatt"),
                              this);
    box->setObjectName(QStringLiteral("yieldLossBox"));
    m_yieldLossCheck = new QCheckBox(QStringLiteral("Hozamkiesés"), box);
    m_yieldLossCheck->setObjectName(QStringLiteral("yieldLossCheck"));
    // A surplus of the forecrop took more out of the soil than planned: these take a minus.
    m_residualNEdit = Controls::makeEdit(QStringLiteral("residualNEdit"), box, 55);
    m_residualPEdit = Controls::makeEdit(QStringLiteral("residualPEdit"), box, 55);
    m_residualKEdit = Controls::makeEdit(QStringLiteral("residualKEdit"), box, 55);

    m_residualLabel =
        new QLabel(QStringLiteral("Visszamaradt hatóanyag    N           P           K"), box);
    m_residualLabel->setObjectName(QStringLiteral("residualLabel"));

    auto *edits = new QHBoxLayout;
    edits->setSpacing(0);
    const std::array<QLineEdit *, 3> residualEdits = {m_residualNEdit, m_residualPEdit,
                                                      m_residualKEdit};
    for (int index = 0; index < 3; ++index) {
        m_residualGaps[index] = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        edits->addSpacerItem(m_residualGaps[index]);
        edits->addWidget(residualEdits[index]);
    }
    edits->addSpacing(6);
    edits->addWidget(new QLabel(QStringLiteral("kg/ha"), box));
    edits->addStretch();

    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_yieldLossCheck);
    layout->addWidget(m_residualLabel);
    layout->addLayout(edits);
    alignResidualEdits();
    layout->addStretch();
    return box;
}

QGroupBox *Step4Panel::buildManureBox()
{
    auto *box = new QGroupBox(QStringLiteral("Szervestágyázás"), this);
    box->setObjectName(QStringLiteral("manureBox"));
    auto *layout = new QVBoxLayout(box);
    m_manureGroup = new QButtonGroup(this);
    m_egyEveRadio = addRadio(m_manureGroup, PlanItems::EgyEve, QStringLiteral("Egy éve"),
                             QStringLiteral("egyEveRadio"), box);
    m_ketEveRadio = addRadio(m_manureGroup, PlanItems::KetEve, QStringLiteral("Két éve"),
                             QStringLiteral("ketEveRadio"), box);
    m_nemVoltRadio = addRadio(m_manureGroup, PlanItems::NemVolt, QStringLiteral("Nem volt"),
                              QStringLiteral("nemVoltRadio"), box);

    m_manureAmountEdit = Controls::makeEdit(QStringLiteral("manureAmountEdit"), box, 60);
    auto *amountRow = new QHBoxLayout;
    amountRow->addWidget(new QLabel(QStringLiteral("Menny.:"), box));
    amountRow->addWidget(m_manureAmountEdit);
    amountRow->addWidget(new QLabel(QStringLiteral("t/ha"), box));
    amountRow->addStretch();
    layout->addLayout(amountRow);
    layout->addStretch();
    return box;
}

// The label's blanks place the letters N, P and K; each edit is centred under its letter,
// whatever font the window uses.
void Step4Panel::alignResidualEdits()
{
    const QString caption = m_residualLabel->text();
    const QFontMetrics metrics(m_residualLabel->font());
    const auto centreOf = [&](QChar letter) {
        const qsizetype at = caption.lastIndexOf(letter);
        return metrics.horizontalAdvance(caption.left(at)) + metrics.horizontalAdvance(letter) / 2;
    };
    const std::array<int, 3> centres = {centreOf(QLatin1Char('N')), centreOf(QLatin1Char('P')),
                                        centreOf(QLatin1Char('K'))};
    const int width = qMax(30, centres[1] - centres[0] - 6);
    int left = 0;
    for (int index = 0; index < 3; ++index) {
        const int start = centres[index] - width / 2;
        m_residualGaps[index]->changeSize(qMax(0, start - left), 0, QSizePolicy::Fixed,
                                          QSizePolicy::Minimum);
        left = qMax(start, left) + width;
    }
    for (QLineEdit *edit : {m_residualNEdit, m_residualPEdit, m_residualKEdit})
        edit->setFixedWidth(width);
    m_residualLabel->parentWidget()->layout()->invalidate();
}

void Step4Panel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_residualLabel)
        alignResidualEdits();
}

void Step4Panel::connectControls()
{
    bindGroup(m_residueGroup, &Plan::setResidueCrop);
    bindGroup(m_legumeGroup, &Plan::setLegumeEffect);
    bindGroup(m_manureGroup, &Plan::setManureTiming);
    bindText(m_forecropYieldEdit, &Plan::setForecropYield);
    bindText(m_residualNEdit, &Plan::setResidualN);
    bindText(m_residualPEdit, &Plan::setResidualP);
    bindText(m_residualKEdit, &Plan::setResidualK);
    bindText(m_manureAmountEdit, &Plan::setManureAmount);
    filterNumberKeys(m_forecropYieldEdit);
    filterNumberKeys(m_manureAmountEdit);
    bindCheck(m_yieldLossCheck, &Plan::setYieldLoss);

    connect(m_correctedDosesButton, &QPushButton::clicked, this, &Step4Panel::showCorrectedDoses);
    connect(m_doneButton, &QPushButton::clicked, this, &Step4Panel::doneRequested);
}

void Step4Panel::showItem(PlanItem item)
{
    const PlanItems &plan = items();
    if (concerns(item, PlanItem::ResidueCrop))
        showCode(m_residueGroup, plan.residueCrop);
    if (concerns(item, PlanItem::LegumeEffect))
        showCode(m_legumeGroup, plan.legumeEffect);
    if (concerns(item, PlanItem::ManureTiming))
        showCode(m_manureGroup, plan.manureTiming);
    if (concerns(item, PlanItem::ForecropYield))
        showText(m_forecropYieldEdit, plan.forecropYield);
    if (concerns(item, PlanItem::ResidualN))
        showText(m_residualNEdit, plan.residualN);
    if (concerns(item, PlanItem::ResidualP))
        showText(m_residualPEdit, plan.residualP);
    if (concerns(item, PlanItem::ResidualK))
        showText(m_residualKEdit, plan.residualK);
    if (concerns(item, PlanItem::ManureAmount))
        showText(m_manureAmountEdit, plan.manureAmount);
    if (concerns(item, PlanItem::YieldLoss))
        showChecked(m_yieldLossCheck, plan.yieldLoss);
}

void Step4Panel::showCorrectedDoses()
{
    NeedCalculation need(m_reference, m_plan.items());
    const Outcome<ResultTable> result = Corrections::computeCorrectedDoses(
        m_plan.items(), m_state, need.calculator, need.classifier);
    if (!result) {
        m_messenger.inform(result.refusal());
        return;
    }
    ResultTable list = *result;
    if (showsNitrateChecks()) {
        // A check that cannot be made leaves the list without its notes.
        if (const auto check = NitrateRules::checkNitrate(items(), m_reference, list))
            list.notes = check->doseNotes();
    }
    emit resultReady(list);
}
