#include "gui/steps/step2panel.h"

#include "core/data/reference/captions.h"
#include "core/messages/messenger.h"
#include "core/plan/elements.h"
#include "core/plan/plan.h"
#include "core/plan/soilsamples.h"
#include "core/text/numbers.h"
#include "gui/steps/requestpanel.h"
#include "gui/steps/soilsamplegrid.h"
#include "gui/steps/soilsamplemodel.h"
#include "gui/ui/controls.h"
#include "gui/ui/numberkeyfilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// A caption the user may rename: it lies over the label it replaces and looks like one
// until the pointer or the cursor is on it.
QLineEdit *makeCaptionEdit(const QString &name, const QString &defaultCaption, QWidget *parent)
{
    QLineEdit *edit = Controls::makeEdit(name, parent);
    // An empty caption would leave a blank beside the field.
    edit->setPlaceholderText(defaultCaption);
    edit->setFrame(false);
    // Tab goes from field to field; a caption is renamed by clicking on it.
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

} // namespace

Step2Panel::Step2Panel(const StepContext &context, QWidget *parent)
    : StepPanel(context, parent)
{
    setObjectName(QStringLiteral("step2Panel"));
    buildControls();

    bindText(m_lotNumberEdit, &Plan::setLotNumber);
    bindText(m_parcelNumberEdit, &Plan::setParcelNumber);
    bindText(m_areaEdit, &Plan::setArea);
    bindText(m_farmingYearEdit, &Plan::setFarmingYear);
    bindCombo(m_siteCategoryCombo, &Plan::setSiteCategory);
    connect(m_sampleCountEdit, &QLineEdit::textChanged, this, &Step2Panel::applySampleCount);
    bindCheck(m_programAverageBox, &Plan::setProgramAverage);
    // Ticking the box computes the averages at once; unticking keeps them.
    connect(m_programAverageBox, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            computeAverages();
    });
    connect(m_soilGrid, &SoilSampleGrid::keyEdited, &m_plan, &Plan::markEdited);

    connect(m_lotCaptionEdit, &QLineEdit::editingFinished, this, &Step2Panel::saveCaptions);
    connect(m_parcelCaptionEdit, &QLineEdit::editingFinished, this, &Step2Panel::saveCaptions);

    connect(m_dataRequestButton, &QPushButton::clicked, m_requestPanel, &RequestPanel::open);
    connect(m_supplyLevelsButton, &QPushButton::clicked, this, &Step2Panel::supplyLevelsRequested);
    connect(m_doneButton, &QPushButton::clicked, this, &Step2Panel::doneRequested);
    connect(m_requestPanel, &RequestPanel::dataLocationRequested, this,
            &Step2Panel::dataLocationRequested);

    reloadCaptions();
    refreshFromPlan();
}

