// The date greeting: which text, if any, the player greets with, and whether a splash shows.
#pragma once

extern const char kGreetingMayDay[];
extern const char kGreetingNewYear[];
extern const char kGreetingChristmas[];
extern const char kGreetingValentine[];
extern const char kGreetingNationalDay[];
extern const char kGreetingWeekend[];

struct GreetingChoice {
    const char* text;  // nullptr when the day has no greeting
    bool splash;       // show the splash window for this greeting
};

// The greeting for a local date: month 1..12, day 1..31, weekday 1 Sunday .. 7 Saturday.
// Any value out of range (e.g. 0 for a failed clock reading) just matches no rule.
GreetingChoice SelectGreetingForDate(int month, int day, int weekday);
