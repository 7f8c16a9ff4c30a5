// Where the program puts its windows, in pixels: the skin's controls and hit areas in the player,
// the player on the screen, and the ticker and the Windows Media window in their layouts.
#pragma once

#include "res/resource.h"

namespace layout {

// A window's place: its top-left corner and size.
struct Place {
    int x, y, cx, cy;
};
// A rectangle by its edges (right and bottom outside, as for PtInRect).
struct Edges {
    int left, top, right, bottom;
};

// The skin's controls in the player's client area, in the order they are moved.
struct SkinControl {
    int id;
    Place place;
};
constexpr SkinControl kSkinControls[] = {
    {IDC_STATUS, {160, 181, 180, 31}},          {IDC_SKIN_QUON, {153, 214, 21, 13}},
    {IDC_SKIN_EQ, {250, 212, 22, 14}},          {IDC_SKIN_MODE, {273, 212, 25, 14}},
    {IDC_SKIN_MUSIC, {299, 212, 25, 14}},       {IDC_SKIN_REPEAT_ONE, {340, 181, 22, 13}},
    {IDC_SKIN_REPEAT_LIST, {340, 200, 22, 13}},
};

// The knob's parts, hit-tested by the clicks (client coordinates).
constexpr Edges kKnobVolumeUp = {385, 171, 400, 184};
constexpr Edges kKnobVolumeDown = {385, 213, 400, 223};
constexpr Edges kKnobNext = {367, 191, 376, 206};   // the left side
constexpr Edges kKnobBack = {408, 191, 421, 205};   // the right side
constexpr Edges kKnobCentre = {385, 192, 403, 205};

// On a screen at least this wide the player sits at its bottom right, this far from the screen's
// right and bottom edges; on a narrower one it stays centred at its template size.
constexpr int kWideScreen = 1024;
constexpr int kPlayerFromRight = 444;
constexpr int kPlayerFromBottom = 288;
constexpr int kPlayerWidth = 450;
constexpr int kPlayerHeight = 250;

// The ticker strip, from the player window's top-left corner.
constexpr Place kTickerFromPlayer = {150, 155, 236, 20};

// The Windows Media window's normal layout, from the player window's top-left corner (above it).
constexpr Place kVideoFromPlayer = {130, -70, 310, 250};
// Its compact layout near the screen's bottom right: this far from the right and bottom edges,
// with the control inset in it.
constexpr int kCompactFromRight = 264;
constexpr int kCompactFromBottom = 148;
constexpr int kCompactWidth = 160;
constexpr int kCompactHeight = 120;
constexpr Place kCompactControl = {2, 2, 156, 116};
// Where the tray's "操控主界面" puts it back, captioned again.
constexpr Place kVideoRestored = {400, 300, 320, 220};

}  // namespace layout
