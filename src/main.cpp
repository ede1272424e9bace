// The program nutrisor: reads the command line, then runs a command without a window or the
// planner's window.
#include "cli/commandline.h"
#include "cli/commandruns.h"
#include "cli/terminalmessenger.h"
#include "core/reports/programfonts.h"
#include "core/settings/apppaths.h"
#include "gui/app/startup.h"
#include "gui/ui/dialogmessenger.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <functional>

int main(int argc, char *argv[])
{
    // The usage, a mistyped option and the export need no window, so they run without a
    // display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine early = CommandLine::parse(arguments);
    if (early.showUsage) {
        std::fputs(CommandLine::usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!early.error.isEmpty()) {
        std::fprintf(stderr, "nutrisor: %s\n%s", early.error.toLocal8Bit().constData(),
                     CommandLine::usage().toLocal8Bit().constData());
        return 2;
    }
    if (!early.exportJsonPath.isEmpty() && !early.exportResults) {
        QCoreApplication core(argc, argv);
        return exportPlanJson(early.exportJsonPath, stdout, stderr);
    }
    if (!early.importReferenceDir.isEmpty()) {
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Nutrisor"));
        QCoreApplication::setOrganizationName(QStringLiteral("Nutrisor"));
        return importReferenceCommand(early, QCoreApplication::applicationDirPath(), stdin, stdout,
                                      stderr);
    }

    // The printed commands lay out pages: they need fonts but no display.
    const auto withPages = [&](const std::function<int(const QString &)> &run) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication gui(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("Nutrisor"));
        QGuiApplication::setOrganizationName(QStringLiteral("Nutrisor"));
        loadTahomaFont();
        return run(QGuiApplication::applicationDirPath());
    };
    if (early.purchaseList) {
        return withPages([&](const QString &programDirectory) {
            return purchaseListCommand(early, programDirectory, stderr);
        });
    }
    if (early.exportResults) {
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Nutrisor"));
        QCoreApplication::setOrganizationName(QStringLiteral("Nutrisor"));
        TerminalMessenger messenger(stdin, stderr, false);
        return exportPlanResultsJson(early, QCoreApplication::applicationDirPath(), messenger,
                                     stdout, stderr);
    }
    if (!early.printSummaryPath.isEmpty()) {
        return withPages([&](const QString &programDirectory) {
            TerminalMessenger messenger(stdin, stderr, false);
            return printPlanSummary(early, programDirectory, messenger, stderr);
        });
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nutrisor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Nutrisor"));
    QApplication::setOrganizationName(QStringLiteral("Nutrisor"));
    prepareApplication(application);

    // Qt has taken its own options (-platform …) out of the arguments by now.
    const CommandLine commandLine = CommandLine::parse(QApplication::arguments());

    DialogMessenger messenger;
    const AppPaths paths
        = AppPaths::resolve(QApplication::applicationDirPath(), commandLine.dataDir);
    return runProgram(paths, commandLine.planPath, commandLine.farmDir, messenger);
}
