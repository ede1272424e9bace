#pragma once

#include <QGroupBox>
#include <QList>
#include <QPointer>

class ConfigBlock;
class Messenger;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The chooser of the farm database directory ("Elérési út beállítása"): a list of drives
// (on Linux the file-system root, the home folder and the mounted volumes), the directory
// tree of the chosen drive with the chosen directory's path under it, "Ok" and "Mégsem". It
// opens in the step-2 box that is its parent, in place of the box's panel, which comes back
// when the chooser closes; it keeps the chosen directory in the program's config.ini.
class DataLocationBox final : public QGroupBox
{
    Q_OBJECT

public:
    DataLocationBox(ConfigBlock &config, const QString &configPath, Messenger &messenger,
                    QWidget *parent);

    // Opens the chooser at the stored directory, filling the step-2 box, which comes to the
    // front; when opened from the menu, the step-2 box closes again with the chooser.
    void open(bool fromMenu);
    // "Ok": the directory (at most 255 characters) is stored and written to config.ini even
    // when it lacks the farm tables; then it is warned about.
    void accept(const QString &directory);
    // "Mégsem": nothing is stored.
    void cancel();

    // Shows `directory` when it exists, otherwise the home folder.
    void setDirectory(const QString &directory);
    QString directory() const;

    // The drives offered: root paths of the mounted, readable file systems worth a visit.
    static QStringList drives();

signals:
    // The farm directory was accepted and holds the farm tables (true) or not (false).
    void directoryChanged(const QString &directory, bool valid);

private:
    void showDrive(const QString &root);
    void selectDirectory(const QString &directory);
    void closeChooser();
    void showChosenPath();

    ConfigBlock &m_config;
    QString m_configPath;
    Messenger &m_messenger;
    bool m_openedFromMenu = false;
    QList<QPointer<QWidget>> m_replaced; // the step box's content while the chooser is open

    QComboBox *m_driveList = nullptr;
    QTreeView *m_directoryList = nullptr;
    QLineEdit *m_chosenPathEdit = nullptr;
    QFileSystemModel *m_model = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
