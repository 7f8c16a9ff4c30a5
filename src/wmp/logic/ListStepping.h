// What the Windows Media window plays when an item stops: the step rules of the play list by the
// repeat mode and the back request, apart from the list itself.
#pragma once

// Where the list position stands when the stop report arrives.
struct ListPlace {
    bool listEmpty = false;
    bool hasPosition = false;  // false when the position is null (none taken, ran out, list rebuilt)
    bool isFirst = false;      // the position is the list's first entry
    bool isLast = false;       // the position is the list's last entry
};

enum class StepAction {
    Nothing,        // nothing follows; the state stays as it is
    ReplayCurrent,  // the current path once more (the position does not move)
    PlayPrevious,   // the entry before the position
    PlayNext,       // the entry after the position
    PlayLast,       // back from the first entry: the last one
    PlayFirst,      // on from the last entry in repeat-list mode: the first one
    SongsOver,      // the play-through ran past the last entry: the list has ended
};

struct StepDecision {
    StepAction action = StepAction::Nothing;
    bool backUsed = false;        // the back request was taken: it is cleared
    bool repeatOnceUsed = false;  // the one-time repeat was taken: the mode falls back to play-through
};

// The step after an item stopped on its own or by next/back (repeat modes as in
// playback/logic/Transport.h: 0 repeat the list, 1 play through, 2 repeat the current item once).
// The one-time repeat replays the item whatever the list holds; a back request goes one entry back,
// wrapping from the first to the last in every mode.
StepDecision DecideStep(int repeatMode, bool backPressed, const ListPlace& place);
