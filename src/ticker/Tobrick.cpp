// CTobrick: loading the message file and drawing the strip on every tick.
#include "ticker/Tobrick.h"

#include <memory>

#include "app/logic/Banner.h"
#include "framework/Handle.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "ticker/logic/TickerText.h"

namespace {

const int kTitleX = 136;

}  // namespace

BEGIN_MESSAGE_MAP(CTobrick, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CTobrick::CTobrick(CWnd* parent) : CDialog(IDD_TICKER, parent) {}

std::string CTobrick::MessageFilePath()
{
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    windows[2] = '\0';  // the drive letter and colon
    return std::string(windows) + "\\Program Files\\Common Files\\Microsoft Shared\\quon.ast";
}

std::string CTobrick::LoadMessageText(const std::string& path)
{
    CFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return kHelloQuon;
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(file, &length) || length.QuadPart < 0)
        return kHelloQuon;
    if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return kHelloQuon;
    DWORD wanted = static_cast<DWORD>(
        length.QuadPart < static_cast<LONGLONG>(kTickerTextLimit) ? length.QuadPart : kTickerTextLimit);
    auto buffer = std::make_unique<char[]>(kTickerTextLimit + 1);
    DWORD read = 0;
    if (wanted && !::ReadFile(file, buffer.get(), wanted, &read, nullptr))
        return kHelloQuon;
    return LoadTickerText(buffer.get(), read);
}

BOOL CTobrick::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_text = LoadMessageText(MessageFilePath());
    m_font.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
    SetTimer(kTickTimer, kTickInterval);
    return TRUE;
}

void CTobrick::OnTimer(UINT_PTR)
{
    RECT client;
    GetClientRect(&client);
    {
        CClientDC dc(m_hWnd);
        CBrush white(RGB(255, 255, 255));
        ::FillRect(dc, &client, white);
        CSelectObject selectFont(dc, m_font);
        CSelectObject selectBrush(dc, white);
        ::SetTextColor(dc, RGB(0, 0, 255));
        if (m_phase == 0) {
            std::string segment = NextTickerSegment(m_text, m_segmentEnd);
            ::TextOutA(dc, 0, 0, segment.c_str(), static_cast<int>(segment.size()));
        } else {
            ::TextOutA(dc, kTitleX, 0, kBannerTitle, lstrlenA(kBannerTitle));
        }
        m_phase = m_phase == 0 ? 1 : 0;
    }
    Default();
}

void CTobrick::OnOK()
{
    KillTimer(kTickTimer);
    m_font.DeleteObject();
    CDialog::OnOK();
}

void CTobrick::OnCancel()
{
    KillTimer(kTickTimer);
    m_font.DeleteObject();
    CDialog::OnCancel();
}
