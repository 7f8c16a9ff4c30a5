// CPlayerDlg::OpenFiles: the open dialog puts the chosen files at the head of the play list;
// PlayPaths is that step for every way files come in.
#include "app/PlayerApp.h"
#include "framework/FileDialog.h"
#include "playback/OpenPaths.h"
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
    // Each name the dialog returns goes to the head: the list begins with the last one.
    std::vector<std::string> entries;
    for (std::size_t pos = dialog.GetStartPosition(); pos;)
        entries.insert(entries.begin(), dialog.GetNextPathName(pos));
    PlayPaths(OpenListFiles(entries));
}

void CPlayerDlg::PlayPaths(const std::vector<std::string>& entries)
{
    if (entries.empty() || !m_pVideoDlg)
        return;
    // A video that plays now is replaced without a stop report: its window goes now.
    if (m_playing)
        StopCurrent();
    m_cd.Close();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        g_playList.AddHead(*entry);
    m_mediaKind = kMediaWindowsMedia;
    m_pVideoDlg->SetOwner(this);
    m_pVideoDlg->PlayList();
}

void CPlayerDlg::PlayIncoming(const std::vector<std::wstring>& paths)
{
    PlayPaths(ListPathsFor(ExpandIncomingPaths(paths, ListFiles::Open)));
}
