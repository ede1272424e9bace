#pragma once

#include <QString>

class Messenger;
class QApplication;
struct AppPaths;

// The set-up of the windowed program before its first window: Qt's own dialogs (file, print,
// preview, standard buttons) speak Hungarian, the Tahoma face is loaded where it is installed,
// and disabled menu titles stay readable on the light-blue menu bar. The GUI tests run under
// the same set-up.
void prepareApplication(QApplication &application);

// The run with a window: the reference database, the plan and the main window, then the
// event loop (skipped when runEventLoop is false, for tests). `planPath` (may be empty) opens
// when the window is first shown; `farmDirectory` is used when config.ini names none. When
// the reference tables cannot be opened, the reason goes to standard error and to the
// message dialog, and the run ends with exit code 1 once it is dismissed; the window never
// appears.
int runProgram(const AppPaths &paths, const QString &planPath, const QString &farmDirectory,
               Messenger &messenger, bool runEventLoop = true);
