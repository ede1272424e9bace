#include "cli/commandline.h"
#include "cli/commandruns.h"

#include "core/planfile/planfile.h"
#include "support/qstringprinter.h"
#include "support/sampleplan.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

TEST(CommandLineTest, OptionsAndPlanArgument)
{
    struct Case
    {
        QStringList arguments;
        QString planPath;
        QString dataDir;
        QString farmDir;
        bool hasError;
    };
    const Case cases[] = {
        {{"nutrisor"}, {}, {}, {}, false},
        {{"nutrisor", "terv.tap"}, "terv.tap", {}, {}, false},
        {{"nutrisor", "--farm-dir=/f", "--data-dir=/d"}, {}, "/d", "/f", false},
        // Qt's own options are stepped over, with their values
        {{"nutrisor", "-platform", "offscreen", "-reverse", "terv.tap"}, "terv.tap", {}, {}, false},
        {{"nutrisor", "--data-dir"}, {}, {}, {}, true}, // the folder is missing
        {{"nutrisor", "--export-json="}, {}, {}, {}, true},
        {{"nutrisor", "--bogus"}, {}, {}, {}, true},
        // requests that would silently drop one another
        {{"nutrisor", "--data-dir", "/d", "a.tap", "b.tap"}, {}, "/d", {}, true},
        {{"nutrisor", "--data-dir", "/d", "--data-dir", "/e"}, {}, "/d", {}, true},
        {{"nutrisor", "--export-json", "a.tap", "--print-summary", "b.tap", "--output", "c.txt"},
         {}, {}, {}, true},
        {{"nutrisor", "--export-json", "a.tap", "b.tap"}, {}, {}, {}, true},
        {{"nutrisor", "--output", "c.txt"}, {}, {}, {}, true},
        {{"nutrisor", "--yes", "a.tap"}, {}, {}, {}, true},
        {{"nutrisor", "--export-json", "a.tap", "--results"}, {}, {}, {}, false},
        {{"nutrisor", "--results", "a.tap"}, {}, {}, {}, true}, // results of no export
        {{"nutrisor", "--purchase-list", "a.tap", "-", "--output", "x.csv"}, {}, {}, {}, false},
        {{"nutrisor", "--purchase-list", "--output", "x.csv"}, {}, {}, {}, true}, // no plan
        {{"nutrisor", "--purchase-list", "a.tap"}, {}, {}, {}, true},             // no output
        {{"nutrisor", "b.tap", "--purchase-list", "a.tap", "--output", "x.csv"}, {}, {}, {}, true},
        // leaf analysis belongs to the printed summary only
        {{"nutrisor", "--print-summary", "a.tap", "--with-leaf-analysis", "--output", "x.pdf"},
         {}, {}, {}, false},
        {{"nutrisor", "--with-leaf-analysis", "a.tap"}, {}, {}, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine parsed = CommandLine::parse(c.arguments);
        EXPECT_EQ(parsed.planPath, c.planPath);
        EXPECT_EQ(parsed.dataDir, c.dataDir);
        EXPECT_EQ(parsed.farmDir, c.farmDir);
        EXPECT_EQ(!parsed.error.isEmpty(), c.hasError);
    }
}

TEST(CommandRunsTest, ExportPrintsThePlanAsJson)
{
    QTemporaryDir dir;
    const auto planPath = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(planPath("export.tap"), samplePlanItems(), &error));
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    ASSERT_EQ(exportPlanJson(planPath("export.tap"), out, err), 0);
    std::rewind(out);
    QByteArray json;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        json.append(buffer, qsizetype(n));
    const QJsonDocument document = QJsonDocument::fromJson(json);
    ASSERT_TRUE(document.isObject());
    EXPECT_TRUE(json.contains("0452/7 \xc5\x90rs\xc3\xa9g-d\xc5\xb1l\xc5\x91")); // UTF-8 ő, ű

    EXPECT_EQ(exportPlanJson(planPath("nincs.tap"), out, err), 1);
    std::rewind(err);
    const size_t n = std::fread(buffer, 1, sizeof buffer, err);
    EXPECT_TRUE(QByteArray(buffer, qsizetype(n)).contains("A f\xc3\xa1jl form\xc3\xa1tuma helytelen!"));
    std::fclose(out);
    std::fclose(err);
}
