// The step rules of the Windows Media window's play list.
#include "wmp/logic/ListStepping.h"

#include "playback/logic/Transport.h"

namespace {

StepDecision Decide(StepAction action)
{
    StepDecision decision;
    decision.action = action;
    return decision;
}

}  // namespace

StepDecision DecideStep(int repeatMode, bool backPressed, const ListPlace& place)
{
    if (backPressed) {
        StepDecision decision;
        decision.backUsed = true;
        if (place.listEmpty)
            decision.action = repeatMode == kRepeatList ? StepAction::ReplayCurrent : StepAction::Nothing;
        else if (place.hasPosition)
            decision.action = place.isFirst ? StepAction::PlayLast : StepAction::PlayPrevious;
        return decision;
    }
    if (repeatMode == kRepeatCurrentOnce) {
        StepDecision decision = Decide(StepAction::ReplayCurrent);
        decision.repeatOnceUsed = true;
        return decision;
    }
    // With an empty list only the current path is left: repeat-list mode plays it again.
    if (place.listEmpty)
        return Decide(repeatMode == kRepeatList ? StepAction::ReplayCurrent : StepAction::Nothing);
    if (!place.hasPosition)
        return Decide(StepAction::Nothing);
    if (!place.isLast)
        return Decide(StepAction::PlayNext);
    return Decide(repeatMode == kRepeatList ? StepAction::PlayFirst : StepAction::SongsOver);
}
