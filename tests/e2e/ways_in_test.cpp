// Ways into the real program: files on its command line, a second start handing its files to the
// running player, the keyboard's media keys, and names outside GBK; heard in the recorded sound.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "TraySupport.h"
#include "resource.h"

namespace {

std::wstring Wide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

// The name's last part, as the status line shows a path.
std::string FileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

// The instance windows of running players (message-only windows of the program's own class).
int InstanceWindows()
{
    int count = 0;
    for (HWND wnd = nullptr; (wnd = ::FindWindowExW(HWND_MESSAGE, wnd, L"QuonPlayerInstance", nullptr));)
        ++count;
    return count;
}

bool AnyVisibleMessageBox(const QuonProcess& quon)
{
    for (HWND wnd : quon.Windows()) {
        char title[64] = "";
        ::GetWindowTextA(wnd, title, sizeof title);
        if (::IsWindowVisible(wnd) && std::string(title) == "Quon")
            return true;
    }
    return false;
}

// The tones of a recording, printed for the log. A loaded machine may drop blocks of sound: the
// splinters that leaves are not tones, and a tone cut by such a gap goes on as the same tone
// (items of one pitch in a row are told apart by a longer silence).
std::vector<Tone> TonesOf(const Recording& recording)
{
    std::vector<Tone> tones;
    for (const Tone& t : FindTones(recording)) {
        std::printf("tone %.3f +%.3f %.1f Hz\n", t.start, t.length, t.frequency);
        if (t.length < 0.06)
            continue;
        if (!tones.empty() && std::abs(tones.back().frequency - t.frequency) < 20 &&
            t.start - (tones.back().start + tones.back().length) < 0.5) {
            tones.back().length = t.start + t.length - tones.back().start;
            continue;
        }
        tones.push_back(t);
    }
    return tones;
}

// A press and release of one of the keyboard's extended keys, to whatever window has the focus.
void PressKey(WORD key)
{
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    inputs[1].ki.dwFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

// A second start with these arguments (in the folder in, or this program's), watched until it ends
// (at most 5 s): how long it lived and whether it ever had a window.
// A second start that hands over its files and ends lives no longer than this.
DWORD EndsAtOnceMs()
{
    return static_cast<DWORD>(2000 * Slowdown());
}

struct SecondStart {
    bool started = false;
    bool exited = false;
    bool hadWindow = false;
    DWORD livedMs = 0;
};
SecondStart StartSecond(QuonProcess& second, const std::wstring& arguments,
                        const std::wstring& in = std::wstring())
{
    SecondStart result;
    const DWORD started = ::GetTickCount();
    result.started = second.StartWithArguments(arguments, in);
    if (!result.started)
        return result;
    WaitFor(
        [&] {
            result.hadWindow = result.hadWindow || !second.Windows().empty();
            return second.HasExited();
        },
        5000);
    result.exited = second.HasExited();
    result.livedMs = ::GetTickCount() - started;
    return result;
}

class WaysIn : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = ArtifactPath(std::string("media_") + info->test_suite_name() + "_" + info->name());
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        HWND player = quon.Player();
        if (player)
            ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    }

    std::string MakeTone(const std::string& name, int ms, double hz)
    {
        const std::string path = folder + "\\" + name;
        EXPECT_TRUE(WriteFileBytes(path, MakeToneWave(ms, hz)));
        return path;
    }

    bool StartWith(const std::wstring& arguments, const std::wstring& in = std::wstring())
    {
        if (!quon.StartWithArguments(arguments, in) || !quon.WaitForPlayer())
            return false;
        player = quon.Player();
        return player != nullptr;
    }

    bool WaitForStatus(const std::string& text, DWORD timeoutMs)
    {
        return WaitFor([&] { return StatusText(player) == text; }, timeoutMs);
    }

    // An item's name gives way to the next one's when its end is told, up to 450 ms before its
    // sound ends: the items whose names are read off the status line last longer than that.
    static constexpr int kNamedMs = 600;

    // The names the status line showed, each once, until "Songs Over" (or timeoutMs).
    std::vector<std::string> NamesUntilSongsOver(DWORD timeoutMs)
    {
        std::vector<std::string> seen;
        WaitFor(
            [&] {
                const std::string text = StatusText(player);
                if (text == "Songs Over")
                    return true;
                if (text != "Hello Quon" && !text.empty() && (seen.empty() || seen.back() != text))
                    seen.push_back(text);
                return false;
            },
            timeoutMs);
        return seen;
    }

