#include "gui/reference/materialseditor.h"

#include "core/data/reference/materials.h"
#include "core/data/reference/tables.h"
#include "core/messages/messenger.h"
#include "core/text/numbers.h"
#include "gui/reference/newmaterialdialog.h"
#include "gui/ui/controls.h"
#include "gui/ui/numberkeyfilter.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

namespace Tapanyagok = Tables::Tapanyagok;

constexpr int contentLength = 5;
constexpr int otherNameLength = 20; // the width of Egyeb
constexpr int contentBoxWidth = 50;
constexpr int otherContentBox = 11; // Egyebmeny, the last of the twelve

} // namespace

MaterialsEditor::MaterialsEditor(
    Messenger &messenger, ReferenceDatabase &reference, QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("materialsEditor"));
    setWindowTitle(QStringLiteral("Tápanyagok rögzítése, módosítása"));
    buildControls();

    connect(m_materialGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) {
            if (!m_ignoreMarks)
                chooseRow(current.row());
        });
    connect(m_addMaterialButton, &QPushButton::clicked, this, &MaterialsEditor::addMaterial);
    connect(
        m_deleteMaterialButton, &QPushButton::clicked, this, &MaterialsEditor::deleteShownMaterial);
    connect(m_closeButton, &QPushButton::clicked, this, &MaterialsEditor::reject);
    connect(m_storeButton, &QPushButton::clicked, this, &MaterialsEditor::storeAndAsk);

    reloadList();
    resize(640, 420);
}

void MaterialsEditor::buildControls()
{
    m_materialGrid = new QTableWidget(0, 1, this);
    m_materialGrid->setObjectName(QStringLiteral("materialGrid"));
    m_materialGrid->setHorizontalHeaderLabels({QStringLiteral("Megnevezés")});
    m_materialGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_materialGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_materialGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_materialGrid->verticalHeader()->hide();
    m_materialGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_materialGrid->horizontalHeader()->setStretchLastSection(true);
    m_materialGrid->setMinimumWidth(240);

    m_addMaterialButton
        = Controls::makeButton(QStringLiteral("+"), QStringLiteral("addMaterialButton"), this);
    m_addMaterialButton->setToolTip(QStringLiteral("Egyéb anyag rögzítése"));
    m_deleteMaterialButton
        = Controls::makeButton(QStringLiteral("-"), QStringLiteral("deleteMaterialButton"), this);
    m_deleteMaterialButton->setToolTip(QStringLiteral("Kijelölt anyag törlése"));
    for (QPushButton *button : {m_addMaterialButton, m_deleteMaterialButton})
        button->setFixedWidth(25);

    auto *filter = new NumberKeyFilter(NumberKeyFilter::Mode::Grid, {}, this);
    for (const QLatin1String &field : Materials::contentFields()) {
        QLineEdit *edit
            = Controls::makeEdit(QStringLiteral("content%1Edit").arg(field), this, contentBoxWidth);
        edit->setMaxLength(contentLength);
        edit->setText(QStringLiteral("0"));
        edit->installEventFilter(filter);
        edit->installEventFilter(this);
        // an emptied box reads 0, as the table then holds
        connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
            if (text.isEmpty()) {
                edit->setText(QStringLiteral("0"));
                edit->selectAll();
            }
        });
        m_contentEdits.append(edit);
    }
    m_otherNameEdit = Controls::makeEdit(QStringLiteral("otherNameEdit"), this, 140);
    m_otherNameEdit->setMaxLength(otherNameLength);
    m_otherNameEdit->installEventFilter(this);

    m_closeButton
        = Controls::makeButton(QStringLiteral("Bezárás"), QStringLiteral("closeButton"), this);
    m_storeButton
        = Controls::makeButton(QStringLiteral("Rögzítés"), QStringLiteral("storeButton"), this);
    for (QPushButton *button :
        {m_addMaterialButton, m_deleteMaterialButton, m_closeButton, m_storeButton})
        button->setAutoDefault(false);

    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(m_addMaterialButton);
    listButtons->addWidget(m_deleteMaterialButton);
    listButtons->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Adatbázisban már rögzített tápanyagok:"), this));
    left->addWidget(m_materialGrid, 1);
    left->addLayout(listButtons);

    // N … Mn in the first column, Zn … B in the second, the further ingredient below.
    auto *contents = new QGridLayout;
    const QStringList &captions = Materials::contentCaptions();
    const auto place = [&](int box, int row, int column) {
        contents->addWidget(new QLabel(captions.at(box) + QLatin1Char(':'), this), row, column);
        contents->addWidget(m_contentEdits.at(box), row, column + 1);
        contents->addWidget(new QLabel(QStringLiteral("%"), this), row, column + 2);
    };
    for (int box = 0; box < 6; ++box)
        place(box, box, 0);
    for (int box = 6; box < otherContentBox; ++box)
        place(box, box - 6, 4);
    contents->setColumnMinimumWidth(3, 24);
    auto *otherRow = new QHBoxLayout;
    otherRow->addWidget(new QLabel(captions.at(otherContentBox) + QLatin1Char(':'), this));
    otherRow->addWidget(m_otherNameEdit);
    otherRow->addWidget(m_contentEdits.at(otherContentBox));
    otherRow->addWidget(new QLabel(QStringLiteral("%"), this));
    otherRow->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_storeButton);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Hatóanyagtartalom %-ban:"), this));
    right->addLayout(contents);
    right->addLayout(otherRow);
    right->addStretch();
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(12);
    layout->addLayout(right);
}

