// The player window's outline: a bar with a rounded left end and a round knob on the right.
#include <gtest/gtest.h>

#include <algorithm>

#include "player/logic/WindowRegion.h"

namespace {

bool operator==(const RegionPoint& a, const RegionPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

TEST(WindowRegion, HasOneHundredFortyFivePoints)
{
    EXPECT_EQ(145u, BuildWindowRegionPoints().size());
}

TEST(WindowRegion, PassesThroughTheCheckPoints)
{
    const std::vector<RegionPoint> p = BuildWindowRegionPoints();
    ASSERT_EQ(145u, p.size());
    const struct {
        int index;
        int x;
        int y;
    } cases[] = {
        {0, 160, 230},    // bottom of the bar's rounded end
        {1, 152, 229},
        {30, 130, 200},   // leftmost point
        {45, 134, 185},
        {59, 152, 171},
        {60, 381, 170},   // the bar's top edge meets the knob
        {61, 381, 170},   // ... and the knob's arc starts on the same point
        {65, 391, 166},
        {66, 400, 165},   // top of the knob
        {83, 430, 182},
        {100, 434, 199},
        {101, 435, 200},  // rightmost point
        {102, 434, 201},  // mirror of point 100
        {122, 428, 221},
        {141, 381, 230},  // mirror of point 61
        {142, 381, 230},  // mirror of point 60
        {143, 152, 229},  // mirror of point 59, which is point 1 again
        {144, 160, 230},  // closes on point 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.x, p[c.index].x) << "point " << c.index;
        EXPECT_EQ(c.y, p[c.index].y) << "point " << c.index;
    }
}

TEST(WindowRegion, RepeatsThePointsWhereThePartsMeet)
{
    const std::vector<RegionPoint> p = BuildWindowRegionPoints();
    EXPECT_TRUE(p[60] == p[61]);
    EXPECT_TRUE(p[141] == p[142]);
    EXPECT_TRUE(p[143] == p[1]);
    EXPECT_TRUE(p[144] == p[0]);
}

TEST(WindowRegion, LowerHalfMirrorsTheUpperHalf)
{
    const std::vector<RegionPoint> p = BuildWindowRegionPoints();
    for (int j = 0; j < 42; ++j) {
        EXPECT_EQ(p[100 - j].x, p[102 + j].x) << j;
        EXPECT_EQ(400 - p[100 - j].y, p[102 + j].y) << j;
    }
}

TEST(WindowRegion, SpansTheBarAndTheKnob)
{
    const std::vector<RegionPoint> p = BuildWindowRegionPoints();
    const auto byX = [](const RegionPoint& a, const RegionPoint& b) { return a.x < b.x; };
    const auto byY = [](const RegionPoint& a, const RegionPoint& b) { return a.y < b.y; };
    EXPECT_EQ(130, std::min_element(p.begin(), p.end(), byX)->x);
    EXPECT_EQ(435, std::max_element(p.begin(), p.end(), byX)->x);
    EXPECT_EQ(165, std::min_element(p.begin(), p.end(), byY)->y);
    EXPECT_EQ(235, std::max_element(p.begin(), p.end(), byY)->y);
}

TEST(WindowRegion, LeftEndRisesOnePixelPerPoint)
{
    const std::vector<RegionPoint> p = BuildWindowRegionPoints();
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(230 - i, p[i].y) << i;
    for (int i = 61; i <= 66; ++i)
        EXPECT_EQ(231 - i, p[i].y) << i;
    for (int i = 67; i <= 100; ++i)
        EXPECT_EQ(99 + i, p[i].y) << i;
}

}  // namespace
