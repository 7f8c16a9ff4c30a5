// The ticker's message text and its segments.
#include "ticker/logic/TickerText.h"

#include <algorithm>
#include <cstring>

#include "framework/logic/Dbcs.h"

const char kTickerMarker[] = "**";

namespace {

constexpr std::string::size_type kMarkerBytes = 2;

}  // namespace

std::string LoadTickerText(const char* bytes, std::size_t count)
{
    if (bytes == nullptr)
        return std::string();
    const std::size_t limit = std::min(count, kTickerTextLimit);
    const void* nul = std::memchr(bytes, '\0', limit);
    const std::size_t used = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes)
                                 : limit;
    return std::string(bytes, used);
}

std::string NextTickerSegment(const std::string& text, int& segmentEnd)
{
    const std::string::size_type previous =
        segmentEnd > 0 ? static_cast<std::string::size_type>(segmentEnd) : 0;
    std::string s = text;
    if (segmentEnd != 0) {
        // Skip the previous segment and its marker. An index that cannot be a marker of this
        // text gives an empty segment, and the next tick starts over.
        if (segmentEnd < 0 || previous + kMarkerBytes > s.size()) {
            segmentEnd = 0;
            return std::string();
        }
        s.erase(0, previous + kMarkerBytes);
    }

    const std::string::size_type k = FindStringDbcs(s, kTickerMarker);
    if (k != std::string::npos && k > 0) {
        s.erase(k);
        // The index of that marker in the whole text.
        segmentEnd = static_cast<int>(previous == 0 ? k : previous + kMarkerBytes + k);
    } else {
        // No marker left, or the rest starts with one: show the rest whole and start over.
        segmentEnd = 0;
    }
    return s;
}
