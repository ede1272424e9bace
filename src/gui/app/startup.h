#pragma once

#include <QString>

class Messenger;
struct AppPaths;

// The run with a window: the reference database, the plan and the main window, then the
// event loop (skipped when runEventLoop is false, for tests). `planPath` (may be empty) opens
// when the window is first shown; `farmDirectory` is used when config.ini names none. When
// the reference tables cannot be opened, the reason goes to standard error and to the
// message dialog, and the run ends with exit code 1 once it is dismissed; the window never
// appears.
int runProgram(const AppPaths &paths, const QString &planPath, const QString &farmDirectory,
               Messenger &messenger, bool runEventLoop = true);
