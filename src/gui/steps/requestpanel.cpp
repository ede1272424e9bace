#include "gui/steps/requestpanel.h"

#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"
#include "core/data/farm/farmtable.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/text/numbers.h"
#include "gui/ui/controls.h"
#include "gui/ui/texttablemodel.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

// A listed field of the farm table and its column title.
struct Column
{
    QString field;
    QString title;
};

QList<Column> fieldColumns()
{
    using namespace FarmFields;
    return {{Helysz, QStringLiteral("Helyrajzi szám")},
            {Hazmeg, QStringLiteral("Házi megnevezés")},
            {Ter, QStringLiteral("Terület")},
            {Blok, QStringLiteral("Blokk")},
            {Muvag, QStringLiteral("Művelési ág")}};
}

QList<Column> parcelColumns()
{
    using namespace FarmFields;
    return {{Evj, QStringLiteral("G.év")},
            {Parcsor, QStringLiteral("S.sz.")},
            {Agazat, QStringLiteral("Ágazat")},
            {Ter, QStringLiteral("Terület")},
            {Hazmeg, QStringLiteral("Házi megnevezés")},
            {Hasznkod, QStringLiteral("H. kód")}};
}

// Numbers the way the user reads them (decimal comma), texts as stored.
QString displayText(const FarmTable &table, const QString &field)
{
    const QVariant value = table.value(field);
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Text::formatGeneral(table.number(field));
    default:
        return table.text(field);
    }
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

RequestPanel::RequestPanel(Plan &plan, Messenger &messenger, QWidget *parent)
    : QGroupBox(QStringLiteral("Adatkérés"), parent)
    , m_plan(plan)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("requestPanel"));
    setAutoFillBackground(true);
    buildControls();

    connect(m_fieldsModeButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked && !switchTo(FarmRecordKind::Fields))
            showMode();
    });
    connect(m_parcelsModeButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked && !switchTo(FarmRecordKind::Parcels))
            showMode();
    });
    connect(m_recordList, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            fetchSelected();
    });
    connect(m_settingsButton, &QPushButton::clicked, this, &RequestPanel::dataLocationRequested);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_fetchButton, &QPushButton::clicked, this, &RequestPanel::fetchSelected);
    m_recordList->installEventFilter(this);

    hide();
}

RequestPanel::~RequestPanel() = default;

void RequestPanel::buildControls()
{
    m_sourceEdit = new QLineEdit(this);
    m_sourceEdit->setObjectName(QStringLiteral("sourceEdit"));
    m_sourceEdit->setReadOnly(true);

    m_fieldsModeButton = new QRadioButton(QStringLiteral("Táblák:"), this);
    m_fieldsModeButton->setObjectName(QStringLiteral("fieldsModeButton"));
    m_fieldsModeButton->setChecked(true);
    m_parcelsModeButton = new QRadioButton(QStringLiteral("Parcellák:"), this);
    m_parcelsModeButton->setObjectName(QStringLiteral("parcelsModeButton"));

    m_recordModel = new TextTableModel(this);
    listRecords(FarmRecordKind::Fields);
    m_recordList = new QTableView(this);
    m_recordList->setObjectName(QStringLiteral("recordList"));
    m_recordList->setModel(m_recordModel);
    // A farm lists a few hundred records at most: measuring them is cheap, and no title or
    // house name is cut off, not even in an empty list.
    connect(m_recordModel, &QAbstractItemModel::modelReset, m_recordList,
            &QTableView::resizeColumnsToContents);
    m_recordList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recordList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_recordList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_recordList->setTabKeyNavigation(false);
    m_recordList->setWordWrap(false);
    m_recordList->verticalHeader()->hide();
    m_recordList->verticalHeader()->setDefaultSectionSize(19);
    m_recordList->horizontalHeader()->setDefaultSectionSize(100);
    m_recordList->horizontalHeader()->setStretchLastSection(true);
    m_recordList->horizontalHeader()->setHighlightSections(false);

    m_settingsButton = Controls::makeButton(QStringLiteral("Beálítás"),
                                            QStringLiteral("settingsButton"), this);
    m_cancelButton = Controls::makeButton(QStringLiteral("Mégsem"), QStringLiteral("cancelButton"),
                                          this);
    m_fetchButton = Controls::makeButton(QStringLiteral("Lekérés"), QStringLiteral("fetchButton"),
                                         this);
    // Enter is the panel's own (keyPressEvent), never a default button's.
    for (QPushButton *button : {m_settingsButton, m_cancelButton, m_fetchButton})
        button->setAutoDefault(false);

    auto *source = new QHBoxLayout;
    source->addWidget(new QLabel(QStringLiteral("Forrás :"), this));
    source->addWidget(m_sourceEdit, 1);
    source->addWidget(m_settingsButton);

    auto *modes = new QHBoxLayout;
    modes->addWidget(m_fieldsModeButton);
    modes->addSpacing(16);
    modes->addWidget(m_parcelsModeButton);
    modes->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_fetchButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addLayout(source);
    layout->addLayout(modes);
    layout->addWidget(m_recordList, 1);
    layout->addLayout(buttons);

    resize(560, 300);
}

