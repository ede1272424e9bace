#include "cli/commandruns.h"

#include "cli/commandline.h"
#include "cli/terminalmessenger.h"
#include "core/data/reference/planlookups.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/referenceimportflow.h"
#include "core/files/fileaccess.h"
#include "core/messages/messenger.h"
#include "core/plan/plan.h"
#include "core/planfile/planfile.h"
#include "core/planfile/planjson.h"
#include "core/purchase/purchaselist.h"
#include "core/purchase/purchasereport.h"
#include "core/reports/planreports.h"
#include "core/reports/planresultsjson.h"
#include "core/reports/plansummary.h"
#include "core/reports/reportdocument.h"
#include "core/reports/reportformat.h"
#include "core/settings/apppaths.h"
#include "core/settings/programsettings.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>
#include <QJsonDocument>

#include <algorithm>
#include <utility>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Reads a plan named on the command line into `plan`, over the items of a new plan; false,
// with the format message on `err`, when the file cannot be read.
bool loadCommandLinePlan(const QString &path, Plan &plan, std::FILE *err)
{
    plan.resetPlan();
    PlanItems items = plan.items();
    QString error;
    if (PlanFile::loadPlanFile(path, items, &error)) {
        plan.setItems(items);
        return true;
    }
    std::fprintf(err, "nutrisor: %s: A fájl formátuma helytelen! Nem lehet megnyitni!\n",
                 QDir::toNativeSeparators(path).toLocal8Bit().constData());
    return false;
}

// A command's output may not be one of its inputs, however it is spelt: writing it would
// destroy the plan it was made from. The refusal text, or empty.
QString overwritesInput(const QString &output, const QStringList &inputs)
{
    for (const QString &input : inputs) {
        if (Files::sameFile(output, input)) {
            return QStringLiteral("%1: a kimenet azonos a(z) %2 bemenettel, nem írom felül.")
                .arg(QDir::toNativeSeparators(output), QDir::toNativeSeparators(input));
        }
    }
    return {};
}

// The plans a purchase list names: a folder ("-" being the current one) stands for every
// .tap file under it, in the order of their paths; a file stands for itself.
QStringList purchasePlanFiles(const QStringList &arguments)
{
    QStringList files;
    for (const QString &argument : arguments) {
        const QString path = argument == QLatin1String("-") ? QDir::currentPath() : argument;
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (file.endsWith(QLatin1String(".tap"), Qt::CaseInsensitive))
                found << file;
        }
        std::sort(found.begin(), found.end());
        files << found;
    }
    return files;
}

// A run over hundreds of plans says how far it got, on one line of the terminal.
constexpr int progressFrom = 100;

bool isTerminal(std::FILE *stream)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream));
#else
    return isatty(fileno(stream));
#endif
}

} // namespace

int exportPlanJson(const QString &path, std::FILE *out, std::FILE *err)
{
    Plan plan;
    if (!loadCommandLinePlan(path, plan, err))
        return 1;
    const QByteArray json
        = QJsonDocument(planToJson(plan.items())).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), out);
    return 0;
}

