#include "gui/steps/resultbox.h"

#include "gui/steps/resultnotes.h"
#include "gui/ui/texttablemodel.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <numeric>

namespace {
constexpr int gridLeft = 8;
constexpr int gridTop = 20;
constexpr int buttonWidth = 90;
constexpr int buttonHeight = 21;
constexpr int smallestBoxWidth = 330;
// A long list scrolls inside the box, which stays within a 1024 × 720 window right of the
// step list and leaves the surface's margin free, so the surface never scrolls for it.
constexpr int widestBoxWidth = 790;
constexpr int tallestBoxHeight = 560;
} // namespace

ResultBox::ResultBox(QWidget *parent)
    : MovableBox(QStringLiteral("Kimutatás"), parent)
{
    setObjectName(QStringLiteral("resultBox"));
    m_model = new TextTableModel(this);
    // The values centred under their headings, the soil-column labels as they are.
    m_model->setAlignments({Qt::Alignment()}, Qt::AlignCenter);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("resultGrid"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid->horizontalHeader()->setFixedHeight(rowHeight);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->move(gridLeft, gridTop);
    m_notes = new ResultNotes(this);
    m_notes->hide();

    m_closeButton = new QPushButton(QStringLiteral("Bezárás"), this);
    m_closeButton->setObjectName(QStringLiteral("closeResultButton"));
    m_closeButton->resize(buttonWidth, buttonHeight);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);

    // Printing comes with the reports; until then the button is there but cannot be used.
    m_printButton = new QPushButton(QStringLiteral("Nyomtatás"), this);
    m_printButton->setObjectName(QStringLiteral("printResultButton"));
    m_printButton->resize(buttonWidth, buttonHeight);
    connect(m_printButton, &QPushButton::clicked, this, &ResultBox::printRequested);

    layoutBox();
}

void ResultBox::showResult(const ResultTable &table)
{
    setTitle(table.boxTitle);
    m_result = table;
    m_model->setTable(table.headings, table.rows);
    m_notes->setNotes(table.notes);
    layoutBox();
    show();
    raise();
}

void ResultBox::clearResult()
{
    m_result = {};
    m_result.boxTitle = title();
    m_model->setTable({}, {});
    m_notes->setNotes({});
    layoutBox();
}

void ResultBox::layoutBox()
{
    // The grid counts its heading row as a row: (rows + 2) × 19 pixels.
    const int gridRows = m_model->rowCount() + 1;

    m_grid->resizeColumnsToContents();
    QHeaderView *columns = m_grid->horizontalHeader();
    const QList<int> &asked = m_result.columnWidths;
    // Columns are at least 80 pixels wide, unless the list would then be wider than the
    // widest box: its columns are then as wide as their texts, so that all of them show.
    QList<int> widths;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        widths << (column < asked.size() && asked[column] > 0
                       ? asked[column]
                       : std::max(columns->sectionSize(column), 80));
    }
    const int widestGrid = widestBoxWidth - 2 * gridLeft - 2 * m_grid->frameWidth() - 2;
    const bool tight = std::accumulate(widths.cbegin(), widths.cend(), 0) > widestGrid;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const bool askedWidth = column < asked.size() && asked[column] > 0;
        columns->resizeSection(column, tight && !askedWidth ? columns->sectionSize(column)
                                                            : widths[column]);
    }
    int gridWidth = std::max(columns->length() + 2 * m_grid->frameWidth() + 2,
                             smallestBoxWidth - 2 * gridLeft);
    int gridHeight = (gridRows + 2) * rowHeight;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid);
    if (gridHeight + 60 > tallestBoxHeight) {
        gridHeight = tallestBoxHeight - 60;
        gridWidth += scrollBar;
    }
    if (gridWidth + 2 * gridLeft > widestBoxWidth) {
        gridWidth = widestBoxWidth - 2 * gridLeft;
        gridHeight = std::min(gridHeight + scrollBar, tallestBoxHeight - 60);
    }

    m_grid->resize(gridWidth, gridHeight);
    // Notes read as sentences: they take a wider box than a narrow list would.
    const int notesWidth = m_notes->isEmpty() ? gridWidth
                                              : std::max(gridWidth, widestBoxWidth - 2 * gridLeft);
    const int notesHeight = m_notes->heightFor(notesWidth);
    m_notes->setGeometry(gridLeft, gridTop + gridHeight + 4, notesWidth, notesHeight);
    resize(notesWidth + 2 * gridLeft, gridHeight + 60 + (notesHeight > 0 ? notesHeight + 4 : 0));

    const int buttonTop = height() - 25;
    m_closeButton->move(gridLeft, buttonTop);
    m_printButton->move(gridLeft + buttonWidth + 8, buttonTop);
}
