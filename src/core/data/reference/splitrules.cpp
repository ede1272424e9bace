#include "core/data/reference/splitrules.h"

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/elements.h"
#include "core/text/numbers.h"

namespace SplitRules {

namespace Find3 = Tables::Find3;

namespace {

struct BoxRule
{
    RuleBox box;
    QString RuleInput::*text;
    QLatin1String field;
    double maximum; // shares are per cent; the limits have no upper bound
};

constexpr double unbounded = -1;

// The check order of the boxes: the plasticity limit first, as the panel lists it last.
const BoxRule boxRules[] = {
    {RuleBox::Ka, &RuleInput::ka, Find3::Ka, unbounded},
    {RuleBox::AutumnN, &RuleInput::autumnN, Find3::ON, 100},
    {RuleBox::AutumnP, &RuleInput::autumnP, Find3::OP, 100},
    {RuleBox::AutumnK, &RuleInput::autumnK, Find3::OK, 100},
    {RuleBox::MaxN, &RuleInput::maxN, Find3::MaxN, unbounded},
};

} // namespace

std::optional<QList<QVariantMap>> cropRules(
    const ReferenceDatabase &database, const QString &novid, QString *error)
{
    // the table's own order is the lookup's
    return database.select(Find3::name, Filter::equals(Find3::Novid, novid), {},
        ReferenceDatabase::DeletedRows::Hidden, error);
}

QString autumnSpringCell(const QVariant &autumnShare)
{
    const double autumn = autumnShare.isNull() ? 0 : autumnShare.toDouble();
    return QStringLiteral("Ö:") + Text::formatGeneral(autumn) + QStringLiteral("-T:")
        + Text::formatGeneral(100 - autumn);
}

QString siteCategoryName(const QVariant &sztid)
{
    bool ok = false;
    const int number = qRound(sztid.toDouble(&ok));
    if (!ok || number < 1 || number > Elements::siteCategoryCount)
        return QString();
    return Elements::siteCategoryNames().at(number - 1);
}

QString numberCell(const QVariant &value)
{
    return value.isNull() ? QString() : Text::formatGeneral(value.toDouble());
}

RuleCheck checkRule(const QString &novid, const RuleInput &input)
{
    RuleCheck check;
    QVariantMap row = {{Find3::Novid, novid}, {Find3::Sztid, double(input.siteCategory)}};
    for (const BoxRule &rule : boxRules) {
        const QString text = (input.*rule.text).trimmed();
        if (text.isEmpty()) {
            row.insert(rule.field, QVariant());
            continue;
        }
        const std::optional<int> value = Text::parseInteger(text);
        if (!value || *value < 0 || (rule.maximum != unbounded && *value > rule.maximum)) {
            check.failedBox = rule.box;
            return check;
        }
        row.insert(rule.field, double(*value));
    }
    check.row = row;
    return check;
}

std::optional<qint64> addRule(ReferenceDatabase &database, const QVariantMap &row, QString *error)
{
    return database.insert(Find3::name, row, error);
}

bool removeRule(ReferenceDatabase &database, qint64 id, QString *error)
{
    const int removed = database.remove(Find3::name, Filter::equals(Find3::Id, id), error);
    if (removed == 0 && error)
        *error = QStringLiteral("A kijelölt sor már nincs a táblában.");
    return removed > 0;
}

} // namespace SplitRules
