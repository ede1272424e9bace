#include "gui/app/programsettingsmenu.h"

#include "core/messages/messenger.h"
#include "core/settings/programsettings.h"

#include <QAction>
#include <QMenu>

ProgramSettingsMenu::ProgramSettingsMenu(
    ProgramSettings &settings, const QString &path, Messenger &messenger, QMenu *menu)
    : QObject(menu)
    , m_settings(settings)
    , m_path(path)
    , m_messenger(messenger)
{
    m_settings = ProgramSettings::readFile(m_path);
    menu->addSeparator();
    m_nitrateChecksAction = menu->addAction(
        QStringLiteral("Nitrát cselekvési program ellenőrzése (nitrátérzékeny terület)"));
    m_nitrateChecksAction->setObjectName(QStringLiteral("nitrateChecksAction"));
    m_nitrateChecksAction->setCheckable(true);
    m_nitrateChecksAction->setChecked(m_settings.nitrateChecks);
    connect(m_nitrateChecksAction, &QAction::toggled, this, [this](bool checked) {
        m_settings.nitrateChecks = checked;
        store();
    });
}

void ProgramSettingsMenu::store()
{
    QString error;
    // The setting holds for this run even when the file cannot take it.
    if (!m_settings.writeFile(m_path, &error))
        m_messenger.inform(error, false, MessageKind::Error);
}
