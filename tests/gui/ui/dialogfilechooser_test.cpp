#include "gui/ui/dialogfilechooser.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogFileChooserTest, FilterLinesAsTheDialogShowsThem)
{
    const struct
    {
        QString filter;
        QString expected;
    } cases[] = {
        // A pattern in the description gives way to the one that is used.
        {QStringLiteral("Tápanyag-gazdálkodási terv (.tap)|*.tap"),
         QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)")},
        {QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap"),
         QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)")},
        // Other words in brackets stay; patterns are separated by blanks; one line each.
        {QStringLiteral("Adobe Acrobat (PDF)|*.pdf|Web Page (HTML)|*.html;*.htm"),
         QStringLiteral("Adobe Acrobat (PDF) (*.pdf);;Web Page (HTML) (*.html *.htm)")},
        {QStringLiteral("*.tap"), QStringLiteral("*.tap")}, // no pairs: as given
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        EXPECT_EQ(DialogFileChooser::dialogFilter(c.filter).toStdString(),
                  c.expected.toStdString());
    }
}

} // namespace
