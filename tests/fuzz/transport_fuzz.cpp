// The transport's text and step rules for any input: the scrolled window stays inside its text and
// within the line, offsets and volume steps stay in their ranges, and the video test looks only
// at what follows the path's first dot.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "framework/logic/Dbcs.h"
#include "playback/logic/Transport.h"
#include "playback/logic/VideoFile.h"

namespace {

const std::size_t kScrollWindowBytes = 20;

void CheckScrollWindow(const std::string& text, int offset)
{
    const std::string shown = ScrollWindow(text, offset);
    FUZZ_CHECK(shown.size() <= kScrollWindowBytes);
    const std::size_t skip = offset <= 0 ? 0 : std::min<std::size_t>(offset, text.size());
    FUZZ_CHECK(text.compare(skip, shown.size(), shown) == 0);
    FUZZ_CHECK(shown.size() == std::min(kScrollWindowBytes, text.size() - skip));
}

// The welcome text as the timer scrolls it: every window starts and ends between characters.
void CheckWelcomeScroll()
{
    const std::string text = WelcomeScrollText();
    const int length = static_cast<int>(text.size());
    int offset = 0;
    for (int tick = 0; tick < 2 * length; ++tick) {
        offset = NextScrollOffset(offset, length);
        FUZZ_CHECK(offset >= 2 && offset <= length + 1);
        const std::string shown = ScrollWindow(text, offset);
        const std::size_t at = static_cast<std::size_t>(std::min(offset, length));
        FUZZ_CHECK(DbcsPrefixLength(text, at) == at);
        FUZZ_CHECK(DbcsPrefixLength(text, at + shown.size()) == at + shown.size());
    }
}

void CheckSteps(int volume, int mode, int offset, int length)
{
    const int up = VolumeStepUp(volume);
    const int down = VolumeStepDown(volume);
    FUZZ_CHECK(up <= kVolumeLoudest);
    FUZZ_CHECK(down >= kVolumeQuietest);
    if (volume >= kVolumeQuietest && volume <= kVolumeLoudest) {
        FUZZ_CHECK(up >= volume && up - volume <= 100);
        FUZZ_CHECK(down <= volume && volume - down <= 100);
        FUZZ_CHECK(up >= kVolumeQuietest && down <= kVolumeLoudest);
    }
    // The mode button cycles 1, 2, 0 from any of the three modes.
    if (mode >= kRepeatList && mode <= kRepeatCurrentOnce)
        FUZZ_CHECK(NextRepeatMode(mode) == (mode + 1) % 3);
    const int scrolled = NextScrollOffset(offset, length);
    FUZZ_CHECK(scrolled == 2 || (scrolled > offset && scrolled - offset == 2));
}

void CheckVideoFile(const std::string& path)
{
    const bool video = IsVideoFile(path);
    // Whatever stands before the first dot does not count, only what follows it.
    const std::size_t dot = FindCharDbcs(path, '.');
    if (dot != std::string::npos && dot >= 1)
        FUZZ_CHECK(video == IsVideoFile("x" + path.substr(dot)));
    if (dot == std::string::npos)
        FUZZ_CHECK(!video);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool welcomeChecked = (CheckWelcomeScroll(), true);
    (void)welcomeChecked;

    FuzzedDataProvider input(data, size);
    const int offset = input.ConsumeIntegral<int>();
    const int volume = input.ConsumeIntegral<int>();
    const int mode = input.ConsumeIntegral<int>();
    const int length = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRandomLengthString(600);
    CheckScrollWindow(text, offset);
    CheckSteps(volume, mode, offset, length);
    CheckVideoFile(text);
    return 0;
}
