#include "gui/reference/adviserpanel.h"

#include "core/messages/messenger.h"
#include "gui/ui/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int longEditWidth = 260;
constexpr int shortEditWidth = 150;
constexpr int postCodeLength = 4; // the width of Irany
constexpr int buttonWidth = 90;
} // namespace

AdviserPanel::AdviserPanel(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent)
    : MovableBox(QStringLiteral("Szaktanácsadó adatai"), parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("adviserPanel"));
    buildControls();

    connect(m_storeAdviserButton, &QPushButton::clicked, this, &AdviserPanel::store);
    connect(m_cancelAdviserButton, &QPushButton::clicked, this, &AdviserPanel::cancel);
    connect(m_coverSheetButton, &QPushButton::clicked, this, &AdviserPanel::printCoverSheet);
}

void AdviserPanel::buildControls()
{
    m_adviserNameEdit = Controls::makeEdit(QStringLiteral("adviserNameEdit"), this);
    m_adviserPostCodeEdit = Controls::makeEdit(QStringLiteral("adviserPostCodeEdit"), this, 50);
    m_adviserPostCodeEdit->setMaxLength(postCodeLength);
    m_adviserTownEdit = Controls::makeEdit(QStringLiteral("adviserTownEdit"), this);
    m_adviserAddressEdit = Controls::makeEdit(QStringLiteral("adviserAddressEdit"), this);
    m_adviserPhoneEdit
        = Controls::makeEdit(QStringLiteral("adviserPhoneEdit"), this, shortEditWidth);
    m_adviserFaxEdit = Controls::makeEdit(QStringLiteral("adviserFaxEdit"), this, shortEditWidth);
    m_adviserEmailEdit = Controls::makeEdit(QStringLiteral("adviserEmailEdit"), this);
    m_adviserIdentifierEdit
        = Controls::makeEdit(QStringLiteral("adviserIdentifierEdit"), this, shortEditWidth);
    m_adviserOrganisationEdit = Controls::makeEdit(QStringLiteral("adviserOrganisationEdit"), this);
    for (QLineEdit *edit : {m_adviserNameEdit, m_adviserTownEdit, m_adviserAddressEdit,
             m_adviserEmailEdit, m_adviserOrganisationEdit})
        edit->setMinimumWidth(longEditWidth);

    // The caption ends in a colon: the box follows it, as the edits follow theirs, at the
    // panel's right edge like the long edits and the last button.
    m_showAdviserBox = new QCheckBox(
        QStringLiteral("Szaktanácsadó adatainak megjelenítése az összesített kimutatáson:"), this);
    m_showAdviserBox->setObjectName(QStringLiteral("showAdviserBox"));
    m_showAdviserBox->setLayoutDirection(Qt::RightToLeft);

    m_storeAdviserButton = Controls::makeButton(
        QStringLiteral("Rögzítés"), QStringLiteral("storeAdviserButton"), this);
    m_cancelAdviserButton = Controls::makeButton(
        QStringLiteral("Mégsem"), QStringLiteral("cancelAdviserButton"), this);
    m_coverSheetButton = Controls::makeButton(
        QStringLiteral("Fedlap nyomtatása"), QStringLiteral("coverSheetButton"), this);
    for (QPushButton *button : {m_storeAdviserButton, m_cancelAdviserButton, m_coverSheetButton}) {
        button->setMinimumWidth(buttonWidth);
        // Enter on a button presses that button; elsewhere in the panel it stores.
        button->setAutoDefault(true);
    }

    const std::pair<const char *, QLineEdit *> rows[] = {
        {"Név:", m_adviserNameEdit},
        {"Irányítószám:", m_adviserPostCodeEdit},
        {"Település:", m_adviserTownEdit},
        {"Cím:", m_adviserAddressEdit},
        {"Telefon:", m_adviserPhoneEdit},
        {"Fax:", m_adviserFaxEdit},
        {"E-mail:", m_adviserEmailEdit},
        {"Azonosító:", m_adviserIdentifierEdit},
        {"Ernyőszervezet:", m_adviserOrganisationEdit},
    };
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(4);
    int row = 0;
    for (const auto &[caption, edit] : rows) {
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        // the long fields reach the right edge, the short ones keep their width
        if (edit->minimumWidth() == edit->maximumWidth())
            fields->addWidget(edit, row, 1, Qt::AlignLeft);
        else
            fields->addWidget(edit, row, 1);
        ++row;
    }
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_storeAdviserButton);
    buttons->addWidget(m_cancelAdviserButton);
    buttons->addStretch();
    buttons->addWidget(m_coverSheetButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 10);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addWidget(m_showAdviserBox);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    // Top to bottom, the buttons last.
    QWidget *order[] = {m_adviserNameEdit, m_adviserPostCodeEdit, m_adviserTownEdit,
        m_adviserAddressEdit, m_adviserPhoneEdit, m_adviserFaxEdit, m_adviserEmailEdit,
        m_adviserIdentifierEdit, m_adviserOrganisationEdit, m_showAdviserBox, m_storeAdviserButton,
        m_cancelAdviserButton, m_coverSheetButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    resize(sizeHint());
}

