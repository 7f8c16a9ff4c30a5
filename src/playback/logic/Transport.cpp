// Step rules of the transport.
#include "playback/logic/Transport.h"

#include <algorithm>
#include <limits>

namespace {

// Below this level a volume click moves by a large step, at or above it by a small one.
constexpr int kVolumeFineFrom = -300;
constexpr int kVolumeCoarseStep = 100;
constexpr int kVolumeFineStep = 50;

// Bytes of the scroll window: ten double-byte characters.
constexpr std::string::size_type kScrollWindowBytes = 20;
// One double-byte character per tick.
constexpr int kScrollStep = 2;

} // namespace

int VolumeStepUp(int volume)
{
    if (volume > kVolumeLoudest)
        return kVolumeLoudest;
    const int step = volume < kVolumeFineFrom ? kVolumeCoarseStep : kVolumeFineStep;
    return std::min(volume + step, kVolumeLoudest);
}

int VolumeStepDown(int volume)
{
    if (volume < kVolumeQuietest)
        return kVolumeQuietest;
    const int step = volume < kVolumeFineFrom ? kVolumeCoarseStep : kVolumeFineStep;
    return std::max(volume - step, kVolumeQuietest);
}

int NextRepeatMode(int mode)
{
    return mode < kRepeatCurrentOnce ? mode + 1 : kRepeatList;
}

const char* WelcomeScrollText()
{
    return "  你好，感谢使用！欢迎提出修改意见！仅以此程序送给我亲爱的朋友！！";
}

int NextScrollOffset(int offset, int length)
{
    // An offset too large to take another step starts over as well (a step must not overflow).
    const bool canStep = offset <= std::numeric_limits<int>::max() - kScrollStep;
    return offset < length && canStep ? offset + kScrollStep : kScrollStep;
}

std::string ScrollWindow(const std::string& text, int offset)
{
    const std::string::size_type skip =
        offset <= 0 ? 0 : std::min<std::string::size_type>(offset, text.size());
    return text.substr(skip, kScrollWindowBytes);
}
