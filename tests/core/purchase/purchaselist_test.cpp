#include "core/purchase/purchaselist.h"

#include "core/purchase/purchasereport.h"
#include "core/reports/reportfeed.h"

#include "support/purchaseplans.h"
#include "support/qstringprinter.h"
#include "../reports/feeddrain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

struct SumCase
{
    const char *what;
    QList<PlanItems> plans;
    Rows expected;
};

class PurchaseListTest : public ::testing::Test
{
protected:
    QString save(const QString &name, const PlanItems &items)
    {
        const QString path = m_dir.filePath(name);
        savePurchasePlan(path, items);
        return path;
    }
    // The saved plan with its bytes changed by `damage`.
    QString saveDamaged(const QString &name, const std::function<void(QByteArray &)> &damage)
    {
        QFile file(save(name, purchasePlanItems(QStringLiteral("1000"), {{7, "Pétisó", "100"}})));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        damage(bytes);
        file.resize(0);
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(PurchaseListTest, SumsEveryScheduledMaterialOverThePlans)
{
    const SumCase cases[] = {
        // 5000 m² × 200 kg/ha = 100 kg, 20000 m² × 200 kg/ha = 400 kg
        {"one material in two plans",
         {purchasePlanItems(QStringLiteral("5000"), {{7, "Pétisó", "200"}}),
          purchasePlanItems(QStringLiteral("20000"), {{7, "Pétisó", "200"}})},
         {{QStringLiteral("Pétisó"), QStringLiteral("500")}}},
        // 1 ha × 100 kg/ha twice
        {"the later plan's name wins for one id",
         {purchasePlanItems(QStringLiteral("10000"), {{7, "Pétisó", "100"}}),
          purchasePlanItems(QStringLiteral("10000"), {{7, "Pétisó 27", "100"}})},
         {{QStringLiteral("Pétisó 27"), QStringLiteral("200")}}},
        // 12345 × 150 × 0,0001 = 185,175, not rounded
        {"unrounded amount", {purchasePlanItems(QStringLiteral("12345"), {{3, "Kálisó", "150"}})},
         {{QStringLiteral("Kálisó"), QStringLiteral("185,175")}}},
        {"a plan without an area",
         {purchasePlanItems(QString(), {{3, "Kálisó", "150"}})},
         {{QStringLiteral("Kálisó"), QStringLiteral("0")}}},
        // materials without an id are kept apart by their names; order of first appearance
        {"materials without an id",
         {purchasePlanItems(QStringLiteral("10000"),
                            {{0, "Istállótrágya", "20000"}, {9, "Szuperfoszfát", "50"},
                             {0, "Komposzt", "10000"}, {0, "Istállótrágya", "5000"}})},
         {{QStringLiteral("Istállótrágya"), QStringLiteral("25000")},
          {QStringLiteral("Szuperfoszfát"), QStringLiteral("50")},
          {QStringLiteral("Komposzt"), QStringLiteral("10000")}}},
        {"a plan without a schedule", {purchasePlanItems(QStringLiteral("5000"), {})}, {}},
    };
    for (const SumCase &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList paths;
        for (const PlanItems &plan : c.plans)
            paths << save(QStringLiteral("terv%1.tap").arg(paths.size() + 1), plan);
        const PurchaseList list = PurchaseList::fromFiles(paths);
        EXPECT_EQ(list.rows(), c.expected);
        EXPECT_EQ(list.readPlans().size(), c.plans.size());
        EXPECT_TRUE(list.failedPlans().isEmpty());
    }
}

TEST_F(PurchaseListTest, FilesThatAreNoPlansAreListedAndTheRunGoesOn)
{
    const QString first = save(QStringLiteral("elso.tap"),
                               purchasePlanItems(QStringLiteral("5000"), {{7, "Pétisó", "200"}}));
    const QString oldVersion = saveDamaged(QStringLiteral("regi.tap"), [](QByteArray &bytes) {
        qToLittleEndian<qint32>(12, bytes.data() + PlanFile::countsSize);
    });
    const QString truncated = saveDamaged(QStringLiteral("csonka.tap"),
                                          [](QByteArray &bytes) { bytes.chop(10); });
    const QString last = save(QStringLiteral("utolso.tap"),
                              purchasePlanItems(QStringLiteral("20000"), {{7, "Pétisó", "200"}}));
    int progressCalls = 0;
    const PurchaseList list = PurchaseList::fromFiles(
        {first, oldVersion, m_dir.filePath(QStringLiteral("nincs.tap")), truncated, last},
        [&](int done, int total) { EXPECT_EQ(done, progressCalls++); EXPECT_EQ(total, 5); });
    EXPECT_EQ(list.rows(), Rows({{QStringLiteral("Pétisó"), QStringLiteral("500")}}));
    EXPECT_EQ(list.readPlans(), QStringList({QStringLiteral("elso.tap"), QStringLiteral("utolso.tap")}));
    EXPECT_EQ(list.failedPlans(), QStringList({QStringLiteral("regi.tap"), QStringLiteral("nincs.tap"),
                                               QStringLiteral("csonka.tap")}));
    EXPECT_EQ(QString::fromUtf8(list.toCsv()),
              QStringLiteral("Megnevezés;Mennyiség  (kg)\r\nPétisó;500\r\n\r\n"
                             "Sikertelen megnyitások:;regi.tap\r\n"
                             "Sikertelen megnyitások:;nincs.tap\r\n"
                             "Sikertelen megnyitások:;csonka.tap\r\n"));
}

TEST_F(PurchaseListTest, HasNoFixedLimitOfMaterials)
{
    // A plan holds at most 50 applications: 101 materials take three plans.
    PurchaseList list;
    for (int id = 1; id <= 101; ++id) {
        const QByteArray name = "Anyag " + QByteArray::number(id);
        list.addPlan(QStringLiteral("terv.tap"),
                     purchasePlanItems(QStringLiteral("10000"), {{id, name.constData(), "1,5"}}));
    }
    ASSERT_EQ(list.rows().size(), 101);
    EXPECT_EQ(list.rows().last(), QStringList({QStringLiteral("Anyag 101"), QStringLiteral("1,5")}));
}

TEST_F(PurchaseListTest, CsvQuotesCellsHoldingTheSeparator)
{
    PurchaseList list;
    list.addPlan(QStringLiteral("a.tap"), purchasePlanItems(QStringLiteral("10000"),
                                                            {{4, "NPK 15;15;15 \"komplex\"", "2,5"}}));
    EXPECT_EQ(QString::fromUtf8(list.toCsv()),
              QStringLiteral("Megnevezés;Mennyiség  (kg)\r\n\"NPK 15;15;15 \"\"komplex\"\"\";2,5\r\n"));
}

TEST_F(PurchaseListTest, FeedsAnnounceTheRowsTheyDeliver)
{
    for (const int plans : {0, 1, 3}) {
        SCOPED_TRACE(plans);
        PurchaseList list;
        for (int i = 1; i <= plans; ++i) {
            list.addPlan(QStringLiteral("t%1.tap").arg(i),
                         purchasePlanItems(QStringLiteral("10000"), {{i, "Anyag", "1"}}));
        }
        const DrainedFeed materials = drain(*PurchaseReport::materialFeed(list));
        EXPECT_EQ(materials.announced, plans);
        EXPECT_EQ(materials.rows, list.rows());
        const DrainedFeed read = drain(*PurchaseReport::planFeed(list));
        EXPECT_EQ(read.announced, plans);
        EXPECT_EQ(read.column(QStringLiteral("file")), list.readPlans());
    }
    PurchaseList list;
    list.addPlanFile(m_dir.filePath(QStringLiteral("nincs.tap")));
    list.addPlan(QStringLiteral("jo.tap"), purchasePlanItems(QStringLiteral("5000"), {{7, "Pétisó", "200"}}));
    QString error;
    const std::optional<RenderedReport> report = PurchaseReport::render(list, m_dir.path(), &error);
    ASSERT_TRUE(report) << qPrintable(error);
    for (const char *shown : {"<td class=\"label\">Pétisó</td><td class=\"number\">100</td>",
                              "<p>jo.tap</p>", "Sikertelen megnyitások:</h2>\n<p>nincs.tap</p>",
                              "a kijelöt tervek ütemterveinek"})
        EXPECT_TRUE(report->html.contains(QString::fromUtf8(shown))) << shown;
}
