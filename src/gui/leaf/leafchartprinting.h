#pragma once

class FileChooser;
class Messenger;
class QPagedPaintDevice;
class QWidget;
struct LeafChart;
struct PaintedPages;

// The printout of the leaf evaluation: the printed chart, one chart page a paper page, in
// hundredths of an inch from the paper's corner.
namespace LeafChartPrinting {

// Paints the pages in the range the device was given (every page when none); false when
// nothing could be painted.
bool print(const LeafChart &chart, QPagedPaintDevice *device);

// The printed chart as pages for the print preview; the chart must outlive them.
PaintedPages paintedPages(const LeafChart &chart);

// The print preview of the reports over the printed chart: printer or PDF file.
void showPreview(
    const LeafChart &chart, FileChooser &fileChooser, Messenger &messenger, QWidget *parent);

} // namespace LeafChartPrinting
