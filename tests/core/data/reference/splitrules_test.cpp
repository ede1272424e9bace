#include "core/data/reference/splitrules.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "support/defaultreference.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace F = Tables::Find3;
using SplitRules::RuleBox;

TEST(SplitRulesTest, TheSharesReadAsAutumnAndTheRestTo100)
{
    const std::pair<QVariant, QString> cases[] = {
        {60.0, "Ö:60-T:40"},
        {QVariant(), "Ö:0-T:100"}, // an empty share counts as 0
        {0.0, "Ö:0-T:100"},
        {100.0, "Ö:100-T:0"},
        {33.5, "Ö:33,5-T:66,5"}, // a share stored with decimals keeps them
    };
    for (const auto &[share, cell] : cases)
        EXPECT_EQ(SplitRules::autumnSpringCell(share), cell);
    EXPECT_EQ(SplitRules::siteCategoryName(3.0), QStringLiteral("III.  Kötött réti talaj, gelejes erdőtalaj"));
    EXPECT_EQ(SplitRules::siteCategoryName(7.0), QString());
}

TEST(SplitRulesTest, EachBoxMustBeEmptyOrAWholeNumberInItsRange)
{
    const SplitRules::RuleInput valid = {2, "37", "40", "100", "0", "60"};
    const struct
    {
        QString SplitRules::RuleInput::*box;
        QString text;
        RuleBox failed;
    } cases[] = {
        {&SplitRules::RuleInput::ka, "", RuleBox::None}, // an empty box leaves the field empty
        {&SplitRules::RuleInput::autumnN, "60,5", RuleBox::AutumnN}, // not a whole number
        {&SplitRules::RuleInput::autumnP, "101", RuleBox::AutumnP},
        {&SplitRules::RuleInput::autumnK, "-1", RuleBox::AutumnK},
        {&SplitRules::RuleInput::ka, "-5", RuleBox::Ka},
        {&SplitRules::RuleInput::maxN, "-1", RuleBox::MaxN},
        {&SplitRules::RuleInput::maxN, "x", RuleBox::MaxN},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        SplitRules::RuleInput input = valid;
        input.*c.box = c.text;
        EXPECT_EQ(SplitRules::checkRule("990001", input).failedBox, c.failed);
    }
    // Ka and the autumn N share both fail: the first in the panel's check order is named
    SplitRules::RuleInput twoFaults = valid;
    twoFaults.ka = "a";
    twoFaults.autumnN = "b";
    EXPECT_EQ(SplitRules::checkRule("990001", twoFaults).failedBox, RuleBox::Ka);

    const QVariantMap row = SplitRules::checkRule("990001", valid).row;
    const QVariantMap expected = {{F::Novid, "990001"}, {F::Sztid, 2.0}, {F::Ka, 37.0},
        {F::ON, 40.0}, {F::OP, 100.0}, {F::OK, 0.0}, {F::MaxN, 60.0}};
    EXPECT_EQ(row, expected);
}

// A blank limit reads as 0 wherever the lookup compares it, so it sorts as 0 too.
TEST(SplitRulesTest, ABlankLimitSortsAs0)
{
    QTemporaryDir dir;
    ReferenceDatabase database;
    openDefaultReference(dir, database);
    for (const QVariant &ka : {QVariant(5.0), QVariant(), QVariant(0.0)})
        ASSERT_TRUE(database.insert(
            F::name, {{F::Novid, "990001"}, {F::Sztid, 1.0}, {F::Ka, ka}, {F::ON, 10.0}}));
    QList<QVariant> limits;
    const auto rules = SplitRules::cropRules(database, "990001");
    for (const QVariantMap &rule : *rules)
        limits.append(rule.value(F::Ka));
    EXPECT_EQ(limits, (QList<QVariant> {QVariant(), 0.0, 5.0}));
}
