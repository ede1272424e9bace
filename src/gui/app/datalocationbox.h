#pragma once

#include <QGroupBox>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

// The chooser of the farm database directory ("Elérési út beállítása"): a list of drives
// (on Linux the file-system root, the home folder and the mounted volumes), the directory
// tree of the chosen drive, "Ok" and "Mégsem".
class DataLocationBox final : public QGroupBox
{
    Q_OBJECT

public:
    explicit DataLocationBox(QWidget *parent = nullptr);

    // Shows `directory` when it exists, otherwise the home folder.
    void setDirectory(const QString &directory);
    QString directory() const;

    // The drives offered: root paths of the mounted, readable file systems worth a visit.
    static QStringList drives();

signals:
    void accepted(const QString &directory);
    void cancelled();

private:
    void showDrive(const QString &root);
    void selectDirectory(const QString &directory);

    QComboBox *m_driveList = nullptr;
    QTreeView *m_directoryList = nullptr;
    QFileSystemModel *m_model = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
