#include "gui/reference/cropnamesdialog.h"

#include "core/data/reference/cropeditordata.h"
#include "core/data/reference/referencedatabase.h"
#include "core/messages/messenger.h"
#include "gui/ui/controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSize>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int buttonWidth = 90;
} // namespace

CropNamesDialog::CropNamesDialog(Messenger &messenger, ReferenceDatabase &reference,
                                 QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("cropNamesDialog"));
    setWindowTitle(QStringLiteral("Új növény rögzítése"));
    setModal(true);
    buildControls();

    connect(m_cropList, &QListWidget::itemSelectionChanged, this, &CropNamesDialog::showMarking);
    connect(m_deleteCropButton, &QPushButton::clicked, this, &CropNamesDialog::deleteCrop);
    connect(m_renameCropButton, &QPushButton::clicked, this, &CropNamesDialog::renameCrop);
    connect(m_addCropButton, &QPushButton::clicked, this, &CropNamesDialog::addCrop);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);

    reloadCrops();
}

void CropNamesDialog::buildControls()
{
    m_cropList = new QListWidget(this);
    m_cropList->setObjectName(QStringLiteral("cropList"));
    m_cropList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_cropList->setMinimumSize(260, 220);
    m_deleteCropButton
        = Controls::makeButton(QStringLiteral("Törlés"), QStringLiteral("deleteCropButton"), this);
    m_renameCropButton = Controls::makeButton(QStringLiteral("Módosítás"),
                                              QStringLiteral("renameCropButton"), this);
    m_cropNameEdit = Controls::makeEdit(QStringLiteral("cropNameEdit"), this);
    m_cropNameEdit->setMaxLength(50); // the width of Nev
    m_closeButton
        = Controls::makeButton(QStringLiteral("Bezárás"), QStringLiteral("closeButton"), this);
    m_addCropButton
        = Controls::makeButton(QStringLiteral("Rögzítés"), QStringLiteral("addCropButton"), this);
    for (QPushButton *button :
         {m_deleteCropButton, m_renameCropButton, m_closeButton, m_addCropButton}) {
        button->setMinimumWidth(buttonWidth);
        button->setAutoDefault(false);
    }
    // Enter in the name box adds the crop.
    m_addCropButton->setDefault(true);

    auto *listButtons = new QHBoxLayout;
    listButtons->addStretch();
    listButtons->addWidget(m_deleteCropButton);
    listButtons->addWidget(m_renameCropButton);

    auto *closeButtons = new QHBoxLayout;
    closeButtons->addStretch();
    closeButtons->addWidget(m_closeButton);
    closeButtons->addWidget(m_addCropButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Meglévők :"), this));
    layout->addWidget(m_cropList, 1);
    layout->addLayout(listButtons);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("Megnevezés:"), this));
    layout->addWidget(m_cropNameEdit);
    layout->addSpacing(8);
    layout->addLayout(closeButtons);

    Controls::setTabOrder({m_cropList, m_deleteCropButton, m_renameCropButton, m_cropNameEdit,
                           m_closeButton, m_addCropButton});
}

void CropNamesDialog::reloadCrops()
{
    const QString marked = markedCropId();
    m_cropList->clear();
    QString error;
    const auto crops = CropEditorData::loadCrops(m_reference, &error);
    if (!crops) {
        m_messenger.inform(error, false, MessageKind::Error);
    } else {
        for (const CropEditorData::Crop &crop : *crops) {
            auto *item = new QListWidgetItem(crop.name, m_cropList);
            item->setData(Qt::UserRole, crop.novid);
            // Rows as high as the program's other lists: the accents of "Ő" and "Á" reach
            // above the font's ascent and would be cut off by a row of the bare text height.
            item->setSizeHint(QSize(0, 17));
            // a crop marked before a rename stays marked
            if (!marked.isEmpty() && crop.novid == marked) {
                m_cropList->setCurrentItem(item);
                item->setSelected(true);
            }
        }
    }
    showMarking();
}

QString CropNamesDialog::markedCropId() const
{
    const QList<QListWidgetItem *> marked = m_cropList->selectedItems();
    return marked.isEmpty() ? QString() : marked.first()->data(Qt::UserRole).toString();
}

void CropNamesDialog::showMarking()
{
    const bool isMarked = !markedCropId().isEmpty();
    m_deleteCropButton->setEnabled(isMarked);
    m_renameCropButton->setEnabled(isMarked);
}

void CropNamesDialog::addCrop()
{
    const Outcome<QString> added = CropEditorData::addCrop(m_reference, m_cropNameEdit->text());
    if (!added) {
        m_messenger.inform(added.refusal());
        return;
    }
    m_addedCropId = *added;
    accept();
}

void CropNamesDialog::renameCrop()
{
    const QString novid = markedCropId();
    if (novid.isEmpty())
        return;
    const QString name = m_cropNameEdit->text();
    if (!name.isEmpty()
        && m_messenger.display(QStringLiteral("Módosítja a meglévők listájában megjelölt növényi "
                                              "megnevezést a megnevezés cella értékére ?"),
                               ButtonSet::IgenMegsem, false, MessageKind::Information)
               != Answer::Igen)
        return;
    const Outcome<void> renamed = CropEditorData::renameCrop(m_reference, novid, name);
    if (!renamed) {
        m_messenger.inform(renamed.refusal());
        return;
    }
    m_cropNameEdit->clear();
    reloadCrops();
}

void CropNamesDialog::deleteCrop()
{
    const QString novid = markedCropId();
    if (novid.isEmpty()
        || !m_messenger.askYesNo(QStringLiteral("Biztosan törli a kijelölt sort?"), true))
        return;
    const Outcome<void> deleted = CropEditorData::deleteCrop(m_reference, novid);
    if (!deleted)
        m_messenger.inform(deleted.refusal());
    reloadCrops();
}
