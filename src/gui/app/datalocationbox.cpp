#include "gui/app/datalocationbox.h"

#include "core/data/farm/farmdatabase.h"
#include "core/messages/messenger.h"
#include "core/settings/configblock.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

DataLocationBox::DataLocationBox(ConfigBlock &config, const QString &configPath,
                                 Messenger &messenger, QWidget *parent)
    : QGroupBox(QStringLiteral("Elérési út beállítása"), parent)
    , m_config(config)
    , m_configPath(configPath)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("dataLocationBox"));
    setAutoFillBackground(true);

    m_driveList = new QComboBox(this);
    m_driveList->setObjectName(QStringLiteral("driveList"));
    m_driveList->addItems(drives());

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());

    m_directoryList = new QTreeView(this);
    m_directoryList->setObjectName(QStringLiteral("directoryList"));
    m_directoryList->setModel(m_model);
    m_directoryList->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_directoryList->hideColumn(column);
    m_directoryList->setMinimumSize(360, 240);
    m_chosenPathEdit = new QLineEdit(this);
    m_chosenPathEdit->setObjectName(QStringLiteral("chosenPathEdit"));
    m_chosenPathEdit->setReadOnly(true);
    m_chosenPathEdit->setFocusPolicy(Qt::NoFocus);

    m_okButton = new QPushButton(QStringLiteral("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("dataLocationOkButton"));
    m_cancelButton = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancelButton->setObjectName(QStringLiteral("dataLocationCancelButton"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Meghajtó kiválasztása:"), this));
    layout->addWidget(m_driveList);
    layout->addWidget(new QLabel(QStringLiteral("Könyvtár megadása:"), this));
    layout->addWidget(m_directoryList, 1);
    layout->addWidget(m_chosenPathEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);

    connect(m_directoryList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DataLocationBox::showChosenPath);
    // The tree fills in while the folders are read: the chosen one stays in view.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] {
        if (isVisible())
            m_directoryList->scrollTo(m_directoryList->currentIndex(),
                                      QAbstractItemView::PositionAtCenter);
    });
    connect(m_driveList, &QComboBox::textActivated, this, &DataLocationBox::showDrive);
    connect(m_okButton, &QPushButton::clicked, this, [this] { accept(directory()); });
    connect(m_cancelButton, &QPushButton::clicked, this, &DataLocationBox::cancel);
}

void DataLocationBox::open(bool fromMenu)
{
    m_openedFromMenu = fromMenu;
    QWidget *stepBox = parentWidget();
    stepBox->show();
    stepBox->raise();
    if (!isVisible()) {
        for (QWidget *content : stepBox->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (content != this && content->isVisibleTo(stepBox)) {
                content->hide();
                m_replaced.append(content);
            }
        }
    }
    setGeometry(stepBox->contentsRect());
    show();
    raise();
    setDirectory(m_config.farmDatabaseDirectory());
    m_directoryList->setFocus();
}

void DataLocationBox::accept(const QString &directory)
{
    m_config.setFarmDatabaseDirectory(directory.left(255));
    const bool valid = FarmDatabase::isFarmDirectory(m_config.farmDatabaseDirectory());
    if (!valid) {
        m_messenger.display(QStringLiteral("A megadott helyen nem található megfelelő adatbázis!"),
                            ButtonSet::OkOnly, true, MessageKind::Warning);
    }
    // Remembered even when the tables are missing.
    m_config.writeFile(m_configPath);
    // Before the step-2 box closes, so that an open data request lists the new place.
    emit directoryChanged(m_config.farmDatabaseDirectory(), valid);
    closeChooser();
}

void DataLocationBox::cancel()
{
    closeChooser();
}

void DataLocationBox::closeChooser()
{
    hide();
    for (QWidget *content : std::as_const(m_replaced)) {
        if (content)
            content->show();
    }
    m_replaced.clear();
    if (m_openedFromMenu)
        parentWidget()->hide();
}

QStringList DataLocationBox::drives()
{
    QStringList roots {QDir::rootPath(), QDir::homePath()};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        // Kernel and runtime file systems hold no farm data.
        static const QStringList skipped
            = {QStringLiteral("/proc"), QStringLiteral("/sys"),  QStringLiteral("/dev"),
               QStringLiteral("/run"),  QStringLiteral("/boot"), QStringLiteral("/snap")};
        const bool isSystem = std::any_of(skipped.begin(), skipped.end(), [&](const QString &s) {
            return root == s || root.startsWith(s + QLatin1Char('/'));
        });
        const bool isRemovable = root.startsWith(QStringLiteral("/run/media/"));
        if ((isSystem && !isRemovable) || roots.contains(root))
            continue;
        roots.append(root);
    }
    return roots;
}

void DataLocationBox::showDrive(const QString &root)
{
    selectDirectory(root);
}

void DataLocationBox::setDirectory(const QString &directory)
{
    const QString shown
        = !directory.isEmpty() && QDir(directory).exists() ? directory : QDir::homePath();
    // The drive list shows the volume that holds the directory.
    const QString volume = QStorageInfo(shown).rootPath();
    const int driveIndex = m_driveList->findText(volume);
    if (driveIndex >= 0)
        m_driveList->setCurrentIndex(driveIndex);
    selectDirectory(shown);
}

void DataLocationBox::selectDirectory(const QString &directory)
{
    const QModelIndex index = m_model->index(QDir::cleanPath(directory));
    m_directoryList->setCurrentIndex(index);
    m_directoryList->expand(index);
    m_directoryList->scrollTo(index, QAbstractItemView::PositionAtCenter);
    showChosenPath();
}

void DataLocationBox::showChosenPath()
{
    m_chosenPathEdit->setText(directory());
}

QString DataLocationBox::directory() const
{
    const QModelIndex index = m_directoryList->currentIndex();
    return index.isValid() ? QDir::toNativeSeparators(m_model->filePath(index)) : QString();
}