    std::vector<Tone> Heard(Recorder& recorder)
    {
        EXPECT_TRUE(recorder.Stop());
        Recording recording;
        EXPECT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
        return TonesOf(recording);
    }

    QuonProcess quon;
    HWND player = nullptr;
    std::string folder; // a Windows path
};

TEST_F(WaysIn, CommandLineFilesPlayInTheOrderGiven)
{
    const std::string a = MakeTone("a.wav", 700, 440);
    const std::string b = MakeTone("b b.wav", 500, 880); // a quoted name with a space
    Recorder recorder("command_line.wav");
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(StartWith(Quoted(Wide(a)) + L" " + Quoted(Wide(b))));
    ASSERT_TRUE(WaitForStatus("Songs Over", 20000)) << StatusText(player);
    ::Sleep(kLastTailMs);
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 2u);
    EXPECT_NEAR(tones[0].frequency, 440, 15) << "the first argument plays first";
    EXPECT_NEAR(tones[1].frequency, 880, 15);
    EXPECT_NEAR(tones[0].length, 0.7, 0.1) << "heard to its end";
    EXPECT_NEAR(tones[1].length, 0.5, 0.1) << "heard to its end";
}

TEST_F(WaysIn, RelativeNamesAndFoldersPlayTheirMediaFilesSortedByName)
{
    const std::string sub = folder + "\\album";
    ::CreateDirectoryA(sub.c_str(), nullptr);
    MakeTone("album\\b.wav", kNamedMs, 550);
    MakeTone("album\\A.wav", kNamedMs, 440);
    MakeTone("album\\c.WAV", kNamedMs, 660);
    ASSERT_TRUE(WriteFileBytes(sub + "\\notes.txt", {'h', 'i'}));
    ::CreateDirectoryA((sub + "\\inner").c_str(), nullptr);
    MakeTone("album\\inner\\0.wav", kNamedMs, 300);
    MakeTone("first.wav", kNamedMs, 880);
    Recorder recorder("folder.wav");
    ASSERT_TRUE(recorder.Start());
    // Relative to the folder the program starts in.
    ASSERT_TRUE(StartWith(L"first.wav album", Wide(folder)));
    const std::vector<std::string> names = NamesUntilSongsOver(20000);
    ::Sleep(kLastTailMs);
    // The status line keeps the folder of a short path.
    const std::vector<std::string> expected = {"first.wav", "album\\A.wav", "album\\b.wav", "album\\c.WAV"};
    ASSERT_EQ(names.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(names[i], expected[i]) << i;
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 4u) << "neither the text file nor the inner folder's file plays";
    const double hz[] = {880, 440, 550, 660};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(tones[i].frequency, hz[i], 15) << i;
}

TEST_F(WaysIn, MissingArgumentsAreSkippedWithoutAMessage)
{
    const std::string a = MakeTone("here.wav", 500, 660);
    ASSERT_TRUE(StartWith(Quoted(Wide(folder + "\\gone.wav")) + L" " + Quoted(Wide(a)) + L" " +
                          Quoted(Wide(folder + "\\no folder\\"))));
    const std::vector<std::string> names = NamesUntilSongsOver(15000);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "here.wav");
    EXPECT_FALSE(AnyVisibleMessageBox(quon));
}

TEST_F(WaysIn, OnlyMissingArgumentsStartAsWithNone)
{
    Recorder recorder("only_missing.wav");
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(StartWith(Quoted(Wide(folder + "\\gone.wav")) + L" nothing"));
    ::Sleep(1500);
    const std::string status = StatusText(player);
    EXPECT_TRUE(status.empty() || status == "Hello Quon") << status; // mirrored once first drawn
    EXPECT_FALSE(AnyVisibleMessageBox(quon));
    EXPECT_FALSE(quon.HasExited());
    EXPECT_TRUE(Heard(recorder).empty()) << "nothing plays";
}

