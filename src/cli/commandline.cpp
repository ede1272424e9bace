#include "cli/commandline.h"

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    // Argument 0 is the program itself.
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        auto takeValue = [&](QString *target) {
            if (i + 1 >= arguments.size()) {
                result.error = QStringLiteral("A(z) %1 kapcsolóhoz meg kell adni egy értéket.")
                                   .arg(argument);
                return;
            }
            *target = arguments.at(++i);
        };
        if (argument == QLatin1String("--data-dir")) {
            takeValue(&result.dataDir);
        } else if (argument.startsWith(QLatin1String("--data-dir="))) {
            result.dataDir = argument.mid(11);
        } else if (argument == QLatin1String("--farm-dir")) {
            takeValue(&result.farmDir);
        } else if (argument.startsWith(QLatin1String("--farm-dir="))) {
            result.farmDir = argument.mid(11);
        } else if (argument == QLatin1String("--export-json")) {
            takeValue(&result.exportJsonPath);
        } else if (argument == QLatin1String("--import-reference")) {
            takeValue(&result.importReferenceDir);
        } else if (argument == QLatin1String("--yes")) {
            result.assumeYes = true;
        } else if (argument == QLatin1String("--print-summary")) {
            takeValue(&result.printSummaryPath);
        } else if (argument == QLatin1String("--output")) {
            takeValue(&result.outputPath);
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.showUsage = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            result.error = QStringLiteral("Ismeretlen kapcsoló: %1").arg(argument);
        } else if (result.planPath.isEmpty()) {
            result.planPath = argument;
        }
        if (!result.error.isEmpty())
            break;
    }
    if (result.error.isEmpty() && result.printSummaryPath.isEmpty() != result.outputPath.isEmpty())
        result.error = QStringLiteral("A --print-summary és az --output kapcsolót együtt kell megadni.");
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Használat: nutrisor [kapcsolók] [TERV.tap]\n"
        "  --data-dir MAPPA   a referencia-adatbázis és a config.ini helye\n"
        "  --farm-dir MAPPA   a gazdasági adatbázis mappája, ha a config.ini nem nevez meg\n"
        "  --export-json TERV.tap\n"
        "                     a terv minden tétele JSON-ként a szabványos kimenetre, ablak nélkül\n"
        "  --import-reference MAPPA [--yes]\n"
        "                     egy korábbi telepítés Paradox referencia-tábláinak átvétele,\n"
        "                     ablak nélkül; --yes esetén kérdés nélkül\n"
        "  --print-summary TERV.tap --output FÁJL\n"
        "                     a terv összesített kimutatása a fájlba, ablak nélkül; a formátumot\n"
        "                     a kiterjesztés adja: .pdf, .rtf, .html/.htm, .txt\n"
        "  --help             ez a leírás\n");
}
