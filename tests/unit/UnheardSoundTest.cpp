// The unscaled copy of a device's sound: what a reset at the device's position gives back to be
// written again.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "wmp/logic/UnheardSound.h"

namespace {

// Frames numbered from first, two bytes each (the number's low byte twice).
std::vector<std::uint8_t> Frames(int first, int count)
{
    std::vector<std::uint8_t> bytes;
    for (int i = first; i < first + count; ++i)
        bytes.insert(bytes.end(), 2, static_cast<std::uint8_t>(i));
    return bytes;
}

} // namespace

TEST(UnheardSound, AResetGivesBackWhatTheDeviceHadNotPlayedAndCountsFromThereAnew)
{
    struct Case {
        const char* name;
        int written;   // frames, in writes of 10
        int position;  // where the device was reset
        int keep;      // frames kept
        int firstBack; // the first frame given back
        int countBack;
    };
    const Case cases[] = {
        {"from the position on", 40, 13, 100, 13, 27},
        {"at the start of a write", 40, 20, 100, 20, 20},
        {"all played", 40, 40, 100, 0, 0},
        {"a position past what was written", 40, 55, 100, 0, 0},
        {"nothing played yet", 40, 0, 100, 0, 40},
        {"only the kept frames", 300, 100, 60, 240, 60},
    };
    for (const Case& c : cases) {
        CUnheardSound sound(2, c.keep);
        for (int first = 0; first < c.written; first += 10) {
            const std::vector<std::uint8_t> bytes = Frames(first, 10);
            sound.Write(bytes.data(), bytes.size());
        }
        EXPECT_EQ(sound.Written(), static_cast<std::uint64_t>(c.written)) << c.name;
        EXPECT_EQ(sound.Rewind(c.position), Frames(c.firstBack, c.countBack)) << c.name;
        EXPECT_EQ(sound.Written(), static_cast<std::uint64_t>(c.countBack)) << c.name << ": counted anew";
        // A second reset counts from the first one's zero, as the device does.
        EXPECT_EQ(sound.Rewind(5), Frames(c.firstBack + 5, c.countBack > 5 ? c.countBack - 5 : 0))
            << c.name << ": reset again";
    }
}
