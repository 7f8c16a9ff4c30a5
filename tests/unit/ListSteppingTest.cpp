// What follows an item's stop: every repeat mode with and without a back request, over the places
// the list position can stand.
#include <gtest/gtest.h>

#include "playback/logic/Transport.h"
#include "wmp/logic/ListStepping.h"

namespace {

const ListPlace kEmpty = {true, false, false, false};
const ListPlace kNull = {false, false, false, false};      // list rebuilt or ran out
const ListPlace kFirst = {false, true, true, false};
const ListPlace kMiddle = {false, true, false, false};
const ListPlace kLast = {false, true, false, true};
const ListPlace kOnly = {false, true, true, true};          // a list of one entry

struct Case {
    const char* what;
    int mode;
    bool back;
    ListPlace place;
    StepAction action;
    bool repeatOnceUsed;
};

TEST(ListStepping, EachModeAndBackRequestChoosesWhatFollows)
{
    using A = StepAction;
    const Case cases[] = {
        {"play through: the next entry", kRepeatNone, false, kFirst, A::PlayNext, false},
        {"play through: past the last, Songs Over", kRepeatNone, false, kLast, A::SongsOver, false},
        {"play through, one entry: Songs Over", kRepeatNone, false, kOnly, A::SongsOver, false},
        {"play through, empty list: nothing", kRepeatNone, false, kEmpty, A::Nothing, false},
        {"play through, null position: nothing", kRepeatNone, false, kNull, A::Nothing, false},
        {"repeat list: the next entry", kRepeatList, false, kMiddle, A::PlayNext, false},
        {"repeat list: after the last, the first", kRepeatList, false, kLast, A::PlayFirst, false},
        {"repeat list, one entry: itself from the head", kRepeatList, false, kOnly, A::PlayFirst, false},
        {"repeat list, empty list: the current path", kRepeatList, false, kEmpty, A::ReplayCurrent, false},
        {"repeat list, null position: nothing", kRepeatList, false, kNull, A::Nothing, false},
        {"repeat once: the same item", kRepeatCurrentOnce, false, kMiddle, A::ReplayCurrent, true},
        {"repeat once at the end of the list", kRepeatCurrentOnce, false, kLast, A::ReplayCurrent, true},
        {"repeat once, empty list", kRepeatCurrentOnce, false, kEmpty, A::ReplayCurrent, true},
        {"repeat once, null position", kRepeatCurrentOnce, false, kNull, A::ReplayCurrent, true},
        {"back: the previous entry", kRepeatNone, true, kMiddle, A::PlayPrevious, false},
        {"back from the last", kRepeatList, true, kLast, A::PlayPrevious, false},
        {"back on the first, play through: the last", kRepeatNone, true, kFirst, A::PlayLast, false},
        {"back on the first, repeat list: the last", kRepeatList, true, kFirst, A::PlayLast, false},
        {"back on the first, repeat once armed: the last", kRepeatCurrentOnce, true, kFirst, A::PlayLast, false},
        {"back, one entry: itself as the last", kRepeatNone, true, kOnly, A::PlayLast, false},
        {"back, empty list, repeat list: the current path", kRepeatList, true, kEmpty, A::ReplayCurrent, false},
        {"back, empty list, play through: nothing", kRepeatNone, true, kEmpty, A::Nothing, false},
        {"back, empty list, repeat once: nothing", kRepeatCurrentOnce, true, kEmpty, A::Nothing, false},
        {"back, null position: nothing", kRepeatList, true, kNull, A::Nothing, false},
    };
    for (const Case& c : cases) {
        const StepDecision step = DecideStep(c.mode, c.back, c.place);
        EXPECT_EQ(step.action, c.action) << c.what;
        EXPECT_EQ(step.backUsed, c.back) << c.what << ": a back request is always used up";
        EXPECT_EQ(step.repeatOnceUsed, c.repeatOnceUsed) << c.what;
    }
}

}  // namespace
