// The hover colour button under a real mouse: lit while the pointer is over it in the active window,
// unlit once the pointer leaves it, never lit for a window in the background.
#include <gtest/gtest.h>
#include <windows.h>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "resource.h"

namespace {

// The credits window's OK button: its face and the rounded panel it shows while lit.
const COLORREF kFace = RGB(190, 190, 255);
const COLORREF kLitPanel = RGB(140, 140, 255);

class Hover : public RunningPlayer {
protected:
    // The colour of the button's panel area, just inside its left edge, on the screen.
    COLORREF PanelColour(HWND button) const
    {
        RECT r{};
        ::GetWindowRect(button, &r);
        return Screenshot().At(r.left + 6, (r.top + r.bottom) / 2);
    }
};

TEST_F(Hover, CreditsButtonLightsUnderTheMouseOnlyInTheActiveWindowAndGoesOutWhenLeft)
{
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    ASSERT_TRUE(WaitFor([&] { return quon.Credits() && ::IsWindowVisible(quon.Credits()); }, 10000));
    const HWND credits = quon.Credits();
    const HWND ok = ::GetDlgItem(credits, IDOK);
    ASSERT_NE(ok, nullptr);
    RECT button{};
    ::GetClientRect(ok, &button);

    // Away from the button first, with the credits window active.
    MoveMouseTo(credits, 5, 5);
    ::SetForegroundWindow(credits);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == credits; }, 3000));
    ASSERT_TRUE(WaitFor([&] { return PanelColour(ok) == kFace; }, 3000));

    MoveMouseTo(ok, button.right / 2, button.bottom / 2);
    EXPECT_TRUE(WaitFor([&] { return PanelColour(ok) == kLitPanel; }, 3000)) << "lit under the mouse";

    // Out onto the window beside it: the button hears of it only by the leave it asked for.
    MoveMouseTo(credits, 5, 5);
    EXPECT_TRUE(WaitFor([&] { return PanelColour(ok) == kFace; }, 3000)) << "out once the mouse left";

    // Another program's window in front: the credits window is inactive, the button stays out.
    HWND other = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0,
                                   40, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ::SetForegroundWindow(other);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == other; }, 3000));
    MoveMouseTo(ok, button.right / 2, button.bottom / 2);
    EXPECT_FALSE(WaitFor([&] { return PanelColour(ok) == kLitPanel; }, 1500))
        << "lit for a window in the background";
    ::DestroyWindow(other);
    ::PostMessageA(credits, WM_CLOSE, 0, 0);
}

}  // namespace
