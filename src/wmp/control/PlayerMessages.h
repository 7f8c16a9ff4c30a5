// The player control's private window messages, timers and timings, shared by its source files.
#pragma once

#include <windows.h>

// The graph's event notification (lParam = the session's cookie), the delivery of queued
// PlayStateChange reports, and the making of a spare sound renderer.
constexpr UINT kMsgGraphNotify = WM_APP + 0x10;
constexpr UINT kMsgFireReports = WM_APP + 0x11;
constexpr UINT kMsgPrepareAudio = WM_APP + 0x12;

constexpr UINT_PTR kEndTimer = 1;    // the last sample of a completed stream is due
constexpr UINT_PTR kTickTimer = 2;   // while playing: the bar's position, and the stall check
constexpr UINT_PTR kDrainTimer = 3;  // finished graphs to release
// Opening the next item's sound device while an item is starting competes with its first
// buffers and can break up its first tenth of a second: the device is prepared later, half-way
// into the item (at most a second in).
constexpr UINT_PTR kPrepareTimer = 4;
constexpr UINT kTickMs = 250;
constexpr UINT kDrainCheckMs = 100;
// A finished graph keeps running this long, so that what its sound renderer still holds for
// the device is played out rather than cut, while the next medium already starts.
constexpr DWORD kDrainMs = 400;
