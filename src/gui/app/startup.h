#pragma once

#include <QString>

#include <cstdio>

class Messenger;
class ReferenceDatabase;
struct AppPaths;
struct CommandLine;

// Makes the reference database ready for the run: creates the data directory and, on the
// first start, a new database from the built-in defaults; then opens it with every table.
// False with a text for the user when the database cannot be created or lacks a table.
bool prepareReferenceDatabase(const AppPaths &paths, ReferenceDatabase &database,
                              QString *error);

// The whole run after the command line was read: the reference database, the plan and the
// main window, then the event loop (skipped when runEventLoop is false, for tests). When the
// reference tables cannot be opened, the reason goes to standard error and to the message
// dialog, and the run ends with exit code 1 once it is dismissed; the window never appears.
// `nutrisor --export-json PLAN.tap`: every persisted item of the plan as JSON on `out`, the
// texts as the program would show them; 0 when written, 1 with the format message on `err`
// when the file cannot be read.
int exportPlanJson(const QString &path, std::FILE *out, std::FILE *err);

// `nutrisor --print-summary PLAN.tap --output FILE`: the full summary of the plan, written
// in the format the output's extension names, without a window. 0 when written; 1 when
// the plan cannot be read, a replayed step fails (its message through `messenger`) or the
// file cannot be written, each said on `err`, and then no file is written.
int printPlanSummary(const CommandLine &commandLine, const QString &programDirectory,
                     Messenger &messenger, std::FILE *err);

int runProgram(const CommandLine &commandLine, const QString &programDirectory,
               Messenger &messenger, bool runEventLoop = true);
