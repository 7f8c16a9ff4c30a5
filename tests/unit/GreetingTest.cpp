// The date greeting over whole years and on the days that decide between rules.
#include <gtest/gtest.h>

#include <cstring>

#include "player/logic/Greeting.h"

namespace {

constexpr int kSunday = 1;
constexpr int kFriday = 6;
constexpr int kSaturday = 7;

// Weekday number of a Gregorian date: 1 Sunday .. 7 Saturday (Sakamoto's method).
int Weekday(int year, int month, int day)
{
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        --year;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7 + 1;
}

int DaysIn(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

GreetingChoice On(int year, int month, int day)
{
    return SelectGreetingForDate(month, day, Weekday(year, month, day));
}

TEST(GreetingCalendar, WeekdayRoutineKnowsSomeDates)
{
    EXPECT_EQ(kFriday, Weekday(2027, 1, 1));
    EXPECT_EQ(kSaturday, Weekday(2022, 1, 1));
    EXPECT_EQ(kSaturday, Weekday(2021, 1, 2));
    EXPECT_EQ(kFriday, Weekday(2025, 5, 2));
    EXPECT_EQ(kSunday, Weekday(2000, 1, 2));
}

TEST(Greeting, TextsAreTheProgramsOwn)
{
    EXPECT_STREQ("五一节快乐！！   -----Osk", kGreetingMayDay);
    EXPECT_STREQ("元旦快乐！！！   -----Osk", kGreetingNewYear);
    EXPECT_STREQ("圣诞快乐！！！   -----Osk", kGreetingChristmas);
    EXPECT_STREQ("情人节快乐！！   -----Osk", kGreetingValentine);
    EXPECT_STREQ("国庆节快乐！！   -----Osk", kGreetingNationalDay);
    EXPECT_STREQ("周末快乐！！   ------Quon", kGreetingWeekend);
    // GBK: each Chinese character and full-width "！" takes two bytes.
    EXPECT_EQ(5 * 2 + 2 * 2 + 3 + 5 + 3, static_cast<int>(std::strlen(kGreetingMayDay)));
    EXPECT_EQ(4 * 2 + 2 * 2 + 3 + 6 + 4, static_cast<int>(std::strlen(kGreetingWeekend)));
}

// What each day of a year should give, said as the calendar of greeting days.
const char* ExpectedGreeting(int month, int day, int weekday)
{
    if (month == 5)
        return day == 1 ? kGreetingMayDay : nullptr;
    if (month == 12)
        return day >= 26 ? kGreetingNewYear : day >= 20 ? kGreetingChristmas : nullptr;
    if (month == 1 && day == 1)
        return kGreetingNewYear;
    if (month == 2 && day == 14)
        return kGreetingValentine;
    if (month == 10 && day == 1)
        return kGreetingNationalDay;
    return weekday == kFriday || weekday == kSaturday ? kGreetingWeekend : nullptr;
}

TEST(Greeting, EveryDayOfSeveralYears)
{
    for (int year : {2027, 2028}) {
        int weekendDays = 0;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysIn(year, month); ++day) {
                const int weekday = Weekday(year, month, day);
                const GreetingChoice g = SelectGreetingForDate(month, day, weekday);
                const char* expected = ExpectedGreeting(month, day, weekday);
                EXPECT_EQ(expected, g.text) << year << "-" << month << "-" << day;
                // Every greeting shows the splash except May Day's.
                EXPECT_EQ(expected != nullptr && expected != kGreetingMayDay, g.splash)
                    << year << "-" << month << "-" << day;
                if (g.text == kGreetingWeekend)
                    ++weekendDays;
            }
        }
        // Fridays and Saturdays outside May and December, less the holidays among them.
        EXPECT_GT(weekendDays, 80) << year;
        EXPECT_LT(weekendDays, 90) << year;
    }
}

TEST(Greeting, DaysThatDecideBetweenRules)
{
    const struct {
        const char* name;
        int year, month, day;
        const char* text;
        bool splash;
    } cases[] = {
        {"May Day, no splash", 2027, 5, 1, kGreetingMayDay, false},
        {"2 May on a Friday", 2025, 5, 2, nullptr, false},
        {"a Friday in May", 2027, 5, 7, nullptr, false},
        {"a Saturday in May", 2027, 5, 8, nullptr, false},
        {"a Friday in early December", 2027, 12, 3, nullptr, false},
        {"19 December on a Sunday", 2027, 12, 19, nullptr, false},
        {"20 December", 2027, 12, 20, kGreetingChristmas, true},
        {"25 December on a Saturday", 2027, 12, 25, kGreetingChristmas, true},
        {"26 December", 2027, 12, 26, kGreetingNewYear, true},
        {"31 December on a Friday", 2027, 12, 31, kGreetingNewYear, true},
        {"1 January on a Friday", 2027, 1, 1, kGreetingNewYear, true},
        {"1 January on a Saturday", 2022, 1, 1, kGreetingNewYear, true},
        {"2 January on a Saturday", 2027, 1, 2, kGreetingWeekend, true},
        {"2 January on a Saturday", 2021, 1, 2, kGreetingWeekend, true},
        {"3 January on a Sunday", 2027, 1, 3, nullptr, false},
        {"14 February on a Sunday", 2027, 2, 14, kGreetingValentine, true},
        {"1 October on a Friday", 2027, 10, 1, kGreetingNationalDay, true},
        {"a Friday in March", 2027, 3, 5, kGreetingWeekend, true},
        {"a Saturday in March", 2027, 3, 6, kGreetingWeekend, true},
        {"a Sunday in March", 2027, 3, 7, nullptr, false},
        {"a Thursday in November", 2027, 11, 4, nullptr, false},
    };
    for (const auto& c : cases) {
        const GreetingChoice g = On(c.year, c.month, c.day);
        EXPECT_EQ(c.text, g.text) << c.name;
        EXPECT_EQ(c.splash, g.splash) << c.name;
    }
}

TEST(Greeting, NoDateGivesNoGreeting)
{
    // A clock that could not be read gives month, day and weekday 0.
    const GreetingChoice g = SelectGreetingForDate(0, 0, 0);
    EXPECT_EQ(nullptr, g.text);
    EXPECT_FALSE(g.splash);
    EXPECT_EQ(nullptr, SelectGreetingForDate(12, 0, kFriday).text);
    EXPECT_EQ(nullptr, SelectGreetingForDate(12, 32, kSaturday).text);
}

}  // namespace
