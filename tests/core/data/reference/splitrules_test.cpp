#include "core/data/reference/splitrules.h"

#include "core/data/reference/tables.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace F = Tables::Find3;
using SplitRules::RuleBox;

TEST(SplitRulesTest, TheSharesReadAsAutumnAndTheRestTo100)
{
    const std::pair<QVariant, QString> cases[] = {
        {60.0, "Ö:60-T:40"}, {QVariant(), "Ö:0-T:100"}, // an empty share counts as 0
        {0.0, "Ö:0-T:100"}, {100.0, "Ö:100-T:0"},
        {33.5, "Ö:33,5-T:66,5"}, // a share stored with decimals keeps them
    };
    for (const auto &[share, cell] : cases)
        EXPECT_EQ(SplitRules::autumnSpringCell(share), cell);
}

TEST(SplitRulesTest, EachBoxMustBeEmptyOrAWholeNumberInItsRange)
{
    const SplitRules::RuleInput valid = {2, "37", "40", "100", "0", "60"};
    // site category, Ka, N %, P %, K %, maximum N
    const std::pair<SplitRules::RuleInput, RuleBox> cases[] = {
        {{2, "", "", "", "", ""}, RuleBox::None}, // an empty box leaves the field empty
        {{2, "37", "60,5", "", "", ""}, RuleBox::AutumnN}, // not a whole number
        {{2, "37", "40", "101", "", ""}, RuleBox::AutumnP},
        {{2, "37", "40", "100", "-1", ""}, RuleBox::AutumnK},
        {{2, "-5", "", "", "", ""}, RuleBox::Ka}, {{2, "37", "", "", "", "-1"}, RuleBox::MaxN},
        {{2, "a", "b", "", "", ""}, RuleBox::Ka}, // the first in the check order is named
    };
    for (const auto &[input, failed] : cases)
        EXPECT_EQ(SplitRules::checkRule("990001", input).failedBox, failed)
            << input.ka.toStdString();
    const QVariantMap row = SplitRules::checkRule("990001", valid).row;
    const QVariantMap expected = {{F::Novid, "990001"}, {F::Sztid, 2.0}, {F::Ka, 37.0},
        {F::ON, 40.0}, {F::OP, 100.0}, {F::OK, 0.0}, {F::MaxN, 60.0}};
    EXPECT_EQ(row, expected);
}
