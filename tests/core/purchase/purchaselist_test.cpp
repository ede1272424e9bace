#include "core/purchase/purchaselist.h"

#include "core/purchase/purchasereport.h"
#include "support/purchaseplans.h"
#include "support/qstringprinter.h"
#include "../reports/feeddrain.h"

#include <QTemporaryDir>

using Rows = QList<QStringList>;

TEST(PurchaseListTest, SumsEveryScheduledMaterialOverThePlans)
{
    QTemporaryDir dir;
    const auto plan = [&dir](const char *name, const char *area,
                             std::initializer_list<TestApplication> list) {
        savePurchasePlan(dir.filePath(QString::fromUtf8(name)), QString::fromUtf8(area), list);
        return dir.filePath(QString::fromUtf8(name));
    };
    const struct
    {
        const char *what;
        QStringList paths;
        Rows expected;
    } cases[] = {
        // 5000 m² × 200 kg/ha = 100 kg, 20000 m² × 200 kg/ha = 400 kg
        {"one material in two plans",
         {plan("a.tap", "5000", {{7, "Pétisó", "200"}}),
          plan("b.tap", "20000", {{7, "Pétisó", "200"}})},
         {{"Pétisó", "500"}}},
        {"the later plan's name wins for one id", // 1 ha × 100 kg/ha twice
         {plan("c.tap", "10000", {{7, "Pétisó", "100"}}),
          plan("d.tap", "10000", {{7, "Pétisó 27", "100"}})},
         {{"Pétisó 27", "200"}}},
        {"unrounded", {plan("e.tap", "12345", {{3, "Kálisó", "150"}})}, {{"Kálisó", "185,175"}}},
        {"no area", {plan("f.tap", "", {{3, "Kálisó", "150"}})}, {{"Kálisó", "0"}}},
        // materials without an id are told apart by name, in order of first appearance
        {"materials without an id",
         {plan("g.tap", "10000", {{0, "Trágya", "20000"}, {9, "Szuperfoszfát", "50"},
                                  {0, "Komposzt", "10000"}, {0, "Trágya", "5000"}})},
         {{"Trágya", "25000"}, {"Szuperfoszfát", "50"}, {"Komposzt", "10000"}}},
        {"a plan without a schedule", {plan("h.tap", "5000", {})}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const PurchaseList list = PurchaseList::fromFiles(c.paths);
        EXPECT_EQ(list.rows(), c.expected);
        EXPECT_EQ(list.readPlans().size(), c.paths.size());
        EXPECT_TRUE(list.failedPlans().isEmpty());
    }
}

TEST(PurchaseListTest, FilesThatAreNoPlansAreListedAndTheFeedsDeliverWhatTheyAnnounce)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("jo.tap"));
    savePurchasePlan(good, QStringLiteral("5000"), {{7, "Pétisó", "200"}});
    const QString corpus = QStringLiteral(PLANFILE_CORPUS_DIR "/bad-");
    int calls = 0;
    const PurchaseList list = PurchaseList::fromFiles(
        {good, corpus + QStringLiteral("version12.tap"), corpus + QStringLiteral("truncated.tap"),
         good},
        [&calls](int done, int total) { EXPECT_EQ(done, calls++); EXPECT_EQ(total, 4); });
    EXPECT_EQ(list.readPlans(), QStringList({"jo.tap", "jo.tap"}));
    EXPECT_EQ(list.failedPlans(), QStringList({"bad-version12.tap", "bad-truncated.tap"}));
    EXPECT_EQ(QString::fromUtf8(list.toCsv()),
              QStringLiteral("Megnevezés;Mennyiség  (kg)\r\nPétisó;200\r\n\r\n"
                             "Sikertelen megnyitások:;bad-version12.tap\r\n"
                             "Sikertelen megnyitások:;bad-truncated.tap\r\n"));

    const DrainedFeed materials = drain(*PurchaseReport::materialFeed(list));
    EXPECT_EQ(materials.announced, 1);
    EXPECT_EQ(materials.rows, list.rows());
    const DrainedFeed plans = drain(*PurchaseReport::planFeed(list));
    EXPECT_EQ(plans.announced, 2);
    EXPECT_EQ(plans.column(QStringLiteral("file")), list.readPlans());
    EXPECT_EQ(drain(*PurchaseReport::materialFeed(PurchaseList())).announced, 0);
    const std::optional<RenderedReport> report = PurchaseReport::render(list, dir.path());
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->html.contains(
        QStringLiteral("megnyitások:</h2>\n<p>bad-version12.tap, bad-truncated.tap")));
}

TEST(PurchaseListTest, HasNoFixedLimitOfMaterialsAndQuotesCsvCells)
{
    PurchaseList list;
    for (int id = 1; id <= 101; ++id)
        list.addPlan(QStringLiteral("t.tap"), {1, {{id, QStringLiteral("Anyag %1").arg(id), 1.5}}});
    EXPECT_EQ(list.rows().size(), 101);
    list = PurchaseList();
    list.addPlan(QStringLiteral("t.tap"), {10000, {{4, QStringLiteral("NPK 15;15 \"k\""), 2}}});
    EXPECT_EQ(QString::fromUtf8(list.toCsv()),
              QStringLiteral("Megnevezés;Mennyiség  (kg)\r\n\"NPK 15;15 \"\"k\"\"\";2\r\n"));
}
