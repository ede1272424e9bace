#include "core/reports/plaintextwriter.h"

#include "core/reports/framewalker.h"

#include <QList>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace {

// A rule is as wide as a line of a typewritten page.
constexpr int ruleWidth = 72;
constexpr int columnGap = 2;

QString blockText(const QTextBlock &block)
{
    QString text = block.text();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    text.remove(QChar::ObjectReplacementCharacter);
    if (const QTextList *list = block.textList()) {
        const QString marker = FrameWalker::isBulleted(*list) ? QStringLiteral("-")
                                                              : list->itemText(block);
        text = QString(2 * list->format().indent(), QLatin1Char(' ')) + marker
               + QLatin1Char(' ') + text;
    }
    return text;
}

bool isRightAligned(const QTextBlock &block)
{
    const Qt::Alignment alignment = block.blockFormat().alignment();
    return (alignment & (Qt::AlignRight | Qt::AlignTrailing)) && !(alignment & Qt::AlignHCenter);
}

// All text of a cell on one line; a table inside the cell gives its cells in reading order.
QString cellText(const QTextTableCell &cell)
{
    QStringList parts;
    for (const QTextBlock &block : FrameWalker::cellParagraphs(cell))
        parts << blockText(block).simplified();
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QString withoutTrailingBlanks(QString line)
{
    qsizetype length = line.size();
    while (length > 0 && line.at(length - 1).isSpace())
        --length;
    line.truncate(length);
    return line;
}

class PlainTextBuilder final : public FrameWalker
{
public:
    QString build(const QTextDocument &document)
    {
        walkFrame(*document.rootFrame());
        QString text;
        for (const QString &line : std::as_const(m_lines))
            text += withoutTrailingBlanks(line) + QLatin1Char('\n');
        return text;
    }

private:
    void writeParagraph(const QTextBlock &block) override
    {
        if (block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            m_lines << QString(ruleWidth, QLatin1Char('-'));
        else
            m_lines << blockText(block).split(QLatin1Char('\n'));
    }

    // One place of the table: where a cell starts in a row (a cell over several rows
    // starts in each of them, with its text in the first only).
    struct Place
    {
        bool isStart = false;
        int span = 1;
        bool rightAligned = false;
        QString text;
    };

    void writeTable(const QTextTable &table) override
    {
        const int rows = table.rows();
        const int columns = table.columns();
        QList<Place> places(qsizetype(rows) * columns);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const QTextTableCell cell = table.cellAt(row, column);
                if (cell.column() != column)
                    continue;
                Place &place = places[qsizetype(row) * columns + column];
                place.isStart = true;
                place.span = std::clamp(cell.columnSpan(), 1, columns - column);
                // found by position, as a cursor would lay the document out
                place.rightAligned = isRightAligned(
                    table.document()->findBlock(cell.firstPosition()));
                if (cell.row() == row)
                    place.text = cellText(cell);
            }
        }
        auto placeAt = [&](int row, int column) -> const Place & {
            return places[qsizetype(row) * columns + column];
        };
        auto room = [&](const QList<int> &widths, int column, int span) {
            int total = columnGap * (span - 1);
            for (int spanned = column; spanned < column + span; ++spanned)
                total += widths[spanned];
            return total;
        };

        QList<int> widths(columns, 0);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const Place &place = placeAt(row, column);
                if (place.isStart && place.span == 1)
                    widths[column] = std::max(widths[column], int(place.text.size()));
            }
        }
        // A cell over several columns widens the last of them when it needs more room.
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const Place &place = placeAt(row, column);
                if (place.isStart && place.span > 1) {
                    widths[column + place.span - 1] += std::max(
                        0, int(place.text.size()) - room(widths, column, place.span));
                }
            }
        }

        int lineWidth = 0;
        for (int row = 0; row < rows; ++row) {
            QString line;
            for (int column = 0; column < columns;) {
                const Place &place = placeAt(row, column);
                const int width = room(widths, column, place.span);
                if (column > 0)
                    line += QString(columnGap, QLatin1Char(' '));
                line += place.rightAligned ? place.text.rightJustified(width)
                                           : place.text.leftJustified(width);
                column += place.span;
            }
            lineWidth = std::max(lineWidth, int(line.size()));
            m_lines << line;
            if (row + 1 == table.format().headerRowCount())
                m_lines << QString(lineWidth, QLatin1Char('-'));
        }
    }

    QStringList m_lines;
};

} // namespace

QString PlainTextWriter::toPlainText(const QTextDocument &document)
{
    return PlainTextBuilder().build(document);
}
