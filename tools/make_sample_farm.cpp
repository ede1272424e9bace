// make_sample_farm CSV DIR: writes the sample farm database (Tablak.db, Talajmintak.db,
// parcellak.db, PTalajmintak.db) into DIR from the laboratory results in CSV. The build runs
// it, so that the program can be started on a farm directory without the farm-management
// program.
#include "core/data/farm/samplefarm.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "Használat: make_sample_farm LABOREREDMÉNYEK.csv KÖNYVTÁR\n");
        return 2;
    }
    QString error;
    if (!writeSampleFarm(arguments.at(1), arguments.at(2), &error)) {
        std::fprintf(stderr, "make_sample_farm: %s\n", qUtf8Printable(error));
        return 1;
    }
    return 0;
}
