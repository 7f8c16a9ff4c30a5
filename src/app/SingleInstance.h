// One running player: a second start hands its files to the running one and ends.
#pragma once

#include <string>
#include <vector>

// Finds the running player and hands it the files (full paths; none: bring it back from the tray).
// True when it took them, or will once it is free again: this process then ends without a window.
// False when no player runs; this process then becomes the one that later starts find.
bool HandOverToRunningPlayer(const std::vector<std::wstring>& files);

// This process's player has closed: later starts begin a player of their own.
void CloseInstanceWindow();
