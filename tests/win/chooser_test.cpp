// The playlist chooser in process: drives, the lazy folder tree, song lists, buttons, colours, results.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/PlayerApp.h"
#include "chooser/QuonDir.h"
#include "framework/Gdi.h"
#include "player/PlayerDlg.h"
#include "resource.h"
#include "PlayerSession.h"
#include "WinTestSupport.h"
#include "WineDrives.h"

namespace {

using Names = std::vector<std::string>;

// A result no handler of the chooser gives: the script ended without closing the dialog.
const INT_PTR kLeftOpen = 77;
const char kChooserCaption[] = "Quon音乐_选择播放列表";

// ---- a tree of folders and files, reachable as drive letters ------------------------------------

char FreeDriveLetter(char from, char skip)
{
    const DWORD used = ::GetLogicalDrives();
    for (char letter = from; letter <= 'Z'; ++letter) {
        if (letter != skip && !(used & (1u << (letter - 'A'))))
            return letter;
    }
    return 0;
}

void WriteFileBytes(const std::string& path, const std::string& bytes, DWORD attributes = 0)
{
    const DWORD normal = FILE_ATTRIBUTE_NORMAL;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, normal, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (attributes)
        ::SetFileAttributesA(path.c_str(), attributes);
}

// A tenth of a second of silence: a file the Windows Media window can really play.
std::string SilentWave()
{
    const DWORD dataBytes = 8820;  // 44.1 kHz, mono, 16 bits
    std::string wave;
    auto put32 = [&wave](DWORD v) { wave.append(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&wave](WORD v) { wave.append(reinterpret_cast<const char*>(&v), 2); };
    wave += "RIFF";
    put32(36 + dataBytes);
    wave += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(44100);
    put32(88200);
    put16(2);
    put16(16);
    wave += "data";
    put32(dataBytes);
    wave.append(dataBytes, '\0');
    return wave;
}

// Entry names of a folder in the order the file system gives them.
Names EntriesInSearchOrder(const std::string& folder)
{
    Names names;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(entry.cFileName);
    while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
}

// Folders of the music tree, with the attributes they are given besides the directory one.
struct FolderSpec {
    const char* path;
    DWORD attributes;
};
const FolderSpec kFolders[] = {
    {"Music", 0},
    {"Music\\Pop", 0},
    {"Music\\Pop\\Deep", 0},
    {"Music\\誠", 0},  // its last byte is a 0x5C trail byte
    {"OnlyFolders", 0},
    {"OnlyFolders\\One", 0},
    {"OnlyFolders\\Two", 0},
    {"老歌", 0},
    {"Hidden", FILE_ATTRIBUTE_HIDDEN},
    {"System", FILE_ATTRIBUTE_SYSTEM},
    {"ReadOnly", FILE_ATTRIBUTE_READONLY},
    {"Archive", FILE_ATTRIBUTE_ARCHIVE},
    {"ReadOnlyArchive", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
};

struct FileSpec {
    const char* path;
    DWORD attributes;
};
const FileSpec kFiles[] = {
    {"readme.txt", 0},          {"picture.bmp", 0},     {"program.exe", 0},
    {"video.avi", 0},           {"noextension", 0},     {"hidden.dat", FILE_ATTRIBUTE_HIDDEN},
    {"system.sys", FILE_ATTRIBUTE_SYSTEM},              {"readonly.mp3", FILE_ATTRIBUTE_READONLY},
    {"Music\\a1.mp3", 0},       {"Music\\a2.wma", 0},   {"Music\\a3.txt", 0},
    {"Music\\a4.jpg", 0},       {"Music\\Pop\\p1.mp3", 0},
    {"Music\\誠\\衆歌.mp3", 0},  {"老歌\\乐曲.mp3", 0},  {"老歌\\老歌.wav", 0},
};

// The tree under the temporary folder, shown as a fixed disk and as a CD-ROM drive.
class MusicDrives {
public:
    MusicDrives()
    {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "quon-chooser-" + std::to_string(::GetCurrentProcessId());
        RemoveTree(m_folder);
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        for (const FolderSpec& f : kFolders) {
            const std::string path = m_folder + "\\" + f.path;
            ::CreateDirectoryA(path.c_str(), nullptr);
            if (f.attributes)
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | f.attributes);
        }
        for (const FileSpec& f : kFiles) {
            const std::string name = f.path;
            const bool wave = name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0;
            WriteFileBytes(m_folder + "\\" + name, wave ? SilentWave() : "Quon test file", f.attributes);
        }
        const std::string unix = UnixPathOf(m_folder);
        if (unix.empty())
            return;
        m_cdLetter = ::GetLogicalDrives() & (1u << ('E' - 'A')) ? FreeDriveLetter('F', 0) : 'E';
        m_diskLetter = FreeDriveLetter('Q', m_cdLetter);
        if (!m_cdLetter || !m_diskLetter)
            return;
        m_defined = DefineWineDrive(m_cdLetter, unix, DRIVE_CDROM) &&
                    DefineWineDrive(m_diskLetter, unix, DRIVE_FIXED);
    }
    ~MusicDrives()
    {
        if (m_cdLetter)
            DefineWineDrive(m_cdLetter, "", DRIVE_NO_ROOT_DIR);
        if (m_diskLetter)
            DefineWineDrive(m_diskLetter, "", DRIVE_NO_ROOT_DIR);
        RemoveTree(m_folder);
    }
    MusicDrives(const MusicDrives&) = delete;
    MusicDrives& operator=(const MusicDrives&) = delete;

    bool Ready() const { return m_defined; }
    std::string Disk() const { return std::string(1, m_diskLetter) + ":"; }
    std::string Cd() const { return std::string(1, m_cdLetter) + ":"; }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    char m_cdLetter = 0;
    char m_diskLetter = 0;
    bool m_defined = false;
};

// ---- reading and driving the dialog's controls ------------------------------------------------------

std::string TreeText(HWND tree, HTREEITEM item)
{
    char buffer[600] = "";
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
}

std::pair<int, int> TreeImages(HWND tree, HTREEITEM item)
{
    TVITEMA query{};
    query.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    query.hItem = item;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return {query.iImage, query.iSelectedImage};
}

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        items.push_back(item);
    return items;
}

Names ChildTexts(HWND tree, HTREEITEM parent)
{
    Names texts;
    for (HTREEITEM item : Children(tree, parent))
        texts.push_back(TreeText(tree, item));
    return texts;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& text)
{
    for (HTREEITEM item : Children(tree, parent)) {
        if (TreeText(tree, item) == text)
            return item;
    }
    return nullptr;
}

Names ListTexts(HWND list)
{
    Names texts;
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char buffer[600] = "";
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        texts.emplace_back(buffer);
    }
    return texts;
}

