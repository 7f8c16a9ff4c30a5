// CPlayerDlg translucency: the Windows Media window switched between translucent and opaque.
#include "app/PlayerApp.h"
#include "player/PlayerDlg.h"
#include "wmp/VideoDlg.h"

namespace {
const BYTE kVideoAlpha = 80;
}

bool CPlayerDlg::SetVideoTranslucency(bool remove)
{
    g_pfnSetLayeredWindowAttributes = LookUpSetLayeredWindowAttributes();
    if (!g_pfnSetLayeredWindowAttributes) {
        AfxMessageBox("Layering is not supported in this version of Windows", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!m_pVideoDlg || !m_pVideoDlg->m_hWnd) {
        ::MessageBoxA(m_hWnd, "null hwnd", nullptr, MB_OK);
        return false;
    }
    HWND video = m_pVideoDlg->m_hWnd;
    LONG_PTR style = ::GetWindowLongPtrA(video, GWL_EXSTYLE);
    style = remove ? (style & ~static_cast<LONG_PTR>(WS_EX_LAYERED)) : (style ^ WS_EX_LAYERED);
    ::SetWindowLongPtrA(video, GWL_EXSTYLE, style);
    g_pfnSetLayeredWindowAttributes(video, 0, kVideoAlpha, LWA_ALPHA);
    return true;
}

void CPlayerDlg::OnTranslucency()
{
    if (SetVideoTranslucency(m_translucent))
        m_translucent = !m_translucent;
}
