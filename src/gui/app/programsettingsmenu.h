#pragma once

#include <QObject>
#include <QString>

class Messenger;
class QAction;
class QMenu;
struct ProgramSettings;

// The entries of "Beállítások" that config.ini does not keep: the settings are read from
// their own file when the menu is built, and the file is written again whenever an entry
// is changed. The entries only set the values; whoever uses one reads it when it is needed.
class ProgramSettingsMenu final : public QObject
{
    Q_OBJECT

public:
    ProgramSettingsMenu(
        ProgramSettings &settings, const QString &path, Messenger &messenger, QMenu *menu);

    QAction *nitrateChecksAction() const { return m_nitrateChecksAction; }

private:
    void store();

    ProgramSettings &m_settings;
    QString m_path;
    Messenger &m_messenger;
    QAction *m_nitrateChecksAction = nullptr;
};