Names ToNames(const CStringList& list)
{
    Names names;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        names.push_back(list.GetNext(pos));
    return names;
}

void FillPlayList(const Names& names)
{
    g_playList.RemoveAll();
    for (const std::string& name : names)
        g_playList.AddTail(name);
}

struct ButtonStates {
    bool ok;
    bool reset;
    bool selectAll;
    bool operator==(const ButtonStates& o) const
    {
        return ok == o.ok && reset == o.reset && selectAll == o.selectAll;
    }
};

std::ostream& operator<<(std::ostream& out, const ButtonStates& b)
{
    return out << "{确定 " << b.ok << ", 重置 " << b.reset << ", 全选 " << b.selectAll << "}";
}

// Drives one chooser dialog by the messages a user's actions produce.
class Driver {
public:
    explicit Driver(HWND dialog) : m_dialog(dialog) {}

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }
    HWND Tree() const { return Item(IDC_FOLDER_TREE); }
    HWND Songs() const { return Item(IDC_SONG_LIST); }
    HWND Selected() const { return Item(IDC_SELECTED_LIST); }
    HWND Combo() const { return Item(IDC_DRIVE_COMBO); }
    HTREEITEM Root() const { return TreeView_GetRoot(Tree()); }
    HTREEITEM DriveNode() const { return TreeView_GetChild(Tree(), Root()); }

    // Picks an entry of the drive box as the drop-down list does.
    bool ChooseDrive(const std::string& drive) const
    {
        LRESULT index = ::SendMessageA(Combo(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(drive.c_str()));
        if (index == CB_ERR)
            return false;
        ::SendMessageA(Combo(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_COMBO, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Combo()));
        return true;
    }

    // Types one character into the drive box's edit field.
    void TypeIntoDriveBox(char c) const
    {
        HWND edit = ::FindWindowExA(Combo(), nullptr, "Edit", nullptr);
        ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }

    void Select(HTREEITEM item) const { TreeView_SelectItem(Tree(), item); }

    // Selects the folder at labels below the drive node, one level after the other.
    HTREEITEM SelectFolder(const Names& labels) const
    {
        HTREEITEM item = DriveNode();
        for (const std::string& label : labels) {
            item = item ? ChildNamed(Tree(), item, label) : nullptr;
            if (!item)
                return nullptr;
            Select(item);
        }
        return item;
    }

    // Clicks an entry of list 1003, which toggles its selection.
    bool ClickSong(const std::string& name) const
    {
        LRESULT index = ::SendMessageA(Songs(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
        if (index == LB_ERR)
            return false;
        ::SendMessageA(Songs(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        RECT r{};
        ::SendMessageA(Songs(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
        ::SendMessageA(Songs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(Songs(), WM_LBUTTONUP, 0, at);
        return true;
    }

    Names PickedInList() const
    {
        Names picked;
        const Names all = ListTexts(Songs());
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (::SendMessageA(Songs(), LB_GETSEL, i, 0) > 0)
                picked.push_back(all[i]);
        }
        return picked;
    }

    bool Click(int id) const
    {
        if (!::IsWindowEnabled(Item(id)))
            return false;
        ::SendMessageA(Item(id), BM_CLICK, 0, 0);
        return true;
    }

    ButtonStates Buttons() const
    {
        return {::IsWindowEnabled(Item(IDOK)) != FALSE, ::IsWindowEnabled(Item(IDC_RESET)) != FALSE,
                ::IsWindowEnabled(Item(IDC_SELECT_ALL)) != FALSE};
    }

private:
    HWND m_dialog;
};

// Ends the test run if a script hangs inside the modal loop.
class HangGuard {
public:
    HangGuard() : m_done(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        m_thread = ::CreateThread(nullptr, 0, &HangGuard::Watch, this, 0, nullptr);
    }
    ~HangGuard()
    {
        ::SetEvent(m_done);
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_done);
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    static DWORD WINAPI Watch(void* self)
    {
        if (::WaitForSingleObject(static_cast<HangGuard*>(self)->m_done, 60000) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "the chooser script did not finish\n");
            std::fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
        return 0;
    }
    HANDLE m_done;
    HANDLE m_thread = nullptr;
};

BOOL CALLBACK FindChooser(HWND wnd, LPARAM found)
{
    char caption[64] = "";
    ::GetWindowTextA(wnd, caption, sizeof caption);
    if (std::strcmp(caption, kChooserCaption) == 0) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

// The script that the next chooser to open runs from inside its modal loop.
std::function<void(CQuonDir&, Driver&)> g_script;
bool g_scriptRan = false;

int g_scriptWaits = 0;

VOID CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_script) {
        ::KillTimer(nullptr, id);
        return;
    }
    // The modal loop shows the dialog once it is idle: come back until then.
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(&dialog));
    if ((!dialog || !::IsWindowVisible(dialog)) && ++g_scriptWaits < 150)
        return;
    ::KillTimer(nullptr, id);
    auto script = std::exchange(g_script, nullptr);
    auto* chooser = dynamic_cast<CQuonDir*>(CWnd::FromHandlePermanent(dialog));
    if (!chooser || !::IsWindowVisible(dialog)) {
        ADD_FAILURE() << "the chooser did not show";
        if (dialog)
            ::EndDialog(dialog, kLeftOpen);
        return;
    }
    g_scriptRan = true;
    Driver driver(dialog);
    script(*chooser, driver);
    if (::IsWindowVisible(dialog))
        ::EndDialog(dialog, kLeftOpen);
}

// Arms the script for the next chooser that opens on this thread.
void ArmScript(std::function<void(CQuonDir&, Driver&)> script)
{
    g_script = std::move(script);
    g_scriptRan = false;
    g_scriptWaits = 0;
    ::SetTimer(nullptr, 0, 20, RunScript);
}

INT_PTR RunChooser(std::function<void(CQuonDir&, Driver&)> script)
{
    HangGuard guard;
    CQuonDir chooser(nullptr);
    ArmScript(std::move(script));
    INT_PTR result = chooser.DoModal();
    EXPECT_TRUE(g_scriptRan);
    return result;
}

void RepaintNow(HWND wnd)
{
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(50);
}

// ---- fixture -------------------------------------------------------------------------------------

class Chooser : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_drives = new MusicDrives(); }
    static void TearDownTestSuite()
    {
        delete s_drives;
        s_drives = nullptr;
    }
    void SetUp() override
    {
        g_playList.RemoveAll();
        if (!s_drives->Ready())
            GTEST_SKIP() << "needs Wine's mount manager to show a folder as a drive";
    }
    void TearDown() override { g_playList.RemoveAll(); }

    static std::string Disk() { return s_drives->Disk(); }
    static std::string Cd() { return s_drives->Cd(); }
    static std::string DiskPath(const std::string& below) { return Disk() + "\\" + below; }

    static MusicDrives* s_drives;
};
MusicDrives* Chooser::s_drives = nullptr;

}  // namespace

// ---- opening --------------------------------------------------------------------------------------

TEST_F(Chooser, OpensWithItsControlsTheDrivesAndAnEmptiedPlayList)
{
    FillPlayList({"C:\\old\\one.mp3", "C:\\old\\two.mp3"});
    const INT_PTR result = RunChooser([](CQuonDir& chooser, Driver& d) {
        char caption[64] = "";
        ::GetWindowTextA(d.Dialog(), caption, sizeof caption);
        EXPECT_STREQ(caption, kChooserCaption);
        EXPECT_TRUE(g_playList.IsEmpty()) << "the chooser empties the play list when it opens";
        RECT work{};
        RECT own{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        ::GetWindowRect(d.Dialog(), &own);
        EXPECT_NEAR((own.left + own.right) / 2, (work.left + work.right) / 2, 1) << "opens centred";
        EXPECT_NEAR((own.top + own.bottom) / 2, (work.top + work.bottom) / 2, 1);

        // The drive box offers C: to Z: of the logical drives, nothing selected.
        Names expected;
        const DWORD mask = ::GetLogicalDrives();
        for (char letter = 'C'; letter <= 'Z'; ++letter) {
            if (mask & (1u << (letter - 'A')))
                expected.push_back(std::string(1, letter) + ":");
        }
        Names offered;
        const int count = static_cast<int>(::SendMessageA(d.Combo(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[16] = "";
            ::SendMessageA(d.Combo(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            offered.emplace_back(text);
        }
        EXPECT_EQ(offered, expected);
        EXPECT_EQ(::SendMessageA(d.Combo(), CB_GETCURSEL, 0, 0), CB_ERR);

        // The tree holds only its root, with the first icon.
        EXPECT_EQ(TreeView_GetCount(d.Tree()), 1u);
        EXPECT_EQ(TreeText(d.Tree(), d.Root()), "选择文件夹");
        EXPECT_EQ(d.Root(), chooser.m_rootItem);
        EXPECT_EQ(TreeImages(d.Tree(), d.Root()), std::make_pair(0, 0));
        EXPECT_EQ(chooser.m_driveItem, nullptr);
        HIMAGELIST images = TreeView_GetImageList(d.Tree(), TVSIL_NORMAL);
        ASSERT_NE(images, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(images), 3);
        int cx = 0;
        int cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        EXPECT_EQ(cx, 16);
        EXPECT_EQ(cy, 16);

        EXPECT_EQ(::SendMessageA(d.Songs(), LB_GETHORIZONTALEXTENT, 0, 0), 200);
        EXPECT_EQ(::SendMessageA(d.Selected(), LB_GETHORIZONTALEXTENT, 0, 0), 300);
        EXPECT_EQ(ListTexts(d.Songs()), Names{});
        EXPECT_EQ(ListTexts(d.Selected()), Names{});

        EXPECT_EQ(d.Buttons(), (ButtonStates{false, false, false}));
        EXPECT_TRUE(::IsWindowEnabled(d.Item(IDCANCEL)));
        for (int id : {IDOK, IDCANCEL, IDC_SELECT_ALL, IDC_RESET}) {
            EXPECT_EQ(::GetWindowLongPtrA(d.Item(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
        }
        EXPECT_TRUE(d.Click(IDCANCEL));
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(g_playList.IsEmpty()) << "the chooser alone leaves the restoring to its caller";
}

// ---- drives ---------------------------------------------------------------------------------------

TEST_F(Chooser, DriveNodeIsLabelledByTheDriveType)
{
    RunChooser([](CQuonDir& chooser, Driver& d) {
        struct Case {
            std::string drive;
            std::string node;
        };
        const Case cases[] = {
            {Cd(), "CD-ROM  " + Cd()},
            {"C:", "Hard Disc  C:"},
            {Disk(), "Hard Disc  " + Disk()},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.drive);
            ASSERT_TRUE(d.ChooseDrive(c.drive));
            EXPECT_EQ(chooser.m_driveText, c.drive);
            EXPECT_EQ(chooser.m_folderPath, c.drive);
            ASSERT_EQ(Children(d.Tree(), d.Root()).size(), 1u) << "one drive node at a time";
            EXPECT_EQ(d.DriveNode(), chooser.m_driveItem);
            EXPECT_EQ(TreeText(d.Tree(), d.DriveNode()), c.node);
            EXPECT_EQ(TreeImages(d.Tree(), d.DriveNode()), std::make_pair(0, 1));
        }
        d.Click(IDCANCEL);
    });
}

TEST_F(Chooser, TypingANetworkPathRebuildsTheDriveNodeAfterEveryKey)
{
    RunChooser([](CQuonDir& chooser, Driver& d) {
        const std::string typed = "\\\\server\\share";
        std::string sofar;
        for (char c : typed) {
            d.TypeIntoDriveBox(c);
            sofar += c;
            SCOPED_TRACE(sofar);
            EXPECT_EQ(chooser.m_driveText, sofar);
            EXPECT_EQ(chooser.m_folderPath, sofar);
            ASSERT_EQ(Children(d.Tree(), d.Root()).size(), 1u);
            EXPECT_EQ(TreeText(d.Tree(), d.DriveNode()), "网络邻居  " + sofar);
            EXPECT_EQ(TreeView_GetChild(d.Tree(), d.DriveNode()), nullptr)
                << "an unreachable share has no folders";
        }
        EXPECT_EQ(TreeText(d.Tree(), d.DriveNode()), "网络邻居  \\\\server\\share");

        // The unreadable drive node lists nothing.
        d.Select(d.DriveNode());
        EXPECT_EQ(ListTexts(d.Songs()), Names{});
        EXPECT_FALSE(d.Buttons().selectAll);
        d.Click(IDCANCEL);
    });
}

// ---- folders --------------------------------------------------------------------------------------

TEST_F(Chooser, TreeShowsOnlyFoldersWithTheDirectoryAttributeAloneInSearchOrder)
{
    // What the file system reports for each folder decides; Wine keeps hidden and system
    // attributes of folders, but not read-only or archive ones set from Windows.
    Names plain;
    Names marked;
    for (const std::string& name : EntriesInSearchOrder(s_drives->Folder())) {
        if (name == "." || name == "..")
            continue;
        const DWORD attributes = ::GetFileAttributesA((s_drives->Folder() + "\\" + name).c_str());
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        (attributes == FILE_ATTRIBUTE_DIRECTORY ? plain : marked).push_back(name);
    }
    ASSERT_GE(marked.size(), 2u) << "hidden and system folders carry more than the directory attribute";
    for (const char* name : {"Music", "OnlyFolders", "老歌"})
        EXPECT_NE(std::find(plain.begin(), plain.end(), name), plain.end()) << name;

    RunChooser([&](CQuonDir&, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        EXPECT_EQ(ChildTexts(d.Tree(), d.DriveNode()), plain);
        for (const std::string& name : marked) {
            EXPECT_EQ(ChildNamed(d.Tree(), d.DriveNode(), name), nullptr) << name;
        }
        for (HTREEITEM folder : Children(d.Tree(), d.DriveNode())) {
            EXPECT_EQ(TreeImages(d.Tree(), folder), std::make_pair(1, 2));
            EXPECT_EQ(TreeView_GetChild(d.Tree(), folder), nullptr) << "deeper levels wait for a selection";
        }
        d.Click(IDCANCEL);
    });
}

TEST_F(Chooser, FoldersReadTheirSubfoldersOnceWhenFirstSelected)
{
    RunChooser([](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        HTREEITEM music = d.SelectFolder({"Music"});
        ASSERT_NE(music, nullptr);
        const Names musicFolders = ChildTexts(d.Tree(), music);
        Names sorted = musicFolders;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (Names{"Pop", "誠"}));
        EXPECT_EQ(chooser.m_folderPath, DiskPath("Music"));

        HTREEITEM pop = d.SelectFolder({"Music", "Pop"});
        ASSERT_NE(pop, nullptr);
        EXPECT_EQ(chooser.m_folderPath, DiskPath("Music\\Pop"));
        EXPECT_EQ(ChildTexts(d.Tree(), pop), Names{"Deep"});

        // Second selections add nothing twice; a folder without subfolders reads again, finding none.
        d.Select(music);
        EXPECT_EQ(ChildTexts(d.Tree(), music), musicFolders);
        d.Select(pop);
        EXPECT_EQ(ChildTexts(d.Tree(), pop), Names{"Deep"});
        HTREEITEM deep = d.SelectFolder({"Music", "Pop", "Deep"});
        ASSERT_NE(deep, nullptr);
        EXPECT_EQ(chooser.m_folderPath, DiskPath("Music\\Pop\\Deep"));
        d.Select(pop);
        d.Select(deep);
        EXPECT_EQ(ChildTexts(d.Tree(), deep), Names{});
        EXPECT_EQ(TreeView_GetCount(d.Tree()),
                  2u + Children(d.Tree(), d.DriveNode()).size() + musicFolders.size() + 1u);

        // A folder whose name ends in a 0x5C trail byte keeps its character.
        HTREEITEM cheng = d.SelectFolder({"Music", "誠"});
        ASSERT_NE(cheng, nullptr);
        EXPECT_EQ(chooser.m_folderPath, DiskPath("Music\\誠"));
        EXPECT_EQ(ListTexts(d.Songs()), Names{"衆歌.mp3"});
        EXPECT_EQ(ToNames(chooser.m_folderSongs), Names{DiskPath("Music\\誠\\衆歌.mp3")});

        // An edited label is not accepted.
        HWND edit = TreeView_EditLabel(d.Tree(), pop);
        if (edit) {
            ::SetWindowTextA(edit, "Renamed");
            TreeView_EndEditLabelNow(d.Tree(), FALSE);
        }
        EXPECT_EQ(TreeText(d.Tree(), pop), "Pop");
        d.Click(IDCANCEL);
    });
}

TEST_F(Chooser, ChoosingAnotherDriveReplacesTheDriveNodeWithItsFolders)
{
    RunChooser([](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"Music", "Pop"}), nullptr);
        ASSERT_TRUE(d.ChooseDrive(Cd()));
        ASSERT_EQ(Children(d.Tree(), d.Root()).size(), 1u);
        EXPECT_EQ(TreeText(d.Tree(), d.DriveNode()), "CD-ROM  " + Cd());
        HTREEITEM music = ChildNamed(d.Tree(), d.DriveNode(), "Music");
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(TreeView_GetChild(d.Tree(), music), nullptr) << "the new drive's folders start unread";
        EXPECT_EQ(chooser.m_folderPath, Cd());
        d.Click(IDCANCEL);
    });
}

// ---- song lists -----------------------------------------------------------------------------------

TEST_F(Chooser, SongListShowsEveryFileOfTheFolderInSearchOrderAndNoFolder)
{
    Names files;
    for (const std::string& name : EntriesInSearchOrder(s_drives->Folder())) {
        if (!(::GetFileAttributesA((s_drives->Folder() + "\\" + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(name);
    }
    ASSERT_EQ(files.size(), 8u);
    RunChooser([&](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        EXPECT_EQ(ListTexts(d.Songs()), Names{}) << "choosing a drive lists nothing yet";
        d.Select(d.DriveNode());
        EXPECT_EQ(ListTexts(d.Songs()), files) << "every type, hidden and system files included";
        Names paths;
        for (const std::string& name : files)
            paths.push_back(DiskPath(name));
        EXPECT_EQ(ToNames(chooser.m_folderSongs), paths);
        EXPECT_TRUE(d.Buttons().selectAll);

        ASSERT_NE(d.SelectFolder({"OnlyFolders"}), nullptr);
        EXPECT_EQ(ListTexts(d.Songs()), Names{}) << "a folder holding only folders lists nothing";
        EXPECT_TRUE(chooser.m_folderSongs.IsEmpty());
        EXPECT_FALSE(d.Buttons().selectAll);

        // Any file can be picked.
        d.Select(d.DriveNode());
        for (const char* name : {"program.exe", "picture.bmp", "readme.txt", "hidden.dat"})
            EXPECT_TRUE(d.ClickSong(name)) << name;
        EXPECT_EQ(chooser.m_selectedSongs.GetCount(), 4);
        d.Click(IDCANCEL);
    });
}

TEST_F(Chooser, SongsCollectAcrossFoldersInTheOrderOfTheVisits)
{
    Names shownBeforeOk;
    const INT_PTR result = RunChooser([&](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"Music"}), nullptr);
        ASSERT_TRUE(d.ClickSong("a3.txt"));
        ASSERT_TRUE(d.ClickSong("a1.mp3"));
        const Names musicPicks = d.PickedInList();  // list order, whatever the click order
        Names musicPaths;
        for (const std::string& name : musicPicks)
            musicPaths.push_back(DiskPath("Music\\" + name));
        EXPECT_EQ(ToNames(chooser.m_selectedSongs), musicPaths);
        EXPECT_EQ(ListTexts(d.Selected()), musicPaths);
        EXPECT_TRUE(g_playList.IsEmpty()) << "picks stay out of the play list until the folder changes";

        ASSERT_NE(d.SelectFolder({"Music", "Pop"}), nullptr);  // leaving Music collects its picks
        EXPECT_EQ(ToNames(g_playList), musicPaths);
        EXPECT_TRUE(chooser.m_selectedSongs.IsEmpty());
        EXPECT_FALSE(chooser.m_nothingCollected);
        EXPECT_EQ(ListTexts(d.Selected()), musicPaths);

        ASSERT_NE(d.SelectFolder({"老歌"}), nullptr);
        ASSERT_TRUE(d.ClickSong("乐曲.mp3"));
        shownBeforeOk = ListTexts(d.Selected());
        EXPECT_TRUE(d.Click(IDOK));
    });
    EXPECT_EQ(result, IDOK);
    Names expected = {DiskPath("Music\\a1.mp3"), DiskPath("Music\\a3.txt"), DiskPath("老歌\\乐曲.mp3")};
    EXPECT_EQ(ToNames(g_playList), expected);
    EXPECT_EQ(shownBeforeOk, expected) << "list 1004 showed all three before the press";
}

TEST_F(Chooser, PickingTheSameSongOnALaterVisitAddsItTwice)
{
    const INT_PTR result = RunChooser([](CQuonDir&, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"Music", "Pop"}), nullptr);
        ASSERT_TRUE(d.ClickSong("p1.mp3"));
        ASSERT_NE(d.SelectFolder({"Music"}), nullptr);
        ASSERT_NE(d.SelectFolder({"Music", "Pop"}), nullptr);
        ASSERT_TRUE(d.ClickSong("p1.mp3"));
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ToNames(g_playList), (Names{DiskPath("Music\\Pop\\p1.mp3"), DiskPath("Music\\Pop\\p1.mp3")}));
}

TEST_F(Chooser, PicksAfterARootSelectionOrADriveChangeKeepTheFolderTheListShows)
{
    const INT_PTR result = RunChooser([](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"Music"}), nullptr);
        const Names musicFiles = ListTexts(d.Songs());

        // The root: the list still shows Music while the folder path names the drive.
        d.Select(d.Root());
        EXPECT_EQ(chooser.m_folderPath, Disk());
        EXPECT_EQ(ListTexts(d.Songs()), musicFiles);
        EXPECT_FALSE(d.Buttons().selectAll);
        ASSERT_TRUE(d.ClickSong("a1.mp3"));
        EXPECT_EQ(ToNames(chooser.m_selectedSongs), Names{DiskPath("Music\\a1.mp3")});

        // Another drive (the root stays selected): the list still shows Music, a1 still picked.
        ASSERT_TRUE(d.ChooseDrive(Cd()));
        EXPECT_EQ(chooser.m_folderPath, Cd());
        EXPECT_EQ(ListTexts(d.Songs()), musicFiles);
        ASSERT_TRUE(d.ClickSong("a2.wma"));
        EXPECT_EQ(ToNames(chooser.m_selectedSongs),
                  (Names{DiskPath("Music\\a1.mp3"), DiskPath("Music\\a2.wma")}));
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ToNames(g_playList), (Names{DiskPath("Music\\a1.mp3"), DiskPath("Music\\a2.wma")}));
}

TEST_F(Chooser, ChangingTheDriveUnderASelectedFolderCollectsItsPicks)
{
    const INT_PTR result = RunChooser([](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"Music"}), nullptr);
        ASSERT_TRUE(d.ClickSong("a3.txt"));
        // The selected folder goes with the old drive node; the selection falls back to the root.
        ASSERT_TRUE(d.ChooseDrive(Cd()));
        EXPECT_EQ(TreeView_GetSelection(d.Tree()), d.Root());
        EXPECT_EQ(ToNames(g_playList), Names{DiskPath("Music\\a3.txt")});
        EXPECT_EQ(chooser.m_folderPath, Cd());
        EXPECT_EQ(d.PickedInList(), Names{});
        ASSERT_TRUE(d.ClickSong("a4.jpg"));
        EXPECT_EQ(ToNames(chooser.m_selectedSongs), Names{DiskPath("Music\\a4.jpg")});
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ToNames(g_playList), (Names{DiskPath("Music\\a3.txt"), DiskPath("Music\\a4.jpg")}));
}

TEST_F(Chooser, CollectedSongsAreNoLongerMarkedInTheListThatStillShowsThem)
{
    const INT_PTR result = RunChooser([](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"Music"}), nullptr);
        ASSERT_TRUE(d.ClickSong("a1.mp3"));
        d.Select(d.Root());  // collects a1
        EXPECT_EQ(ToNames(g_playList), Names{DiskPath("Music\\a1.mp3")});
        EXPECT_EQ(d.PickedInList(), Names{}) << "a1 is in the play list, not a pick any more";
        ASSERT_TRUE(d.ClickSong("a4.jpg"));
        EXPECT_EQ(ToNames(chooser.m_selectedSongs), Names{DiskPath("Music\\a4.jpg")});
        EXPECT_EQ(ListTexts(d.Selected()), (Names{DiskPath("Music\\a1.mp3"), DiskPath("Music\\a4.jpg")}));
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ToNames(g_playList), (Names{DiskPath("Music\\a1.mp3"), DiskPath("Music\\a4.jpg")}));
}

