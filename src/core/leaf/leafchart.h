#pragma once

#include "core/leaf/leafregister.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class LeafLimits;

// A colour by its red, green and blue components, 0 to 255.
struct ChartColour
{
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const ChartColour &, const ChartColour &) = default;
};

// A filled rectangle of the evaluation picture.
struct ChartBox
{
    QRect rect;
    ChartColour colour;
};

// Where a text's position lies: its top-left corner (a screen label), the middle of its top
// edge (a class panel's caption), or on its baseline, at the start or the middle (printout).
enum class TextAnchor { TopLeft, TopCentre, BaselineLeft, BaselineCentre };

struct ChartText
{
    QPoint at;
    int pointSize = 8;
    QString text;
    TextAnchor anchor = TextAnchor::TopLeft;
};

// One page of the picture: boxes drawn in order, then the texts over them.
struct ChartPage
{
    QList<ChartBox> boxes;
    QList<ChartText> texts;
};

// The evaluation of leaf-sample results against the class limits, as a picture in units of
// screen pixels or, for the printer, hundredths of an inch. The screen picture is one page
// holding every result under the title; the printout puts three results on each page, each
// page laid out from the top again.
struct LeafChart
{
    enum class Medium { Screen, Print };

    QList<ChartPage> pages;
    QSize size; // of one page's drawing

    static constexpr int resultsPerPrintedPage = 3;
};

// The picture of `samples`, each with its five columns N, P, K, Ca, Mg against the scales
// of its species and season.
LeafChart buildLeafChart(
    const QList<LeafSample> &samples, const LeafLimits &limits, LeafChart::Medium medium);

// The caption line over one result.
QString leafCaption(const LeafSample &sample);
