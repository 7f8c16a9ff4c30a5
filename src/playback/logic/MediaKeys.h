// The keyboard's media keys: what each asks of the player, by application command or key code.
#pragma once

enum class MediaKey {
    None,
    PlayPause, // as the knob's centre
    Stop,
    Next,     // as the knob's left part
    Previous, // as the knob's right part
};

// The application command of WM_APPCOMMAND (its GET_APPCOMMAND_LPARAM value).
MediaKey MediaKeyForAppCommand(int command);
// A virtual-key code; only the four transport keys count (never the volume keys).
MediaKey MediaKeyForVirtualKey(unsigned key);

// The virtual-key codes registered as hot keys, in the order they are registered.
constexpr unsigned kMediaHotKeyCodes[] = {0xB3 /* play/pause */, 0xB2 /* stop */, 0xB0 /* next track */,
                                          0xB1 /* previous track */};
