#include "gui/app/startup.h"

#include "core/data/reference/referencedatabase.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/settings/apppaths.h"
#include "core/reports/programfonts.h"
#include "gui/app/mainwindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QTranslator>

#include <cstdio>

namespace {
// Disabled menu titles ("Lépések" before a plan is open): dark enough on the light-blue bar to
// be read, still lighter than the black of the enabled titles.
const QColor disabledMenuTitleColour(64, 76, 88);
} // namespace

void prepareApplication(QApplication &application)
{
    auto *translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    loadTahomaFont();

    QPalette menuBarPalette = QApplication::palette("QMenuBar");
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        menuBarPalette.setColor(QPalette::Disabled, role, disabledMenuTitleColour);
    QApplication::setPalette(menuBarPalette, "QMenuBar");
}

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