TEST_F(WaysIn, SecondStartHandsItsFilesToTheRunningPlayerAndEnds)
{
    const std::string longTone = MakeTone("long.wav", 8000, 440);
    const std::string c = MakeTone("c.wav", 600, 880);
    Recorder recorder("second_start.wav");
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(StartWith(Quoted(Wide(longTone))));
    ASSERT_TRUE(WaitForStatus("long.wav", 10000)) << StatusText(player);
    ::Sleep(1000);
    ASSERT_EQ(InstanceWindows(), 1);

    QuonProcess second;
    const SecondStart start = StartSecond(second, Quoted(Wide(c)));
    ASSERT_TRUE(start.started);
    EXPECT_TRUE(start.exited);
    EXPECT_LT(start.livedMs, EndsAtOnceMs()) << "the second start ends at once";
    EXPECT_FALSE(start.hadWindow) << "the second start shows no window (and so has no tray icon)";
    EXPECT_EQ(InstanceWindows(), 1) << "one player runs";

    ASSERT_TRUE(WaitForStatus("c.wav", 5000)) << StatusText(player);
    ::Sleep(1200);
    const std::vector<Tone> tones = Heard(recorder);
    size_t handed = 0;
    while (handed < tones.size() && std::abs(tones[handed].frequency - 880) > 15)
        ++handed;
    ASSERT_LT(handed, tones.size()) << "the handed-over file was heard";
    ASSERT_GE(handed, 1u);
    double longHeard = 0;
    for (size_t i = 0; i < handed; ++i) {
        EXPECT_NEAR(tones[i].frequency, 440, 15) << i;
        longHeard += tones[i].length;
    }
    EXPECT_LT(longHeard, 4.0) << "the long tone gave way to the handed-over file";
    EXPECT_NEAR(tones[handed].length, 0.6, 0.1);
}

TEST_F(WaysIn, SecondStartWithoutFilesShowsTheHiddenPlayer)
{
    ASSERT_TRUE(StartWith(L""));
    ::Sleep(300); // the dialog manager shows a new dialog once more when its queue first empties
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_HIDE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(player); }, 3000));
    ::Sleep(300);
    ASSERT_FALSE(::IsWindowVisible(player));
    QuonProcess second;
    const SecondStart shown = StartSecond(second, L"");
    ASSERT_TRUE(shown.started);
    EXPECT_TRUE(shown.exited);
    EXPECT_LT(shown.livedMs, EndsAtOnceMs());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(player) != FALSE; }, 3000))
        << "the running player came back from the tray";
    EXPECT_EQ(InstanceWindows(), 1);

    // Names of nothing that exists count as no files.
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_HIDE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(player); }, 3000));
    QuonProcess third;
    EXPECT_TRUE(StartSecond(third, L"gone.wav").exited);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(player) != FALSE; }, 3000));
    EXPECT_EQ(StatusText(player).find(".wav"), std::string::npos) << "nothing was played";
}

// The second start makes its names full against its own current folder before handing them over.
TEST_F(WaysIn, SecondStartHandsOverRelativeNamesAndFolders)
{
    const std::string sub = folder + "\\two";
    ::CreateDirectoryA(sub.c_str(), nullptr);
    MakeTone("two\\y.wav", kNamedMs, 660);
    MakeTone("two\\x.wav", kNamedMs, 550);
    MakeTone("one.wav", kNamedMs, 440);
    ASSERT_TRUE(StartWith(L""));
    QuonProcess second;
    EXPECT_TRUE(StartSecond(second, L"one.wav two", Wide(folder)).exited);
    const std::vector<std::string> names = NamesUntilSongsOver(15000);
    const std::vector<std::string> expected = {"one.wav", "two\\x.wav", "two\\y.wav"};
    EXPECT_EQ(names, expected);
}

