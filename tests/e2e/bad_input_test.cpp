// The real program given bad input: broken and missing media, a huge selection, awkward names and
// paths, a message file that is no text. It neither crashes nor shows a message box nor stops
// answering (pinged throughout), the good items play and the list stays whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "PlayerFixture.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "TraySupport.h"
#include "playback/logic/Transport.h"
#include "player/logic/StatusText.h"
#include "resource.h"

namespace {

// Knob parts, in the player's client pixels.
const POINT kNext = {371, 198};
const POINT kBack = {414, 198};
// The longest the window may take to answer a message.
const UINT kAnswerMs = 2000;
const DWORD kPollMs = 100;
// A person's pause between two clicks on the knob (also keeps them from making a double click).
const DWORD kUserPauseMs = 800;

// Whether a window answers a message within 2 s.
bool Answers(HWND wnd)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &result) != 0;
}

// A dialog-class window of the program that is none of its own windows: a message box.
HWND FindMessageBox(const QuonProcess& quon)
{
    for (HWND wnd : quon.Windows()) {
        char className[64] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        if (std::string(className) != "#32770" || !::IsWindowVisible(wnd))
            continue;
        if (wnd == quon.Player() || wnd == quon.Video() || wnd == quon.Ticker() || wnd == quon.Credits() ||
            wnd == FindOpenDialog(quon) || wnd == FindSplash(quon))
            continue;
        return wnd;
    }
    return nullptr;
}

std::string TitleOf(HWND wnd)
{
    char text[256] = "";
    ::GetWindowTextA(wnd, text, sizeof text);
    return text;
}

// What went wrong while the program was watched.
struct Trouble {
    bool exited = false;
    bool hung = false;
    std::string messageBox; // the title of a message box that was seen
    bool Any() const { return exited || hung || !messageBox.empty(); }
};

std::ostream& operator<<(std::ostream& out, const Trouble& t)
{
    return out << (t.exited ? "the program ended; " : "")
               << (t.hung ? "the window did not answer in 2 s; " : "")
               << (t.messageBox.empty() ? "" : "a message box \"" + t.messageBox + "\"");
}