int exportPlanResultsJson(const CommandLine &commandLine, const QString &programDirectory,
                          Messenger &messenger, std::FILE *out, std::FILE *err)
{
    const AppPaths paths = AppPaths::resolve(programDirectory, commandLine.dataDir);
    ReferenceDatabase reference;
    QString error;
    if (!prepareReferenceDatabase(paths, reference, &error)) {
        std::fprintf(err, "nutrisor: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    Plan plan;
    if (!loadCommandLinePlan(commandLine.exportJsonPath, plan, err))
        return 1;
    // Read before the replay, which computes the averages into the soil table.
    QJsonObject json = planToJson(plan.items());
    const SummaryResult summary = buildSummary(plan, reference, false);
    if (!summary.summary) {
        if (!summary.summary.refusalText().isEmpty())
            messenger.inform(summary.summary.refusal());
        return 1;
    }
    json.insert(QStringLiteral("results"), planResultsToJson(*summary.summary));
    const QByteArray bytes = QJsonDocument(json).toJson(QJsonDocument::Indented);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    return 0;
}

int printPlanSummary(const CommandLine &commandLine, const QString &programDirectory,
                     Messenger &messenger, std::FILE *err)
{
    const auto fail = [err](const QString &text) {
        std::fprintf(err, "nutrisor: %s\n", text.toLocal8Bit().constData());
        return 1;
    };
    const QString output = commandLine.outputPath;
    const std::optional<ReportFormat> format = reportFormatForPath(output);
    if (!format) {
        return fail(QStringLiteral("%1: a kiterjesztés nem nevez meg nyomtatási formátumot "
                                   "(.pdf, .rtf, .html, .htm, .txt).")
                        .arg(QDir::toNativeSeparators(output)));
    }
    if (const QString refusal = overwritesInput(output, {commandLine.printSummaryPath});
        !refusal.isEmpty()) {
        return fail(refusal);
    }

    const AppPaths paths = AppPaths::resolve(programDirectory, commandLine.dataDir);
    ReferenceDatabase reference;
    QString error;
    if (!prepareReferenceDatabase(paths, reference, &error))
        return fail(error);

    Plan plan;
    if (!loadCommandLinePlan(commandLine.printSummaryPath, plan, err))
        return 1;
    // The links name their leaf samples by Id; the marks come from the register, as on opening.
    plan.setLeafLinks(PlanLookups::fillLeafLinks(reference, plan.items().leafLinks),
                      Plan::Change::Computed);
    // Every replayed step answers its questions "Nem" and says why it stopped.
    const bool withLeaf = commandLine.withLeafAnalysis;
    const SummaryResult summary = buildSummary(plan, reference, false, withLeaf);
    if (!summary.summary) {
        if (!summary.summary.refusalText().isEmpty())
            messenger.inform(summary.summary.refusal());
        return 1;
    }
    PlanReports reports(plan.items(), reference, paths.startDirectory);
    reports.setNitrateSectionShown(ProgramSettings::readFile(paths.settingsPath()).nitrateChecks);
    const std::optional<PlanReport> report = reports.fullSummary(*summary.summary, withLeaf, &error);
    if (!report)
        return fail(error);
    const ReportDocument document(report->rendered.html, report->title,
                                  report->rendered.orientation);
    if (!document.exportTo(output, *format, &error))
        return fail(error);
    return 0;
}

int purchaseListCommand(const CommandLine &commandLine, const QString &programDirectory,
                        std::FILE *err)
{
    const auto fail = [err](const QString &text) {
        std::fprintf(err, "nutrisor: %s\n", text.toLocal8Bit().constData());
        return 1;
    };
    const QString output = commandLine.outputPath;
    const bool csv = output.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const std::optional<ReportFormat> format = reportFormatForPath(output);
    if (!csv && !format) {
        return fail(QStringLiteral("%1: a kiterjesztés nem nevez meg formátumot "
                                   "(.pdf, .rtf, .html, .htm, .txt, .csv).")
                        .arg(QDir::toNativeSeparators(output)));
    }
    const QStringList plans = purchasePlanFiles(commandLine.purchasePlanPaths);
    if (const QString refusal = overwritesInput(output, plans); !refusal.isEmpty())
        return fail(refusal);

    const bool showProgress = plans.size() >= progressFrom && isTerminal(err);
    PurchaseList list;
    for (qsizetype i = 0; i < plans.size(); ++i) {
        if (showProgress)
            std::fprintf(err, "\r%lld / %lld terv", qlonglong(i + 1), qlonglong(plans.size()));
        if (!list.addPlanFile(plans.at(i))) {
            if (showProgress)
                std::fputc('\n', err);
            std::fprintf(err, "nutrisor: %s: A fájl formátuma helytelen! Nem lehet megnyitni!\n",
                         QDir::toNativeSeparators(plans.at(i)).toLocal8Bit().constData());
        }
    }
    if (showProgress)
        std::fputc('\n', err);
    if (list.readPlans().isEmpty())
        return fail(QStringLiteral("Egyetlen terv sem nyitható meg, nincs mit összesíteni."));

    QString error;
    if (csv) {
        QSaveFile file(output);
        if (!file.open(QIODevice::WriteOnly) || file.write(list.toCsv()) < 0 || !file.commit()) {
            return fail(QStringLiteral("%1: a fájl nem írható (%2).")
                            .arg(QDir::toNativeSeparators(output), file.errorString()));
        }
        return 0;
    }
    const AppPaths paths = AppPaths::resolve(programDirectory, commandLine.dataDir);
    const std::optional<RenderedReport> report
        = PurchaseReport::render(list, paths.startDirectory, &error);
    if (!report)
        return fail(error);
    const ReportDocument document(report->html, PurchaseReport::title(), report->orientation);
    if (!document.exportTo(output, *format, &error))
        return fail(error);
    return 0;
}

int importReferenceCommand(const CommandLine &commandLine, const QString &programDirectory,
                           std::FILE *in, std::FILE *out, std::FILE *err)
{
    const AppPaths paths = AppPaths::resolve(programDirectory, commandLine.dataDir);
    ReferenceDatabase database;
    QString error;
    if (!prepareReferenceDatabase(paths, database, &error)) {
        std::fprintf(err, "nutrisor: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    TerminalMessenger terminal(in, out, commandLine.assumeYes);
    const ReferenceImportOutcome outcome = importReferenceTables(
        commandLine.importReferenceDir, database, terminal, QDate::currentDate());
    if (!outcome.imported) {
        std::fprintf(err, "nutrisor: %s\n", outcome.message.toLocal8Bit().constData());
        return 1;
    }
    std::fprintf(out, "%s\n", outcome.message.toLocal8Bit().constData());
    return 0;
}
