// The ticker's message text: loading it from the file's bytes and stepping through its segments.
#pragma once

#include <cstddef>
#include <string>

// Only this many bytes of the message file are used.
constexpr std::size_t kTickerTextLimit = 4096;

// Two bytes that separate the message's segments.
extern const char kTickerMarker[];  // "**"

// The message text from the file's bytes: at most the first 4096, ended early by a NUL byte.
std::string LoadTickerText(const char* bytes, std::size_t count);

// The next segment to draw. segmentEnd is the byte index in text of the marker that ended the
// last segment shown (0: start at the beginning) and is updated. A text that starts with the
// marker, or has none, is shown whole every time; a marker at the very end gives one empty
// segment before the text starts over; a segmentEnd that does not fit the text restarts it.
std::string NextTickerSegment(const std::string& text, int& segmentEnd);
