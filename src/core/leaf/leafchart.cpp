#include "core/leaf/leafchart.h"

#include "core/leaf/leaflimits.h"
#include "core/text/numbers.h"

#include <algorithm>
#include <cmath>

namespace {

// Layout, in pixels or hundredths of an inch
constexpr int barHeight = 150;
constexpr int barWidth = 40;
constexpr int firstTop = 90;
constexpr int blockHeight = 280;
constexpr int leftMargin = 60;
constexpr int columnStep = 120;

constexpr ChartColour barColour {225, 0, 0};
constexpr ChartColour separatorColour {128, 128, 128};
constexpr ChartColour markerColour {0, 0, 0};

const char *const elementNames[5] = {"Nirtogén", "Foszfor", "Kálium", "Kalcium", "Magnézium"};

// A grade beyond ±2 takes the colour of ±2.
ChartColour gradeColour(int grade, LeafChart::Medium medium)
{
    const bool print = medium == LeafChart::Medium::Print;
    switch (std::abs(std::clamp(grade, -2, 2))) {
    case 0:
        return print ? ChartColour {0, 176, 18} : ChartColour {159, 255, 159};
    case 1:
        return print ? ChartColour {255, 193, 89} : ChartColour {255, 215, 174};
    default:
        return {255, 174, 174};
    }
}

// A value's height on the bar: 150 at the top of the scale, rounded half up, kept on the bar.
int heightOnBar(double value, double top)
{
    const double height = std::floor(value / (0.01 * top) * 1.5 + 0.5);
    return int(std::clamp(height, 0.0, double(barHeight)));
}

class ChartBuilder
{
public:
    ChartBuilder(ChartPage &page, LeafChart::Medium medium)
        : m_page(page)
        , m_medium(medium)
    { }

    bool isPrint() const { return m_medium == LeafChart::Medium::Print; }

    // A rectangle from one corner to the opposite one.
    void box(int left, int top, int right, int bottom, ChartColour colour)
    {
        m_page.boxes.append({QRect(std::min(left, right), std::min(top, bottom),
                                 std::abs(right - left), std::abs(bottom - top)),
            colour});
    }
    void text(int x, int y, int size, const QString &text, bool centred = false)
    {
        TextAnchor anchor = isPrint() ? TextAnchor::BaselineLeft : TextAnchor::TopLeft;
        if (centred)
            anchor = isPrint() ? TextAnchor::BaselineCentre : TextAnchor::TopCentre;
        m_page.texts.append({QPoint(x, y), size, text, anchor});
    }

    void column(int top, int left, const QString &symbol, int element, double value,
        const QList<LeafLimit> &scale);

private:
    ChartPage &m_page;
    LeafChart::Medium m_medium;
};

void ChartBuilder::column(int top, int left, const QString &symbol, int element, double value,
    const QList<LeafLimit> &scale)
{
    box(left + 20, top + 20, left + 20 + barWidth, top + 20 + barHeight, barColour);
    text(left + 37, top, 8, symbol);
    text(left + 20, top + 185, 8, QString::fromUtf8(elementNames[element]));
    // Without a scale, or with a top limit that is not above zero, the bar stays bare.
    if (scale.isEmpty() || scale.last().limit <= 0)
        return;
    const double scaleTop = scale.last().limit;
    const int bottom = top + 20 + barHeight;
    const LeafLimit *wordingClass = nullptr;
    int previous = 0;
    for (const LeafLimit &limit : scale) {
        const int y = heightOnBar(limit.limit, scaleTop);
        box(left + 20, bottom - previous, left + 20 + barWidth, bottom - y,
            gradeColour(limit.grade, m_medium));
        if (isPrint())
            text(left + 40, bottom - y + 10, 6, Text::formatGeneral(limit.limit), true);
        else
            text(left + 40, bottom - y, 5, Text::formatGeneral(limit.limit), true);
        // the first class whose upper limit reaches the value; a value equal to a limit
        // belongs to the class that limit closes
        if (!wordingClass && limit.limit >= value)
            wordingClass = &limit;
        previous = y;
    }
    if (!wordingClass)
        wordingClass = &scale.last();
    text(left + 20, top + 198, 8, wordingClass->wording);
    const int marker = heightOnBar(value, scaleTop);
    if (isPrint()) {
        box(left + 25, bottom - marker, left + 65, bottom + 1 - marker, markerColour);
        text(left + 72, top + 176 - marker, 8, Text::formatGeneral(value) + QStringLiteral(" %"));
    } else {
        box(left + 25, bottom - marker, left + 70, bottom + 2 - marker, markerColour);
        text(left + 72, top + 164 - marker, 8, Text::formatGeneral(value) + QStringLiteral(" %"));
    }
}

} // namespace

QString leafCaption(const LeafSample &sample)
{
    return QStringLiteral("Gazd.év: ") + sample.farmingYear + QStringLiteral("   Blokk: ")
        + sample.block + QStringLiteral("   Tábla sorsz.:") + sample.fieldSerial
        + QStringLiteral("    Növény: ") + sample.species + QStringLiteral("   Minta jel: ")
        + sample.sampleMark;
}

LeafChart buildLeafChart(
    const QList<LeafSample> &samples, const LeafLimits &limits, LeafChart::Medium medium)
{
    const bool print = medium == LeafChart::Medium::Print;
    const int perPage = print ? LeafChart::resultsPerPrintedPage : qMax(1, int(samples.size()));
    LeafChart chart;
    chart.pages.append(ChartPage());
    if (!print)
        chart.pages.last().texts.append(
            {QPoint(10, 10), 14, QStringLiteral("Levélanalízis"), TextAnchor::TopLeft});
    for (int n = 0; n < samples.size(); ++n) {
        if (n > 0 && n % perPage == 0)
            chart.pages.append(ChartPage());
        ChartBuilder builder(chart.pages.last(), medium);
        const LeafSample &sample = samples.at(n);
        const int i = n % perPage;
        const int season = sample.atHarvest ? 1 : 0;
        builder.text(leftMargin, 72 + blockHeight * i, 8, leafCaption(sample));
        const int top = firstTop + blockHeight * i;
        for (int k = 0; k < 5; ++k) {
            const QString &symbol = LeafRegister::elementSymbols().at(k);
            builder.column(top, leftMargin + columnStep * k, symbol, k,
                sample.contents[k].value_or(0), limits.scale(sample.speciesId, season, symbol));
        }
        builder.box(50, 330 + blockHeight * i, 590, 332 + blockHeight * i, separatorColour);
    }
    const int rows = print ? LeafChart::resultsPerPrintedPage : samples.size();
    chart.size = QSize(650, firstTop + blockHeight * rows);
    return chart;
}
