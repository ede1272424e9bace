#include "gui/app/startup.h"

#include "core/data/reference/referencedatabase.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/settings/apppaths.h"
#include "gui/app/mainwindow.h"

#include <QApplication>

#include <cstdio>

int runProgram(const AppPaths &paths, const QString &planPath, const QString &farmDirectory,
               Messenger &messenger, bool runEventLoop)
{
    ReferenceDatabase reference;
    QString error;
    if (!prepareReferenceDatabase(paths, reference, &error)) {
        std::fprintf(stderr, "nutrisor: %s\n", error.toLocal8Bit().constData());
        messenger.display(error, ButtonSet::OkOnly, false, MessageKind::Error);
        return 1;
    }

    Plan plan;
    MainWindow window(plan, messenger, reference, paths);
    window.setFarmDirectoryDefault(farmDirectory);
    if (!planPath.isEmpty())
        window.setPendingPlanPath(planPath);
    window.show();
    return runEventLoop ? QApplication::exec() : 0;
}