class BadInput : public RunningPlayer {
protected:
    // Polls until condition holds or timeoutMs has passed, pinging the player every time; true when
    // the condition held. What went wrong on the way is kept in trouble.
    bool Watch(const std::function<bool()>& condition, DWORD timeoutMs)
    {
        const DWORD start = ::GetTickCount();
        for (;;) {
            Check();
            if (trouble.exited || trouble.hung)
                return false;
            if (condition())
                return true;
            if (::GetTickCount() - start >= timeoutMs)
                return false;
            ::Sleep(kPollMs);
        }
    }
    void WatchFor(DWORD ms)
    {
        Watch([] { return false; }, ms);
    }
    void Check()
    {
        if (quon.HasExited()) {
            trouble.exited = true;
            return;
        }
        if (!Answers(player))
            trouble.hung = true;
        if (HWND box = FindMessageBox(quon))
            if (trouble.messageBox.empty())
                trouble.messageBox = TitleOf(box) + " / " + TitleOf(::GetWindow(box, GW_CHILD));
    }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = folder + "\\" + name;
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
        return path;
    }
    std::string WriteTone(const std::string& name, int milliseconds, double hz)
    {
        return Write(name, MakeToneWave(milliseconds, hz));
    }
    // From the mode at start (once through), clicks on the mode button go to 2 (the current item
    // once more) and then 0 (the whole list over and over).
    void SetRepeatMode(int mode)
    {
        for (int clicks = (mode + 2) % 3; clicks > 0; --clicks)
            ::PostMessageA(player, WM_COMMAND, MAKEWPARAM(IDC_SKIN_MODE, 0), 0);
    }
    bool StatusIs(const std::string& text) { return StatusText(player) == text; }

    std::vector<Tone> Heard(Recorder& recorder)
    {
        EXPECT_TRUE(recorder.Stop());
        Recording recording;
        EXPECT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
        return FindTones(recording);
    }

    // The files of a bad list: an empty .mp3, a WAV that ends after its header, a text named .avi.
    std::vector<std::string> WriteBadFiles(const std::string& prefix)
    {
        std::vector<std::uint8_t> header = MakeToneWave(2000, 440);
        header.resize(44);
        const std::string text = "This is a text file, not a film.\r\n";
        std::vector<std::uint8_t> notVideo;
        for (int i = 0; i < 50; ++i)
            notVideo.insert(notVideo.end(), text.begin(), text.end());
        return {Write(prefix + "empty.mp3", {}), Write(prefix + "header_only.wav", header),
                Write(prefix + "text.avi", notVideo)};
    }

    std::vector<std::string> BadNames(const std::string& prefix)
    {
        std::vector<std::string> names;
        for (const std::string& path : WriteBadFiles(prefix))
            names.push_back(path.substr(path.rfind('\\') + 1));
        return names;
    }

    // Chooses names in the open dialog as a person does: the folder first, then the names, and a
    // moment before pressing Open (the dialog grows its buffer for typed names on a timer).
    bool ChooseSlowly(const std::string& names)
    {
        ClickAt(player, kCentre.x, kCentre.y);
        if (!WaitFor([&] { return FindOpenDialog(quon) != nullptr; }, 10000))
            return false;
        HWND dialog = FindOpenDialog(quon);
        ::Sleep(300);
        TypeName(dialog, folder);
        PressOpen(dialog);
        ::Sleep(500);
        TypeName(dialog, names);
        ::Sleep(500);
        PressOpen(dialog);
        return WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 5000);
    }
    static void TypeName(HWND dialog, const std::string& text)
    {
        HWND box = ::GetDlgItem(dialog, cmb13);
        HWND edit = box ? ::FindWindowExA(box, nullptr, "Edit", nullptr) : ::GetDlgItem(dialog, edt1);
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                              SMTO_ABORTIFHUNG, 5000, &result);
    }
    static void PressOpen(HWND dialog)
    {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)), SMTO_ABORTIFHUNG, 5000,
                              &result);
    }

    Trouble trouble;
};

std::string Quoted(const std::vector<std::string>& names)
{
    std::string typed;
    for (const std::string& name : names)
        typed += "\"" + name + "\" ";
    return typed;
}

std::string Describe(const std::vector<Tone>& tones)
{
    std::string text;
    for (const Tone& t : tones) {
        char line[96];
        std::snprintf(line, sizeof line, "%.0f Hz at %.2f s for %.2f s; ", t.frequency, t.start, t.length);
        text += line;
    }
    return text;
}

// The tones of a recording with the pieces of one item joined: a sound device that opens cold
// may break an item's first moments into pieces of the same pitch. A joined item spans from the
// start of its first piece to the end of its last.
std::vector<Tone> OnePerItem(const std::vector<Tone>& tones)
{
    std::vector<Tone> items;
    for (const Tone& t : tones) {
        if (!items.empty() && std::abs(items.back().frequency - t.frequency) < 15 &&
            t.start - (items.back().start + items.back().length) < 0.3)
            items.back().length = t.start + t.length - items.back().start;
        else
            items.push_back(t);
    }
    return items;
}

// What the status line shows for a path.
std::string Shown(std::string path)
{
    ShortenStatusText(path);
    return path;
}

