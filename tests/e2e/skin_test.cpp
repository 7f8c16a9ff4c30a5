// The real player's skin on screen: knob and bar colours, the status line and its highlight, dragging.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "TestMedia.h"
#include "resource.h"

namespace {

// Places on the skin, in the player's client pixels.
const POINT kPlusSign = {392, 177};
const POINT kEqBitmap = {261, 219};
const RECT kStatusBox = {160, 181, 340, 212};

const COLORREF kBackground = RGB(215, 215, 248);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Text of the status line in bold 18-pixel letters covers far more pixels than this.
const int kTextPixels = 30;

// A screenshot read in the client pixels of one window.
class ClientShot {
public:
    explicit ClientShot(HWND wnd) { ::ClientToScreen(wnd, &m_origin); }
    COLORREF At(POINT client) const { return m_shot.At(m_origin.x + client.x, m_origin.y + client.y); }
    void Save(const char* name) const { m_shot.Save(name); }

private:
    POINT m_origin{0, 0};
    Screenshot m_shot;
};

// How the status box looks: its fill (taken at a corner) and how many pixels of the text colour
// the text area holds.
struct StatusLook {
    COLORREF fill;
    int textPixels;
};

StatusLook LookOfStatus(const ClientShot& shot, COLORREF text)
{
    StatusLook look{shot.At({kStatusBox.left + 2, kStatusBox.top + 2}), 0};
    for (int y = kStatusBox.top + 4; y < kStatusBox.bottom - 2; ++y)
        for (int x = kStatusBox.left + 4; x < kStatusBox.right - 2; ++x)
            look.textPixels += shot.At({x, y}) == text;
    return look;
}

bool ShowsNormal(HWND player)
{
    const StatusLook look = LookOfStatus(ClientShot(player), kBlue);
    return look.fill == kBlack && look.textPixels >= kTextPixels;
}

bool ShowsHighlighted(HWND player)
{
    const StatusLook look = LookOfStatus(ClientShot(player), kBlack);
    return look.fill == kBlue && look.textPixels >= kTextPixels;
}

// A folder for the test's media in the session's own temporary folder, away from the shared
// artifacts folder that other runs empty.
std::string MediaFolder(const char* name)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

RECT WindowRect(HWND wnd)
{
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

class Skin : public RunningPlayer {
protected:
    // Switches the welcome-text scroll on; its first window of text is drawn a second later.
    void StartScroll()
    {
        ClickAt(player, kEqBitmap.x, kEqBitmap.y);
        ASSERT_TRUE(WaitFor([&] { return !StatusText(player).empty(); }, 4000))
            << "the scroll drew nothing";
        ASSERT_TRUE(WaitFor([&] { return ShowsNormal(player); }, 2000)) << "blue text on black";
    }

};

TEST_F(Skin, KnobBarsAndSymbolsShowInTheSkinColours)
{
    struct Spot {
        POINT at;
        COLORREF colour;
        const char* what;
    };
    const Spot spots[] = {
        {{372, 185}, RGB(130, 130, 220), "outer disc of the knob"},
        {{415, 214}, RGB(130, 130, 220), "outer disc, lower right"},
        {{384, 200}, RGB(160, 160, 220), "inner disc of the knob"},
        {{404, 190}, RGB(160, 160, 220), "inner disc, upper right"},
        {{250, 173}, RGB(190, 190, 255), "upper bar"},
        {{200, 225}, RGB(190, 190, 255), "lower bar"},
        {{393, 178}, RGB(200, 60, 0), "plus sign"},
        {{393, 218}, RGB(200, 60, 0), "minus sign"},
        {{369, 198}, RGB(200, 60, 0), "left side's first triangle"},
        {{419, 198}, RGB(200, 60, 0), "right side's outer triangle"},
        {{388, 198}, RGB(200, 60, 0), "play sign"},
        {{145, 200}, kBackground, "the skin's body"},
        {{200, 178}, kBackground, "between the upper bar and the status box"},
    };
    const ClientShot shot(player);
    shot.Save("skin_at_start");
    for (const Spot& spot : spots)
        EXPECT_EQ(shot.At(spot.at), spot.colour)
            << spot.what << " at client " << spot.at.x << "," << spot.at.y;
}

TEST_F(Skin, KnobClickHighlightsTheStatusLineForAboutASecond)
{
    StartScroll();
    ClickAt(player, kPlusSign.x, kPlusSign.y);
    EXPECT_TRUE(WaitFor([&] { return ShowsHighlighted(player); }, 300))
        << "black text on blue after the click";
    ClientShot(player).Save("skin_highlighted");
    EXPECT_TRUE(WaitFor([&] { return ShowsNormal(player); }, 2500)) << "blue on black again after a second";
}

// Pixels beside the status box's right edge that are not the skin's background: text spilling over.
int SpillBesideTheBox(const ClientShot& shot)
{
    int foreign = 0;
    for (int y = kStatusBox.top + 1; y < kStatusBox.bottom - 1; ++y)
        for (int x = kStatusBox.right + 1; x < kStatusBox.right + 8; ++x)
            foreign += shot.At({x, y}) != kBackground;
    return foreign;
}

// The line's text never spills over the skin beside the box: not ten wide characters of the
// scroll, nor a name of wide letters that the box cannot hold.
TEST_F(Skin, StatusTextStaysInsideItsBox)
{
    StartScroll();
    for (int tick = 0; tick < 3; ++tick) {
        ::Sleep(1000);
        const ClientShot shot(player);
        const int spill = SpillBesideTheBox(shot);
        EXPECT_EQ(spill, 0) << "text past the box's right edge with the scroll at " << StatusText(player);
        if (spill)
            shot.Save("skin_status_spill_scroll");
    }
    ClickAt(player, kEqBitmap.x, kEqBitmap.y);  // scroll off

    const std::string folder = MediaFolder("quon_skin_wide");
    ASSERT_TRUE(WriteFileBytes(folder + "\\WWWWWWWWWWWWWWWW.wav", MakeToneWave(8000, 440, 0.02)));
    ClickAt(player, kCentre.x, kCentre.y);
    ASSERT_TRUE(ChooseInOpenDialog(quon, folder, "\"WWWWWWWWWWWWWWWW.wav\""));
    ASSERT_TRUE(WaitFor([&] { return StatusText(player) == "WWWWWWWWWWWWWWWW"; }, 10000))
        << "status line: " << StatusText(player);
    ::Sleep(300);
    const ClientShot shot(player);
    const int spill = SpillBesideTheBox(shot);
    EXPECT_EQ(spill, 0) << "a name wider than the box spills past its right edge";
    if (spill)
        shot.Save("skin_status_spill_name");
}

TEST_F(Skin, PlayingFileShowsItsNameInBlueOnBlack)
{
    const std::string folder = MediaFolder("quon_skin_quiet");
    ASSERT_TRUE(WriteFileBytes(folder + "\\quiet.wav", MakeToneWave(20000, 440, 0.02)));
    ClickAt(player, kCentre.x, kCentre.y);
    ASSERT_TRUE(ChooseInOpenDialog(quon, folder, "\"quiet.wav\""))
        << "the open dialog did not appear or close";
    ASSERT_TRUE(WaitFor([&] { return StatusText(player) == "quiet.wav"; }, 10000))
        << "status line: " << StatusText(player);
    ASSERT_TRUE(WaitFor([&] { return ShowsNormal(player); }, 2000)) << "blue text on black";
    const ClientShot shot(player);
    shot.Save("skin_playing");
    const StatusLook look = LookOfStatus(shot, kBlue);
    EXPECT_EQ(look.fill, kBlack);
    EXPECT_GE(look.textPixels, kTextPixels);
    EXPECT_EQ(shot.At({372, 185}), RGB(130, 130, 220)) << "the knob is still drawn";
}

// A press on the skin's body drags the window with the mouse, by the mouse's own distance: no jump
// at the start. (The cursor itself cannot be checked afterwards: under Wine's virtual desktop the
// synthetic pointer snaps back to where the real one stayed once the window has moved.)
TEST_F(Skin, PressOnTheBodyDragsTheWindowByTheMouseDistance)
{
    struct Drag {
        POINT from;
        int dx;
        int dy;
        const char* what;
    };
    const Drag drags[] = {
        {{145, 200}, -200, -150, "left end of the bar"},
        {{200, 174}, 120, 60, "upper bar"},
    };
    HWND video = quon.Video();
    const RECT videoBefore = WindowRect(video);
    for (const Drag& drag : drags) {
        const RECT before = WindowRect(player);
        DragBy(player, drag.from.x, drag.from.y, drag.dx, drag.dy);
        ::Sleep(300);
        const RECT after = WindowRect(player);
        EXPECT_NEAR(after.left - before.left, drag.dx, 3) << drag.what;
        EXPECT_NEAR(after.top - before.top, drag.dy, 3) << drag.what;
        EXPECT_EQ(after.right - after.left, before.right - before.left) << drag.what;
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << drag.what;
    }
    const RECT videoAfter = WindowRect(video);
    EXPECT_EQ(videoAfter.left, videoBefore.left) << "the Windows Media window does not follow";
    EXPECT_EQ(videoAfter.top, videoBefore.top) << "the Windows Media window does not follow";
    EXPECT_FALSE(::IsWindowVisible(video));
    EXPECT_EQ(StatusText(player), "") << "a drag is no knob action";

    const ClientShot shot(player);
    shot.Save("skin_after_drag");
    EXPECT_EQ(shot.At({372, 185}), RGB(130, 130, 220)) << "the knob is drawn at the new place";
    EXPECT_EQ(shot.At({250, 173}), RGB(190, 190, 255)) << "the bar is drawn at the new place";
}

// A shown ticker follows the dragged player, placed from the corner of the player's client area (its
// first placement measured from the window's corner, so it ends up a frame's width further in).
TEST_F(Skin, ShownTickerFollowsTheDraggedPlayer)
{
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_GREETING, 0);
    ASSERT_TRUE(WaitFor([&] { HWND t = quon.Ticker(); return t && ::IsWindowVisible(t); }, 3000))
        << "the greeting command shows the ticker";
    HWND ticker = quon.Ticker();
    DragBy(player, 145, 200, -180, -120);
    ::Sleep(300);
    POINT corner{0, 0};
    ::ClientToScreen(player, &corner);
    const RECT placed = WindowRect(ticker);
    EXPECT_EQ(placed.left, corner.x + 150);
    EXPECT_EQ(placed.top, corner.y + 155);
    EXPECT_EQ(placed.right - placed.left, 236);
    EXPECT_EQ(placed.bottom - placed.top, 20);
    EXPECT_TRUE(::IsWindowVisible(ticker));
}

}  // namespace
