// The credits window and its hover colour button in process: banner frames, colours, closing.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/CreditsDlg.h"
#include "app/PlayerApp.h"
#include "resource.h"
#include "WinTestSupport.h"

namespace {

// The credits window without the player run that normally happens inside its initialisation.
class TestCreditsDlg : public CCreditsDlg {
public:
    bool playerRan = false;

protected:
    void RunPlayer() override
    {
        playerRan = true;
        SetTimer(kBannerTimer, 1000);
    }
};

// Counts pixels of a colour in a rectangle of a window's client area.
int CountColour(HWND wnd, const RECT& area, COLORREF colour)
{
    HDC dc = ::GetDC(wnd);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(wnd, dc);
    return count;
}

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH info{};
    ::GetObjectA(brush, sizeof info, &info);
    return info.lbColor;
}

class CreditsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(credits.Create(IDD_CREDITS, nullptr));
        banner = credits.GetDlgItem(IDC_CREDITS_BANNER);
        PumpFor(100);
    }
    void TearDown() override { credits.DestroyWindow(); }
    void Tick() { ::SendMessageA(credits.m_hWnd, WM_TIMER, CCreditsDlg::kBannerTimer, 0); }

    TestCreditsDlg credits;
    HWND banner = nullptr;
};

TEST_F(CreditsWindow, RunsThePlayerBeforeItIsShownAndStartsOnFrameZero)
{
    EXPECT_TRUE(credits.playerRan);
    EXPECT_EQ(credits.m_step, 0);
    RECT client;
    ::GetClientRect(banner, &client);
    EXPECT_EQ(CountColour(banner, client, RGB(0, 0, 255)), 0) << "a plain white banner before the first tick";
}

TEST_F(CreditsWindow, BannerCyclesFourFramesOverAClearedBanner)
{
    const RECT frameZeroArea = {50, 48, 110, 60};
    const int expectedSteps[] = {1, 2, 3, 0, 1};
    for (int step : expectedSteps) {
        Tick();
        EXPECT_EQ(credits.m_step, step);
    }
    // After frame 0 (title at 50,48), frames 1..3 never leave a trace of it.
    Tick();  // frame 1
    EXPECT_EQ(CountColour(banner, frameZeroArea, RGB(0, 0, 255)), 0);
    Tick();  // frame 2: the title at 230,50
    RECT frameTwoArea = {230, 50, 290, 62};
    EXPECT_GT(CountColour(banner, frameTwoArea, RGB(0, 0, 255)), 10);
    EXPECT_EQ(CountColour(banner, frameZeroArea, RGB(0, 0, 255)), 0);
}

TEST_F(CreditsWindow, ColoursItsBackgroundAndStatics)
{
    HDC dc = ::GetDC(credits.m_hWnd);
    auto dlgBrush = reinterpret_cast<HBRUSH>(::SendMessageA(credits.m_hWnd, WM_CTLCOLORDLG,
                                                            reinterpret_cast<WPARAM>(dc),
                                                            reinterpret_cast<LPARAM>(credits.m_hWnd)));
    EXPECT_EQ(BrushColour(dlgBrush), RGB(215, 215, 248));
    EXPECT_EQ(::GetBkColor(dc), RGB(160, 180, 220));
    auto staticBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
        credits.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(banner)));
    EXPECT_EQ(BrushColour(staticBrush), RGB(215, 215, 248));
    EXPECT_EQ(::GetBkColor(dc), RGB(215, 215, 248));
    EXPECT_EQ(dlgBrush, staticBrush) << "one kept brush, not a new one per request";
    ::ReleaseDC(credits.m_hWnd, dc);
}