// Bad files between good ones, in repeat-list mode: the good ones are heard in order, and heard
// again in the second round, so the list survived its bad items.
TEST_F(BadInput, BrokenFilesBetweenGoodOnesAreSkippedRoundAfterRound)
{
    WriteTone("good1.wav", 500, 440);
    WriteBadFiles("");
    WriteTone("good2.wav", 500, 880);
    const std::string missing = WriteTone("gone.mp3", 500, 660);
    SetRepeatMode(kRepeatList);
    Recorder recorder("bad_between_good.wav");
    ASSERT_TRUE(recorder.Start());
    // Each name goes to the head: the list is good1, the three bad files, gone, good2.
    OpenWithDialog(
        Quoted({"good2.wav", "gone.mp3", "text.avi", "header_only.wav", "empty.mp3", "good1.wav"}));
    ::DeleteFileA(missing.c_str());
    WatchFor(6000);
    ClickAt(player, kCentre.x, kCentre.y); // stop
    Watch([&] { return StatusIs("Hello Quon"); }, 3000);
    const std::vector<Tone> tones = Heard(recorder);
    EXPECT_FALSE(trouble.Any()) << trouble;
    const std::vector<Tone> heard = OnePerItem(tones);
    ASSERT_GE(heard.size(), 3u) << Describe(tones);
    EXPECT_NEAR(heard[0].frequency, 440, 15) << Describe(tones);
    EXPECT_NEAR(heard[1].frequency, 880, 15) << Describe(tones);
    EXPECT_NEAR(heard[2].frequency, 440, 15) << "the second round starts with the first item again";
    EXPECT_GE(heard[1].length, 0.48) << "good items are heard in full: " << Describe(tones);
    HWND video = quon.Video();
    EXPECT_TRUE(video && !::IsWindowVisible(video)) << "no window is left open for the text named .avi";
}

// A list of nothing but bad files, once through: it ends with "Songs Over".
TEST_F(BadInput, OnlyBadFilesOnceThroughEndTheList)
{
    OpenWithDialog(Quoted(BadNames("")));
    EXPECT_TRUE(Watch([&] { return StatusIs("Songs Over"); }, 15000)) << StatusText(player);
    EXPECT_FALSE(trouble.Any()) << trouble;
}

// Repeating the list of nothing but bad files: it may keep trying, but the window answers all
// along, nothing ends the list by itself, and stop ends it for good.
TEST_F(BadInput, OnlyBadFilesInRepeatListModeKeepTheWindowAnsweringUntilStopped)
{
    SetRepeatMode(kRepeatList);
    OpenWithDialog(Quoted(BadNames("")));
    WatchFor(8000);
    EXPECT_FALSE(trouble.Any()) << trouble;
    EXPECT_NE(StatusText(player), "Songs Over") << "repeat-list mode never ends the list";
    ClickAt(player, kCentre.x, kCentre.y);
    EXPECT_TRUE(Watch([&] { return StatusIs("Hello Quon"); }, 3000)) << StatusText(player);
    WatchFor(1500);
    EXPECT_TRUE(StatusIs("Hello Quon")) << "nothing starts again after the stop: " << StatusText(player);
    EXPECT_FALSE(trouble.Any()) << trouble;
}

// Repeating the current item once when it is bad: it fails again and the list goes on to its end.
TEST_F(BadInput, OnlyBadFilesWithTheCurrentRepeatedOnceEndTheList)
{
    SetRepeatMode(kRepeatCurrentOnce);
    OpenWithDialog(Quoted(BadNames("")));
    EXPECT_TRUE(Watch([&] { return StatusIs("Songs Over"); }, 15000)) << StatusText(player);
    EXPECT_FALSE(trouble.Any()) << trouble;
}

// Bad files chosen again after their list ended, now in front of a good one: the good one plays.
TEST_F(BadInput, BadFilesChosenAgainDoNotKeepTheNextGoodFileFromPlaying)
{
    const std::vector<std::string> names = BadNames("");
    OpenWithDialog(Quoted(names));
    ASSERT_TRUE(Watch([&] { return StatusIs("Songs Over"); }, 15000)) << StatusText(player);
    WriteTone("good.wav", 800, 660);
    std::vector<std::string> again = {"good.wav"};
    again.insert(again.end(), names.begin(), names.end());
    ClickAt(player, kCentre.x, kCentre.y);
    ASSERT_TRUE(ChooseInOpenDialog(quon, folder, Quoted(again)));
    EXPECT_TRUE(Watch([&] { return StatusIs(Shown(folder + "\\good.wav")); }, 10000)) << StatusText(player);
    EXPECT_FALSE(trouble.Any()) << trouble;
}

