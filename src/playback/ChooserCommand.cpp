// CPlayerDlg playlist chooser command: keeps the old list for a cancelled chooser, plays on OK.
#include "app/PlayerApp.h"
#include "chooser/QuonDir.h"
#include "player/PlayerDlg.h"
#include "wmp/VideoDlg.h"

void CPlayerDlg::OnChoosePlaylist()
{
    CQuonDir chooser(nullptr);
    CStringList backup(10);
    m_noAdvance = false;
    if (!g_playList.IsEmpty())
        backup.AddTail(g_playList);
    if (chooser.DoModal() == IDOK) {
        m_mediaKind = kMediaWindowsMedia;
        m_pVideoDlg->SetOwner(this);
        m_pVideoDlg->PlayList();
    } else if (!backup.IsEmpty()) {
        g_playList.AddTail(backup);
    }
}
