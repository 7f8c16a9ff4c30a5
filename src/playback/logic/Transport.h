// Step rules of the transport: volume steps, repeat-mode cycle and the scrolled welcome text.
#pragma once

#include <string>

// Volume levels of the media control: 0 is the loudest, -1000 the quietest the knob reaches.
constexpr int kVolumeLoudest = 0;
constexpr int kVolumeQuietest = -1000;
constexpr int kVolumeAtStart = -600;

// One click on the knob's plus or minus: steps of 100 below -300, of 50 above, within limits.
int VolumeStepUp(int volume);
int VolumeStepDown(int volume);

// Repeat modes: 0 repeat the list, 1 play the list once, 2 repeat the current item once.
constexpr int kRepeatList = 0;
constexpr int kRepeatNone = 1;
constexpr int kRepeatCurrentOnce = 2;

// The mode after one click on the mode button: 1, 2, 0, 1, ...
int NextRepeatMode(int mode);

// The 66-byte welcome text that scrolls through the status line: two spaces, then 32
// double-byte characters.
const char* WelcomeScrollText();

// The scroll offset after one tick: two bytes (one character) further while below length,
// otherwise back to 2.
int NextScrollOffset(int offset, int length);

// The text shown at a scroll offset: text without its first offset bytes, at most 20 bytes.
// The cut at byte 20 is blind on purpose: the welcome text's offsets are even, so it always
// falls between two double-byte characters (ten of them).
std::string ScrollWindow(const std::string& text, int offset);
