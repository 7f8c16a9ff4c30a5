// Ways into the player window in process: files dropped on it or on the Windows Media window, the
// media keys as application commands and as hot keys, and play-list entries for names outside GBK.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "TestMedia.h"
#include "PlayerSession.h"
#include "WinTestSupport.h"
#include "app/PlayerApp.h"
#include "playback/OpenPaths.h"
#include "player/PlayerDlg.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "wmp/VideoDlg.h"

namespace {

const DWORD kStartWait = 10000;
const DWORD kEndWait = 15000;
// Long enough never to end by itself while a test drives the keys.
const int kLongMs = 60000;
// Korean letters and an emoji: none of them has a GBK code.
const wchar_t kOutsideGbk[] = L"\xD55C\xAE00\xB178\xB798\xD83C\xDFB5.wav";

std::string Ansi(const std::wstring& text)
{
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], bytes, nullptr, nullptr);
    ansi.resize(ansi.size() - 1);
    return ansi;
}

std::wstring Wide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring ShortPath(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = L"";
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(shortPath, length) : std::wstring();
}

// An HDROP as the shell builds one: a DROPFILES header, then the wide paths, each ending in a
// zero, and one more zero. The receiver frees it (DragFinish).
HDROP MakeDrop(const std::vector<std::wstring>& paths)
{
    std::wstring names;
    for (const std::wstring& path : paths) {
        names += path;
        names += L'\0';
    }
    names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The test's media, in a folder of its own on the prefix's C: drive, removed with it.
class MediaFolder {
public:
    MediaFolder()
    {
        wchar_t temp[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"quon_ways_in_" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_dir.c_str(), nullptr);
    }
    ~MediaFolder()
    {
        for (auto file = m_files.rbegin(); file != m_files.rend(); ++file) {
            if (!::DeleteFileW(file->c_str()))
                ::RemoveDirectoryW(file->c_str());
        }
        ::RemoveDirectoryW(m_dir.c_str());
    }
    MediaFolder(const MediaFolder&) = delete;
    MediaFolder& operator=(const MediaFolder&) = delete;

    const std::wstring& Dir() const { return m_dir; }

    std::wstring Folder(const std::wstring& name)
    {
        const std::wstring path = m_dir + L"\\" + name;
        ::CreateDirectoryW(path.c_str(), nullptr);
        m_files.push_back(path);
        return path;
    }
    std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::wstring path = m_dir + L"\\" + name;
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
        m_files.push_back(path);
        return path;
    }
    std::wstring Tone(const std::wstring& name, int ms = 300, double hz = 440)
    {
        return Write(name, MakeToneWave(ms, hz, 0.3));
    }
    std::wstring Silence(const std::wstring& name)
    {
        return Write(name, MakeToneWave(kLongMs, 100, 0.0, 8000, 1));
    }

private:
    std::wstring m_dir;
    std::vector<std::wstring> m_files; // in the order made; folders before their files
};

class WaysInWindow : public FreshPlayerTest {
protected:
    void SetUp() override { StartPlayer(); }
    void TearDown() override { ClosePlayer(); }

    void StartPlayer() { OpenPlayer(); }
    void ClosePlayer() { ClosePlayerSession(); }

    // The paths the player made current, each once, until "Songs Over" (or timeoutMs).
    std::vector<std::string> PlayedUntilSongsOver(DWORD timeoutMs = kEndWait)
    {
        std::vector<std::string> played;
        PumpUntil(
            [&] {
                const std::string& current = player->m_currentPath;
                if (player->m_loaded && !current.empty() && (played.empty() || played.back() != current))
                    played.push_back(current);
                return player->m_statusText == kSongsOver;
            },
            timeoutMs);
        return played;
    }

    bool WaitForCurrent(const std::string& path)
    {
        return PumpUntil([&] { return player->m_currentPath == path && player->m_playing; }, kStartWait);
    }

    std::vector<std::string> PlayList() const
    {
        std::vector<std::string> entries;
        for (POSITION pos = g_playList.GetHeadPosition(); pos;)
            entries.push_back(g_playList.GetNext(pos));
        return entries;
    }

    std::string StatusBoxText() const
    {
        char text[256] = "";
        ::GetWindowTextA(player->GetDlgItem(IDC_STATUS), text, sizeof text);
        return text;
    }

    void Drop(HWND target, const std::vector<std::wstring>& paths)
    {
        ::SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
    }

    MediaFolder media;
};

// ---- dropped files -------------------------------------------------------------------------

