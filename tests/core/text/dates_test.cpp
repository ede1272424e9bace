#include "core/text/dates.h"

#include <gtest/gtest.h>

TEST(DatesTest, FormatsBothForms)
{
    EXPECT_EQ(Text::formatShortDate(QDate(2012, 3, 5)).toStdString(), "2012.03.05.");
    EXPECT_EQ(Text::formatShortDate(QDate(2012, 12, 31)).toStdString(), "2012.12.31.");
    EXPECT_EQ(Text::formatShortDate(QDate(999, 1, 2)).toStdString(), "0999.01.02."); // yyyy
    EXPECT_EQ(Text::formatShortDate(QDate()), QString()); // no date, no text
    EXPECT_EQ(Text::formatShortDateNoLeadingZeros(2012, 3, 5).toStdString(), "2012.3.5.");
    EXPECT_EQ(Text::formatShortDateNoLeadingZeros(2012, 11, 25).toStdString(), "2012.11.25.");
}

TEST(DatesTest, ParsesWhatTheUserAndTheFilesWrite)
{
    const std::pair<const char *, QDate> cases[] = {
        {"2012.3.5.", QDate(2012, 3, 5)}, // loaded form; both forms of every day: below
        {"2012.3.5", QDate(2012, 3, 5)}, // final point left off
        {"2012.03.05", QDate(2012, 3, 5)},
        {"  2012.03.05.  ", QDate(2012, 3, 5)}, // spaces around
        {"2012. 03. 05.", QDate(2012, 3, 5)}, // spaced Hungarian form
        {"2000.2.29.", QDate(2000, 2, 29)}, // divisible by 400: leap year
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Text::parseShortDate(QString::fromUtf8(text)), expected);
    }
}

TEST(DatesTest, RejectsNonDatesAndGarbage)
{
    const char *const cases[] = {
        "2013.2.29.", // 2013 is no leap year
        "1900.2.29.", // divisible by 100 but not by 400
        "2012.4.31.", // April has 30 days
        "2012.13.1.", "2012.0.5.", "2012.3.0.", // month or day out of range
        "0000.01.01.", // there is no year zero
        "12.3.5.", "20120.3.5.", // the year has four digits
        "2012.003.05.", // at most two digits for month and day
        "2012.03.05..", "2012..05.", "2012.03.", "2012.", // points doubled or parts missing
        "2012-03-05", "2012/03/05", "05.03.2012.", // other separators or orders
        "2012.03.05. x", "x2012.03.05.", "", "   ", // garbage around, nothing at all
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Text::parseShortDate(QString::fromUtf8(text)).has_value());
    }
}

TEST(DatesTest, EveryDayOfALeapYearReadsBackInBothForms)
{
    for (QDate date(2012, 1, 1); date.year() == 2012; date = date.addDays(1)) {
        SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(Text::parseShortDate(Text::formatShortDate(date)), date);
        EXPECT_EQ(Text::parseShortDate(
                      Text::formatShortDateNoLeadingZeros(date.year(), date.month(), date.day())),
            date);
    }
}
