// "Régi referencia-táblák átvétele" of the "Segédadatok" menu: the reference tables of an
// earlier installation, taken over from a directory the user chooses.

#include "gui/app/mainwindow.h"

#include "core/messages/filechooser.h"
#include "core/messages/messenger.h"
#include "gui/app/referenceimportflow.h"
#include "gui/steps/step3panel.h"

#include <QDate>

void MainWindow::importReferenceTables()
{
    const QString directory = m_fileChooser->existingDirectory(
        QStringLiteral("A korábbi telepítés referencia-táblái"), m_paths.startDirectory);
    if (directory.isEmpty())
        return;
    const ReferenceImportOutcome outcome
        = ::importReferenceTables(directory, m_reference, m_messenger, QDate::currentDate());
    if (outcome.declined)
        return;
    m_messenger.display(outcome.message, ButtonSet::OkOnly, false,
                        outcome.imported ? MessageKind::Information : MessageKind::Warning);
    // The crops the next plan chooses from come from the tables just taken over.
    if (outcome.imported)
        m_step3Panel->reloadCrops();
}
