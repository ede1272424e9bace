#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do at start: the plan to open, where the data live.
struct CommandLine
{
    QString planPath;  // the one argument that is not an option, or empty
    QString dataDir;   // --data-dir DIR: reference database and config.ini
    QString farmDir;   // --farm-dir DIR: farm database when config.ini names none
    QString exportJsonPath; // --export-json PLAN: print the plan as JSON, open no window
    bool exportResults = false; // --results: the export adds the plan's computed results
    QString importReferenceDir; // --import-reference DIR: an earlier installation's tables
    bool assumeYes = false;     // --yes: the import asks nothing
    QString printSummaryPath; // --print-summary PLAN: write the plan's full summary, no window
    QString outputPath;       // --output FILE: where --print-summary and --purchase-list write
    bool withLeafAnalysis = false; // --with-leaf-analysis: the summary with the linked leaf samples
    bool purchaseList = false;    // --purchase-list PLAN…: materials to buy over the plans
    QStringList purchasePlanPaths; // its plans, "-" or a folder for every plan under it
    bool showUsage = false;
    QString error;     // an unknown, repeated or valueless option, or requests that conflict

    static CommandLine parse(const QStringList &arguments);
    static QString usage();
};
