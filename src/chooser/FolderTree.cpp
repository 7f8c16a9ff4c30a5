// CQuonDir: the drive box and the tree of the chosen drive, its folders read as they are selected.
#include <windows.h>

#include <string>
#include <vector>

#include "chooser/QuonDir.h"
#include "chooser/logic/ChooserPaths.h"

namespace {

// One search of the system's find-first/find-next calls, closed when it ends.
class FolderSearch {
public:
    explicit FolderSearch(const std::string& pattern)
        : m_find(::FindFirstFileA(pattern.c_str(), &m_entry))
    {
    }
    ~FolderSearch()
    {
        if (m_find != INVALID_HANDLE_VALUE)
            ::FindClose(m_find);
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    bool Started() const { return m_find != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& Entry() const { return m_entry; }
    bool Next() { return ::FindNextFileA(m_find, &m_entry) != FALSE; }

private:
    WIN32_FIND_DATAA m_entry{};
    HANDLE m_find;
};

// The names of the folders of folder that the tree shows, in the order of the file system.
std::vector<std::string> PlainSubfolders(const std::string& folder)
{
    std::vector<std::string> names;
    FolderSearch search(folder + "\\*.*");
    if (!search.Started())
        return names;
    do {
        const WIN32_FIND_DATAA& entry = search.Entry();
        if (IsPlainFolder(entry.dwFileAttributes, entry.cFileName))
            names.emplace_back(entry.cFileName);
    } while (search.Next());
    return names;
}

}  // namespace

void CQuonDir::FillDriveCombo()
{
    for (const std::string& drive : DriveTextsFromMask(::GetLogicalDrives()))
        m_driveCombo.AddString(drive.c_str());
}

void CQuonDir::OnSelchangeDrive()
{
    const int index = m_driveCombo.GetCurSel();
    if (index == CB_ERR)
        return;
    m_driveCombo.GetLBText(index, m_driveText);
    m_folderPath = m_driveText;
    ShowDrive();
}

void CQuonDir::OnEditchangeDrive()
{
    m_driveCombo.GetWindowText(m_driveText);
    m_folderPath = m_driveText;
    ShowDrive();
}

void CQuonDir::ShowDrive()
{
    if (m_driveItem) {
        // When the selection lies under the old node the tree moves it (to the root), so the
        // selection handler runs, and collects the picks, during the deletion.
        HTREEITEM old = m_driveItem;
        m_driveItem = nullptr;
        m_tree.DeleteItem(old);
    }
    const bool cdRom = ::GetDriveTypeA((m_driveText + "\\").c_str()) == DRIVE_CDROM;
    const std::string label = DriveTypeLabel(cdRom, m_driveText) + m_driveText;
    m_driveItem = m_tree.InsertItem(label.c_str(), 0, 1, m_rootItem);
    for (const std::string& name : PlainSubfolders(m_driveText))
        m_tree.InsertItem(name.c_str(), 1, 2, m_driveItem);
    // The root has no button of its own: open it so the new drive can be seen and chosen.
    m_tree.Expand(m_rootItem, TVE_EXPAND);
}

void CQuonDir::AddSubfolders(HTREEITEM item)
{
    for (const std::string& name : PlainSubfolders(m_folderPath))
        m_tree.InsertItem(name.c_str(), 1, 2, item);
}

void CQuonDir::OnSelchangedTree(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM selected = change->itemNew.hItem;
    HTREEITEM firstChild = selected ? m_tree.GetChildItem(selected) : nullptr;
    HTREEITEM parent = selected ? m_tree.GetParentItem(selected) : nullptr;

    ::EnableWindow(m_btnSelectAll, FALSE);
    m_folderPath = m_driveText;
    CollectPickedSongs();
    if (!selected || selected == m_rootItem)
        return;

    if (parent != m_rootItem) {
        // A folder: its labels up to the drive node name its path.
        std::vector<std::string> labelsUpward;
        for (HTREEITEM item = selected; item && m_tree.GetParentItem(item) != m_rootItem;
             item = m_tree.GetParentItem(item))
            labelsUpward.push_back(m_tree.GetItemText(item));
        m_folderPath = FolderPathFromLabels(m_driveText, labelsUpward);
        if (!firstChild)
            AddSubfolders(selected);
    }
    if (FillSongList())
        ::EnableWindow(m_btnSelectAll, TRUE);
}
