// CPlayerDlg::OpenFiles: the open dialog puts the chosen files at the head of the play list.
#include "app/PlayerApp.h"
#include "framework/FileDialog.h"
#include "player/PlayerDlg.h"
#include "wmp/VideoDlg.h"

namespace {
const char kOpenFilter[] =
    "用户指定媒体文件(*.*)|*.*|mpga文件 (*.mpga)|*.mpga|mp3文件 (*.mp3)|*.mp3|视频文件 (*.AVI)|*.AVI|"
    "视频文件 (*.asf)|*.asf|视频文件 (*.mpeg)|*.mpeg|MIDI文件 (*.MID)|*.MID|波形文件 (*.WAV)|*.WAV|"
    "CD音频|*.CDA||";
}

void CPlayerDlg::OpenFiles()
{
    m_currentPath.clear();
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       kOpenFilter, nullptr);
    if (dialog.DoModal() != IDOK)
        return;
    m_cd.Close();
    for (std::size_t pos = dialog.GetStartPosition(); pos;)
        g_playList.AddHead(dialog.GetNextPathName(pos));
    m_mediaKind = kMediaWindowsMedia;
    m_pVideoDlg->SetOwner(this);
    m_pVideoDlg->PlayList();
}
