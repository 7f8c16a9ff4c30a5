// The playlist chooser of the running program, driven from outside: drive box, folder tree, song lists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class QuonProcess;

// A drive letter that Wine's mount manager maps onto a folder. The mapping belongs to the whole
// prefix, so programs started later see the drive too; it is removed again at the end.
// (DefineDosDevice is no substitute: every process then lists the letter, but Wine finds no files on it.)
class MappedDrive {
public:
    explicit MappedDrive(const std::string& folder);  // a Windows path
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    bool Ready() const { return m_mapped; }
    std::string Text() const { return std::string(1, m_letter) + ":"; }  // as the drive box shows it

private:
    char m_letter = 0;
    bool m_mapped = false;
};

// A block of memory inside another process, for control messages whose pointers the system does not
// carry across processes (the tree view's).
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, SIZE_T size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return m_address != nullptr; }
    // The other process is a 32-bit one (the release), whose structures hold 32-bit pointers.
    bool Is32Bit() const;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_address); }
    void* At(SIZE_T offset) const { return static_cast<char*>(m_address) + offset; }
    bool Write(const void* data, SIZE_T size, SIZE_T offset = 0) const;
    bool Read(void* data, SIZE_T size, SIZE_T offset = 0) const;

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
};

// The chooser dialog of the program, acted on as a user would: real clicks wherever the position of
// the thing to click can be read; the tree's expansion by TVM_EXPAND, as the click on its button does.
class ChooserWindow {
public:
    // The visible chooser of the program, or null.
    static HWND Find(const QuonProcess& quon);

    ChooserWindow(DWORD processId, HWND dialog) : m_processId(processId), m_dialog(dialog) {}

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }
    bool IsOpen() const { return ::IsWindow(m_dialog) && ::IsWindowVisible(m_dialog); }

    // Drive box: its entries, and choosing one from the drop-down list with the mouse.
    std::vector<std::string> DriveEntries() const;
    bool PickDrive(const std::string& text) const;

    // Tree.
    HTREEITEM Root() const;
    std::vector<HTREEITEM> Children(HTREEITEM parent) const;
    std::string Text(HTREEITEM item) const;
    HTREEITEM ChildNamed(HTREEITEM parent, const std::string& text) const;
    HTREEITEM Selected() const;
    bool Expand(HTREEITEM item) const;
    bool IsExpanded(HTREEITEM item) const;
    // A left click on the item's label; true when the tree then has it selected.
    bool ClickNode(HTREEITEM item) const;

    // Song list 1003 and the collected songs 1004.
    std::vector<std::string> Songs() const;
    std::vector<std::string> PickedSongs() const;
    std::vector<std::string> Collected() const;
    // A left click on a song of list 1003 (it toggles the song's selection).
    bool ClickSong(const std::string& name) const;

    // Buttons: 1 "确定", 2 "取消", 1016 "全选", 1017 "重置".
    bool IsEnabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    void ClickButton(int id) const;

private:
    bool ItemRect(HTREEITEM item, RECT& rect) const;
    DWORD m_processId;
    HWND m_dialog;
};
