// The player control's private window messages, timers and timings, shared by its source files.
#pragma once

#include <windows.h>

// From the media thread and the sound output to the control's window (wParam: the item or run):
// an item's open is done (its ticket tells how it went); an item that plays by itself ended
// (lParam TRUE: it failed on the way); a run's last sample was decoded; a run's last sample was
// handed to the sound device (lParam TRUE: the device failed and the run is lost).
// Then the delivery of queued PlayStateChange reports.
constexpr UINT kMsgItemOpened = WM_APP + 0x10;
constexpr UINT kMsgItemEnded = WM_APP + 0x11;
constexpr UINT kMsgRunDecoded = WM_APP + 0x12;
constexpr UINT kMsgRunHandedOver = WM_APP + 0x13;
constexpr UINT kMsgFireReports = WM_APP + 0x14;

constexpr UINT_PTR kTickTimer = 2; // while playing: the bar's position
// A medium with a sound renderer of its own waits for the control's output to fall silent.
constexpr UINT_PTR kWaitOutputTimer = 3;
constexpr UINT kTickMs = 250;
constexpr UINT kWaitOutputMs = 10;
// The longest a medium waits for the output to fall silent before it starts anyway.
constexpr DWORD kWaitOutputLongestMs = 2000;
// The longest the host's question for the picture waits for the open of a medium that may have
// one (sound-only files are told by their first bytes and answered at once).
constexpr DWORD kPictureWaitMs = 3000;
// Beyond the time an open takes, the time its first samples take to reach the output.
constexpr DWORD kOpenMarginMs = 50;