// 300 files chosen at once: the first plays, next steps through them in order, and back from the
// first reaches the 300th, so none was lost.
TEST_F(BadInput, ThreeHundredFilesChosenAtOnceAreAllInTheList)
{
    std::vector<std::string> names, shown;
    for (int i = 0; i < 300; ++i) {
        char name[64];
        wsprintfA(name, "%03d 一首歌.wav", i);
        names.push_back(name);
        shown.push_back(Shown(Write(name, MakeToneWave(3000, 300 + i, 0.3, 8000, 1))));
    }
    // The dialog returns them in this order and each goes to the head: the list runs 299 down to 000.
    ASSERT_TRUE(ChooseSlowly(Quoted(names)));
    EXPECT_TRUE(Watch([&] { return StatusIs(shown[299]); }, 10000)) << StatusText(player);
    WatchFor(kUserPauseMs);
    for (int i = 298; i >= 296; --i) {
        ClickAt(player, kNext.x, kNext.y);
        EXPECT_TRUE(Watch([&] { return StatusIs(shown[i]); }, 5000)) << i << ": " << StatusText(player);
        WatchFor(kUserPauseMs);
    }
    for (int i = 297; i <= 299; ++i) {
        ClickAt(player, kBack.x, kBack.y);
        EXPECT_TRUE(Watch([&] { return StatusIs(shown[i]); }, 5000)) << i << ": " << StatusText(player);
        WatchFor(kUserPauseMs);
    }
    ClickAt(player, kBack.x, kBack.y);
    EXPECT_TRUE(Watch([&] { return StatusIs(shown[0]); }, 5000))
        << "back from the first reaches the last: " << StatusText(player);
    EXPECT_FALSE(trouble.Any()) << trouble;
}

// The same 300 names with Open pressed the moment they are typed (as a paste followed at once by
// Enter may do): the dialog's buffer still grows for all of them.
TEST_F(BadInput, ThreeHundredNamesOpenedTheMomentTheyAreTypedAreAllKept)
{
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        char name[64];
        wsprintfA(name, "%03d 一首歌.wav", i);
        names.push_back(name);
        Write(name, MakeToneWave(3000, 300 + i, 0.3, 8000, 1));
    }
    OpenWithDialog(Quoted(names));
    EXPECT_TRUE(Watch([&] { return StatusIs(Shown(folder + "\\" + names[299])); }, 10000))
        << StatusText(player);
    EXPECT_FALSE(trouble.Any()) << trouble;
}

