#include "core/leaf/leafchart.h"

#include "core/leaf/leaflimits.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

// Species 1, season 0, N: the classes 2,0 / 2,5 / 3,0 with grades -1 / 0 / +1.
LeafLimits threeClasses()
{
    LeafLimits limits;
    limits.add(1, 0, "N", {3.0, 1, "Magas"});
    limits.add(1, 0, "N", {2.0, -1, "Alacsony"});
    limits.add(1, 0, "N", {2.5, 0, "Optimális"});
    return limits;
}

LeafSample sample(double nitrogen, bool atHarvest = false)
{
    LeafSample s;
    s.farmingYear = "2013", s.block = "B7", s.fieldSerial = "12", s.species = "Alma";
    s.sampleMark = "M-2", s.speciesId = 1, s.atHarvest = atHarvest, s.contents[0] = nitrogen;
    return s;
}

const ChartText *textAt(const ChartPage &page, QPoint at)
{
    const auto found = std::find_if(page.texts.begin(), page.texts.end(),
        [at](const ChartText &text) { return text.at == at; });
    return found == page.texts.end() ? nullptr : &*found;
}

QList<int> boxHeightsWithin(const ChartPage &page, QRect area, ChartColour except)
{
    QList<int> heights;
    for (const ChartBox &box : page.boxes) {
        if (area.contains(box.rect) && !(box.colour == except))
            heights.append(box.rect.height());
    }
    return heights;
}

} // namespace

// The N column of the first result: classes to scale, the wording of the class the value
// falls in (a value equal to a limit belongs to the class it closes), the marker on the bar.
TEST(LeafChartTest, NitrogenColumnAgainstThreeClasses)
{
    const QRect bar(80, 110, 40, 150);
    struct Case
    {
        double value;
        const char *wording;
        int marker;
    };
    const Case cases[] = {{2.5, "Optimális", 125}, {2.0, "Alacsony", 100}, {2.01, "Optimális", 101},
        {3.2, "Magas", 150}, {0, "Alacsony", 0}, {-1, "Alacsony", 0}, {1e9, "Magas", 150}};
    for (const Case &c : cases) {
        const LeafChart chart
            = buildLeafChart({sample(c.value)}, threeClasses(), LeafChart::Medium::Screen);
        ASSERT_EQ(chart.pages.size(), 1);
        const ChartPage &page = chart.pages.first();
        EXPECT_EQ(boxHeightsWithin(page, bar, {0, 0, 0}), QList<int>({150, 100, 25, 25}));
        const ChartText *wording = textAt(page, {80, 288});
        ASSERT_TRUE(wording) << c.value;
        EXPECT_EQ(wording->text, QString::fromUtf8(c.wording)) << c.value;
        bool markerFound = false;
        for (const ChartBox &box : page.boxes)
            markerFound |= box.rect == QRect(85, 260 - c.marker, 45, 2)
                && box.colour == ChartColour {0, 0, 0};
        EXPECT_TRUE(markerFound) << c.value;
        EXPECT_TRUE(textAt(page, {132, 254 - c.marker})) << c.value;
    }
    const LeafChart chart
        = buildLeafChart({sample(2.5)}, threeClasses(), LeafChart::Medium::Screen);
    EXPECT_EQ(textAt(chart.pages.first(), {132, 129})->text, QStringLiteral("2,5 %"));
    EXPECT_EQ(textAt(chart.pages.first(), {97, 90})->text, QStringLiteral("N"));
    EXPECT_EQ(textAt(chart.pages.first(), {80, 275})->text, QStringLiteral("Nirtogén"));
}

// Screen colours of the grades, and a grade beyond ±2 drawn as ±2; printed colours differ.
TEST(LeafChartTest, ClassColoursOnScreenAndPaper)
{
    LeafLimits limits;
    const int grades[] = {-3, -1, 0, 1, 3};
    for (int i = 0; i < 5; ++i)
        limits.add(1, 0, "N", {double(i + 1), grades[i], "x"});
    const QList<ChartColour> screen
        = {{255, 174, 174}, {255, 215, 174}, {159, 255, 159}, {255, 215, 174}, {255, 174, 174}};
    const QList<ChartColour> paper
        = {{255, 174, 174}, {255, 193, 89}, {0, 176, 18}, {255, 193, 89}, {255, 174, 174}};
    for (const auto &[medium, expected] : {std::pair(LeafChart::Medium::Screen, screen),
             std::pair(LeafChart::Medium::Print, paper)}) {
        // boxes: the red bar, then the five classes
        const LeafChart chart = buildLeafChart({sample(1)}, limits, medium);
        QList<ChartColour> drawn;
        for (const ChartBox &box : chart.pages.first().boxes)
            drawn.append(box.colour);
        EXPECT_EQ(drawn.mid(0, 6), QList<ChartColour>({{225, 0, 0}}) + expected);
    }
}

