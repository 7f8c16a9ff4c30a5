// The tray menu's labels and greyed entries, worked out from the player's state at every opening.
#pragma once

#include <windows.h>

struct TrayMenuState {
    bool tickerShown = false;
    bool translucent = false;
    bool playerVisible = true;
    bool videoVisible = false;
    bool playListEmpty = true;
    bool noCurrentPath = true;
    bool translucencySupported = true;
};

// Version 5.2 or later of the NT family.
bool SystemSupportsTranslucency();
// Relabels and greys the entries of a fresh copy of the tray submenu.
void UpdateTrayMenu(HMENU menu, const TrayMenuState& state);