// ---- buttons --------------------------------------------------------------------------------------

TEST_F(Chooser, ButtonStatesFollowEachEvent)
{
    RunChooser([](CQuonDir& chooser, Driver& d) {
        struct Step {
            const char* event;
            std::function<void()> act;
            ButtonStates expected;
        };
        const std::vector<Step> steps = {
            {"dialog opens", [] {}, {false, false, false}},
            {"a drive is chosen", [&] { d.ChooseDrive(Disk()); }, {false, false, false}},
            {"the drive node lists files", [&] { d.Select(d.DriveNode()); }, {false, false, true}},
            {"a song is picked", [&] { d.ClickSong("readme.txt"); }, {true, true, false}},
            {"a second song is picked", [&] { d.ClickSong("video.avi"); }, {true, true, false}},
            {"both are unpicked", [&] {
                 d.ClickSong("readme.txt");
                 d.ClickSong("video.avi");
             }, {false, false, true}},
            {"全选", [&] { d.Click(IDC_SELECT_ALL); }, {true, true, false}},
            {"重置", [&] { d.Click(IDC_RESET); }, {false, false, true}},
            {"a pick, then a folder with only folders", [&] {
                 d.ClickSong("readme.txt");
                 d.SelectFolder({"OnlyFolders"});
             }, {true, true, false}},
            {"a folder with files", [&] { d.SelectFolder({"Music"}); }, {true, true, true}},
            {"a pick there", [&] { d.ClickSong("a2.wma"); }, {true, true, false}},
            {"the root", [&] { d.Select(d.Root()); }, {true, true, false}},
            {"重置 after songs were collected", [&] { d.Click(IDC_RESET); }, {false, false, true}},
        };
        for (const Step& step : steps) {
            step.act();
            EXPECT_EQ(d.Buttons(), step.expected) << step.event;
        }
        // 重置 cleared only the current picks: the collected songs stay in list 1004.
        EXPECT_EQ(ListTexts(d.Selected()), (Names{DiskPath("readme.txt"), DiskPath("Music\\a2.wma")}));
        EXPECT_EQ(ToNames(g_playList), ListTexts(d.Selected()));
        EXPECT_TRUE(chooser.m_selectedSongs.IsEmpty());
        d.Click(IDCANCEL);
    });
}

