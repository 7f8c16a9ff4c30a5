// The credits banner: four frames in a one-second cycle.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/logic/Banner.h"

namespace {

TEST(Banner, TextsAreTheProgramsOwn)
{
    EXPECT_STREQ("Quon 音乐播放 ", kBannerTitle);
    EXPECT_EQ(14u, std::strlen(kBannerTitle));  // GBK: four double-byte characters
    EXPECT_STREQ("献给我的朋友!", kBannerDedication);
    EXPECT_EQ(13u, std::strlen(kBannerDedication));
    EXPECT_STREQ("By Tobrick", kBannerCredit);
}

TEST(Banner, FramesByStep)
{
    const struct {
        int step;
        const char* text;
        int x;
        int y;
    } cases[] = {
        {0, kBannerTitle, 50, 48},
        {1, kBannerDedication, 150, 30},
        {2, kBannerTitle, 230, 50},
        {3, kBannerCredit, 150, 40},
        {4, kBannerTitle, 50, 48},      // out of range steps wrap
        {-1, kBannerCredit, 150, 40},
    };
    for (const auto& c : cases) {
        const BannerFrame f = BannerFrameForStep(c.step);
        EXPECT_EQ(c.text, f.text) << c.step;
        EXPECT_EQ(c.x, f.x) << c.step;
        EXPECT_EQ(c.y, f.y) << c.step;
    }
}

TEST(Banner, CyclesThroughFourSteps)
{
    std::vector<int> seen;
    int step = 0;
    for (int i = 0; i < 9; ++i)
        seen.push_back(step = NextBannerStep(step));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1}), seen);
    EXPECT_EQ(0, NextBannerStep(7));
    EXPECT_EQ(0, NextBannerStep(-1));
}

}  // namespace
