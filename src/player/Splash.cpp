// CPlayerDlg's date greeting and the splash shown with it for eight seconds at start-up.
#include "player/Splash.h"

#include <ctime>

#include "player/PlayerDlg.h"
#include "player/logic/Greeting.h"
#include "player/logic/StatusStrings.h"

namespace {

const char kMotto[] = "忙碌的生活，听听音乐，放松一下心情!";
const char kDedication[] = "仅已此程序献给我的朋友！";
const char kSignature[] = "Yours,  Tobrick";
const char kComputerCaption[] = "本机名称:  ";
const char kRightsNotice[] = "版权所有 (C) 2003 Tobrick  保留所有权利";
const DWORD kSplashMilliseconds = 8000;
const COLORREF kBand = RGB(160, 160, 230);

void DrawText(HDC dc, int x, int y, const char* text) { ::TextOutA(dc, x, y, text, lstrlenA(text)); }

}  // namespace

// The greeting reads 64-bit calendar time in both builds (the build sets it up for 32 bits).
static_assert(sizeof(std::time_t) == 8, "time_t must be 64 bits wide");

std::time_t CPlayerDlg::ReadClock() const { return std::time(nullptr); }

bool CPlayerDlg::SelectGreeting()
{
    m_startTime = ReadClock();
    int month = 0;
    int day = 0;
    int weekday = 0;
    std::tm local{};
    if (m_startTime != static_cast<std::time_t>(-1) && localtime_s(&local, &m_startTime) == 0) {
        month = local.tm_mon + 1;
        day = local.tm_mday;
        weekday = local.tm_wday + 1;
    }
    GreetingChoice choice = SelectGreetingForDate(month, day, weekday);
    if (!choice.text)
        return false;
    m_statusText = choice.text;
    return choice.splash;
}

void CPlayerDlg::ShowSplash()
{
    m_pSplash = new CSplashWnd();
    if (!m_pSplash->Create(IDD_SPLASH, nullptr))
        return;
    RECT client;
    m_pSplash->GetClientRect(&client);
    const int w = client.right;
    const int h = client.bottom;
    CWindowDC dc(m_pSplash->m_hWnd);
    CBrush white(RGB(255, 255, 255));
    CPen grey(PS_SOLID, 1, RGB(92, 92, 92));
    CBrush bandBrush(kBand);
    CPen bandPen(PS_SOLID, 1, kBand);
    {
        CSelectObject selectBrush(dc, white);
        CSelectObject selectPen(dc, grey);
        ::FillRect(dc, &client, white);
        ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        if (m_statusText != kHelloQuon)
            DrawText(dc, w / 2 - 110, 120, m_statusText.c_str());
        char name[256] = "";
        DWORD size = sizeof name;
        if (!::GetComputerNameA(name, &size))
            name[0] = '\0';
        std::string caption = std::string(kComputerCaption) + name;
        DrawText(dc, 110, 160, caption.c_str());
        ::DrawIcon(dc, 30, h - 50, m_hIcon);
        DrawText(dc, 80, h - 40, kRightsNotice);
        selectBrush.Select(bandBrush);
        selectPen.Select(bandPen);
        ::Rectangle(dc, 1, 1, w - 1, 100);
        DrawText(dc, 110, 200, kDedication);
        DrawText(dc, 200, 230, kSignature);
        ::SetBkColor(dc, kBand);
        DrawText(dc, 80, 60, kMotto);
    }
    m_pSplash->ShowWindow(SW_SHOWNORMAL);
    // Drawing done outside the paint cycle can wait in the thread's GDI batch or in the window's
    // back buffer (Wine) until the thread next looks at its queue; push it to the screen before
    // the thread blocks. Neither call dispatches a message.
    ::GdiFlush();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    ::Sleep(kSplashMilliseconds);
    m_pSplash->ShowWindow(SW_HIDE);
}
