#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

class ReferenceDatabase;

// The autumn/spring split rules of the crops (Find3) as the split editor shows and adds
// them: the rules of one crop in the order the split lookup reads them, the computed cells
// of the editor's grid, and the check of a new rule typed into the editor's boxes.
namespace SplitRules {

// The rules of one crop by site category, ascending upper limit Ka (a blank limit as 0)
// and Id: the order in which the lookup takes the first band reaching a soil. No value on
// error, with *error set.
std::optional<QList<QVariantMap>> cropRules(
    const ReferenceDatabase &database, const QString &novid, QString *error = nullptr);

// "Ö:60-T:40": the autumn share and the rest to 100, each in the general number format; an
// empty share counts as 0 ("Ö:0-T:100").
QString autumnSpringCell(const QVariant &autumnShare);

// The site-category name of a rule's Sztid (1 to 6); empty for any other value.
QString siteCategoryName(const QVariant &sztid);

// A number field of a rule as the grid shows it; empty for an empty field.
QString numberCell(const QVariant &value);

// The boxes of a new rule, as typed; siteCategory 1 to 6, 0 for none chosen.
struct RuleInput
{
    int siteCategory = 0;
    QString ka;
    QString autumnN;
    QString autumnP;
    QString autumnK;
    QString maxN;
};

// The boxes in the order they are checked.
enum class RuleBox { None, Ka, AutumnN, AutumnP, AutumnK, MaxN };

struct RuleCheck
{
    RuleBox failedBox = RuleBox::None; // the first box that fails
    QVariantMap row; // the Find3 row to insert, when no box fails
};

// Checks the boxes in the order Ka, N, P, K share, maximum N: each must be empty or a whole
// number; the shares lie in 0–100, Ka and the maximum N are not negative. An empty box
// leaves its field empty.
RuleCheck checkRule(const QString &novid, const RuleInput &input);

// Inserts a checked rule; the new rule's Id, no value on error.
std::optional<qint64> addRule(
    ReferenceDatabase &database, const QVariantMap &row, QString *error = nullptr);

// Deletes one rule by its Id; false on error or when no such rule exists.
bool removeRule(ReferenceDatabase &database, qint64 id, QString *error = nullptr);

} // namespace SplitRules