TEST_F(WaysInWindow, DroppedFilesAndAFolderPlayInTheDropsOrder)
{
    const std::wstring x = media.Tone(L"x.wav");
    const std::wstring set = media.Folder(L"set");
    const std::wstring b = media.Tone(L"set\\b.wav");
    const std::wstring a = media.Tone(L"set\\a.wav");
    media.Write(L"set\\cover.jpg", {1, 2, 3});
    const std::wstring y = media.Tone(L"y.wav");
    const std::string old = Ansi(media.Tone(L"old.wav"));
    g_playList.AddTail(old);
    Drop(player->m_hWnd, {x, set, y});
    EXPECT_EQ(player->m_mediaKind, kMediaWindowsMedia);
    const std::vector<std::string> expected = {Ansi(x), Ansi(a), Ansi(b), Ansi(y), old};
    EXPECT_EQ(PlayList(), expected) << "the dropped files go to the head, in the drop's order";
    EXPECT_EQ(PlayedUntilSongsOver(), expected);
}

TEST_F(WaysInWindow, FilesDroppedOnTheWindowsMediaWindowPlayAsOnThePlayer)
{
    const std::wstring song = media.Tone(L"song.wav");
    Drop(player->m_pVideoDlg->m_hWnd, {song});
    EXPECT_EQ(PlayedUntilSongsOver(), std::vector<std::string>{Ansi(song)});
}