AdviserRecord AdviserPanel::record() const
{
    AdviserRecord record;
    record.Nev = m_adviserNameEdit->text();
    record.Irany = m_adviserPostCodeEdit->text();
    record.Telep = m_adviserTownEdit->text();
    record.Cim = m_adviserAddressEdit->text();
    record.Tel = m_adviserPhoneEdit->text();
    record.Fax = m_adviserFaxEdit->text();
    record.Email = m_adviserEmailEdit->text();
    record.Regsz = m_adviserIdentifierEdit->text();
    record.Szerv = m_adviserOrganisationEdit->text();
    record.Megjel = m_showAdviserBox->isChecked();
    return record;
}

void AdviserPanel::showRecord(const AdviserRecord &record)
{
    m_adviserNameEdit->setText(record.Nev);
    m_adviserPostCodeEdit->setText(record.Irany);
    m_adviserTownEdit->setText(record.Telep);
    m_adviserAddressEdit->setText(record.Cim);
    m_adviserPhoneEdit->setText(record.Tel);
    m_adviserFaxEdit->setText(record.Fax);
    m_adviserEmailEdit->setText(record.Email);
    m_adviserIdentifierEdit->setText(record.Regsz);
    m_adviserOrganisationEdit->setText(record.Szerv);
    m_showAdviserBox->setChecked(record.Megjel);
}

bool AdviserPanel::open()
{
    // Opened again while open: what is being typed stays.
    if (isVisible()) {
        raise();
        return true;
    }
    QString error;
    const AdviserRecord stored = AdviserRecord::readAdviser(m_reference, &error);
    if (!error.isEmpty()) {
        m_messenger.display(QStringLiteral("A szaktanácsadó adatai nem olvashatók. ") + error,
            ButtonSet::OkOnly, false, MessageKind::Error);
        return false;
    }
    m_stored = stored;
    showRecord(m_stored);
    show();
    raise();
    m_adviserNameEdit->setFocus();
    return true;
}

bool AdviserPanel::storeRecord()
{
    const AdviserRecord typed = record();
    QString error;
    if (!AdviserRecord::storeAdviser(m_reference, typed, &error)) {
        m_messenger.display(QStringLiteral("A szaktanácsadó adatai nem rögzíthetők. ") + error,
            ButtonSet::OkOnly, false, MessageKind::Error);
        return false;
    }
    m_stored = typed;
    return true;
}

bool AdviserPanel::store()
{
    if (!storeRecord())
        return false;
    hide();
    emit closed();
    return true;
}

void AdviserPanel::cancel()
{
    // What was typed goes at once, not at the next opening: the controls never show
    // details that are not stored once the panel has been closed.
    showRecord(m_stored);
    hide();
    emit closed();
}

bool AdviserPanel::leave()
{
    if (!isVisible())
        return true;
    if (hasUnsavedChanges()) {
        const int answer = m_messenger.display(
            QStringLiteral("A szaktanácsadó adatai módosultak. Rögzíti őket?"),
            ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
        if (answer == Answer::Igen)
            return store();
        if (answer != Answer::Nem)
            return false; // "Mégsem" or the dialog closed
    }
    cancel();
    return true;
}

void AdviserPanel::printCoverSheet()
{
    if (hasUnsavedChanges()) {
        const int answer = m_messenger.display(
            QStringLiteral("A szaktanácsadó adatai módosultak. Rögzíti őket a nyomtatás előtt?"),
            ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
        if (answer == Answer::Igen) {
            if (!storeRecord())
                return;
        } else if (answer != Answer::Nem) {
            return; // "Mégsem" or the dialog closed
        }
    }
    emit coverSheetRequested();
}

void AdviserPanel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        store();
        event->accept();
        return;
    case Qt::Key_Escape:
        cancel();
        event->accept();
        return;
    default:
        MovableBox::keyPressEvent(event);
    }
}
