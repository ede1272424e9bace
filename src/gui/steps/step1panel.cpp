#include "gui/steps/step1panel.h"

#include "core/plan/elementselection.h"
#include "core/plan/plan.h"
#include "gui/ui/controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Elements::Element;

// The legend: in which outputs an element is shown — supply list, fertiliser recommendation,
// corrected recommendation, description. Fixed; nothing reads it.
constexpr std::array<std::array<bool, 4>, Elements::elementCount> legend = {{
    {true, true, true, true},    // Nitrogén
    {true, true, true, true},    // Foszfor
    {true, true, true, true},    // Kálium
    {true, true, false, true},   // Magnézium
    {false, false, false, true}, // Kén
    {true, true, true, true},    // Mangán
    {true, true, true, true},    // Cink
    {true, true, true, true},    // Réz
    {false, false, false, true}, // Vas
    {false, false, false, true}, // Molibdén
    {false, false, false, true}, // Bór
}};

QFrame *separatorLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

Step1Panel::Step1Panel(const StepContext &context, QWidget *parent)
    : StepPanel(context, parent)
{
    setObjectName(QStringLiteral("step1Panel"));
    buildControls();

    for (int index = 0; index < Elements::elementCount; ++index) {
        const auto element = Element(index);
        connect(m_elementBoxes[index], &QCheckBox::clicked, this,
                [this, element](bool checked) { m_plan.selectElement(element, checked); });
    }
    bindCheck(m_showDescriptionsBox, &Plan::setShowDescriptions);
    connect(m_doneButton, &QPushButton::clicked, this, &Step1Panel::doneRequested);
    refreshFromPlan();
}

void Step1Panel::buildControls()
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(3);

    static const char *const headings[] = {"Ellátottság\nkimutatás", "Trágyázási\njavaslat",
                                           "Korrigált\njavaslat", "Leírás"};
    for (int column = 0; column < 4; ++column) {
        auto *heading = new QLabel(QString::fromUtf8(headings[column]), this);
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(heading, 0, column + 1, Qt::AlignHCenter | Qt::AlignBottom);
    }

    int row = 1;
    for (int index = 0; index < Elements::elementCount; ++index) {
        if (index == Element::Mg) {
            // Macro elements above the line, the rest below.
            grid->addWidget(separatorLine(this), row++, 0, 1, 5);
        }
        auto *box = new QCheckBox(Elements::checkBoxNames()[index], this);
        box->setObjectName(QStringLiteral("element%1Box").arg(Elements::codes()[index]));
        m_elementBoxes[index] = box;
        grid->addWidget(box, row, 0, Qt::AlignLeft);
        for (int column = 0; column < 4; ++column) {
            auto *mark = new QCheckBox(this);
            mark->setObjectName(QStringLiteral("legend%1_%2").arg(Elements::codes()[index]).arg(column));
            mark->setChecked(legend[index][column]);
            mark->setEnabled(false);
            mark->setFocusPolicy(Qt::NoFocus);
            grid->addWidget(mark, row, column + 1, Qt::AlignHCenter);
        }
        ++row;
    }

    m_showDescriptionsBox = new QCheckBox(
        QStringLiteral("Leírás megjelenítése az összesített kimutatáson"), this);
    m_showDescriptionsBox->setObjectName(QStringLiteral("showDescriptionsBox"));

    m_doneButton = new QPushButton(QStringLiteral("Kész"), this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    m_doneButton->setFixedWidth(75);

    m_printDescriptionsButton = new QPushButton(QStringLiteral("Leírások nyomtatása"), this);
    m_printDescriptionsButton->setObjectName(QStringLiteral("printDescriptionsButton"));
    connect(m_printDescriptionsButton, &QPushButton::clicked, this,
            &Step1Panel::printDescriptionsRequested);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_showDescriptionsBox);
    bottom->addStretch();
    bottom->addWidget(m_printDescriptionsButton);
    bottom->addWidget(m_doneButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(bottom);

    Controls::setTabOrder({m_elementBoxes.back(), m_showDescriptionsBox,
                           m_printDescriptionsButton, m_doneButton});
}

void Step1Panel::showItem(PlanItem item)
{
    const PlanItems &plan = items();
    if (concerns(item, PlanItem::ElementSelected)) {
        for (int index = 0; index < Elements::elementCount; ++index) {
            showChecked(m_elementBoxes[index], plan.elementSelected[index]);
            m_elementBoxes[index]->setEnabled(ElementSelection::isEditable(plan, Element(index)));
        }
    }
    if (concerns(item, PlanItem::ShowDescriptions))
        showChecked(m_showDescriptionsBox, plan.showDescriptions);
}