TEST_F(WaysInWindow, BothWindowsAcceptDroppedFiles)
{
    EXPECT_TRUE(::GetWindowLongPtrW(player->m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(::GetWindowLongPtrW(player->m_pVideoDlg->m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(WaysInWindow, ADropWhilePlayingPlaysTheDroppedFileAtOnce)
{
    const std::wstring longOne = media.Silence(L"long.wav");
    const std::wstring next = media.Tone(L"next.wav");
    Drop(player->m_hWnd, {longOne});
    ASSERT_TRUE(WaitForCurrent(Ansi(longOne)));
    Drop(player->m_hWnd, {next});
    ASSERT_TRUE(WaitForCurrent(Ansi(next)));
    EXPECT_EQ(PlayList(), (std::vector<std::string>{Ansi(next), Ansi(longOne)}));
}

TEST_F(WaysInWindow, ADropOfNothingPlayableChangesNothing)
{
    const std::wstring empty = media.Folder(L"empty");
    Drop(player->m_hWnd, {empty, media.Dir() + L"\\gone.wav"});
    PumpFor(300);
    EXPECT_TRUE(g_playList.IsEmpty());
    EXPECT_EQ(player->m_mediaKind, kMediaNone);
    EXPECT_EQ(player->m_loaded, 0);
    EXPECT_EQ(player->m_statusText, kHelloQuon);
}

TEST_F(WaysInWindow, ADroppedNameOutsideGbkPlaysUnderItsShortName)
{
    // Long enough to be still named when the status line is read: its end is told up to 450 ms
    // before its last sample.
    const std::wstring song = media.Tone(kOutsideGbk, 1000, 523);
    const std::wstring shortPath = ShortPath(song);
    ASSERT_FALSE(shortPath.empty()) << "the prefix's C: drive gives short names";
    Drop(player->m_hWnd, {song});
    const std::string expected = Ansi(shortPath);
    ASSERT_TRUE(WaitForCurrent(expected)) << player->m_currentPath;
    PumpFor(200); // a tick of the status timer
    const std::string name = expected.substr(expected.find_last_of('\\') + 1);
    EXPECT_EQ(StatusBoxText(), name) << "the status line shows the short name";
    EXPECT_EQ(PlayedUntilSongsOver(), std::vector<std::string>{expected});
}

// 嘰 and 乗 end in the byte 0x5C in GBK, the code of a backslash: the names still show whole.
TEST_F(WaysInWindow, ADroppedGbkNameWithBackslashTrailBytesKeepsItsLongForm)
{
    media.Folder(L"\x5630");
    const std::wstring song = media.Tone(L"\x5630\\\x5630\x4E57.wav");
    Drop(player->m_hWnd, {song});
    ASSERT_TRUE(WaitForCurrent(Ansi(song))) << player->m_currentPath;
    EXPECT_TRUE(PumpUntil([&] { return StatusBoxText() == Ansi(L"\x5630\\\x5630\x4E57.wav"); }, kStartWait))
        << StatusBoxText();
}

// ---- play-list files -------------------------------------------------------------------------

TEST_F(WaysInWindow, ADroppedListPlaysWhatItNamesInItsPlace)
{
    const std::wstring first = media.Tone(L"first.wav");
    media.Folder(L"album");
    const std::wstring a = media.Tone(L"album\\a.wav");
    const std::wstring chinese = media.Tone(L"album\\\x97F3.wav");
    const std::wstring outside = media.Tone(std::wstring(L"album\\") + kOutsideGbk);
    const std::wstring c = media.Tone(L"c.wav");
    const std::string inner = u8"[playlist]\r\nFile2=../c.wav\r\nFile1=A.WAV\r\nNumberOfEntries=2\r\n";
    media.Write(L"album\\inner.pls", {inner.begin(), inner.end()});
    // UTF-8, with a name outside GBK (kOutsideGbk's).
    const std::string text =
        u8"#EXTM3U\r\n#EXTINF:1,A\r\na.wav\r\nhttp://radio/x.mp3\r\ngone.wav\r\n\u97F3.wav\r\n"
        u8"\uD55C\uAE00\uB178\uB798\U0001F3B5.wav\r\ninner.pls\r\n../album/mix.m3u8\r\n";
    const std::wstring list = media.Write(L"album\\mix.m3u8", {text.begin(), text.end()});
    const std::string last = Ansi(media.Tone(L"last.wav"));
    g_playList.AddTail(last);
    Drop(player->m_hWnd, {first, list});
    const std::vector<std::string> expected = {
        Ansi(first), Ansi(a), Ansi(chinese), Ansi(ShortPath(outside)), Ansi(media.Dir() + L"\\album\\A.WAV"),
        Ansi(c),     last};
    EXPECT_EQ(PlayList(), expected) << "the list's entries at its place; the URL, the missing name and "
                                       "the list itself left out";
    EXPECT_EQ(PlayedUntilSongsOver(), expected);
}

TEST_F(WaysInWindow, ADroppedListThatNamesNothingChangesNothing)
{
    media.Tone(L"song.wav");
    std::string lines = "song.wav\r\n", binary = lines;
    const std::vector<std::uint8_t> wave = MakeToneWave(300, 440);
    binary.append(wave.begin(), wave.end());
    while (lines.size() < 10u << 20) // 10 MiB
        lines += lines;
    const std::wstring locked = media.Write(L"locked.m3u8", {'s', 'o', 'n', 'g', '.', 'w', 'a', 'v'});
    HANDLE held = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Drop(player->m_hWnd,
         {media.Write(L"empty.m3u", {}), media.Write(L"binary.M3U", {binary.begin(), binary.end()}),
          media.Write(L"huge.m3u", {lines.begin(), lines.end()}), locked});
    ::CloseHandle(held);
    PumpFor(300);
    EXPECT_TRUE(g_playList.IsEmpty());
    EXPECT_EQ(player->m_mediaKind, kMediaNone);
    EXPECT_EQ(player->m_statusText, kHelloQuon);
}

// ---- play-list entries -----------------------------------------------------------------------

TEST(ListPaths, EntriesOutsideGbkTakeTheirShortFormOthersStayAsTheyAre)
{
    MediaFolder media;
    const std::wstring chinese = media.Tone(L"\x97F3\x4E50.wav");      // 音乐: has GBK codes
    const std::wstring accented = media.Tone(L"caf\x00E9 \x0151.wav"); // é has one, ő has none
    const std::wstring korean = media.Tone(kOutsideGbk);
    EXPECT_EQ(ListPathFor(chinese), Ansi(chinese));
    EXPECT_EQ(Wide(ListPathFor(chinese)), chinese) << "a GBK path reads back the same";
    for (const std::wstring& outside : {accented, korean}) {
        const std::string entry = ListPathFor(outside);
        ASSERT_FALSE(entry.empty());
        EXPECT_EQ(entry, Ansi(ShortPath(outside)));
        for (char c : entry)
            EXPECT_EQ(static_cast<unsigned char>(c) & 0x80, 0) << entry << ": short names are ASCII";
        EXPECT_NE(::GetFileAttributesA(entry.c_str()), INVALID_FILE_ATTRIBUTES) << "the entry opens the file";
    }
    EXPECT_EQ(ListPathsFor({korean, media.Dir() + L"\\gone\x0151.wav", chinese}),
              (std::vector<std::string>{Ansi(ShortPath(korean)), Ansi(chinese)}))
        << "a name with neither form is left out";
}

TEST(ListPaths, IncomingPathsAreMadeFullFoldersOpenedAndMissingOnesLeftOut)
{
    MediaFolder media;
    const std::wstring one = media.Tone(L"one.wav");
    media.Folder(L"disc");
    const std::wstring two = media.Tone(L"disc\\Two.MP3");
    const std::wstring three = media.Tone(L"disc\\three.wav");
    media.Write(L"disc\\readme.txt", {'x'});
    media.Folder(L"disc\\deeper");
    media.Tone(L"disc\\deeper\\four.wav");
    wchar_t before[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ::SetCurrentDirectoryW(media.Dir().c_str());
    const std::vector<std::wstring> expanded =
        ExpandIncomingPaths({L"one.wav", L"missing.wav", L"disc", media.Dir() + L"\\disc\\readme.txt"});
    ::SetCurrentDirectoryW(before);
    EXPECT_EQ(expanded, (std::vector<std::wstring>{one, three, two, media.Dir() + L"\\disc\\readme.txt"}))
        << "a named file of any type counts; a folder gives only its own media files, by name";
}

// ---- media keys ------------------------------------------------------------------------------

enum class KeyWay { AppCommand, HotKey };

class MediaKeys : public WaysInWindow, public ::testing::WithParamInterface<KeyWay> {
protected:
    void Press(WORD key)
    {
        if (GetParam() == KeyWay::HotKey) {
            ::SendMessageW(player->m_hWnd, WM_HOTKEY, key, MAKELPARAM(0, key));
            return;
        }
        int command = 0;
        switch (key) {
        case VK_MEDIA_PLAY_PAUSE:
            command = APPCOMMAND_MEDIA_PLAY_PAUSE;
            break;
        case VK_MEDIA_STOP:
            command = APPCOMMAND_MEDIA_STOP;
            break;
        case VK_MEDIA_NEXT_TRACK:
            command = APPCOMMAND_MEDIA_NEXTTRACK;
            break;
        case VK_MEDIA_PREV_TRACK:
            command = APPCOMMAND_MEDIA_PREVIOUSTRACK;
            break;
        default:
            command = key;
            break; // any other application command, given as is
        }
        const LRESULT handled =
            ::SendMessageW(player->m_hWnd, WM_APPCOMMAND, reinterpret_cast<WPARAM>(player->m_hWnd),
                           MAKELPARAM(0, command | FAPPCOMMAND_KEY));
        lastHandled = handled != 0;
    }

    void LoadTwo()
    {
        first = Ansi(media.Silence(L"first.wav"));
        second = Ansi(media.Silence(L"second.wav"));
        player->PlayPaths({first, second});
        ASSERT_TRUE(WaitForCurrent(first));
    }

    bool Shown(int id) const { return ::IsWindowVisible(player->GetDlgItem(id)) != FALSE; }

    std::string first;
    std::string second;
    bool lastHandled = false;
};

TEST_P(MediaKeys, NextAndPreviousStepThroughTheListAsTheKnobsSidesDo)
{
    ASSERT_NO_FATAL_FAILURE(LoadTwo());
    player->m_statusHighlight = false;
    Press(VK_MEDIA_NEXT_TRACK);
    EXPECT_TRUE(player->m_statusHighlight) << "the status line lights up as after a click";
    ASSERT_TRUE(WaitForCurrent(second));
    EXPECT_TRUE(PumpUntil([&] { return StatusBoxText() == "second.wav"; }, kStartWait)) << StatusBoxText();
    Press(VK_MEDIA_PREV_TRACK);
    ASSERT_TRUE(WaitForCurrent(first));
    EXPECT_FALSE(player->m_backPressed) << "used by the stop report";
    Press(VK_MEDIA_PREV_TRACK);
    ASSERT_TRUE(WaitForCurrent(second)) << "back from the first item wraps to the last";
}

TEST_P(MediaKeys, NextWithTheOneTimeRepeatArmedReplaysTheItemAndHidesItsIndicator)
{
    ASSERT_NO_FATAL_FAILURE(LoadTwo());
    ::SendMessageW(player->m_hWnd, WM_COMMAND, ID_TRAY_REPEAT_ONE, 0);
    ASSERT_TRUE(Shown(IDC_SKIN_REPEAT_ONE));
    Press(VK_MEDIA_NEXT_TRACK);
    ASSERT_TRUE(PumpUntil([&] { return !Shown(IDC_SKIN_REPEAT_ONE); }, kStartWait));
    ASSERT_TRUE(WaitForCurrent(first));
    EXPECT_EQ(player->m_repeatMode, 1);
}

TEST_P(MediaKeys, PlayPauseStopsAndRestartsAsTheKnobsCentre)
{
    ASSERT_NO_FATAL_FAILURE(LoadTwo());
    Press(VK_MEDIA_PLAY_PAUSE);
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(player->m_loaded, 1) << "stopped, still loaded";
    EXPECT_EQ(player->m_statusText, kHelloQuon);
    PumpFor(500);
    EXPECT_EQ(player->m_currentPath, first) << "the stop does not move the list on";
    EXPECT_FALSE(player->m_playing);
    player->m_statusHighlight = false;
    Press(VK_MEDIA_PLAY_PAUSE);
    EXPECT_TRUE(player->m_statusHighlight);
    ASSERT_TRUE(WaitForCurrent(first)) << "played again from the start";
    ASSERT_TRUE(PumpUntil([&] { return StatusBoxText() == "first.wav"; }, kStartWait));
}

TEST_P(MediaKeys, StopStopsWhatPlaysAndKeepsItLoaded)
{
    ASSERT_NO_FATAL_FAILURE(LoadTwo());
    Press(VK_MEDIA_STOP);
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(player->m_loaded, 1);
    EXPECT_EQ(player->m_statusText, kHelloQuon);
    PumpFor(500);
    EXPECT_EQ(player->m_currentPath, first);
    EXPECT_FALSE(player->m_playing) << "nothing follows the stop";
    Press(VK_MEDIA_STOP); // nothing plays: nothing to do
    PumpFor(300);
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(player->m_currentPath, first);
    Press(VK_MEDIA_PLAY_PAUSE);
    ASSERT_TRUE(WaitForCurrent(first));
}

TEST_P(MediaKeys, KeysBeforeAnythingWasLoadedOnlyLightTheStatus)
{
    player->m_statusHighlight = false;
    Press(VK_MEDIA_NEXT_TRACK);
    EXPECT_TRUE(player->m_statusHighlight);
    Press(VK_MEDIA_PREV_TRACK);
    Press(VK_MEDIA_STOP);
    PumpFor(200);
    EXPECT_EQ(player->m_loaded, 0);
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(player->m_statusText, kHelloQuon);
}

INSTANTIATE_TEST_SUITE_P(Ways, MediaKeys, ::testing::Values(KeyWay::AppCommand, KeyWay::HotKey),
                         [](const ::testing::TestParamInfo<KeyWay>& info) {
                             return info.param == KeyWay::HotKey ? "HotKey" : "AppCommand";
                         });

TEST_F(WaysInWindow, OtherApplicationCommandsAreLeftToTheSystem)
{
    const LRESULT handled =
        ::SendMessageW(player->m_hWnd, WM_APPCOMMAND, reinterpret_cast<WPARAM>(player->m_hWnd),
                       MAKELPARAM(0, APPCOMMAND_VOLUME_UP | FAPPCOMMAND_KEY));
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(player->m_statusText, kHelloQuon);
}

// The player holds the four transport keys, never the volume keys, and lets them go when it closes.
TEST_F(WaysInWindow, TheTransportKeysAreHeldAsHotKeysUntilThePlayerCloses)
{
    const WORD transport[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_STOP, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK};
    const WORD volume[] = {VK_VOLUME_UP, VK_VOLUME_DOWN, VK_VOLUME_MUTE};
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    for (WORD key : transport)
        EXPECT_FALSE(::RegisterHotKey(other, key, 0, key)) << key << " is the player's";
    for (WORD key : volume) {
        EXPECT_TRUE(::RegisterHotKey(other, key, 0, key)) << key << " is free";
        ::UnregisterHotKey(other, key);
    }
    ::SendMessageA(player->m_hWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    for (WORD key : transport) {
        EXPECT_TRUE(::RegisterHotKey(other, key, 0, key)) << key << " was let go";
        ::UnregisterHotKey(other, key);
    }
    ::DestroyWindow(other);
}

// A key another program holds stays with it; the player takes the rest without a word.
TEST(MediaKeysTaken, APlayerStartsWithTheKeysThatAreFree)
{
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(other, 1, 0, VK_MEDIA_STOP));
    {
        PlayerSession session;
        ASSERT_TRUE(session.Created());
        EXPECT_FALSE(::RegisterHotKey(other, 2, 0, VK_MEDIA_NEXT_TRACK)) << "the free keys are the player's";
    }
    ::UnregisterHotKey(other, 1);
    ::DestroyWindow(other);
}

} // namespace