TEST_F(WaysIn, MediaKeysDriveThePlayerHiddenInTheTray)
{
    const std::string first = MakeTone("first.wav", 8000, 440);
    const std::string second = MakeTone("second.wav", 8000, 660);
    Recorder recorder("media_keys.wav");
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(StartWith(Quoted(Wide(first)) + L" " + Quoted(Wide(second))));
    ASSERT_TRUE(WaitForStatus("first.wav", 10000)) << StatusText(player);
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_HIDE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(player); }, 3000));
    ASSERT_TRUE(recorder.WaitForTone(440, 10000));
    PressKey(VK_MEDIA_NEXT_TRACK);
    ASSERT_TRUE(WaitForStatus("second.wav", 5000)) << StatusText(player);
    ASSERT_TRUE(recorder.WaitForTone(660, 10000));
    PressKey(VK_MEDIA_STOP);
    ASSERT_TRUE(WaitForStatus("Hello Quon", 3000)) << StatusText(player);
    ::Sleep(700);
    PressKey(VK_MEDIA_PLAY_PAUSE);
    ASSERT_TRUE(WaitForStatus("second.wav", 5000)) << StatusText(player);
    ASSERT_TRUE(recorder.WaitForTone(660, 10000, 2));
    PressKey(VK_MEDIA_PREV_TRACK);
    ASSERT_TRUE(WaitForStatus("first.wav", 5000)) << StatusText(player);
    ASSERT_TRUE(recorder.WaitForTone(440, 10000, 2));
    PressKey(VK_MEDIA_PLAY_PAUSE);
    ASSERT_TRUE(WaitForStatus("Hello Quon", 3000)) << StatusText(player);
    ::Sleep(500);
    EXPECT_FALSE(::IsWindowVisible(player)) << "the keys work while the player stays in the tray";
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_GE(tones.size(), 4u);
    EXPECT_NEAR(tones[0].frequency, 440, 15) << "first, until next";
    EXPECT_NEAR(tones[1].frequency, 660, 15) << "second, until stop";
    EXPECT_NEAR(tones[2].frequency, 660, 15) << "second again after play";
    EXPECT_NEAR(tones[3].frequency, 440, 15) << "back to the first, until play/pause stops it";
    for (const Tone& tone : tones)
        EXPECT_LT(tone.length, 2.5);
}

// With nothing loaded, play/pause acts as the knob's centre: the open dialog, once however often
// the key is pressed, and what is chosen there plays.
TEST_F(WaysIn, PlayPauseWithNothingLoadedOpensTheOpenDialogOnce)
{
    MakeTone("chosen.wav", 500, 660);
    ASSERT_TRUE(StartWith(L""));
    ::Sleep(300);
    PressKey(VK_MEDIA_PLAY_PAUSE);
    ASSERT_TRUE(WaitFor([&] { return FindOpenDialog(quon) != nullptr; }, 10000)) << "no open dialog";
    PressKey(VK_MEDIA_PLAY_PAUSE);
    PressKey(VK_MEDIA_NEXT_TRACK);
    ::Sleep(1000);
    int dialogs = 0;
    for (HWND wnd : quon.Windows()) {
        if (::IsWindowVisible(wnd) && (::GetDlgItem(wnd, cmb13) || ::GetDlgItem(wnd, edt1)))
            ++dialogs;
    }
    EXPECT_EQ(dialogs, 1) << "a second press opens no second dialog";
    ASSERT_TRUE(ChooseInOpenDialog(quon, folder, "\"chosen.wav\""));
    EXPECT_TRUE(WaitForStatus("chosen.wav", 10000)) << StatusText(player);
}

// The open dialog's "all files" entry lets a list be chosen with other files: it plays at its place.
TEST_F(WaysIn, AListChosenInTheOpenDialogPlaysAtItsPlace)
{
    MakeTone("a.wav", kNamedMs, 440);
    MakeTone("b.wav", kNamedMs, 660);
    MakeTone("c.wav", kNamedMs, 880);
    const std::string mix = "b.wav\r\na.wav\r\n";
    ASSERT_TRUE(WriteFileBytes(folder + "\\mix.M3U8", std::vector<std::uint8_t>(mix.begin(), mix.end())));
    ASSERT_TRUE(StartWith(L""));
    ::Sleep(300);
    ClickAt(player, 394, 198); // the knob's centre, with nothing loaded
    // Each name the dialog returns goes to the head: the list file's entries come after c.wav.
    ASSERT_TRUE(ChooseInOpenDialog(quon, folder, "\"mix.M3U8\" \"c.wav\""));
    EXPECT_EQ(NamesUntilSongsOver(15000), (std::vector<std::string>{"c.wav", "b.wav", "a.wav"}));
}