// Names whose double-byte characters end in the byte of a backslash (籠 is BB 5C in GBK), in a
// folder named so too, and a path of 250 bytes: both play, and the status line shows the names
// shortened as double-byte text, never cut at such a trail byte.
TEST_F(BadInput, BackslashTrailBytesAndLongPathsPlayAndShowWholeNames)
{
    ASSERT_EQ(std::string("\xBB\x5C"), std::string("籠"));
    std::string deep = folder + "\\籠表 folder";
    ASSERT_TRUE(::CreateDirectoryA(deep.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string longName = "很长的名字籠籠 a long name.wav";
    // Folders of ten bytes until the long file's path is 250 bytes.
    while (deep.size() + 1 + longName.size() + 11 <= 250) {
        deep += "\\籠folder_";
        deep += static_cast<char>('a' + deep.size() % 26);
        ASSERT_TRUE(::CreateDirectoryA(deep.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
            << deep;
    }
    const size_t pad = 250 - (deep.size() + 1 + longName.size());
    const std::string paddedName = std::string(pad, 'p') + longName;
    const std::string longPath = deep + "\\" + paddedName;
    ASSERT_EQ(longPath.size(), 250u);
    const std::string shortPath = deep + "\\表籠.wav";
    ASSERT_TRUE(WriteFileBytes(shortPath, MakeToneWave(1500, 440)));
    ASSERT_TRUE(WriteFileBytes(longPath, MakeToneWave(1500, 880))) << "a 250-byte path can be written";

    const std::string shownLong = Shown(longPath);
    ASSERT_EQ(Shown(shortPath), "表籠.wav") << "the trail byte is no folder separator";
    Recorder recorder("backslash_trail.wav");
    ASSERT_TRUE(recorder.Start());
    ClickAt(player, kCentre.x, kCentre.y);
    ASSERT_TRUE(ChooseInOpenDialog(quon, deep, Quoted({paddedName, "表籠.wav"})));
    EXPECT_TRUE(Watch([&] { return StatusIs(Shown(shortPath)); }, 10000)) << StatusText(player);
    EXPECT_TRUE(Watch([&] { return StatusIs(shownLong); }, 10000)) << StatusText(player);
    EXPECT_TRUE(Watch([&] { return StatusIs("Songs Over"); }, 10000)) << StatusText(player);
    WatchFor(700);  // the end is told while the last item's tail still sounds
    const std::vector<Tone> tones = Heard(recorder);
    EXPECT_FALSE(trouble.Any()) << trouble;
    // Both are heard, in list order, in full.
    const std::vector<Tone> heard = OnePerItem(tones);
    ASSERT_EQ(heard.size(), 2u) << Describe(tones);
    EXPECT_NEAR(heard[0].frequency, 440, 15) << Describe(tones);
    EXPECT_NEAR(heard[1].frequency, 880, 15) << Describe(tones);
    EXPECT_GE(heard[0].length, 1.45) << Describe(tones);
    EXPECT_GE(heard[1].length, 1.45) << Describe(tones);
}

// A message file that is no text: the ticker shows what it can, tick after tick, and the program
// goes on answering. The file is read when the program starts, so each case starts it anew.
class BadMessageFile : public ::testing::Test {
protected:
    void ShowTickerWith(const std::string& bytes)
    {
        MessageFile file(bytes);
        ASSERT_TRUE(file.Written()) << file.Path();
        QuonProcess quon;
        ASSERT_TRUE(quon.Start());
        ASSERT_TRUE(quon.WaitForPlayer());
        HWND player = quon.Player();
        ::Sleep(300);
        ::PostMessageA(player, WM_COMMAND, ID_TRAY_GREETING, 0);
        ASSERT_TRUE(WaitFor(
            [&] {
                HWND t = quon.Ticker();
                return t && ::IsWindowVisible(t);
            },
            5000));
        RECT area{};
        ::GetWindowRect(quon.Ticker(), &area);

        // Over three ticks the strip shows a segment and the title in turn: at least two pictures.
        std::vector<Frame> seen;
        bool answered = true;
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 9500 && !quon.HasExited()) {
            answered = answered && Answers(player) && Answers(quon.Ticker());
            const Frame now = Capture(Screenshot(), area);
            bool known = false;
            for (const Frame& f : seen)
                known = known || f == now;
            if (!known)
                seen.push_back(now);
            ::Sleep(250);
        }
        ASSERT_FALSE(quon.HasExited()) << "the program ended";
        EXPECT_TRUE(answered) << "the player or the ticker did not answer within 2 s";
        EXPECT_EQ(FindMessageBox(quon), nullptr) << "a message box";
        EXPECT_GE(seen.size(), 2u) << "the strip changes between the segment and the title";
        ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
        WaitFor(
            [&] {
                HWND c = quon.Credits();
                return c && ::IsWindowVisible(c);
            },
            10000);
        if (HWND credits = quon.Credits())
            ::PostMessageA(credits, WM_CLOSE, 0, 0);
        EXPECT_TRUE(quon.HasExited(10000)) << "the program ends after its credits";
    }
};

TEST_F(BadMessageFile, BinaryBytes)
{
    // Every byte value but NUL, lead bytes without trail bytes and stray markers among them.
    std::string bytes;
    unsigned value = 12345;
    for (int i = 0; i < 3000; ++i) {
        value = value * 1103515245u + 12345u;
        const char c = static_cast<char>(1 + (value >> 16) % 255);
        bytes += c;
        if (i % 97 == 0)
            bytes += "**";
    }
    bytes += '\xB1'; // a lead byte at the very end
    ShowTickerWith(bytes);
}

TEST_F(BadMessageFile, HundredKilobytes)
{
    std::string bytes;
    for (int i = 0; bytes.size() < 100 * 1024; ++i)
        bytes += "第" + std::to_string(i) + "段 segment text **";
    ShowTickerWith(bytes);
}

TEST_F(BadMessageFile, NulBytes)
{
    ShowTickerWith(std::string("ab**cd\0\0**ef**\0gh", 17));
}

} // namespace
