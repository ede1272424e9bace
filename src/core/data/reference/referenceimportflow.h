#pragma once

#include <QDate>
#include <QString>

class Messenger;
class ReferenceDatabase;

// How taking over an earlier installation's reference tables ended.
struct ReferenceImportOutcome
{
    bool imported = false;
    bool declined = false; // the user answered "Nem"; nothing changed
    QString message; // what was done, or why nothing was
};

// Reads the reference tables in `directory`, shows what was found (per table its rows, the
// tables left out and why, the tables missing) with the question whether to take them over,
// and on "Igen" replaces them after writing a dated copy of the database. The menu entry
// and the command line both run this; the outcome's message is for the caller to show.
ReferenceImportOutcome importReferenceTables(const QString &directory, ReferenceDatabase &database,
                                             Messenger &messenger, const QDate &today);