TEST_F(Chooser, SelectAllPicksTheFolderInSearchOrderWithoutMarkingTheList)
{
    const INT_PTR result = RunChooser([](CQuonDir& chooser, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        ASSERT_NE(d.SelectFolder({"老歌"}), nullptr);
        const Names files = ListTexts(d.Songs());
        ASSERT_EQ(files.size(), 2u);
        ASSERT_TRUE(d.Click(IDC_SELECT_ALL));
        Names paths;
        for (const std::string& name : files)
            paths.push_back(DiskPath("老歌\\" + name));
        EXPECT_EQ(ToNames(chooser.m_selectedSongs), paths);
        EXPECT_EQ(ListTexts(d.Selected()), paths);
        EXPECT_EQ(d.PickedInList(), Names{});
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(g_playList.GetCount(), 2);
}

TEST_F(Chooser, OkEndsCancelledOnlyWhenNothingWasPickedOrCollected)
{
    struct Case {
        const char* name;
        std::function<void(Driver&)> act;
        INT_PTR result;
        Names playList;
    };
    const std::vector<Case> cases = {
        {"nothing at all", [](Driver&) {}, IDCANCEL, {}},
        {"a folder visited, nothing picked", [](Driver& d) {
             d.ChooseDrive(Disk());
             d.SelectFolder({"Music"});
         }, IDCANCEL, {}},
        {"songs collected, nothing picked now", [](Driver& d) {
             d.ChooseDrive(Disk());
             d.SelectFolder({"Music", "Pop"});
             d.ClickSong("p1.mp3");
             d.SelectFolder({"Music"});
         }, IDOK, {DiskPath("Music\\Pop\\p1.mp3")}},
        {"picked, then reset", [](Driver& d) {
             d.ChooseDrive(Disk());
             d.SelectFolder({"Music"});
             d.ClickSong("a1.mp3");
             d.Click(IDC_RESET);
         }, IDCANCEL, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_playList.RemoveAll();
        const INT_PTR result = RunChooser([&](CQuonDir&, Driver& d) {
            c.act(d);
            // The Enter key sends the OK command even while the button is disabled.
            ::SendMessageA(d.Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(d.Item(IDOK)));
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(ToNames(g_playList), c.playList);
    }
}

TEST_F(Chooser, CancelLeavesTheSongsOfFoldersAlreadyLeft)
{
    struct Case {
        const char* name;
        std::function<void(Driver&)> act;
        Names playList;
    };
    const std::vector<Case> cases = {
        {"cancelled at once", [](Driver& d) { d.Click(IDCANCEL); }, {}},
        {"picks in a folder left, then picks, then 取消", [](Driver& d) {
             d.ChooseDrive(Disk());
             d.SelectFolder({"Music"});
             d.ClickSong("a2.wma");
             d.SelectFolder({"老歌"});
             d.ClickSong("老歌.wav");
             d.Click(IDCANCEL);
         }, {DiskPath("Music\\a2.wma")}},
        {"Escape", [](Driver& d) {
             d.ChooseDrive(Disk());
             d.SelectFolder({"Music"});
             d.ClickSong("a2.wma");
             ::SendMessageA(d.Dialog(), WM_COMMAND, IDCANCEL, 0);
         }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_playList.RemoveAll();
        const INT_PTR result = RunChooser([&](CQuonDir&, Driver& d) { c.act(d); });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(ToNames(g_playList), c.playList);
    }
}

// ---- colours and resources ----------------------------------------------------------------------

TEST_F(Chooser, DialogAndLabelsArePaintedOnTheirOwnBackgroundWithOneBrush)
{
    const long liveBefore = GetGdiCounters().Live();
    RunChooser([](CQuonDir&, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        d.SelectFolder({"Music"});
        d.ClickSong("a1.mp3");
        RepaintNow(d.Dialog());

        // The dialog's own background, away from every control, and the label "请选择分区:".
        RECT client{};
        ::GetClientRect(d.Dialog(), &client);
        EXPECT_EQ(PixelAt(d.Dialog(), 4, client.bottom - 4), RGB(250, 250, 232));
        HWND label = nullptr;
        HWND child = ::GetWindow(d.Dialog(), GW_CHILD);
        for (; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            char text[64] = "";
            ::GetWindowTextA(child, text, sizeof text);
            if (std::strcmp(text, "请选择分区:") == 0)
                label = child;
        }
        ASSERT_NE(label, nullptr);
        RECT labelRect{};
        ::GetClientRect(label, &labelRect);
        EXPECT_EQ(PixelAt(label, labelRect.right - 1, labelRect.bottom - 1), RGB(250, 250, 232));

        // Colour requests: the dialog and statics share one brush; lists keep the framework's.
        CClientDC dc(d.Dialog());
        auto ask = [&](UINT message, HWND control) {
            return reinterpret_cast<HBRUSH>(
                ::SendMessageA(d.Dialog(), message, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)),
                               reinterpret_cast<LPARAM>(control)));
        };
        HBRUSH forLabel = ask(WM_CTLCOLORSTATIC, label);
        EXPECT_EQ(::GetBkColor(dc), RGB(250, 250, 232));
        EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(ask(WM_CTLCOLORDLG, d.Dialog()), forLabel);
        EXPECT_EQ(ask(WM_CTLCOLORSTATIC, label), forLabel) << "no new brush per request";
        LOGBRUSH logBrush{};
        ASSERT_TRUE(::GetObjectA(forLabel, sizeof logBrush, &logBrush));
        EXPECT_EQ(logBrush.lbColor, RGB(250, 250, 232));
        EXPECT_NE(ask(WM_CTLCOLORLISTBOX, d.Songs()), forLabel);

        // The hover buttons wear their face colour.
        RECT cancel{};
        ::GetClientRect(d.Item(IDCANCEL), &cancel);
        EXPECT_EQ(PixelAt(d.Item(IDCANCEL), 5, cancel.bottom / 2), RGB(210, 255, 190));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(GetGdiCounters().Live(), liveBefore) << "the chooser leaves no GDI object behind";
}

TEST_F(Chooser, ShowsExpandedFoldersAndPicksForAScreenshot)
{
    // QUON_CHOOSER_HOLD_MS keeps the dialog on screen that long for a screenshot of the display.
    char hold[16] = "";
    ::GetEnvironmentVariableA("QUON_CHOOSER_HOLD_MS", hold, sizeof hold);
    RunChooser([&](CQuonDir&, Driver& d) {
        ASSERT_TRUE(d.ChooseDrive(Disk()));
        TreeView_Expand(d.Tree(), d.Root(), TVE_EXPAND);
        HTREEITEM music = d.SelectFolder({"Music"});
        HTREEITEM pop = d.SelectFolder({"Music", "Pop"});
        d.ClickSong("p1.mp3");
        d.Select(music);
        d.ClickSong("a1.mp3");
        d.ClickSong("a2.wma");
        TreeView_Expand(d.Tree(), d.DriveNode(), TVE_EXPAND);
        TreeView_Expand(d.Tree(), music, TVE_EXPAND);
        TreeView_Expand(d.Tree(), pop, TVE_EXPAND);
        RepaintNow(d.Dialog());
        EXPECT_EQ(ListTexts(d.Selected()).size(), 3u);
        RECT item{};
        EXPECT_TRUE(TreeView_GetItemRect(d.Tree(), pop, &item, TRUE)) << "expanded folders are visible";
        PumpFor(static_cast<DWORD>(std::atoi(hold)));
        d.Click(IDCANCEL);
    });
}

// ---- the player's chooser command ---------------------------------------------------------------

namespace {

class ChooserCommand : public Chooser {
protected:
    void SetUp() override
    {
        Chooser::SetUp();
        if (IsSkipped())
            return;
        session = std::make_unique<PlayerSession>();
        ASSERT_TRUE(session->Created());
    }
    void TearDown() override
    {
        session.reset();
        Chooser::TearDown();
    }
    // Runs the chooser command as the popup menu does, with script driving the chooser.
    void RunCommand(std::function<void(CQuonDir&, Driver&)> script)
    {
        HangGuard guard;
        ArmScript(std::move(script));
        ::SendMessageA(Player().m_hWnd, WM_COMMAND, ID_TRAY_CHOOSER, 0);
        EXPECT_TRUE(g_scriptRan);
    }
    TestPlayerDlg& Player() { return session->player; }

    std::unique_ptr<PlayerSession> session;
};

}  // namespace

TEST_F(ChooserCommand, CancelRestoresTheOldListAfterTheCollectedSongs)
{
    const Names old = {"C:\\old\\one.mp3", "C:\\old\\two.mp3", "C:\\old\\three.mp3"};
    FillPlayList(old);
    RunCommand([](CQuonDir&, Driver& d) { d.Click(IDCANCEL); });
    EXPECT_EQ(ToNames(g_playList), old) << "cancelled at once: the list is as it was";

    RunCommand([](CQuonDir&, Driver& d) {
        d.ChooseDrive(Disk());
        d.SelectFolder({"Music"});
        d.ClickSong("a1.mp3");
        d.SelectFolder({"OnlyFolders"});
        d.Click(IDCANCEL);
    });
    Names expected = {DiskPath("Music\\a1.mp3")};
    expected.insert(expected.end(), old.begin(), old.end());
    EXPECT_EQ(ToNames(g_playList), expected);
    EXPECT_EQ(Player().m_mediaKind, kMediaNone);
}

TEST_F(ChooserCommand, OkReplacesTheListAndPlaysItsFirstSong)
{
    FillPlayList({"C:\\old\\one.mp3"});
    RunCommand([](CQuonDir&, Driver& d) {
        d.ChooseDrive(Disk());
        d.SelectFolder({"老歌"});
        d.ClickSong("老歌.wav");
        d.ClickSong("乐曲.mp3");
        d.Click(IDOK);
    });
    const Names chosen = ToNames(g_playList);
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(chosen.size(), 2u);
    EXPECT_EQ(Player().m_mediaKind, kMediaWindowsMedia);
    EXPECT_EQ(Player().m_currentPath, chosen.front());
    EXPECT_TRUE(Player().m_loaded);
}
