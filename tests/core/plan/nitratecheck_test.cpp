#include "core/plan/nitratecheck.h"

#include "core/data/reference/nitratelimittable.h"
#include "support/qstringprinter.h"
#include "../reports/summaryfixture.h"

#include <optional>

namespace {

// Winter wheat on site I, 6,5 t/ha, humus 2,1 % in the average: N "Közepes" (level 3).
class NitrateCheckTest : public SummaryTest
{
protected:
    // As the summary checks the plan, after the averages.
    NitrateCheck check() { return summary().nitrateCheck; }

    // The schedule replaced by one row of the material named `name`.
    void scheduleOnly(const QString &name, const QDate &date)
    {
        const auto material = m_database.selectFirst(
            Tables::Tapanyagok::name, Filter::equals(Tables::Tapanyagok::Megnev, name));
        ASSERT_TRUE(material);
        edit([&](PlanItems &items) {
            Schedule::deleteScheduleRow(items, 1);
            Schedule::addScheduleRow(items, *material, date, QStringLiteral("200"));
        });
    }
};

TEST_F(NitrateCheckTest, TheLimitFollowsCropSiteAndLevel)
{
    struct Case
    {
        const char *name;
        const char *crop;
        int site;
        std::optional<double> limit;
        const char *averageNote;
    };
    const Case cases[] = {
        // row 1;1;3 of NitrateLimits; 6,5 t × 27 kg/t = 175,5 kg/ha is 5,5 over it
        {"wheat, site I", "1", 0, 170,
         "Átlag: nitrátérzékeny területen megengedett legnagyobb N-adag: 170 kg/ha — a korrigált "
         "adag 5,5 kg/ha-val több."},
        {"wheat, site V: the table covers I–IV", "1", 4, std::nullopt,
         "Átlag: nitrátérzékeny területen megengedett legnagyobb N-adag: nincs ismert "
         "határérték."},
        {"oats: no row at all", "5", 0, std::nullopt,
         "Átlag: nitrátérzékeny területen megengedett legnagyobb N-adag: nincs ismert "
         "határérték."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        edit([&](PlanItems &items) {
            items.cropId = QString::fromLatin1(c.crop);
            items.siteCategory = c.site;
        });
        const NitrateCheck result = check();
        ASSERT_EQ(result.columns.size(), 2);
        EXPECT_EQ(result.columns[0].nitrogenLevel, 3);
        EXPECT_EQ(result.columns[0].limit, c.limit);
        const ListNote note = result.doseNotes().value(0);
        EXPECT_EQ(note.text, QString::fromUtf8(c.averageNote));
        EXPECT_EQ(note.isWarning, c.limit.has_value());
        // 200 kg/ha of Pétisó 27% N: 54 kg/ha of N, under every limit
        EXPECT_EQ(result.columns[0].scheduledNitrogen, 54);
        EXPECT_EQ(result.columns[0].scheduleExcess(), 0);
    }
}

TEST_F(NitrateCheckTest, ApplicationsInTheClosedPeriodAreFlagged)
{
    struct Case
    {
        const char *crop;
        const char *material;
        QDate date;
        bool flagged;
    };
    const Case cases[] = {
        {"1", "Pétisó 27% N", QDate(2024, 11, 15), true},
        {"6", "Pétisó 27% N", QDate(2025, 2, 5), true},  // maize
        {"1", "Pétisó 27% N", QDate(2025, 2, 5), false}, // wheat may be top-dressed
        {"1", "Pétisó 27% N", QDate(2025, 1, 31), true},
        {"1", "Pétisó 27% N", QDate(2024, 10, 30), false},
        {"6", "Pétisó 27% N", QDate(2024, 10, 31), true},
        {"6", "Pétisó 27% N", QDate(2025, 2, 15), true},
        {"6", "Pétisó 27% N", QDate(2025, 2, 16), false},
        {"6", "Szuperfoszfát 18%", QDate(2024, 11, 15), false}, // no N in it
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(QStringLiteral("%1 %2 %3")
                                    .arg(QString::fromLatin1(c.crop), QString::fromUtf8(c.material),
                                         c.date.toString(Qt::ISODate))));
        edit([&](PlanItems &items) { items.cropId = QString::fromLatin1(c.crop); });
        scheduleOnly(QString::fromUtf8(c.material), c.date);
        const NitrateCheck result = check();
        ASSERT_EQ(result.closedPeriod.size(), c.flagged ? 1 : 0);
        if (c.flagged) {
            EXPECT_EQ(result.closedPeriod[0].nitrogen, 54);
            EXPECT_TRUE(result.scheduleNotes().last().isWarning);
        }
    }
}

// The editor's defaults bring back a limit that was changed and one that was deleted.
TEST_F(NitrateCheckTest, TheDefaultLimitsAreRestorable)
{
    ASSERT_TRUE(NitrateLimitTable::setLimit(m_database, QStringLiteral("1"), 1, 3, 200));
    ASSERT_TRUE(NitrateLimitTable::removeLimit(m_database, QStringLiteral("1"), 1, 4));
    EXPECT_FALSE(NitrateLimitTable::addLimit(m_database, QStringLiteral("1"), 1, 3, 150));
    EXPECT_EQ(check().columns[0].limit, 200);
    ASSERT_TRUE(NitrateLimitTable::restoreDefaults(m_database));
    EXPECT_EQ(check().columns[0].limit, 170);
    EXPECT_EQ(NitrateLimitTable::cropRows(m_database, QStringLiteral("1")).size(), 28);
}

} // namespace
