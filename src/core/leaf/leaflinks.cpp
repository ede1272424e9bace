#include "core/leaf/leaflinks.h"

#include "core/leaf/leafregister.h"
#include "core/plan/planitems.h"
#include "core/text/numbers.h"

#include <QHash>

#include <algorithm>

namespace LeafLinks {

const QStringList &headings()
{
    static const QStringList texts {QStringLiteral("Talajminta jel"),
                                    QStringLiteral("Lev.mitajel"), QStringLiteral("Tábla s.sz."),
                                    QStringLiteral("Gazd. év"), QString()};
    return texts;
}

int linkCount(const TextGrid &links)
{
    return std::max(links.rowCount() - 2, 0);
}

QList<QStringList> soilList(const PlanItems &items)
{
    QList<QStringList> rows;
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);
    for (int column = 1; column <= count + 1; ++column) {
        rows.append({column == 1 ? QStringLiteral("átlag") : QString::number(column - 1),
                     items.soilSampleTable.cell(1, column)});
    }
    return rows;
}

Outcome<TextGrid> addLink(const TextGrid &links, const QString &soilMark, const LeafSample &sample)
{
    const int count = linkCount(links);
    if (count >= PlanItems::maxLeafLinks) {
        return Outcome<TextGrid>::refused(
            QStringLiteral("A terv legfeljebb %1 talaj- és levélminta-kapcsolatot tartalmazhat.")
                .arg(PlanItems::maxLeafLinks));
    }
    TextGrid result = links;
    result.resize(count + 3, std::max(links.columnCount(), int(columnCount)));
    const int row = count + 1;
    result.setCell(row, SoilMark, soilMark);
    result.setCell(row, LeafMark, sample.sampleMark);
    result.setCell(row, FieldSerial, sample.fieldSerial);
    result.setCell(row, FarmingYear, sample.farmingYear);
    result.setCell(row, LeafId, QString::number(sample.id));
    result.clear(row + 1, row + 1, 0, result.columnCount() - 1);
    return result;
}

std::optional<TextGrid> removeLink(const TextGrid &links, int row)
{
    if (row < 1 || row > linkCount(links))
        return std::nullopt;
    TextGrid result = links;
    for (int below = row; below + 1 < result.rowCount(); ++below) {
        for (int column = 0; column < result.columnCount(); ++column)
            result.setCell(below, column, result.cell(below + 1, column));
    }
    result.setRowCount(result.rowCount() - 1);
    return result;
}

std::optional<int> findLink(const TextGrid &links, const QString &soilMark)
{
    for (int row = linkCount(links); row >= 1; --row) {
        if (links.cell(row, SoilMark) == soilMark && Text::parseInteger(links.cell(row, LeafId)))
            return row;
    }
    return std::nullopt;
}

QList<QStringList> leafResults(const ReferenceDatabase &reference, const TextGrid &links)
{
    const QHash<qint64, LeafSample> samples = LeafRegister::byId(reference);
    // the register holds N, P, K, Ca, Mg; the list shows N, P, K, Mg, Ca
    static const int contentOrder[] = {0, 1, 2, 4, 3};
    QList<QStringList> rows;
    for (int row = 1; row <= linkCount(links); ++row) {
        QStringList values {links.cell(row, LeafMark)};
        const std::optional<int> id = Text::parseInteger(links.cell(row, LeafId));
        const auto sample = id ? samples.constFind(*id) : samples.constEnd();
        for (int content : contentOrder) {
            const bool known = sample != samples.constEnd() && sample->contents[content];
            values.append(known ? Text::formatGeneral(*sample->contents[content]) : QString());
        }
        rows.append(values);
    }
    return rows;
}

} // namespace LeafLinks