void RequestPanel::setFarmDirectory(const QString &directory)
{
    if (directory == m_farmDirectory)
        return;
    m_farmDirectory = directory;
    closeTable();
    m_sourceEdit->setText(QDir::toNativeSeparators(directory));
    // A request in progress lists the new directory at once.
    if (isVisible())
        open();
}

void RequestPanel::closeTable()
{
    m_recordModel->clear();
    m_table.reset();
}

void RequestPanel::listRecords(FarmRecordKind kind)
{
    const QList<Column> columns
        = kind == FarmRecordKind::Fields ? fieldColumns() : parcelColumns();
    QStringList titles;
    for (const Column &column : columns)
        titles.append(column.title);
    // The texts are taken at once (a farm has a few hundred fields at most), so the table's
    // cursor is free for the import; it is left on the first record.
    QList<QStringList> rows;
    if (m_table) {
        for (m_table->first(); !m_table->eof(); m_table->next()) {
            QStringList row;
            for (const Column &column : columns)
                row.append(displayText(*m_table, column.field));
            rows.append(row);
        }
        m_table->first();
    }
    m_recordModel->setTable(titles, rows);
}

void RequestPanel::open()
{
    m_sourceEdit->setText(QDir::toNativeSeparators(m_farmDirectory));
    // The request always starts from the fields, whichever list was shown last.
    if (!switchTo(FarmRecordKind::Fields)) {
        closeTable();
        m_mode = FarmRecordKind::Fields;
        listRecords(m_mode);
    }
    showMode();
    move(0, 0);
    show();
    raise();
    m_recordList->setFocus();
}

bool RequestPanel::switchTo(FarmRecordKind kind)
{
    m_sourceEdit->setText(QDir::toNativeSeparators(m_farmDirectory));
    const bool isField = kind == FarmRecordKind::Fields;
    const QString tableName = isField ? QString(FarmTables::Tablak)
                                      : QString(FarmTables::parcellak);
    const FarmDatabase farm(m_farmDirectory);
    if (m_farmDirectory.isEmpty() || !farm.hasTable(tableName))
        return false;
    FarmTableResult opened = farm.openTable(
        tableName, isField ? FarmFields::activeFields() : FarmFields::activeParcels());
    if (!opened) {
        m_messenger.display(opened.error, ButtonSet::OkOnly, false, MessageKind::Error);
        return false;
    }

    m_table = std::move(opened.table);
    m_mode = kind;
    listRecords(kind);
    showMode();
    // As in the farm program's list, the first record is the current one.
    if (m_recordModel->rowCount() > 0)
        m_recordList->selectRow(0);
    return true;
}

void RequestPanel::showMode()
{
    const QSignalBlocker fields(m_fieldsModeButton);
    const QSignalBlocker parcels(m_parcelsModeButton);
    if (m_mode == FarmRecordKind::Fields)
        m_fieldsModeButton->setChecked(true);
    else
        m_parcelsModeButton->setChecked(true);
}

void RequestPanel::fetchSelected()
{
    const bool isField = m_mode == FarmRecordKind::Fields;
    if (!m_table) {
        m_messenger.display(
            QStringLiteral("Nincs megnyitott adattábla: a megadott helyen nem található a %1 "
                           "adatbázisa. Az adatok helyét a „Beálítás” gombbal adhatja meg.")
                .arg(isField ? QStringLiteral("táblák") : QStringLiteral("parcellák")),
            ButtonSet::OkOnly, false, MessageKind::Information);
        return;
    }
    const QModelIndexList selected = m_recordList->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        m_messenger.display(isField ? QStringLiteral("Nincs kiválasztott tábla.")
                                    : QStringLiteral("Nincs kiválasztott parcella."),
                            ButtonSet::OkOnly, true, MessageKind::Information);
        return;
    }

    m_table->seek(selected.first().row());
    QString error;
    // Imported into a copy: a failed import leaves the plan as it was.
    PlanItems items = m_plan.items();
    const bool imported = importField(items, *m_table, FarmDatabase(m_farmDirectory), m_mode,
                                      &error);
    m_table->first();
    if (!imported) {
        m_messenger.display(error, ButtonSet::OkOnly, false, MessageKind::Error);
        return;
    }
    m_plan.setItems(items, Plan::Change::Edit);
    hide();
    emit fieldImported();
}

bool RequestPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The list would take Enter for itself; here it means "Lekérés", and Escape "Mégsem".
    if (watched == m_recordList && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            fetchSelected();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void RequestPanel::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event)) {
        // Enter on a focused button presses that button; anywhere else it fetches.
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        else
            fetchSelected();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QGroupBox::keyPressEvent(event);
}
