// Driver helpers for the tray, splash and ticker scenarios: a faked date, the program's popup
// windows, the ticker's message file in the prefix, and pictures of parts of the screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "E2eSupport.h"

// The real program started with its clock faked to a local date and time by libfaketime.
// A Windows process hands the Linux side of a new Windows process its own Unix environment, not
// the Windows one, so the program is started through /usr/bin/env with the preload set, as a new
// process of the session's Wine; the driver then finds it by name and opens it to wait on it.
// The splash: a visible dialog window of the program at the screen's top-left corner, larger than
// the ticker strip, with no controls.
HWND FindSplash(const QuonProcess& quon);
// The visible popup menu window ("#32768") of the program.
HWND FindPopupMenu(const QuonProcess& quon);

// The ticker's message file quon.ast in the prefix's shared Common Files folder, written for one
// scenario; the file, and any folder made for it, are removed when this object ends.
class MessageFile {
public:
    explicit MessageFile(const std::string& bytes);
    ~MessageFile();
    MessageFile(const MessageFile&) = delete;
    MessageFile& operator=(const MessageFile&) = delete;

    bool Written() const { return m_written; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::vector<std::string> m_madeFolders;  // deepest last
    bool m_written = false;
};

// The pixels of one screen rectangle.
struct Frame {
    RECT area{};
    std::vector<COLORREF> pixels;
    bool operator==(const Frame& other) const { return pixels == other.pixels; }
    bool operator!=(const Frame& other) const { return !(*this == other); }
};
Frame Capture(const Screenshot& shot, const RECT& area);
// Writes a frame as a 24-bit BMP into the artifacts folder; returns its path.
std::string SaveFrame(const Frame& frame, const std::string& name);
