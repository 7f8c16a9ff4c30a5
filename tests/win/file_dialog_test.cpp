// The open dialog in process: a selection of hundreds of long names is returned whole, in order.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <string>
#include <vector>

#include "framework/FileDialog.h"

namespace {

// Drives the dialog from thread timer ticks while DoModal runs its modal loop.
struct DialogDriver {
    std::string folder;
    std::string names;
    int step = 0;
    bool typedAll = false;
    bool openAtOnce = false;  // press Open in the same moment the names are typed
};
DialogDriver* g_driver = nullptr;

BOOL CALLBACK MatchOpenDialog(HWND wnd, LPARAM param)
{
    if (::IsWindowVisible(wnd) && (::GetDlgItem(wnd, cmb13) || ::GetDlgItem(wnd, edt1))) {
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchOpenDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void TypeName(HWND dialog, const std::string& text)
{
    HWND box = ::GetDlgItem(dialog, cmb13);
    HWND edit = box ? ::FindWindowExA(box, nullptr, "Edit", nullptr) : ::GetDlgItem(dialog, edt1);
    ::SetWindowTextA(edit ? edit : box, text.c_str());
}

void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindDialog();
    if (!dialog || !g_driver)
        return;
    switch (g_driver->step++) {
    case 0:
        TypeName(dialog, g_driver->folder);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    case 1:
        TypeName(dialog, g_driver->names);
        g_driver->typedAll = true;
        if (g_driver->openAtOnce)
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    case 2:
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    default:
        ::KillTimer(nullptr, id);
        ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); // should not be needed
        break;
    }
}

void ExpectWholeSelection(bool openAtOnce)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + (openAtOnce ? "quon_many_files_now" : "quon_many_files");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> names;
    std::string typed;
    for (int i = 0; i < 300; ++i) {
        // 40-byte names, some with GBK characters: 300 of them far exceed 4096 bytes.
        char name[64];
        wsprintfA(name, "%03d 一首很长的歌曲名字 long song title.wav", i);
        names.push_back(name);
        HANDLE file = ::CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
        typed += "\"" + std::string(name) + "\" ";
    }
    ASSERT_GT(typed.size(), 4096u * 2);

    DialogDriver driver{folder, typed};
    driver.openAtOnce = openAtOnce;
    g_driver = &driver;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 300, &Drive);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       "All files (*.*)|*.*||", nullptr);
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    g_driver = nullptr;

    ASSERT_TRUE(driver.typedAll);
    ASSERT_EQ(result, IDOK) << "a long selection must not be dropped";
    std::vector<std::string> returned;
    for (std::size_t pos = dialog.GetStartPosition(); pos;)
        returned.push_back(dialog.GetNextPathName(pos));
    ASSERT_EQ(returned.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(returned[i], folder + "\\" + names[i]) << i;

    for (const std::string& name : names)
        ::DeleteFileA((folder + "\\" + name).c_str());
    ::RemoveDirectoryA(folder.c_str());
}

TEST(FileDialog, ReturnsAMultipleSelectionLongerThanItsFirstBuffer)
{
    ExpectWholeSelection(false);
}

// Open pressed the moment the names are typed, before the dialog's timer has seen them.
TEST(FileDialog, ReturnsALongSelectionOpenedTheMomentItIsTyped)
{
    ExpectWholeSelection(true);
}

} // namespace
