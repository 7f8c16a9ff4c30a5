// CQuonDir: the song list of the folder shown, the picked and collected songs, and the buttons.
#include <windows.h>

#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "chooser/QuonDir.h"
#include "chooser/logic/ChooserPaths.h"
#include "framework/FileFind.h"

bool CQuonDir::FillSongList()
{
    // A folder may hold tens of thousands of entries: read them all first, then fill the list in
    // one go with its storage reserved and its painting off.
    std::vector<std::string> names;
    std::size_t textBytes = 0;
    CFileFind finder;
    BOOL working = finder.FindFile((m_folderPath + "\\*.*").c_str());
    while (working) {
        working = finder.FindNextFile();
        if (finder.IsDirectory())
            continue;  // folders, "." and ".." included
        names.push_back(finder.GetFileName());
        textBytes += names.back().size() + 1;
    }

    m_songList.SetRedraw(FALSE);
    m_songList.ResetContent();
    m_folderSongs.RemoveAll();
    m_songList.InitStorage(static_cast<int>(names.size()), static_cast<UINT>(textBytes));
    bool listed = false;
    for (const std::string& name : names) {
        if (m_songList.AddString(name.c_str()) < 0)
            break;  // out of room: the list and its paths stay in step
        m_folderSongs.AddTail(EntryPath(m_folderPath, name));
        listed = true;
    }
    m_songList.SetRedraw(TRUE);
    m_songList.Invalidate();
    return listed;
}

void CQuonDir::CollectPickedSongs()
{
    if (!m_selectedSongs.IsEmpty()) {
        g_playList.AddTail(m_selectedSongs);
        m_nothingCollected = false;
        // Those songs are in the play list now: list 1003 (which keeps showing them when the root or
        // another drive is chosen) must not offer them as picks again.
        m_songList.SetSel(-1, FALSE);
    }
    m_selectedSongs.RemoveAll();
}

void CQuonDir::OnSelchangeSongs()
{
    const int count = m_songList.GetSelCount();
    m_selectedSongs.RemoveAll();
    ::EnableWindow(m_btnSelectAll, FALSE);
    if (count > 0) {
        std::vector<int> picked(static_cast<std::size_t>(count));
        const int got = m_songList.GetSelItems(count, picked.data());
        // The paths come from the listing itself: after a change of drive or a selection of the root
        // the list still shows the folder listed last, which m_folderPath no longer names.
        POSITION pos = m_folderSongs.GetHeadPosition();
        int index = 0;
        for (int i = 0; i < got && pos; ++i) {
            while (pos && index < picked[static_cast<std::size_t>(i)]) {
                m_folderSongs.GetNext(pos);
                ++index;
            }
            if (pos)
                m_selectedSongs.AddTail(m_folderSongs.GetAt(pos));
        }
    } else {
        ::EnableWindow(m_btnSelectAll, TRUE);
    }
    RefreshSelectedList();
}

void CQuonDir::RefreshSelectedList()
{
    m_selectedList.SetRedraw(FALSE);
    m_selectedList.ResetContent();
    const BOOL picked = !m_selectedSongs.IsEmpty();
    ::EnableWindow(m_btnOK, picked);
    ::EnableWindow(m_btnReset, picked);
    for (POSITION pos = g_playList.GetHeadPosition(); pos;)
        m_selectedList.AddString(g_playList.GetNext(pos).c_str());
    for (POSITION pos = m_selectedSongs.GetHeadPosition(); pos;)
        m_selectedList.AddString(m_selectedSongs.GetNext(pos).c_str());
    m_selectedList.SetRedraw(TRUE);
    m_selectedList.Invalidate();
}

void CQuonDir::OnSelectAll()
{
    m_selectedSongs.RemoveAll();
    m_selectedList.SetRedraw(FALSE);
    for (POSITION pos = m_folderSongs.GetHeadPosition(); pos;) {
        const std::string& path = m_folderSongs.GetNext(pos);
        m_selectedList.AddString(path.c_str());
        m_selectedSongs.AddTail(path);
    }
    m_selectedList.SetRedraw(TRUE);
    m_selectedList.Invalidate();
    ::EnableWindow(m_btnOK, TRUE);
    ::EnableWindow(m_btnReset, TRUE);
    ::EnableWindow(m_btnSelectAll, FALSE);
}

void CQuonDir::OnReset()
{
    m_selectedSongs.RemoveAll();
    ::EnableWindow(m_btnSelectAll, TRUE);
    m_songList.SetSel(-1, FALSE);
    RefreshSelectedList();
}

void CQuonDir::OnClickOK()
{
    if (!m_selectedSongs.IsEmpty()) {
        g_playList.AddTail(m_selectedSongs);
        EndDialog(IDOK);
    } else if (m_nothingCollected) {
        EndDialog(IDCANCEL);
    } else {
        EndDialog(IDOK);
    }
}
