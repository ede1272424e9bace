// `nutrisor --export-json PLAN --results`: the program itself, against the summary of the
// same saved plan computed here.
#include "core/data/reference/referencedatabase.h"
#include "core/plan/plan.h"
#include "core/planfile/planfile.h"
#include "core/reports/plansummary.h"
#include "core/text/numbers.h"
#include "support/qstringprinter.h"
#include "support/sampleplan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ExportResultsTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // The exit code; standard output and error kept.
    int run(const QString &plan)
    {
        QProcess process;
        process.start(QStringLiteral(NUTRISOR_PROGRAM),
                      {QStringLiteral("--data-dir"), path(QStringLiteral("data")),
                       QStringLiteral("--export-json"), path(plan), QStringLiteral("--results")});
        EXPECT_TRUE(process.waitForFinished(60000));
        m_output = process.readAllStandardOutput();
        m_errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    }

    void save(const QString &name, const PlanItems &items)
    {
        ASSERT_TRUE(PlanFile::savePlanFile(path(name), items, nullptr));
    }

    QTemporaryDir m_dir;
    QByteArray m_output;
    QString m_errors;
};

// A summary cell as JSON gives it: a number, or null for "---".
QJsonValue asNumber(const QString &text)
{
    const auto value = Text::parseDecimal(text);
    return value ? QJsonValue(*value) : QJsonValue();
}

TEST_F(ExportResultsTest, EveryValueOfTheSummaryIsThereAsANumber)
{
    // three samples of their own values, the average computed by the program
    PlanItems items = samplePlanItems();
    SoilSamples::setSampleCount(items, 3);
    items.programAverage = true;
    for (int column = 2; column <= 4; ++column) {
        items.soilSampleTable.setCell(1, column, QStringLiteral("M-%1").arg(column - 1));
        for (int row = 2; row <= 11; ++row)
            items.soilSampleTable.setCell(row, column, items.soilSampleTable.cell(row, 2));
        items.soilSampleTable.setCell(5, column, QStringLiteral("%1,5").arg(column - 1)); // humus
    }
    save(QStringLiteral("terv.tap"), items);
    ASSERT_EQ(run(QStringLiteral("terv.tap")), 0) << qPrintable(m_errors);
    const QJsonObject results = QJsonDocument::fromJson(m_output).object()[u"results"].toObject();

    ReferenceDatabase reference;
    ASSERT_TRUE(reference.open(path(QStringLiteral("data/nutrisor-referencia.sqlite"))));
    Plan plan;
    PlanItems loaded = plan.items();
    ASSERT_TRUE(PlanFile::loadPlanFile(path(QStringLiteral("terv.tap")), loaded, nullptr));
    plan.setItems(loaded);
    const SummaryResult built = buildSummary(plan, reference, false);
    ASSERT_TRUE(built.summary);
    const PlanSummary &summary = *built.summary;

    const QJsonArray columns = results[u"columns"].toArray();
    ASSERT_EQ(columns.size(), 4);
    int compared = 0;
    for (int j = 0; j < 4; ++j) {
        const QJsonObject column = columns[j].toObject();
        EXPECT_EQ(column[u"sample"].toString(), summary.summaryTable.cell(4 * j + 1, 0));
        const QJsonObject values = column[u"elements"].toObject();
        for (int e = 0; e < summary.elementCount; ++e) {
            const QString name = summary.summaryTable.cell(0, e + 2);
            const QJsonObject value
                = values[Elements::codes()[Elements::scheduleDetailHeader().indexOf(name)]].toObject();
            SCOPED_TRACE(qPrintable(QStringLiteral("%1 %2").arg(j).arg(name)));
            EXPECT_EQ(value[u"supplyLevelName"].toString(), summary.summaryTable.cell(4 * j + 1, e + 2));
            EXPECT_EQ(Elements::supplyLevelName(value[u"supplyLevel"].toInt()),
                      summary.summaryTable.cell(4 * j + 1, e + 2));
            EXPECT_EQ(value[u"recommendedDose"], asNumber(summary.summaryTable.cell(4 * j + 2, e + 2)));
            EXPECT_EQ(value[u"correctedDose"], asNumber(summary.summaryTable.cell(4 * j + 4, e + 2)));
            EXPECT_EQ(value[u"remainder"], asNumber(summary.remainderTable.cell(j + 1, e + 1)));
            EXPECT_EQ(value[u"specificNeed"], asNumber(summary.specificNeedTable.cell(j + 1, e + 1)));
            ++compared;
        }
        EXPECT_EQ(column[u"nitrate"][u"limit"].toDouble(), *summary.nitrateCheck.columns[j].limit);
    }
    EXPECT_EQ(compared, 4 * 7);
    // the split: N "Ö:<autumn>%,Max:<largest>kg/ha", P and K "Ö:<autumn>%T:<spring>%"
    const QJsonObject split = columns[0][u"elements"][u"P"][u"split"].toObject();
    EXPECT_EQ(split[u"autumnPercent"].toDouble() + split[u"springPercent"].toDouble(), 100);
    EXPECT_EQ(results[u"scheduledTotals"][u"N"].toDouble(), 0); // nothing scheduled

    // a plan whose steps cannot be computed: the reason and no JSON
    items.plannedYield.clear();
    save(QStringLiteral("hozam.tap"), items);
    EXPECT_EQ(run(QStringLiteral("hozam.tap")), 1);
    EXPECT_TRUE(m_errors.contains(QStringLiteral("A várt hozam nincs megadva!"))) << qPrintable(m_errors);
    EXPECT_TRUE(m_output.isEmpty());
}

} // namespace