bool MaterialsEditor::eventFilter(QObject *watched, QEvent *event)
{
    // a click into a box marks its whole text, ready to be typed over
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            edit->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

QStringList MaterialsEditor::boxTexts() const
{
    QStringList texts;
    for (const QLineEdit *edit : m_contentEdits)
        texts.append(edit->text());
    texts.append(m_otherNameEdit->text());
    return texts;
}

void MaterialsEditor::reloadList()
{
    const int previousRow = std::max(0, m_materialGrid->currentRow());
    QString error;
    const auto materials = Materials::listedMaterials(m_reference, &error);
    if (!materials)
        m_messenger.inform(error, false, MessageKind::Error);
    m_materials = materials.value_or(QList<QVariantMap>());

    m_ignoreMarks = true;
    m_materialGrid->clearContents();
    m_materialGrid->setRowCount(int(m_materials.size()));
    for (int row = 0; row < m_materials.size(); ++row)
        m_materialGrid->setItem(
            row, 0, new QTableWidgetItem(m_materials.at(row).value(Tapanyagok::Megnev).toString()));
    // the shown material keeps its mark and whatever is typed for it
    int row = rowOf(m_shownId);
    const bool stillListed = row >= 0;
    if (!stillListed)
        row = std::min(previousRow, int(m_materials.size()) - 1);
    m_materialGrid->setCurrentCell(row, 0);
    m_ignoreMarks = false;
    if (!stillListed)
        showMaterial(row);
    updateButtons();
}

int MaterialsEditor::rowOf(qint64 anyagid) const
{
    for (int row = 0; row < m_materials.size(); ++row) {
        if (anyagid != 0 && m_materials.at(row).value(Tapanyagok::Anyagid).toLongLong() == anyagid)
            return row;
    }
    return -1;
}

void MaterialsEditor::showMaterial(int row)
{
    const QVariantMap material
        = row >= 0 && row < m_materials.size() ? m_materials.at(row) : QVariantMap();
    m_shownId = material.value(Tapanyagok::Anyagid).toLongLong();
    const QList<QLatin1String> &fields = Materials::contentFields();
    for (int box = 0; box < fields.size(); ++box)
        m_contentEdits.at(box)->setText(
            Text::formatGeneral(material.value(fields.at(box)).toDouble()));
    m_otherNameEdit->setText(material.value(Tapanyagok::Egyeb).toString());
    m_shownTexts = boxTexts();
    updateButtons();
}

void MaterialsEditor::chooseRow(int row)
{
    if (row >= 0 && row < m_materials.size()
        && m_materials.at(row).value(Tapanyagok::Anyagid).toLongLong() == m_shownId)
        return;
    if (!confirmLeave()) {
        markShownLater();
        return;
    }
    showMaterial(row);
}

void MaterialsEditor::markShownLater()
{
    // The mouse press or key that moved the mark is still at work: put it back afterwards.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_ignoreMarks = true;
            m_materialGrid->setCurrentCell(rowOf(m_shownId), 0);
            m_ignoreMarks = false;
        },
        Qt::QueuedConnection);
}

bool MaterialsEditor::store()
{
    if (m_shownId == 0)
        return false;
    const QStringList texts = boxTexts();
    const Outcome<void> stored = Materials::storeContents(
        m_reference, m_shownId, texts.mid(0, int(m_contentEdits.size())), texts.last());
    if (!stored) {
        m_messenger.inform(stored.refusal());
        return false;
    }
    // the list keeps its rows; the stored values replace the ones read
    QString error;
    if (const auto materials = Materials::listedMaterials(m_reference, &error))
        m_materials = *materials;
    m_shownTexts = texts;
    return true;
}

void MaterialsEditor::storeAndAsk()
{
    if (!store())
        return;
    // the blanks between the two sentences are the message dialog's line break
    const bool another
        = m_messenger.display(
              QStringLiteral("Az anyaghoz tartozó adatok rögzítve lettek.                 "
                             "Kéri további anyag felvitelét, vagy módosítását?"),
              ButtonSet::IgenNem, false, MessageKind::Information)
        != Answer::Nem;
    if (!another)
        accept();
}

bool MaterialsEditor::confirmLeave()
{
    if (!hasUnsavedChanges())
        return true;
    const int answer = m_messenger.display(QStringLiteral("Mentsem a változásokat ?"),
        ButtonSet::IgenNemMegsem, true, MessageKind::Warning);
    if (answer == Answer::Igen)
        return store();
    return answer == Answer::Nem;
}

void MaterialsEditor::deleteShownMaterial()
{
    if (m_shownId == 0)
        return;
    if (!m_messenger.askYesNo(QStringLiteral("Biztosan törli a kijelölt sort?"), true))
        return;
    const Outcome<void> deleted = Materials::deleteMaterial(m_reference, m_shownId);
    if (!deleted) {
        m_messenger.inform(deleted.refusal());
        return;
    }
    reloadList();
}

void MaterialsEditor::addMaterial()
{
    NewMaterialDialog dialog(m_messenger, m_reference, this);
    if (dialog.exec() == QDialog::Accepted)
        listNewMaterial(dialog.createdId());
}

void MaterialsEditor::listNewMaterial(qint64 anyagid)
{
    reloadList();
    const int row = rowOf(anyagid);
    if (row >= 0)
        m_materialGrid->setCurrentCell(row, 0);
}

void MaterialsEditor::reject()
{
    if (confirmLeave())
        QDialog::reject();
}

void MaterialsEditor::updateButtons()
{
    m_storeButton->setEnabled(m_shownId != 0);
    m_deleteMaterialButton->setEnabled(m_shownId != 0 && m_materialGrid->currentRow() >= 0);
}