void Step2Panel::buildControls()
{
    m_lotCaptionEdit = makeCaptionEdit(QStringLiteral("lotCaptionEdit"),
                                       QStringLiteral("Helyrajzi szám :"), this);
    m_parcelCaptionEdit = makeCaptionEdit(QStringLiteral("parcelCaptionEdit"),
                                          QStringLiteral("Parcella sorszám:"), this);
    m_lotNumberEdit = Controls::makeEdit(QStringLiteral("lotNumberEdit"), this);
    m_parcelNumberEdit = Controls::makeEdit(QStringLiteral("parcelNumberEdit"), this);
    m_parcelNumberEdit->setMaxLength(30);
    m_areaEdit = Controls::makeEdit(QStringLiteral("areaEdit"), this);
    m_farmingYearEdit = Controls::makeEdit(QStringLiteral("farmingYearEdit"), this);
    m_farmingYearEdit->setMaxLength(20);

    m_siteCategoryCombo = new QComboBox(this);
    m_siteCategoryCombo->setObjectName(QStringLiteral("siteCategoryCombo"));
    m_siteCategoryCombo->addItems(Elements::siteCategoryNames());
    m_siteCategoryCombo->installEventFilter(
        new NumberKeyFilter(NumberKeyFilter::Mode::SiteCategory, {}, m_siteCategoryCombo));

    m_sampleCountEdit = Controls::makeEdit(QStringLiteral("sampleCountEdit"), this);
    m_sampleCountEdit->setMaxLength(3);
    m_sampleCountEdit->setFixedWidth(40);
    filterNumberKeys(m_sampleCountEdit);

    m_programAverageBox = new QCheckBox(QStringLiteral("Átlag számíttatása programmal"), this);
    m_programAverageBox->setObjectName(QStringLiteral("programAverageBox"));

    m_soilModel = new SoilSampleModel(m_plan, this);
    m_soilGrid = new SoilSampleGrid(this);
    m_soilGrid->setObjectName(QStringLiteral("soilGrid"));
    m_soilGrid->setModel(m_soilModel);
    // Eleven rows (the header row is the grid's own) and the scroll bar, no empty space.
    m_soilGrid->setFixedHeight(SoilSampleGrid::rowHeight * (PlanItems::soilRowCount - 1)
                               + m_soilGrid->horizontalHeader()->sizeHint().height()
                               + m_soilGrid->horizontalScrollBar()->sizeHint().height()
                               + 2 * m_soilGrid->frameWidth());
    m_soilGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_noteLabel = new QLabel(QStringLiteral("* Kérem a csillagosokat feltétlen töltse ki!"), this);
    m_noteLabel->setObjectName(QStringLiteral("noteLabel"));

    m_dataRequestButton = Controls::makeButton(QStringLiteral("Adatlekérés"),
                                     QStringLiteral("dataRequestButton"), this);
    m_supplyLevelsButton = Controls::makeButton(QStringLiteral("Tápanyagszolgáltatás kimutatása"),
                                      QStringLiteral("supplyLevelsButton"), this);
    m_doneButton = Controls::makeButton(QStringLiteral("Kész"), QStringLiteral("doneButton"), this);
    m_doneButton->setFixedWidth(75);

    // The identification: each caption edit covers the label it renames.
    auto *identity = new QGridLayout;
    identity->setHorizontalSpacing(8);
    identity->setVerticalSpacing(4);
    identity->addWidget(new QLabel(QStringLiteral("Helyrajzi szám :"), this), 0, 0);
    identity->addWidget(m_lotCaptionEdit, 0, 0);
    identity->addWidget(m_lotNumberEdit, 0, 1);
    identity->addWidget(new QLabel(QStringLiteral("Parcella sorszám:"), this), 1, 0);
    identity->addWidget(m_parcelCaptionEdit, 1, 0);
    identity->addWidget(m_parcelNumberEdit, 1, 1);
    m_lotCaptionEdit->raise();
    m_parcelCaptionEdit->raise();

    auto *areaUnit = new QLabel(QStringLiteral("m<sup>2</sup>"), this);
    areaUnit->setTextFormat(Qt::RichText);
    areaUnit->setMinimumWidth(areaUnit->sizeHint().width() + 4);
    identity->addWidget(new QLabel(QStringLiteral("Terület :"), this), 0, 2);
    identity->addWidget(m_areaEdit, 0, 3);
    identity->addWidget(areaUnit, 0, 4);
    identity->addWidget(new QLabel(QStringLiteral("Gazd. év:"), this), 1, 2);
    identity->addWidget(m_farmingYearEdit, 1, 3);
    identity->addWidget(new QLabel(QStringLiteral("Termőhely kategória :"), this), 2, 0);
    identity->addWidget(m_siteCategoryCombo, 2, 1, 1, 3);
    identity->setColumnMinimumWidth(0, 110);
    identity->setColumnStretch(1, 3);
    identity->setColumnStretch(3, 2);

    auto *requestColumn = new QVBoxLayout;
    requestColumn->addWidget(m_dataRequestButton);
    requestColumn->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(identity, 1);
    top->addSpacing(16);
    top->addLayout(requestColumn);

    auto *samples = new QHBoxLayout;
    samples->addWidget(new QLabel(QStringLiteral("Minták száma:"), this));
    samples->addWidget(m_sampleCountEdit);
    samples->addWidget(new QLabel(QStringLiteral("db"), this));
    samples->addSpacing(24);
    samples->addWidget(m_programAverageBox);
    samples->addStretch();

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_supplyLevelsButton);
    bottom->addStretch();
    bottom->addWidget(m_doneButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addLayout(top);
    layout->addSpacing(4);
    layout->addLayout(samples);
    layout->addWidget(m_soilGrid);
    layout->addWidget(m_noteLabel);
    layout->addStretch();
    layout->addLayout(bottom);

    // Created last, so that it lies over the other controls when shown.
    m_requestPanel = new RequestPanel(m_plan, m_messenger, this);

    Controls::setTabOrder({m_lotNumberEdit, m_areaEdit, m_dataRequestButton, m_parcelNumberEdit,
                           m_farmingYearEdit, m_siteCategoryCombo, m_sampleCountEdit,
                           m_programAverageBox, m_soilGrid, m_supplyLevelsButton, m_doneButton,
                           m_requestPanel});

    resize(780, 520);
}

