// Where the windows and controls land, as measured on the screen: the numbers are written out here
// and not taken from the layout header, so a wrong number there fails here even where the window
// tests measure against the header.
#include <gtest/gtest.h>

#include <map>

#include "player/logic/Layout.h"

namespace {

void ExpectPlace(const layout::Place& place, int x, int y, int cx, int cy, const char* what)
{
    EXPECT_EQ(place.x, x) << what;
    EXPECT_EQ(place.y, y) << what;
    EXPECT_EQ(place.cx, cx) << what;
    EXPECT_EQ(place.cy, cy) << what;
}

void ExpectEdges(const layout::Edges& edges, int left, int top, int right, int bottom, const char* what)
{
    EXPECT_EQ(edges.left, left) << what;
    EXPECT_EQ(edges.top, top) << what;
    EXPECT_EQ(edges.right, right) << what;
    EXPECT_EQ(edges.bottom, bottom) << what;
}

TEST(Layout, WindowsLandWhereTheUserFindsThem)
{
    EXPECT_EQ(layout::kWideScreen, 1024) << "the narrowest screen with the player at its bottom right";
    EXPECT_EQ(layout::kPlayerFromRight, 444);
    EXPECT_EQ(layout::kPlayerFromBottom, 288);
    EXPECT_EQ(layout::kPlayerWidth, 450);
    EXPECT_EQ(layout::kPlayerHeight, 250);
    ExpectPlace(layout::kTickerFromPlayer, 150, 155, 236, 20, "ticker below the status line");
    ExpectPlace(layout::kVideoFromPlayer, 130, -70, 310, 250, "Windows Media window above the player");
    EXPECT_EQ(layout::kCompactFromRight, 264);
    EXPECT_EQ(layout::kCompactFromBottom, 148);
    EXPECT_EQ(layout::kCompactWidth, 160);
    EXPECT_EQ(layout::kCompactHeight, 120);
    ExpectPlace(layout::kCompactControl, 2, 2, 156, 116, "control in the compact window");
    ExpectPlace(layout::kVideoRestored, 400, 300, 320, 220, "Windows Media window brought back");
}

TEST(Layout, SkinControlsAndKnobPartsSitOnTheSkin)
{
    const std::map<int, layout::Place> expected = {
        {IDC_STATUS, {160, 181, 180, 31}},    {IDC_SKIN_QUON, {153, 214, 21, 13}},
        {IDC_SKIN_EQ, {250, 212, 22, 14}},    {IDC_SKIN_MODE, {273, 212, 25, 14}},
        {IDC_SKIN_MUSIC, {299, 212, 25, 14}}, {IDC_SKIN_REPEAT_ONE, {340, 181, 22, 13}},
        {IDC_SKIN_REPEAT_LIST, {340, 200, 22, 13}},
    };
    std::map<int, layout::Place> placed;
    for (const layout::SkinControl& control : layout::kSkinControls)
        placed[control.id] = control.place;
    ASSERT_EQ(placed.size(), expected.size());
    for (const auto& [id, place] : expected) {
        ASSERT_EQ(placed.count(id), 1u) << id;
        ExpectPlace(placed[id], place.x, place.y, place.cx, place.cy, "skin control");
    }
    ExpectEdges(layout::kKnobVolumeUp, 385, 171, 400, 184, "volume up");
    ExpectEdges(layout::kKnobVolumeDown, 385, 213, 400, 223, "volume down");
    ExpectEdges(layout::kKnobNext, 367, 191, 376, 206, "next");
    ExpectEdges(layout::kKnobBack, 408, 191, 421, 205, "back");
    ExpectEdges(layout::kKnobCentre, 385, 192, 403, 205, "play / stop");
}

}  // namespace
