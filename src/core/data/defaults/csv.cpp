#include "core/data/defaults/csv.h"

namespace Csv {

namespace {

struct Line
{
    QStringList cells;
    int number = 0;
    bool isBlank = false;
};

// Splits the text into lines of cells, honouring quoted cells that span lines.
std::optional<QList<Line>> splitLines(const QString &text, QString *error)
{
    QList<Line> lines;
    Line line;
    QString cell;
    bool inQuotes = false;
    bool cellWasQuoted = false;
    int lineNumber = 1;
    line.number = lineNumber;

    const auto finishCell = [&] {
        line.cells.append(cell);
        cell.clear();
        cellWasQuoted = false;
    };
    const auto finishLine = [&] {
        finishCell();
        line.isBlank = line.cells.size() == 1 && line.cells.first().isEmpty();
        lines.append(line);
        line = Line();
        line.number = lineNumber;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++lineNumber;
                if (c != QLatin1Char('\r'))
                    cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && cell.isEmpty() && !cellWasQuoted) {
            inQuotes = true;
            cellWasQuoted = true;
        } else if (c == QLatin1Char('"')
            || (cellWasQuoted && c != QLatin1Char(';') && c != QLatin1Char('\r')
                && c != QLatin1Char('\n'))) {
            if (error)
                *error = QStringLiteral("%1. sor: hibás idézőjel.").arg(lineNumber);
            return std::nullopt;
        } else if (c == QLatin1Char(';')) {
            finishCell();
        } else if (c == QLatin1Char('\n')) {
            ++lineNumber;
            finishLine();
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    if (inQuotes) {
        if (error)
            *error = QStringLiteral("%1. sor: lezáratlan idézőjel.").arg(line.number);
        return std::nullopt;
    }
    if (!cell.isEmpty() || !line.cells.isEmpty() || cellWasQuoted)
        finishLine();
    return lines;
}

} // namespace

std::optional<Table> parse(const QString &text, QString *error)
{
    QString source = text;
    if (source.startsWith(QChar(0xFEFF)))
        source.remove(0, 1);
    const std::optional<QList<Line>> lines = splitLines(source, error);
    if (!lines)
        return std::nullopt;

    Table table;
    bool hasHeader = false;
    for (const Line &line : *lines) {
        if (line.isBlank)
            continue;
        if (!hasHeader) {
            table.header = line.cells;
            hasHeader = true;
            continue;
        }
        if (line.cells.size() != table.header.size()) {
            if (error)
                *error = QStringLiteral("%1. sor: %2 mező a fejléc %3 mezője helyett.")
                             .arg(line.number)
                             .arg(line.cells.size())
                             .arg(table.header.size());
            return std::nullopt;
        }
        table.rows.append(line.cells);
        table.lineNumbers.append(line.number);
    }
    if (!hasHeader) {
        if (error)
            *error = QStringLiteral("Hiányzik a fejléc sora.");
        return std::nullopt;
    }
    return table;
}

} // namespace Csv
