// The slim bar at the bottom of the player control: the current medium's position and length.
#pragma once

#include <windows.h>

#include <string>

// Height of the bar in pixels.
constexpr int kControlBarHeight = 20;

// "m:ss" (or "h:mm:ss" from an hour on) for a time in milliseconds; "--:--" when negative.
std::string FormatPlayTime(long long milliseconds);

// Paints the bar into rect: a tracker filled up to the position, then "elapsed / total".
// durationMs 0 means no medium, or one whose length is unknown.
void DrawControlBar(HDC dc, const RECT& rect, long long positionMs, long long durationMs,
                    COLORREF textColour);