TEST_F(CreditsWindow, ClosingStopsTheBannerAndDeletesTheSharedFont)
{
    const UINT closes[] = {IDOK, IDCANCEL};
    for (UINT close : closes) {
        if (!credits.m_hWnd) {
            ASSERT_TRUE(credits.Create(IDD_CREDITS, nullptr));
            banner = credits.GetDlgItem(IDC_CREDITS_BANNER);
        }
        g_statusFont.CreateFont(18, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        Tick();
        ::SendMessageA(credits.m_hWnd, WM_COMMAND, close, 0);
        EXPECT_EQ(g_statusFont.GetSafeHandle(), nullptr) << close;
        EXPECT_FALSE(::KillTimer(credits.m_hWnd, CCreditsDlg::kBannerTimer)) << "timer already killed";
        credits.DestroyWindow();
    }
}

TEST_F(CreditsWindow, OkButtonIsDrawnInItsFaceColour)
{
    HWND ok = credits.GetDlgItem(IDOK);
    EXPECT_EQ(::GetWindowLongPtrA(ok, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(::GetWindowLongPtrA(ok, GWL_STYLE) & BS_NOTIFY);
    ::RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelAt(ok, 4, 4), RGB(190, 190, 255));
}

TEST_F(CreditsWindow, HoveredButtonShowsItsRaisedFrameAndPanel)
{
    HWND ok = credits.GetDlgItem(IDOK);
    ::SetFocus(credits.GetDlgItem(IDC_CREDITS_BANNER));
    credits.m_okButton.m_hover = 1;
    ::RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r;
    ::GetClientRect(ok, &r);
    EXPECT_EQ(PixelAt(ok, r.right / 2, 0), RGB(223, 223, 223)) << "top edge, grey 223";
    EXPECT_EQ(PixelAt(ok, 0, r.bottom / 2), RGB(223, 223, 223)) << "left edge";
    EXPECT_EQ(PixelAt(ok, r.right / 2, r.bottom - 1), RGB(85, 85, 85)) << "bottom edge, grey 85";
    EXPECT_EQ(PixelAt(ok, r.right - 1, r.bottom / 2), RGB(85, 85, 85)) << "right edge";
    EXPECT_EQ(PixelAt(ok, 6, r.bottom / 2), RGB(140, 140, 255)) << "the rounded panel";

    ::SendMessageA(ok, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(credits.m_okButton.m_hover, 0);
    ::RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelAt(ok, 6, r.bottom / 2), RGB(190, 190, 255));
}

// A move that lit the button can be older than the system's reading of the pointer, which then
// tracks nothing and posts no leave: the button goes out by itself once the pointer is elsewhere,
// and stays lit while it is over it.
TEST_F(CreditsWindow, LitButtonGoesOutWhenThePointerIsElsewhereThoughNoLeaveComes)
{
    HWND ok = credits.GetDlgItem(IDOK);
    credits.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(credits.m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == credits.m_hWnd; }, 2000));
    RECT r, window;
    ::GetClientRect(ok, &r);
    ::GetWindowRect(credits.m_hWnd, &window);
    const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);

    ::SetCursorPos(window.right + 20, window.bottom + 20);
    ::SendMessageA(ok, WM_MOUSEMOVE, 0, middle);
    ASSERT_EQ(credits.m_okButton.m_hover, 1);
    EXPECT_TRUE(PumpUntil([&] { return credits.m_okButton.m_hover == 0; }, 1000)) << "out, the pointer is elsewhere";

    POINT centre{r.right / 2, r.bottom / 2};
    ::ClientToScreen(ok, &centre);
    ::SetCursorPos(centre.x, centre.y);
    ::SendMessageA(ok, WM_MOUSEMOVE, 0, middle);
    PumpFor(400);
    EXPECT_EQ(credits.m_okButton.m_hover, 1) << "lit while the pointer is over it";
    ::SetCursorPos(window.right + 20, window.bottom + 20);
    EXPECT_TRUE(PumpUntil([&] { return credits.m_okButton.m_hover == 0; }, 1000)) << "out once it left";
}

TEST_F(CreditsWindow, DisabledButtonDrawsItsCaptionGrey)
{
    HWND ok = credits.GetDlgItem(IDOK);
    ::EnableWindow(ok, FALSE);
    ::RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r;
    ::GetClientRect(ok, &r);
    EXPECT_GT(CountColour(ok, r, RGB(128, 128, 128)), 5);
    EXPECT_EQ(CountColour(ok, r, RGB(0, 0, 255)), 0) << "only the grey caption is seen";
}

TEST_F(CreditsWindow, DragStartedElsewhereDoesNotLightTheButton)
{
    HWND ok = credits.GetDlgItem(IDOK);
    RECT r;
    ::GetClientRect(ok, &r);
    ::SendMessageA(ok, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2));
    EXPECT_EQ(credits.m_okButton.m_hover, 0);
}

}  // namespace
