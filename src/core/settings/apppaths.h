#pragma once

#include <QString>

class ReferenceDatabase;

// Where the program's own files live. The reference database and config.ini sit in the
// program directory when it holds a reference database and can be written (a portable
// installation), otherwise in the per-user data directory; --data-dir overrides both.
struct AppPaths
{
    QString programDirectory; // directory of the executable
    QString dataDirectory; // reference database and config.ini
    QString startDirectory; // report designs of the user are looked up here first

    static QString referenceDatabaseName() { return QStringLiteral("nutrisor-referencia.sqlite"); }

    QString referenceDatabasePath() const;
    QString configPath() const;
    // The program's own settings beside config.ini (ProgramSettings).
    QString settingsPath() const;
    // The user guide hasznalati.pdf: beside the program, or for a program installed in
    // <prefix>/bin in <prefix>/share/nutrisor; the place beside the program when neither has it.
    QString helpFilePath() const;

    // Decides the data directory for a program in `programDirectory`; `dataDirOption` is the
    // value of --data-dir (empty when not given).
    static AppPaths resolve(const QString &programDirectory, const QString &dataDirOption);
};

// Makes the reference database ready for the run: creates the data directory and, on the
// first start, a new database from the built-in defaults; then removes the copies left by
// reference imports that never finished and opens the database with every table.
// False with a text for the user when the database cannot be created or lacks a table.
bool prepareReferenceDatabase(const AppPaths &paths, ReferenceDatabase &database, QString *error);

// Creates the reference database at `path` from the built-in defaults. Several runs started
// at once on an empty data directory each build one: the first to finish wins, and for the
// others the database now there counts as created. False with a text for the user when no
// database could be created.
bool createReferenceDatabase(const QString &path, QString *error);