// Caption of the second result, separators, the season's scale and bare columns.
TEST(LeafChartTest, CaptionsSeasonsAndColumnsWithoutScale)
{
    LeafLimits limits = threeClasses();
    limits.add(1, 1, "N", {4.0, 0, "Nyári"});
    limits.add(1, 0, "P", {0, 0, "Nulla"}); // a top limit of 0
    const LeafChart chart
        = buildLeafChart({sample(2.5), sample(-1, true)}, limits, LeafChart::Medium::Screen);
    const ChartPage &page = chart.pages.first();
    EXPECT_EQ(textAt(page, {60, 352})->text,
        QStringLiteral("Gazd.év: 2013   Blokk: B7   Tábla sorsz.:12    Növény: Alma   "
                       "Minta jel: M-2"));
    EXPECT_EQ(textAt(page, {10, 10})->text, QStringLiteral("Levélanalízis"));
    // the harvest sample reads the season-1 scale
    EXPECT_EQ(textAt(page, {80, 568})->text, QStringLiteral("Nyári"));
    // P (top 0), K, Ca, Mg (no rows): bar, symbol and name only
    for (int k = 1; k < 5; ++k) {
        const int left = 60 + 120 * k;
        EXPECT_EQ(boxHeightsWithin(page, QRect(left + 20, 110, 40, 150), {}), QList<int>({150}));
        EXPECT_FALSE(textAt(page, {left + 20, 288})) << k;
    }
    int separators = 0;
    for (const ChartBox &box : page.boxes)
        separators += box.rect == QRect(50, 330 + 280 * separators, 540, 2);
    EXPECT_EQ(separators, 2);
}

// On paper in hundredths of an inch: the first class from (0.80 in, 2.60 in) to
// (1.20 in, 1.60 in), its limit centred 0.1 in under its upper edge; three results a page.
TEST(LeafChartTest, PrintoutCoordinatesAndPages)
{
    const LeafChart one = buildLeafChart({sample(2.5)}, threeClasses(), LeafChart::Medium::Print);
    const ChartPage &page = one.pages.first();
    EXPECT_EQ(page.boxes.at(1).rect, QRect(QPoint(80, 160), QPoint(119, 259)));
    const ChartText *limit = textAt(page, {100, 170});
    ASSERT_TRUE(limit);
    EXPECT_EQ(limit->text, QStringLiteral("2"));
    EXPECT_EQ(limit->anchor, TextAnchor::BaselineCentre);
    EXPECT_EQ(textAt(page, {60, 72})->anchor, TextAnchor::BaselineLeft);
    EXPECT_EQ(textAt(page, {132, 141})->text, QStringLiteral("2,5 %"));

    const QList<int> counts = {0, 1, 3, 4, 20};
    const QList<int> pages = {1, 1, 1, 2, 7};
    for (int i = 0; i < counts.size(); ++i) {
        const QList<LeafSample> samples(counts.at(i), sample(2.5));
        const LeafChart chart = buildLeafChart(samples, threeClasses(), LeafChart::Medium::Print);
        EXPECT_EQ(chart.pages.size(), pages.at(i)) << counts.at(i);
        // every page starts again at the top: its first caption at 0.72 in
        if (counts.at(i) > 0) {
            EXPECT_TRUE(textAt(chart.pages.last(), {60, 72})) << counts.at(i);
        }
        const LeafChart screen = buildLeafChart(samples, threeClasses(), LeafChart::Medium::Screen);
        int captions = 0;
        for (const ChartText &text : screen.pages.first().texts)
            captions += text.text.startsWith(QStringLiteral("Gazd.év"));
        EXPECT_EQ(captions, counts.at(i));
    }
}
