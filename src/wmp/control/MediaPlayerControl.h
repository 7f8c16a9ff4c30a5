// The media player control: a child window class that plays one medium at a time through
// DirectShow and is driven by dispatch calls (see framework/Dispatch.h).
#pragma once

#include <windows.h>

// Registers the control's window class (QUON_PLAYER_CONTROL_CLASS) once per process; later calls
// only report success. Returns false when the class cannot be registered.
bool RegisterMediaPlayerControl(HINSTANCE instance);

// Sent to the control (no parameters), this registered message is answered with the number of
// times its sound output ran dry in the middle of a medium, for the benches and tests.
UINT SoundUnderrunsMessageId();

// The control's dispatch operations.
enum MediaPlayerDispid : LONG {
    kDispidVolume = 19,            // get/put VT_I4: hundredths of a decibel, 0 loudest, -10000 silent
    kDispidNaturalSize = 23,       // get/put VT_BOOL: show the picture at its own size, not stretched
    kDispidFileName = 1026,        // get/put VT_BSTR: the medium to play
    kDispidNoPicture = 1065,       // get VT_BOOL: the current medium shows no picture
    kDispidPlay = 2001,            // method
    kDispidStop = 2003,            // method
    kDispidPlayStateChange = 3012, // event: VT_I4 old state, VT_I4 new state
};

// Play states carried by the PlayStateChange event.
enum MediaPlayState : LONG {
    kPlayStateStopped = 0,
    kPlayStatePaused = 1,
    kPlayStatePlaying = 2,
};