// A file name of Korean letters and an emoji has no GBK form: it plays under its short name.
TEST_F(WaysIn, NameOutsideGbkPlaysFromTheCommandLineUnderItsShortName)
{
    const std::wstring name = Wide(folder) + L"\\\xD55C\xAE00\xB178\xB798\xD83C\xDFB5.wav";
    const std::vector<std::uint8_t> bytes = MakeToneWave(600, 523);
    HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ::CloseHandle(file);
    wchar_t shortName[MAX_PATH] = L"";
    ASSERT_GT(::GetShortPathNameW(name.c_str(), shortName, MAX_PATH), 0u);
    char shortAnsi[MAX_PATH] = "";
    ::WideCharToMultiByte(CP_ACP, 0, shortName, -1, shortAnsi, MAX_PATH, nullptr, nullptr);

    Recorder recorder("outside_gbk.wav");
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(StartWith(Quoted(name)));
    const std::vector<std::string> names = NamesUntilSongsOver(15000);
    ::Sleep(kLastTailMs);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], FileNameOf(shortAnsi));
    const std::vector<Tone> tones = Heard(recorder);
    ASSERT_EQ(tones.size(), 1u);
    EXPECT_NEAR(tones[0].frequency, 523, 15);
    EXPECT_NEAR(tones[0].length, 0.6, 0.1);
    ::DeleteFileW(name.c_str());
}

TEST_F(WaysIn, AStartAfterThePlayerClosedBeginsAPlayerOfItsOwn)
{
    const std::string song = MakeTone("after.wav", 500, 660);
    ASSERT_TRUE(StartWith(L""));
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    ASSERT_TRUE(WaitFor(
        [&] {
            HWND c = quon.Credits();
            return c && ::IsWindowVisible(c);
        },
        10000));
    EXPECT_EQ(InstanceWindows(), 0) << "a player that closed is no longer found";

    QuonProcess next;
    ASSERT_TRUE(next.StartWithArguments(Quoted(Wide(song))));
    ASSERT_TRUE(next.WaitForPlayer());
    HWND nextPlayer = next.Player();
    EXPECT_TRUE(WaitFor([&] { return StatusText(nextPlayer) == "after.wav"; }, 10000))
        << StatusText(nextPlayer);
    EXPECT_FALSE(next.HasExited());
    ::PostMessageA(nextPlayer, WM_COMMAND, ID_TRAY_EXIT, 0);
    ::PostMessageA(quon.Credits(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(quon.HasExited(10000));
}

// A player behind its holiday splash answers no message for eight seconds: a second start does not
// wait for it, and its file plays once the player is up.
TEST(WaysInOwnSession, ASecondStartDuringTheSplashPlaysOnceThePlayerIsUp)
{
    const std::string song = ArtifactPath("during_splash.wav");
    ASSERT_TRUE(WriteFileBytes(song, MakeToneWave(600, 880)));
    QuonProcess first;
    ASSERT_TRUE(first.Start("2026-12-25 10:00:00")) << "needs QUON_EXE and libfaketime";
    ASSERT_TRUE(WaitFor([&] { return FindSplash(first) != nullptr; }, 20000)) << "no splash appeared";
    ::Sleep(1000);

    QuonProcess second;
    const SecondStart handed = StartSecond(second, Quoted(Wide(song)));
    ASSERT_TRUE(handed.started);
    EXPECT_TRUE(handed.exited);
    EXPECT_LT(handed.livedMs, EndsAtOnceMs()) << "no wait for the busy player";
    EXPECT_FALSE(handed.hadWindow);
    EXPECT_TRUE(::IsWindowVisible(FindSplash(first))) << "still behind the splash";

    Recorder recorder("during_splash_rec.wav");
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(first.WaitForPlayer(15000));
    HWND player = first.Player();
    EXPECT_TRUE(WaitFor([&] { return StatusText(player) == "during_splash.wav"; }, 10000))
        << StatusText(player);
    recorder.WaitForTone(880, 10000);
    ::Sleep(800);
    EXPECT_TRUE(recorder.Stop());
    Recording recording;
    ASSERT_TRUE(LoadRecording(recorder.WindowsPath(), recording));
    const std::vector<Tone> tones = TonesOf(recording);
    ASSERT_EQ(tones.size(), 1u);
    EXPECT_NEAR(tones[0].frequency, 880, 15);
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
}

} // namespace