QTableView *Step2Panel::soilGrid() const
{
    return m_soilGrid;
}

void Step2Panel::showItem(PlanItem item)
{
    const PlanItems &plan = items();
    if (concerns(item, PlanItem::LotNumber))
        showText(m_lotNumberEdit, plan.lotNumber);
    if (concerns(item, PlanItem::ParcelNumber))
        showText(m_parcelNumberEdit, plan.parcelNumber);
    if (concerns(item, PlanItem::Area))
        showText(m_areaEdit, plan.area);
    if (concerns(item, PlanItem::FarmingYear))
        showText(m_farmingYearEdit, plan.farmingYear);
    // The count typed so far stays as typed while it means the plan's count ("" and "0").
    const int typedCount = Text::parseInteger(m_sampleCountEdit->text()).value_or(0);
    if (item == PlanItem::All || (item == PlanItem::SampleCount && typedCount != plan.sampleCount))
        showText(m_sampleCountEdit, QString::number(plan.sampleCount));
    if (concerns(item, PlanItem::SiteCategory))
        showIndex(m_siteCategoryCombo, plan.siteCategory);
    if (concerns(item, PlanItem::ProgramAverage))
        showChecked(m_programAverageBox, plan.programAverage);
}

void Step2Panel::applySampleCount(const QString &text)
{
    if (text.isEmpty()) {
        m_plan.setSampleCount(0);
    } else {
        // Only a pasted text can be something else; the count then stays as it was.
        const std::optional<int> count = Text::parseInteger(text);
        if (count && *count >= 0 && *count <= PlanItems::maxSampleCount)
            m_plan.setSampleCount(*count);
    }
    // Any change of the text counts as an edit, even one that leaves the count.
    m_plan.markEdited();
}

bool Step2Panel::computeAverages()
{
    Outcome<void> averaged;
    m_plan.update(
        PlanItem::SoilSampleTable,
        [&averaged](PlanItems &items) { averaged = SoilSamples::computeAverages(items); },
        Plan::Change::Computed);
    if (!averaged) {
        m_messenger.inform(averaged.refusal());
        return false;
    }
    return true;
}

void Step2Panel::showSoilCell(const SoilSamples::CellPlace &cell)
{
    const QModelIndex index = m_soilModel->index(cell.row, cell.column);
    if (!index.isValid())
        return;
    m_requestPanel->hide(); // it lies over the grid
    m_soilGrid->setCurrentIndex(index);
    m_soilGrid->scrollTo(index);
    m_soilGrid->setFocus(Qt::OtherFocusReason);
}

void Step2Panel::setFarmDirectory(const QString &directory)
{
    m_requestPanel->setFarmDirectory(directory);
}

void Step2Panel::reloadCaptions()
{
    const FieldCaptions saved = Captions::readCaptions(m_reference);
    m_savedLotCaption = saved.lot;
    m_savedParcelCaption = saved.parcel;
    showText(m_lotCaptionEdit, m_savedLotCaption);
    showText(m_parcelCaptionEdit, m_savedParcelCaption);
}

void Step2Panel::saveCaptions()
{
    const QString lot = m_lotCaptionEdit->text();
    const QString parcel = m_parcelCaptionEdit->text();
    // The message of a failed save takes the focus, which must not save once more.
    if (m_savingCaptions || (lot == m_savedLotCaption && parcel == m_savedParcelCaption))
        return;
    const QScopedValueRollback<bool> saving(m_savingCaptions, true);

    QString error;
    if (!Captions::saveCaptions(m_reference, {lot, parcel}, &error)) {
        QString text = QStringLiteral("A feliratok nem menthetők.");
        if (!error.isEmpty())
            text += QLatin1Char(' ') + error;
        m_messenger.display(text, ButtonSet::OkOnly, false, MessageKind::Error);
        return;
    }
    m_savedLotCaption = lot;
    m_savedParcelCaption = parcel;
}
