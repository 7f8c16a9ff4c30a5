// Volume steps, the repeat-mode cycle and the scrolled welcome text.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "framework/logic/Dbcs.h"
#include "playback/logic/Transport.h"

namespace {

TEST(TransportVolume, StepsUpFromTheStartLevelToTheLoudest)
{
    std::vector<int> seen;
    int v = kVolumeAtStart;
    for (int i = 0; i < 12; ++i)
        seen.push_back(v = VolumeStepUp(v));
    const std::vector<int> expected = {-500, -400, -300, -250, -200, -150, -100, -50, 0, 0, 0, 0};
    EXPECT_EQ(expected, seen);
}

TEST(TransportVolume, StepsDownFromTheLoudestToTheQuietest)
{
    std::vector<int> seen;
    int v = kVolumeLoudest;
    for (int i = 0; i < 16; ++i)
        seen.push_back(v = VolumeStepDown(v));
    const std::vector<int> expected = {-50,  -100, -150, -200, -250, -300,  -350,  -450,
                                       -550, -650, -750, -850, -950, -1000, -1000, -1000};
    EXPECT_EQ(expected, seen);
}

TEST(TransportVolume, StepSizeChangesAtMinusThreeHundred)
{
    const struct {
        int from;
        int up;
        int down;
    } cases[] = {
        {-300, -250, -350},
        {-301, -201, -401},
        {-299, -249, -349},
        {-950, -850, -1000},
        {-1000, -900, -1000},
        {0, 0, -50},
        {-40, 0, -90},
        {-1020, -920, -1000},
        // Levels the knob never sets are still brought back within the limits.
        {200, 0, 150},
        {-5000, -4900, -1000},
        {INT_MAX, 0, INT_MAX - 50},
        {INT_MIN, INT_MIN + 100, -1000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.up, VolumeStepUp(c.from)) << c.from;
        EXPECT_EQ(c.down, VolumeStepDown(c.from)) << c.from;
    }
}

TEST(TransportRepeat, CyclesTwoZeroOne)
{
    std::vector<int> seen;
    int mode = kRepeatNone;
    for (int i = 0; i < 6; ++i)
        seen.push_back(mode = NextRepeatMode(mode));
    EXPECT_EQ((std::vector<int>{2, 0, 1, 2, 0, 1}), seen);
}

TEST(TransportScroll, WelcomeTextIsTwoSpacesAndThirtyTwoCharacters)
{
    const std::string text = WelcomeScrollText();
    ASSERT_EQ(66u, text.size());
    EXPECT_EQ("  ", text.substr(0, 2));
    for (std::size_t i = 2; i < text.size(); i += 2)
        EXPECT_TRUE(IsGbkLeadByte(static_cast<unsigned char>(text[i]))) << i;
    EXPECT_EQ("  你好，感谢使用！欢迎提出修改意见！仅以此程序送给我亲爱的朋友！！", text);
}

TEST(TransportScroll, OffsetRunsTwoToSixtySixThenStartsOver)
{
    const int length = static_cast<int>(std::strlen(WelcomeScrollText()));
    std::vector<int> seen;
    int offset = 0;
    for (int i = 0; i < 35; ++i)
        seen.push_back(offset = NextScrollOffset(offset, length));
    std::vector<int> expected;
    for (int o = 2; o <= 66; o += 2)
        expected.push_back(o);
    expected.push_back(2);
    expected.push_back(4);
    EXPECT_EQ(expected, seen);
}

TEST(TransportScroll, WindowsOverOneCycle)
{
    const std::string text = WelcomeScrollText();
    for (int offset = 2; offset <= 66; offset += 2) {
        const std::string window = ScrollWindow(text, offset);
        EXPECT_EQ(text.substr(offset, 20), window) << offset;
        // Starts and ends on character boundaries: whole double-byte characters only.
        EXPECT_EQ(window.size(), DbcsPrefixLength(window, 20)) << offset;
        if (offset < 66) {
            EXPECT_TRUE(IsGbkLeadByte(static_cast<unsigned char>(window[0]))) << offset;
        }
        if (offset < 48) {
            EXPECT_EQ(20u, window.size()) << offset;
        } else {
            EXPECT_LT(window.size(), 20u) << offset;
        }
    }
    EXPECT_EQ("你好，感谢使用！欢迎", ScrollWindow(text, 2));
    EXPECT_EQ("送给我亲爱的朋友！！", ScrollWindow(text, 46));
    EXPECT_EQ("给我亲爱的朋友！！", ScrollWindow(text, 48));
    EXPECT_EQ("！", ScrollWindow(text, 64));
    EXPECT_EQ("", ScrollWindow(text, 66));
}

TEST(TransportScroll, OffsetsOutsideTheTextAreSafe)
{
    EXPECT_EQ("", ScrollWindow("abc", 10));
    EXPECT_EQ("abc", ScrollWindow("abc", -4));
    EXPECT_EQ("abcdefghijklmnopqrst", ScrollWindow("abcdefghijklmnopqrstuvwxyz", 0));
}

} // namespace
