// Colours of the hover button's border by depth: raised, sunken or black.
#include <gtest/gtest.h>

#include <climits>

#include "controls/logic/Frame3D.h"

namespace {

TEST(Frame3D, ColoursByDepth)
{
    const struct {
        int depth;
        std::uint32_t topLeft;
        std::uint32_t bottomRight;
    } cases[] = {
        {3, 0x02D5D5D5, 0x023F3F3F},   // palette greys 213 and 63
        {2, 0x02DFDFDF, 0x02555555},   // palette greys 223 and 85
        {1, 0x00FFFFFF, 0x00808080},   // white and grey 128
        {0, 0x00000000, 0x00000000},   // black ring
        {-1, 0x00808080, 0x00FFFFFF},  // sunken: the colours swap
        {-2, 0x02555555, 0x02DFDFDF},
        {-3, 0x023F3F3F, 0x02D5D5D5},
        {10, 0x02C6C6C6, 0x02171717},  // 192 + 6 and 255 / 11
        {INT_MAX, 0x02C0C0C0, 0x02000000},
        {INT_MIN, 0x02000000, 0x02C0C0C0},
    };
    for (const auto& c : cases) {
        const Frame3DColors colors = Frame3DColorsForDepth(c.depth);
        EXPECT_EQ(c.topLeft, colors.topLeft) << c.depth;
        EXPECT_EQ(c.bottomRight, colors.bottomRight) << c.depth;
    }
}

}  // namespace
