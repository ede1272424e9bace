#include "core/data/reference/referenceimportflow.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/referenceimport.h"
#include "core/messages/messenger.h"

#include <QDir>

ReferenceImportOutcome importReferenceTables(const QString &directory, ReferenceDatabase &database,
                                             Messenger &messenger, const QDate &today)
{
    ReferenceImportOutcome outcome;
    const ReferenceImport found = ReferenceImport::scan(directory);
    const QString nothing = found.nothingToImport();
    if (!nothing.isEmpty()) {
        // the tables left out say why they were
        outcome.message
            = found.refusals().isEmpty() ? nothing : nothing + QLatin1Char('\n') + found.summary();
        return outcome;
    }
    // The question first: the list below it may need scrolling in the message dialog.
    const QString question
        = QStringLiteral("Átveszi a korábbi telepítés alább felsorolt referencia-tábláit? Az "
                         "azonos nevű táblák tartalma lecserélődik; előtte másolat készül a "
                         "referencia-adatbázisról.\n\n")
        + found.summary();
    if (!messenger.askYesNo(question, false, MessageKind::Warning)) {
        outcome.declined = true;
        outcome.message = QStringLiteral("A régi referencia-táblák átvétele elmaradt, a "
                                         "referencia-adatbázis nem változott.");
        return outcome;
    }
    QString backup;
    if (!found.apply(database, today, &backup, &outcome.message))
        return outcome;
    outcome.imported = true;
    outcome.message = QStringLiteral("%1 tábla %2 sora átvéve. A korábbi referencia-adatbázis "
                                     "másolata: %3")
                          .arg(found.tables().size())
                          .arg(found.rowCount())
                          .arg(QDir::toNativeSeparators(backup));
    return outcome;
}
