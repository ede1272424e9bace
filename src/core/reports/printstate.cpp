#include "core/reports/printstate.h"

const std::array<QString, PrintState::mappedElementCount> &mappedElementNames()
{
    static const std::array<QString, PrintState::mappedElementCount> names{
        QStringLiteral("Nitrogén"), QStringLiteral("Foszfor"), QStringLiteral("Kálium"),
        QStringLiteral("Magnézium"), QStringLiteral("Mangán"), QStringLiteral("Cink"),
        QStringLiteral("Réz"), QStringLiteral("Vas")};
    return names;
}

std::array<int, PrintState::mappedElementCount> elementColumnMap(const QStringList &headings,
                                                                 int columnCount)
{
    std::array<int, PrintState::mappedElementCount> map;
    map.fill(-1);
    const int searched = std::min<int>(columnCount, int(headings.size()));
    for (int element = 0; element < PrintState::mappedElementCount; ++element) {
        for (int column = 0; column < searched; ++column) {
            if (headings[column] == mappedElementNames()[element]) {
                map[element] = column;
                break;
            }
        }
    }
    return map;
}
