// Files from outside waiting for the player window: the command line's, another start's and the
// player's own pickup of them once it is ready.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Posted to the player window: play the files waiting in IncomingFiles (no arguments).
constexpr UINT WM_PLAY_INCOMING = WM_APP + 0x20;

// Adds full paths to the waiting files and, when a player window is ready, asks it to play them.
void QueueIncomingFiles(const std::vector<std::wstring>& paths);
// Hands out the waiting files, in the order they came, and forgets them.
std::vector<std::wstring> TakeIncomingFiles();
bool HasIncomingFiles();

// The player window that takes files from outside; null while there is none (still
// initialising, or closed).
void SetIncomingTarget(HWND player);
HWND IncomingTarget();
// Brings the ready player window back from the tray, as the tray menu's "操控主界面" does.
void ShowIncomingTarget();
