// The ticker's message file: any bytes give a text within the file's first 4096 bytes, and the
// segments shown tick after tick lie inside that text, each ended by a marker of the text, until
// the walk starts over. An index from elsewhere never reads outside the text either.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "framework/logic/Dbcs.h"
#include "ticker/logic/TickerText.h"

namespace {

const std::size_t kMarkerBytes = 2;

void CheckLoaded(const char* bytes, std::size_t count, const std::string& text)
{
    FUZZ_CHECK(text.size() <= kTickerTextLimit);
    FUZZ_CHECK(text.size() <= count);
    FUZZ_CHECK(text.compare(0, text.size(), bytes, text.size()) == 0);
    FUZZ_CHECK(text.find('\0') == std::string::npos);
    // It ends at a NUL byte, at byte 4096 or at the end of the file, whichever comes first.
    if (text.size() < count && text.size() < kTickerTextLimit)
        FUZZ_CHECK(bytes[text.size()] == '\0');
}

// One walk from the start: every segment is the text between where the last marker left off and
// the next marker, and the walk is back at the start after at most one tick per marker and one.
void CheckWalk(const std::string& text)
{
    int segmentEnd = 0;
    const std::size_t bound = text.size() / kMarkerBytes + 2;
    std::size_t ticks = 0;
    do {
        const int previous = segmentEnd;
        const std::size_t start = previous == 0 ? 0 : static_cast<std::size_t>(previous) + kMarkerBytes;
        const std::string shown = NextTickerSegment(text, segmentEnd);
        FUZZ_CHECK(start <= text.size());
        FUZZ_CHECK(text.compare(start, shown.size(), shown) == 0);
        if (segmentEnd == 0) {
            FUZZ_CHECK(shown.size() == text.size() - start);
        } else {
            FUZZ_CHECK(segmentEnd > previous);
            FUZZ_CHECK(static_cast<std::size_t>(segmentEnd) == start + shown.size());
            FUZZ_CHECK(text.compare(static_cast<std::size_t>(segmentEnd), kMarkerBytes, kTickerMarker) == 0);
            FUZZ_CHECK(DbcsPrefixLength(text, static_cast<std::size_t>(segmentEnd)) ==
                       static_cast<std::size_t>(segmentEnd));
            FUZZ_CHECK(!shown.empty());
        }
        FUZZ_CHECK(++ticks <= bound);
    } while (segmentEnd != 0);
}

// A stray index (the member is a plain integer): the segment is still a part of the text.
void CheckStrayIndex(const std::string& text, int segmentEnd)
{
    const int previous = segmentEnd;
    const std::string shown = NextTickerSegment(text, segmentEnd);
    if (previous < 0 || (previous > 0 && static_cast<std::size_t>(previous) + kMarkerBytes > text.size())) {
        FUZZ_CHECK(shown.empty());
        FUZZ_CHECK(segmentEnd == 0);
        return;
    }
    const std::size_t start = previous == 0 ? 0 : static_cast<std::size_t>(previous) + kMarkerBytes;
    FUZZ_CHECK(text.compare(start, shown.size(), shown) == 0);
    if (segmentEnd != 0) {
        FUZZ_CHECK(static_cast<std::size_t>(segmentEnd) == start + shown.size());
        FUZZ_CHECK(text.compare(static_cast<std::size_t>(segmentEnd), kMarkerBytes, kTickerMarker) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string text = LoadTickerText(bytes, size);
    CheckLoaded(bytes, size, text);
    CheckWalk(text);
    FUZZ_CHECK(LoadTickerText(nullptr, size).empty());

    // The same bytes once more as a text of any length, with an index taken from its head.
    FuzzedDataProvider input(data, size);
    const int stray = input.ConsumeIntegralInRange<int>(INT_MIN, INT_MAX);
    const std::vector<char> rest = input.ConsumeRemainingBytes<char>();
    const std::string whole(rest.begin(), rest.end());
    CheckStrayIndex(whole, stray);
    CheckStrayIndex(whole, static_cast<int>(whole.size() % 7));
    return 0;
}
