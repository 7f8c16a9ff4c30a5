// The status line's shortening: any text ends within the line, as one stretch of the original that
// starts and ends between characters, and a second pass (the line is redrawn ten times a second,
// shortening in place each time) changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "framework/logic/Dbcs.h"
#include "player/logic/StatusText.h"

namespace {

const std::size_t kLineBytes = 20;
const std::size_t kKeptWhole = 18; // shorter texts are never touched
const std::size_t kLongestInput = 4096;

bool IsBoundary(const std::string& s, std::size_t at)
{
    return DbcsPrefixLength(s, at) == at;
}

// Whether shown is original[at, at + n) for some at with both ends on character boundaries.
bool IsWholeCharacterStretch(const std::string& original, const std::string& shown)
{
    for (std::size_t at = 0; at + shown.size() <= original.size(); ++at) {
        if (IsBoundary(original, at) && IsBoundary(original, at + shown.size()) &&
            original.compare(at, shown.size(), shown) == 0)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kLongestInput)
        return 0;
    const std::string original(reinterpret_cast<const char*>(data), size);
    std::string shown = original;
    ShortenStatusText(shown);

    FUZZ_CHECK(shown.size() <= kLineBytes);
    if (original.size() < kKeptWhole)
        FUZZ_CHECK(shown == original);
    FUZZ_CHECK(IsWholeCharacterStretch(original, shown));
    // Folder parts stay only in a text short enough to keep them.
    if (FindCharDbcs(shown, '\\') != std::string::npos)
        FUZZ_CHECK(shown.size() < kKeptWhole);
    // A name that already fits keeps its extension.
    if (original.size() < kLineBytes && FindCharDbcs(original, '\\') == std::string::npos)
        FUZZ_CHECK(shown == original);

    std::string again = shown;
    ShortenStatusText(again);
    FUZZ_CHECK(again == shown);
    return 0;
}
