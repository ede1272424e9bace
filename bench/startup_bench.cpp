// Start-up to the shown main window with a warm data directory (the reference database
// already made), against the anchor measured in the same run: a bare QMainWindow with a menu
// bar shown the same way. The planner should come up in at most one and a half times that.
// startUp runs each start as a process of its own, from exec to the window on the screen, as
// a user starts the program ("programMs", "bareMs", "ratio"); startUpInProcess repeats the
// window alone in a process that has paid Qt's first-use costs already.

#include "core/data/reference/referencedatabase.h"
#include "core/plan/plan.h"
#include "core/settings/apppaths.h"
#include "gui/app/mainwindow.h"
#include "gui/app/startup.h"
#include "gui/ui/dialogmessenger.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace {

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Shows the window and lets the events run until it is on the screen, painted.
void showUntilExposed(QWidget &window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::AllEvents);
}

// The program's run up to its event loop, as runProgram goes. A process of its own ends
// there (`endHere`) without tearing the window down.
bool startProgram(const AppPaths &paths, bool endHere = false)
{
    DialogMessenger messenger;
    ReferenceDatabase reference;
    QString error;
    if (!prepareReferenceDatabase(paths, reference, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    Plan plan;
    MainWindow window(plan, messenger, reference, paths);
    showUntilExposed(window);
    if (endHere)
        _exit(0);
    return true;
}

// The anchor: a window with the same menu titles and nothing else.
void startBareWindow(bool endHere = false)
{
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tápanyag-gazdálkodási terv"));
    for (const char *title :
         {"&Tervkészítés", "Lépések", "Segédadatok", "Levélanalízis", "Beállítások", "Help"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("Új"));
    window.resize(1024, 720);
    showUntilExposed(window);
    if (endHere)
        _exit(0);
}

struct Timed
{
    double wall = 0;
    double cpu = 0;

    void add(const std::function<void()> &run)
    {
        const auto wallStart = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        run();
        cpu += cpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart)
                    .count();
    }
};

// One start as a process of its own, its CPU time added to `cpu`; false when it did not
// come up.
bool startProcess(const QString &what, const QString &dataDirectory, double &cpu)
{
    const QByteArray program = QFile::encodeName(QApplication::applicationFilePath());
    const std::string start = ("--start=" + what).toStdString();
    const std::string dataDir = ("--data-dir=" + dataDirectory).toStdString();
    char *const arguments[] = {const_cast<char *>("startup_bench"),
                               const_cast<char *>(start.c_str()),
                               const_cast<char *>(dataDir.c_str()), nullptr};
    const pid_t child = fork();
    if (child == 0) {
        execv(program.constData(), arguments);
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    if (child <= 0 || wait4(child, &status, 0, &usage) != child)
        return false;
    cpu += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

AppPaths pathsIn(const QString &dataDirectory)
{
    AppPaths paths;
    paths.programDirectory = QApplication::applicationDirPath();
    paths.dataDirectory = dataDirectory;
    paths.startDirectory = dataDirectory;
    return paths;
}

void report(benchmark::State &run, const Timed &program, const Timed &bare)
{
    const double rounds = double(run.iterations());
    run.counters["programMs"] = program.wall / rounds * 1e3;
    run.counters["bareMs"] = bare.wall / rounds * 1e3;
    run.counters["ratio"] = program.wall / bare.wall;
    run.counters["programCpuMs"] = program.cpu / rounds * 1e3;
    run.counters["bareCpuMs"] = bare.cpu / rounds * 1e3;
    run.counters["cpuRatio"] = program.cpu / bare.cpu;
}

void startUp(benchmark::State &run)
{
    QTemporaryDir directory;
    // the data directory made warm before the clock runs
    double warmUp = 0;
    if (!startProcess(QStringLiteral("program"), directory.path(), warmUp)) {
        run.SkipWithError("the program did not start");
        return;
    }
    // the CPU time is the child's, not this process's
    Timed program, bare;
    bool started = true;
    const auto timeStart = [&](const QString &what, Timed &timed) {
        const auto wallStart = std::chrono::steady_clock::now();
        started = startProcess(what, directory.path(), timed.cpu) && started;
        timed.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart)
                          .count();
    };
    for (auto _ : run) {
        timeStart(QStringLiteral("program"), program);
        timeStart(QStringLiteral("bare"), bare);
    }
    if (!started)
        run.SkipWithError("a start failed");
    report(run, program, bare);
}
BENCHMARK(startUp)->Unit(benchmark::kMillisecond)->Iterations(20);

void startUpInProcess(benchmark::State &run)
{
    QTemporaryDir directory;
    const AppPaths paths = pathsIn(directory.path());
    // the data directory made warm, and Qt's first-use costs paid, before the clock runs
    if (!startProgram(paths)) {
        run.SkipWithError("the reference database could not be prepared");
        return;
    }
    startBareWindow();

    Timed program, bare;
    bool started = true;
    for (auto _ : run) {
        program.add([&] { started = startProgram(paths) && started; });
        bare.add([] { startBareWindow(); });
    }
    if (!started)
        run.SkipWithError("a start failed");
    report(run, program, bare);
}
BENCHMARK(startUpInProcess)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A start of its own, as main() makes it: ends at once when the window is exposed.
    if (argc == 3 && std::strncmp(argv[1], "--start=", 8) == 0) {
        const bool isProgram = std::strcmp(argv[1] + 8, "program") == 0;
        QApplication application(argc, argv);
        bool started = true;
        if (isProgram) {
            QApplication::setApplicationName(QStringLiteral("Nutrisor"));
            QApplication::setApplicationDisplayName(QStringLiteral("Nutrisor"));
            QApplication::setOrganizationName(QStringLiteral("Nutrisor"));
            prepareApplication(application);
            started = startProgram(pathsIn(QString::fromLocal8Bit(argv[2] + 11)), true);
        } else {
            startBareWindow(true);
        }
        std::fflush(stdout);
        _exit(started ? 0 : 1);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nutrisor"));
    QApplication::setOrganizationName(QStringLiteral("Nutrisor"));
    prepareApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
