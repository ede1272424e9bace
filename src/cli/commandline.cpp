#include "cli/commandline.h"

#include <QSet>

#include <algorithm>
#include <iterator>

namespace {

// Qt's own options ("-platform offscreen", "-reverse"): the window takes them out of the
// arguments, the commands without a window must step over them.
bool isQtOption(const QString &argument)
{
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'))
           && !argument.startsWith(QLatin1String("--")) && argument != QLatin1String("-h");
}

bool qtOptionTakesValue(const QString &argument)
{
    static const QSet<QString> withValue = {
        QStringLiteral("-platform"),      QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"), QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"),  QStringLiteral("-display"),
        QStringLiteral("-geometry"),      QStringLiteral("-title"),
        QStringLiteral("-name"),          QStringLiteral("-style"),
        QStringLiteral("-stylesheet"),    QStringLiteral("-session"),
        QStringLiteral("-fontengine"),
    };
    return withValue.contains(argument);
}

struct ValueOption
{
    QLatin1String name;
    QString CommandLine::*target;
    bool isCommand; // runs without a window; at most one per line
};

const ValueOption valueOptions[] = {
    {QLatin1String("--data-dir"), &CommandLine::dataDir, false},
    {QLatin1String("--farm-dir"), &CommandLine::farmDir, false},
    {QLatin1String("--export-json"), &CommandLine::exportJsonPath, true},
    {QLatin1String("--import-reference"), &CommandLine::importReferenceDir, true},
    {QLatin1String("--print-summary"), &CommandLine::printSummaryPath, true},
    {QLatin1String("--output"), &CommandLine::outputPath, false},
};

// The requests that make no sense together: each would silently drop another.
QString conflict(const CommandLine &line, const QStringList &commands, const QStringList &plans)
{
    if (commands.size() > 1) {
        return QStringLiteral("A(z) %1 és a(z) %2 kapcsoló nem adható meg együtt.")
            .arg(commands.at(0), commands.at(1));
    }
    if (plans.size() > 1) {
        return QStringLiteral("Egyszerre csak egy terv nyitható meg, a(z) „%1” fölösleges.")
            .arg(plans.at(1));
    }
    if (!commands.isEmpty() && !plans.isEmpty()) {
        return QStringLiteral("A(z) %1 a tervét a kapcsoló után várja, a(z) „%2” fölösleges.")
            .arg(commands.at(0), plans.at(0));
    }
    if (line.purchaseList) {
        if (line.outputPath.isEmpty())
            return QStringLiteral("A --purchase-list és az --output kapcsolót együtt kell megadni.");
    } else if (line.printSummaryPath.isEmpty() != line.outputPath.isEmpty()) {
        return QStringLiteral("A --print-summary és az --output kapcsolót együtt kell megadni.");
    }
    if (line.withLeafAnalysis && line.printSummaryPath.isEmpty()) {
        return QStringLiteral("A --with-leaf-analysis kapcsoló csak a --print-summary mellett "
                              "használható.");
    }
    if (line.exportResults && line.exportJsonPath.isEmpty())
        return QStringLiteral("A --results kapcsoló csak az --export-json mellett használható.");
    if (line.assumeYes && line.importReferenceDir.isEmpty())
        return QStringLiteral("A --yes kapcsoló csak az --import-reference mellett használható.");
    return {};
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    QSet<QString> seen;
    QStringList commands;
    QStringList plans;
    // Argument 0 is the program itself.
    for (int i = 1; i < arguments.size() && result.error.isEmpty(); ++i) {
        const QString &argument = arguments.at(i);
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        if (argument.startsWith(QLatin1String("--")) && seen.contains(name)) {
            result.error = QStringLiteral("A(z) %1 kapcsoló többször szerepel.").arg(name);
            break;
        }
        seen.insert(name);

        const auto option = std::find_if(std::begin(valueOptions), std::end(valueOptions),
                                         [&](const ValueOption &o) { return o.name == name; });
        if (option != std::end(valueOptions)) {
            QString value;
            if (name != argument)
                value = argument.mid(name.size() + 1);
            else if (i + 1 < arguments.size())
                value = arguments.at(++i);
            if (value.isEmpty()) {
                result.error = QStringLiteral("A(z) %1 kapcsolóhoz meg kell adni egy értéket.")
                                   .arg(name);
                break;
            }
            result.*(option->target) = value;
            if (option->isCommand)
                commands << option->name;
        } else if (argument == QLatin1String("--purchase-list")) {
            // Takes every plan that follows, up to the next option; "-" is a plan argument.
            while (i + 1 < arguments.size()
                   && (!arguments.at(i + 1).startsWith(QLatin1Char('-'))
                       || arguments.at(i + 1) == QLatin1String("-"))) {
                result.purchasePlanPaths << arguments.at(++i);
            }
            if (result.purchasePlanPaths.isEmpty()) {
                result.error = QStringLiteral("A(z) %1 kapcsolóhoz meg kell adni legalább egy "
                                              "tervet vagy mappát.")
                                   .arg(argument);
                break;
            }
            result.purchaseList = true;
            commands << argument;
        } else if (argument == QLatin1String("--yes")) {
            result.assumeYes = true;
        } else if (argument == QLatin1String("--with-leaf-analysis")) {
            result.withLeafAnalysis = true;
        } else if (argument == QLatin1String("--results")) {
            result.exportResults = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.showUsage = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            result.error = QStringLiteral("Ismeretlen kapcsoló: %1").arg(argument);
        } else if (isQtOption(argument)) {
            if (qtOptionTakesValue(argument))
                ++i;
        } else {
            plans << argument;
        }
    }
    if (result.error.isEmpty())
        result.error = conflict(result, commands, plans);
    if (result.error.isEmpty() && !plans.isEmpty())
        result.planPath = plans.first();
    return result;
}
QString CommandLine::usage()
{
    return QStringLiteral(
        "Használat: nutrisor [kapcsolók] [TERV.tap]\n"
        "  --data-dir MAPPA   a referencia-adatbázis és a config.ini helye\n"
        "  --farm-dir MAPPA   a gazdasági adatbázis mappája, ha a config.ini nem nevez meg\n"
        "  --export-json TERV.tap [--results]\n"
        "                     a terv minden tétele JSON-ként a szabványos kimenetre, ablak nélkül;\n"
        "                     --results esetén a kiszámított eredményekkel (results) együtt\n"
        "  --import-reference MAPPA [--yes]\n"
        "                     egy korábbi telepítés Paradox referencia-tábláinak átvétele,\n"
        "                     ablak nélkül; --yes esetén kérdés nélkül\n"
        "  --print-summary TERV.tap [--with-leaf-analysis] --output FÁJL\n"
        "                     a terv összesített kimutatása a fájlba, ablak nélkül; a formátumot\n"
        "                     a kiterjesztés adja: .pdf, .rtf, .html/.htm, .txt;\n"
        "                     --with-leaf-analysis esetén levélanalízissel (a kapcsolt\n"
        "                     levélminták adják az N, P, K, Mg ellátottságot)\n"
        "  --purchase-list TERV.tap… --output FÁJL\n"
        "                     a tervek ütemterveinek anyagai összesítve (Vásárlás tervezés);\n"
        "                     mappa vagy - (az aktuális mappa) minden benne lévő .tap tervet\n"
        "                     jelent; formátum a kiterjesztésből, .csv is (táblázatkezelőhöz)\n"
        "  --help             ez a leírás\n");
}
