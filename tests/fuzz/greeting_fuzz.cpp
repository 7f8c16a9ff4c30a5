// The date greeting for any month, day and weekday, the failed clock reading's zeros included:
// one of the six greetings or none, a splash only with a greeting, and May never shows one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "player/logic/Greeting.h"

namespace {

bool IsOneOfTheGreetings(const char* text)
{
    const char* const greetings[] = {kGreetingMayDay,    kGreetingNewYear,     kGreetingChristmas,
                                     kGreetingValentine, kGreetingNationalDay, kGreetingWeekend};
    for (const char* g : greetings) {
        if (text == g)
            return true;
    }
    return false;
}

bool IsWeekend(int weekday)
{
    return weekday == 6 || weekday == 7;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int month = input.ConsumeIntegral<int>();
    const int day = input.ConsumeIntegral<int>();
    const int weekday = input.ConsumeIntegral<int>();
    const GreetingChoice choice = SelectGreetingForDate(month, day, weekday);

    FUZZ_CHECK(choice.text == nullptr || IsOneOfTheGreetings(choice.text));
    if (choice.text == nullptr)
        FUZZ_CHECK(!choice.splash);
    else
        FUZZ_CHECK(choice.splash == (choice.text != kGreetingMayDay));
    if (month == 5)
        FUZZ_CHECK(choice.text == (day == 1 ? kGreetingMayDay : nullptr));
    const bool dated = (month == 12 && day >= 20 && day <= 31) || (month == 1 && day == 1) ||
                       (month == 2 && day == 14) || (month == 10 && day == 1) || (month == 5 && day == 1);
    if (!dated && month != 5 && month != 12)
        FUZZ_CHECK((choice.text == kGreetingWeekend) == IsWeekend(weekday));
    if (!dated && !IsWeekend(weekday))
        FUZZ_CHECK(choice.text == nullptr);
    // The greeting is drawn as a text: it ends where its bytes end.
    if (choice.text)
        FUZZ_CHECK(std::strlen(choice.text) > 0);
    return 0;
}
