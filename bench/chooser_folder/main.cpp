// Benchmark: the chooser lists a folder of 20,000 files, compared with a bare find-first/find-next loop.
//
// Runs the real chooser dialog (its resources are read from Quon.exe beside this program), types the
// folder into the drive box and times the selection of its node, which fills the song list; prints
// the figures and the targets (under 1 s, within 3 times the bare loop). The folder is the first
// argument, or else one made in the temporary folder for the run. Run it with bench/chooser_folder/run.sh.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "chooser/QuonDir.h"
#include "framework/WinApp.h"
#include "resource.h"

namespace {

const int kFiles = 20000;
const int kRounds = 7;



int CountEntries(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int files = 0;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++files;
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return files;
}

// Fills folder with kFiles small files named like songs.
void MakeFiles(const std::string& folder)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < kFiles; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "\\%05d 流行歌曲 track.mp3", i);
        HANDLE file = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
    }
}

void RemoveFiles(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

struct Figures {
    std::vector<double> fillMs;
    int listed = 0;
};

std::string g_folder;
Figures g_figures;

BOOL CALLBACK FindChooser(HWND wnd, LPARAM found)
{
    if (CWnd::FromHandlePermanent(wnd)) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

// Drives the chooser from inside its modal loop once it shows.
VOID CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !::IsWindowVisible(dialog))
        return;
    ::KillTimer(nullptr, id);

    // Typing the folder into the drive box makes it the drive node.
    HWND combo = ::GetDlgItem(dialog, IDC_DRIVE_COMBO);
    ::SetWindowTextA(combo, g_folder.c_str());
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_COMBO, CBN_EDITCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    HWND tree = ::GetDlgItem(dialog, IDC_FOLDER_TREE);
    HWND songs = ::GetDlgItem(dialog, IDC_SONG_LIST);
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM drive = TreeView_GetChild(tree, root);

    for (int round = 0; round < kRounds; ++round) {
        TreeView_SelectItem(tree, root);
        const double start = NowMs();
        TreeView_SelectItem(tree, drive);
        ::UpdateWindow(songs);
        g_figures.fillMs.push_back(NowMs() - start);
        g_figures.listed = static_cast<int>(::SendMessageA(songs, LB_GETCOUNT, 0, 0));
    }
    ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    ::InitCommonControls();
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string quon = exe;
    quon = quon.substr(0, quon.find_last_of('\\') + 1) + "Quon.exe";
    HMODULE resources = ::LoadLibraryExA(quon.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!resources || !AfxGetApp()) {
        std::printf("needs Quon.exe beside this program for the dialog's resources: %s\n", quon.c_str());
        return 1;
    }
    AfxGetApp()->m_hInstance = resources;

    bool madeFolder = false;
    if (argc > 1) {
        g_folder = argv[1];
    } else {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        g_folder = std::string(temp) + "quon-chooser-bench-" + std::to_string(::GetCurrentProcessId());
        MakeFiles(g_folder);
        madeFolder = true;
    }
    const int files = CountEntries(g_folder);
    std::vector<double> bareMs;
    for (int round = 0; round < kRounds; ++round) {
        const double start = NowMs();
        const int counted = CountEntries(g_folder);
        bareMs.push_back(NowMs() - start);
        if (counted != files)
            std::printf("the folder changed during the run\n");
    }

    CQuonDir chooser(nullptr);
    ::SetTimer(nullptr, 0, 20, Drive);
    chooser.DoModal();

    const double bare = Median(bareMs);
    const double fill = Median(g_figures.fillMs);
    std::printf("folder: %s (%d files)\n", g_folder.c_str(), files);
    std::printf("bare find-first/find-next loop: median %.1f ms over %d rounds\n", bare, kRounds);
    std::printf("chooser song list fill:         median %.1f ms over %d rounds, %d entries listed\n", fill,
                static_cast<int>(g_figures.fillMs.size()), g_figures.listed);
    std::printf("ratio fill / bare loop: %.2f (target: under 3.00); fill target: under 1000 ms\n",
                bare > 0 ? fill / bare : 0.0);
    if (madeFolder)
        RemoveFiles(g_folder);
    ::FreeLibrary(resources);
    return 0;
}
