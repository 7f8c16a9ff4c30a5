// The date greeting rules.
#include "player/logic/Greeting.h"

const char kGreetingMayDay[] = "五一节快乐！！   -----Osk";
const char kGreetingNewYear[] = "元旦快乐！！！   -----Osk";
const char kGreetingChristmas[] = "圣诞快乐！！！   -----Osk";
const char kGreetingValentine[] = "情人节快乐！！   -----Osk";
const char kGreetingNationalDay[] = "国庆节快乐！！   -----Osk";
const char kGreetingWeekend[] = "周末快乐！！   ------Quon";

namespace {

constexpr int kFriday = 6;
constexpr int kSaturday = 7;

}  // namespace

GreetingChoice SelectGreetingForDate(int month, int day, int weekday)
{
    // May and December are decided by their own rows and never reach the weekend rule.
    if (month == 5)
        return {day == 1 ? kGreetingMayDay : nullptr, false};
    if (month == 12) {
        if (day >= 26 && day <= 31)
            return {kGreetingNewYear, true};
        if (day >= 20 && day <= 25)
            return {kGreetingChristmas, true};
        return {nullptr, false};  // 1 to 19 December
    }
    if (month == 1 && day == 1)
        return {kGreetingNewYear, true};
    if (month == 2 && day == 14)
        return {kGreetingValentine, true};
    if (month == 10 && day == 1)
        return {kGreetingNationalDay, true};
    if (weekday == kFriday || weekday == kSaturday)
        return {kGreetingWeekend, true};
    return {nullptr, false};
}
