#include "core/data/reference/planlookups.h"

#include "core/data/defaults/csv.h"
#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/planitems.h"
#include "core/plan/textgrid.h"
#include "core/text/numbers.h"

#include <QFile>

namespace PlanLookups {

bool isKnownCrop(const ReferenceDatabase &reference, const QString &novid)
{
    return reference.count(Tables::Nov::name, Filter::equals(Tables::Nov::Novid, novid)) > 0;
}

QString firstCropId(const ReferenceDatabase &reference)
{
    const auto first = reference.selectFirst(Tables::Nov::name);
    const QString id = first ? first->value(Tables::Nov::Novid).toString() : QString();
    return id.isEmpty() ? PlanItems::noCrop() : id;
}

TextGrid fillLeafLinks(const ReferenceDatabase &reference, TextGrid links)
{
    for (int row = 1; row < links.rowCount(); ++row) {
        const std::optional<int> id = Text::parseInteger(links.cell(row, 4));
        if (!id)
            continue;
        const auto sample
            = reference.selectFirst(Tables::Mintak::name, Filter::equals(Tables::Mintak::Id, *id));
        links.clear(row, row, 1, 4);
        if (!sample)
            continue;
        links.setCell(row, 1, sample->value(Tables::Mintak::Mintaazon).toString());
        links.setCell(row, 2, sample->value(Tables::Mintak::Tablassz).toString());
        links.setCell(row, 3, sample->value(Tables::Mintak::Gazdev).toString());
        links.setCell(row, 4, QString::number(*id));
    }
    return links;
}

std::optional<double> nitrateLimit(const ReferenceDatabase &reference, const QString &novid,
                                   int sztid, int level)
{
    namespace F = Tables::NitrateLimits;
    const auto row = reference.selectFirst(F::name, Filter::equals(F::Novid, novid)
                                                        && Filter::equals(F::Sztid, sztid)
                                                        && Filter::equals(F::Level, level));
    if (!row || row->value(F::MaxN).isNull())
        return std::nullopt;
    return row->value(F::MaxN).toDouble();
}

const QStringList &autumnCerealNames()
{
    static const QStringList names = [] {
        QStringList read;
        QFile file(QStringLiteral(":/reference/NitrateAutumnCereals.csv"));
        if (!file.open(QIODevice::ReadOnly))
            return read;
        const auto table = Csv::parse(QString::fromUtf8(file.readAll()));
        const int column = table ? int(table->header.indexOf(QStringLiteral("Nev"))) : -1;
        for (int row = 0; column >= 0 && row < table->rows.size(); ++row)
            read.append(table->rows[row].value(column).trimmed());
        return read;
    }();
    return names;
}

bool isAutumnCereal(const ReferenceDatabase &reference, const QString &novid)
{
    const auto crop
        = reference.selectFirst(Tables::Nov::name, Filter::equals(Tables::Nov::Novid, novid));
    if (!crop)
        return false;
    const QString name = crop->value(Tables::Nov::Nev).toString().trimmed();
    return autumnCerealNames().contains(name, Qt::CaseInsensitive);
}

} // namespace PlanLookups
