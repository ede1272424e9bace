#pragma once

#include <QString>

#include <cstdio>

class Messenger;
struct CommandLine;

// The runs of the program that open no window; each returns the program's exit code.

// `nutrisor --export-json PLAN.tap`: every persisted item of the plan as JSON on `out`, the
// texts as the program would show them; 0 when written, 1 with the format message on `err`
// when the file cannot be read.
int exportPlanJson(const QString &path, std::FILE *out, std::FILE *err);

// `nutrisor --export-json PLAN.tap --results`: the same with "results", the values the full
// summary prints as numbers (planResultsToJson). 1 when the plan cannot be read or a
// replayed step fails (its message through `messenger`), and then nothing is written on `out`.
int exportPlanResultsJson(const CommandLine &commandLine, const QString &programDirectory,
                          Messenger &messenger, std::FILE *out, std::FILE *err);

// `nutrisor --print-summary PLAN.tap [--with-leaf-analysis] --output FILE`: the full summary
// of the plan (the combined one with the linked leaf samples when asked), written in the
// format the output's extension names, without a window. 0 when written; 1 when
// the plan cannot be read, a replayed step fails (its message through `messenger`) or the
// file cannot be written, each said on `err`, and then no file is written.
int printPlanSummary(const CommandLine &commandLine, const QString &programDirectory,
                     Messenger &messenger, std::FILE *err);

// `nutrisor --purchase-list A.tap B.tap … --output FILE`: the materials scheduled in the
// plans summed as kg, written in the format the output's extension names (.csv too: a header
// row, semicolons, decimal commas, UTF-8). A folder, or "-" for the current one, stands for
// every .tap file under it. Files that cannot be read are named on `err` and listed in the
// document; a long run shows its progress when `err` is a terminal. 0 when at least one plan
// was read and the file written; 1 otherwise, and then no file is written.
int purchaseListCommand(const CommandLine &commandLine, const QString &programDirectory,
                        std::FILE *err);

// `nutrisor --import-reference DIR [--yes]`: the same without a window, on the reference
// database of the data directory (created from the defaults on a first run). The question
// is asked on the terminal unless --yes; 0 when tables were taken over, 1 with the reason
// on `err` when nothing was.
int importReferenceCommand(const CommandLine &commandLine, const QString &programDirectory,
                           std::FILE *in, std::FILE *out, std::FILE *err);
