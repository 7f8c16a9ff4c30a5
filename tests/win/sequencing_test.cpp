// What the Windows Media window plays after an item stops, driven through the player with real media.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "TestMedia.h"
#include "PlayerSession.h"
#include "WinTestSupport.h"
#include "app/PlayerApp.h"
#include "framework/Dispatch.h"
#include "player/PlayerDlg.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "wmp/VideoDlg.h"
#include "wmp/control/MediaPlayerControl.h"

namespace {

// Knob parts, in the player's client pixels.
const POINT kCentre = {394, 198};
const POINT kNext = {371, 198};
const POINT kBack = {414, 198};

// Bounds for waiting on the control: generous, as a loaded machine may be slow to start media.
const DWORD kStartWait = 10000;
const DWORD kEndWait = 15000;
// How long nothing must happen for "nothing follows" to hold.
const DWORD kQuietMs = 700;
// Long enough never to end by itself while a test drives the reports.
const int kLongMs = 60000;

struct Report {
    long oldState;
    long newState;
    std::string playing;  // the control's file name when the report arrived
};

// Records every play-state report that reaches the Windows Media window, before it is handled.
class ReportSpy {
public:
    explicit ReportSpy(HWND videoWindow) : m_window(videoWindow)
    {
        s_active = this;
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &ReportSpy::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~ReportSpy()
    {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        s_active = nullptr;
    }
    ReportSpy(const ReportSpy&) = delete;
    ReportSpy& operator=(const ReportSpy&) = delete;

    bool Hooked() const { return m_hook != nullptr; }
    const std::vector<Report>& Reports() const { return m_reports; }

    // The files the control started, in order (one per report from stopped to playing).
    std::vector<std::string> Started() const
    {
        std::vector<std::string> started;
        for (const Report& r : m_reports)
            if (r.oldState == kPlayStateStopped && r.newState == kPlayStatePlaying)
                started.push_back(r.playing);
        return started;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        ReportSpy* self = s_active;
        if (code == HC_ACTION && self && message->hwnd == self->m_window &&
            message->message == EventMessageId()) {
            const auto* call = reinterpret_cast<const EventCall*>(message->lParam);
            if (call && call->dispid == kDispidPlayStateChange && call->argc == 2)
                self->m_reports.push_back({call->args[0].lVal, call->args[1].lVal, self->FileName()});
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    std::string FileName() const
    {
        HWND control = ::GetDlgItem(m_window, IDC_MEDIA_PLAYER);
        DispatchCall call;
        call.dispid = kDispidFileName;
        call.flags = DISPATCH_PROPERTYGET;
        ::SendMessageA(control, DispatchMessageId(), 0, reinterpret_cast<LPARAM>(&call));
        std::string name;
        if (call.result.vt == VT_BSTR && call.result.bstrVal) {
            const BSTR text = call.result.bstrVal;
            const int length = static_cast<int>(::SysStringLen(text));
            const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
            name.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
            if (bytes > 0)
                ::WideCharToMultiByte(CP_ACP, 0, text, length, &name[0], bytes, nullptr, nullptr);
        }
        ::VariantClear(&call.result);
        return name;
    }

    static ReportSpy* s_active;
    HWND m_window;
    HHOOK m_hook = nullptr;
    std::vector<Report> m_reports;
};

ReportSpy* ReportSpy::s_active = nullptr;

// The test's media files, in a folder of their own that goes with them.
class MediaFiles {
public:
    MediaFiles()
    {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        m_dir = std::string(temp) + "quon_sequencing_" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(m_dir.c_str(), nullptr);
    }
    ~MediaFiles()
    {
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        ::RemoveDirectoryA(m_dir.c_str());
    }
    MediaFiles(const MediaFiles&) = delete;
    MediaFiles& operator=(const MediaFiles&) = delete;

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = m_dir + "\\" + name;
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
        m_files.push_back(path);
        return path;
    }
    // A short tone that ends by itself.
    std::string Tone(const std::string& name, int ms, double hz)
    {
        return Write(name, MakeToneWave(ms, hz, 0.3));
    }
    // A silent sound that outlasts any test, for tests that drive the reports themselves.
    std::string Silence(const std::string& name)
    {
        return Write(name, MakeToneWave(kLongMs, 100, 0.0, 8000, 1));
    }

private:
    std::string m_dir;
    std::vector<std::string> m_files;
};

class Sequencing : public FreshPlayerTest {
protected:
    void SetUp() override { StartPlayer(); }
    void TearDown() override { ClosePlayer(); }

    void StartPlayer()
    {
        ASSERT_NO_FATAL_FAILURE(OpenPlayer());
        ::SendMessageA(player->m_hWnd, WM_PAINT, 0, 0);  // the paint sets the knob's hit rectangles
        ASSERT_TRUE(::PtInRect(&player->m_rcPlay, kCentre));
        ASSERT_NE(video(), nullptr);
        spy = std::make_unique<ReportSpy>(video()->m_hWnd);
        ASSERT_TRUE(spy->Hooked());
    }

    void ClosePlayer()
    {
        spy.reset();
        ClosePlayerSession();
    }

    // A fresh player window for the next case of a table.
    void RestartPlayer()
    {
        ClosePlayer();
        StartPlayer();
    }

    CVideoDlg* video() const { return player->m_pVideoDlg; }

    // What the open command does once its dialog has returned the files: the list, then play it.
    void Load(const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths)
            g_playList.AddTail(path);
        player->m_mediaKind = kMediaWindowsMedia;
        video()->SetOwner(player);
        video()->PlayList();
    }

    void Command(UINT id) { ::SendMessageA(player->m_hWnd, WM_COMMAND, id, 0); }
    void Click(POINT at)
    {
        ::SendMessageA(player->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    void RightClick(POINT at)
    {
        ::SendMessageA(player->m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    }

    // Cycles the repeat mode with the skin's mode button (1, 2, 0, 1, ...) until it is mode.
    void SetRepeatMode(int mode)
    {
        for (int i = 0; i < 3 && player->m_repeatMode != mode; ++i)
            Command(IDC_SKIN_MODE);
        ASSERT_EQ(player->m_repeatMode, mode);
    }

    bool WaitForStarts(size_t count, DWORD timeoutMs = kStartWait)
    {
        return PumpUntil([&] { return spy->Started().size() >= count; }, timeoutMs);
    }
    bool WaitForReports(size_t count, DWORD timeoutMs = kEndWait)
    {
        return PumpUntil([&] { return spy->Reports().size() >= count; }, timeoutMs);
    }
    bool WaitForSongsOver(DWORD timeoutMs = kEndWait)
    {
        return PumpUntil([&] { return player->m_statusText == kSongsOver; }, timeoutMs);
    }

    // The index of the Windows Media window's list position, -1 when it counts as null.
    int PositionIndex() const
    {
        POSITION current = video()->CurrentPosition();
        int index = 0;
        for (POSITION pos = g_playList.GetHeadPosition(); pos; ++index) {
            if (pos == current)
                return index;
            g_playList.GetNext(pos);
        }
        return -1;
    }

    bool Shown(int id) const { return ::IsWindowVisible(player->GetDlgItem(id)) != FALSE; }
    std::string StatusBoxText() const
    {
        char text[256] = "";
        ::GetWindowTextA(player->GetDlgItem(IDC_STATUS), text, sizeof text);
        return text;
    }

    MediaFiles media;
    std::unique_ptr<ReportSpy> spy;
};

using Names = std::vector<std::string>;

// ---- repeat modes --------------------------------------------------------------------------

TEST_F(Sequencing, EachRepeatModeChoosesWhatFollowsAnItemThatEnds)
{
    const std::string a = media.Tone("a.wav", 300, 440);
    const std::string b = media.Tone("b.wav", 400, 550);
    const std::string c = media.Tone("c.wav", 300, 660);
    struct Case {
        const char* what;
        int mode;
        Names list;
        bool emptyTheList;  // emptied as soon as the first item has started
        Names expected;     // what the control starts, in order
        bool endsThere;     // nothing follows the expected items
        bool songsOver;
    };
    const Case cases[] = {
        {"play through: each item once, then Songs Over", 1, {a, b, c}, false, {a, b, c}, true, true},
        {"repeat the list: the first item follows the last", 0, {a, b}, false, {a, b, a, b, a}, false,
         false},
        {"repeat the list, list emptied: the current file again", 0, {a, b}, true, {a, a, a}, false, false},
        {"play through, list emptied: nothing follows", 1, {a, b}, true, {a}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(RestartPlayer());
        SetRepeatMode(c.mode);
        Load(c.list);
        ASSERT_TRUE(WaitForStarts(1));
        if (c.emptyTheList)
            g_playList.RemoveAll();
        ASSERT_TRUE(WaitForStarts(c.expected.size(), kEndWait * 2)) << spy->Started().size();
        if (c.endsThere) {
            ASSERT_TRUE(WaitForReports(2 * c.expected.size()));  // the last item's end
            PumpFor(kQuietMs);
            EXPECT_EQ(spy->Started(), c.expected);
            EXPECT_FALSE(player->m_playing);
            EXPECT_EQ(player->m_statusText == kSongsOver, c.songsOver);
            EXPECT_EQ(player->m_loaded, c.songsOver ? 0 : 1);
        } else {
            const Names started = spy->Started();
            ASSERT_GE(started.size(), c.expected.size());
            const auto count = static_cast<std::ptrdiff_t>(c.expected.size());
            EXPECT_EQ(Names(started.begin(), started.begin() + count), c.expected);
        }
        EXPECT_EQ(player->m_repeatMode, c.mode) << "modes 0 and 1 persist";
    }
}

TEST_F(Sequencing, PlayThroughEndsAndARestartPlaysTheLastItemAloneAgain)
{
    const Names list = {media.Tone("one.wav", 300, 440), media.Tone("two.wav", 300, 550),
                        media.Tone("three.wav", 300, 660)};
    Load(list);
    ASSERT_TRUE(WaitForSongsOver());
    EXPECT_EQ(spy->Started(), list);
    EXPECT_EQ(player->m_loaded, 0);
    EXPECT_EQ(PositionIndex(), -1);
    EXPECT_EQ(player->m_currentPath, list[2]) << "the last item stays current";
    EXPECT_FALSE(video()->IsWindowVisible());

    // Command 1044 while nothing plays restarts the current item, the third.
    Command(ID_TRAY_REPEAT_ONE);
    EXPECT_EQ(player->m_repeatMode, 1) << "not armed: nothing was playing";
    EXPECT_TRUE(player->m_playing);
    EXPECT_EQ(player->m_loaded, 1);
    ASSERT_TRUE(WaitForReports(8));  // its start and its end
    PumpFor(kQuietMs);
    EXPECT_EQ(spy->Started(), (Names{list[0], list[1], list[2], list[2]}));
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(PositionIndex(), -1) << "the position is still null: nothing follows";
}

TEST_F(Sequencing, SongsOverStaysOnTheStatusLineWhileThePathTimerRuns)
{
    Load({media.Tone("only.wav", 300, 440)});
    ASSERT_TRUE(WaitForSongsOver());
    for (int i = 0; i < 3; ++i)
        ::SendMessageA(player->m_hWnd, WM_TIMER, 5, 0);
    PumpFor(400);  // the real timer 5 ticks as well
    EXPECT_EQ(player->m_statusText, kSongsOver);
    EXPECT_EQ(StatusBoxText(), kSongsOver);
}

TEST_F(Sequencing, RepeatOncePlaysTheItemOnceMoreThenTheListGoesOn)
{
    const Names list = {media.Tone("first.wav", 500, 440), media.Tone("second.wav", 300, 660)};
    Load(list);
    ASSERT_TRUE(WaitForStarts(1));
    Command(ID_TRAY_REPEAT_ONE);  // while playing: arms the one-time repeat
    EXPECT_EQ(player->m_repeatMode, 2);
    EXPECT_TRUE(Shown(IDC_SKIN_REPEAT_ONE));
    EXPECT_FALSE(Shown(IDC_SKIN_REPEAT_LIST));

    ASSERT_TRUE(WaitForStarts(2, kEndWait));
    EXPECT_EQ(spy->Started()[1], list[0]) << "the same item once more";
    EXPECT_EQ(player->m_repeatMode, 1);
    EXPECT_FALSE(Shown(IDC_SKIN_REPEAT_ONE));
    EXPECT_EQ(PositionIndex(), 0) << "the position did not move";

    ASSERT_TRUE(WaitForSongsOver());
    EXPECT_EQ(spy->Started(), (Names{list[0], list[0], list[1]}));
}

// ---- back and next -------------------------------------------------------------------------

TEST_F(Sequencing, BackOnTheFirstItemPlaysTheLastInEveryMode)
{
    const Names list = {media.Silence("b1.wav"), media.Silence("b2.wav"), media.Silence("b3.wav")};
    for (int mode : {1, 2, 0}) {
        SCOPED_TRACE(mode);
        ASSERT_NO_FATAL_FAILURE(RestartPlayer());
        SetRepeatMode(mode);
        Load(list);
        ASSERT_TRUE(WaitForStarts(1));
        Click(kBack);
        EXPECT_TRUE(player->m_statusHighlight);
        ASSERT_TRUE(WaitForStarts(2));
        EXPECT_EQ(spy->Started()[1], list[2]);
        EXPECT_EQ(player->m_currentPath, list[2]);
        EXPECT_EQ(PositionIndex(), 2);
        EXPECT_FALSE(player->m_backPressed) << "used up";
        EXPECT_EQ(player->m_repeatMode, mode) << "back leaves even the one-time repeat armed";
        EXPECT_TRUE(player->m_playing);
        EXPECT_EQ(player->m_loaded, 1);
    }
}

TEST_F(Sequencing, StepsWithTheOneTimeRepeatArmed)
{
    struct Case {
        const char* what;
        POINT button;
        int expectedIndex;
        int modeAfter;
    };
    const Case cases[] = {
        {"next replays the current item and disarms", kNext, 1, 1},
        {"back goes one item back and stays armed", kBack, 0, 2},
    };
    const Names list = {media.Silence("s1.wav"), media.Silence("s2.wav"), media.Silence("s3.wav")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(RestartPlayer());
        Load(list);
        ASSERT_TRUE(WaitForStarts(1));
        Click(kNext);
        ASSERT_TRUE(WaitForStarts(2));
        ASSERT_EQ(spy->Started()[1], list[1]);
        Command(ID_TRAY_REPEAT_ONE);
        ASSERT_EQ(player->m_repeatMode, 2);

        Click(c.button);
        ASSERT_TRUE(WaitForStarts(3));
        EXPECT_EQ(spy->Started()[2], list[c.expectedIndex]);
        EXPECT_EQ(PositionIndex(), c.expectedIndex);
        EXPECT_EQ(player->m_repeatMode, c.modeAfter);
        EXPECT_EQ(Shown(IDC_SKIN_REPEAT_ONE), c.modeAfter == 2);
    }
}

TEST_F(Sequencing, StepsWithAnEmptyListReplayInRepeatListModeAndOnlyStopOtherwise)
{
    struct Case {
        const char* what;
        POINT button;
        int mode;
    };
    const Case cases[] = {
        {"next, repeat the list", kNext, 0},
        {"next, play through", kNext, 1},
        {"back, repeat the list", kBack, 0},
        {"back, play through", kBack, 1},
    };
    const std::string path = media.Silence("single.wav");
    const std::string other = media.Silence("other.wav");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(RestartPlayer());
        SetRepeatMode(c.mode);
        Load({path, other});
        ASSERT_TRUE(WaitForStarts(1));
        g_playList.RemoveAll();
        Click(c.button);
        ASSERT_TRUE(WaitForReports(2));
        if (c.mode == 0) {
            ASSERT_TRUE(WaitForStarts(2));
            EXPECT_EQ(spy->Started()[1], path);
            EXPECT_TRUE(player->m_playing);
        } else {
            PumpFor(kQuietMs);
            EXPECT_EQ(spy->Started().size(), 1u);
            EXPECT_FALSE(player->m_playing);
            EXPECT_EQ(player->m_loaded, 0);
            EXPECT_EQ(player->m_statusText, kHelloQuon);
        }
        EXPECT_FALSE(player->m_backPressed);
    }
}

TEST_F(Sequencing, StepsBeforeAnythingWasLoadedOnlyHighlightAndAfterTheEndOnlyStop)
{
    for (POINT button : {kNext, kBack}) {
        Click(button);
        EXPECT_TRUE(player->m_statusHighlight);
    }
    PumpFor(kQuietMs);
    EXPECT_TRUE(spy->Reports().empty()) << "the control was not touched";
    EXPECT_EQ(player->m_statusText, kHelloQuon);
    EXPECT_TRUE(player->m_currentPath.empty());
    EXPECT_EQ(player->m_mediaKind, kMediaNone);
    EXPECT_EQ(player->m_loaded, 0);
    EXPECT_FALSE(player->m_playing);

    // The back press that nothing used does not turn the next list backwards; after the list has
    // ended, a step stops the control and returns the line to its idle text.
    const Names list = {media.Tone("first.wav", 300, 440), media.Tone("second.wav", 300, 550),
                        media.Tone("end.wav", 300, 660)};
    Load(list);
    ASSERT_TRUE(WaitForSongsOver());
    EXPECT_EQ(spy->Started(), list);
    const size_t reports = spy->Reports().size();
    for (POINT button : {kNext, kBack}) {
        Click(button);
        EXPECT_EQ(player->m_statusText, kHelloQuon);
        EXPECT_EQ(player->m_loaded, 0);
    }
    PumpFor(kQuietMs);
    EXPECT_EQ(spy->Reports().size(), reports) << "nothing played, so nothing stopped";
    EXPECT_EQ(spy->Started().size(), 3u);
}

// Songs a cancelled chooser left in the list are started by the repeat-list command: they play in
// the Windows Media window like any list, so next steps through them and the path timer runs.
TEST_F(Sequencing, AListStartedByTheRepeatListCommandStepsAndShowsItsPaths)
{
    const Names list = {media.Silence("left1.wav"), media.Silence("left2.wav")};
    for (const std::string& path : list)
        g_playList.AddTail(path);
    ASSERT_EQ(player->m_mediaKind, kMediaNone);
    Command(ID_TRAY_REPEAT_LIST);
    ASSERT_TRUE(WaitForStarts(1));
    EXPECT_EQ(player->m_mediaKind, kMediaWindowsMedia);
    player->m_statusText = kHelloQuon;
    EXPECT_TRUE(PumpUntil([&] { return StatusBoxText() == "left1.wav"; }, 2000))
        << "timer 5 shows the path; shown: " << StatusBoxText();

    Command(IDC_BTN_NEXT);
    ASSERT_TRUE(WaitForStarts(2));
    EXPECT_EQ(spy->Started(), list) << "next moves to the second song";
    EXPECT_TRUE(PumpUntil([&] { return StatusBoxText() == "left2.wav"; }, 2000)) << StatusBoxText();
}

// ---- the centre click ------------------------------------------------------------------------

TEST_F(Sequencing, CentreClickStopsKeepingTheItemLoadedAndTheNextClickReplaysIt)
{
    const std::string path = media.Tone("song.wav", 1500, 440);
    Load({path});
    ASSERT_TRUE(WaitForStarts(1));

    Click(kCentre);
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(player->m_loaded, 1) << "still loaded";
    EXPECT_EQ(player->m_statusText, kHelloQuon);
    EXPECT_TRUE(player->m_userStopped);
    ASSERT_TRUE(WaitForReports(2));
    EXPECT_EQ(spy->Reports()[1].oldState, kPlayStatePlaying);
    EXPECT_EQ(spy->Reports()[1].newState, kPlayStateStopped);
    PumpFor(kQuietMs);
    EXPECT_FALSE(player->m_userStopped) << "its own stop report was swallowed";
    EXPECT_EQ(spy->Started().size(), 1u);
    EXPECT_NE(player->m_statusText, kSongsOver);

    Click(kCentre);  // loaded, not playing: plays it again
    EXPECT_TRUE(player->m_playing);
    ASSERT_TRUE(WaitForStarts(2));
    EXPECT_EQ(spy->Started()[1], path);
    // The replayed item's own end is not swallowed: the play-through ends.
    ASSERT_TRUE(WaitForSongsOver());
    EXPECT_EQ(spy->Started().size(), 2u);
}

TEST_F(Sequencing, UserStopSwallowsTheVeryNextReportWhateverItIs)
{
    const long pairs[][2] = {{2, 0}, {0, 2}, {2, 1}, {1, 0}, {0, 0}};
    const Names list = {media.Silence("u1.wav"), media.Silence("u2.wav")};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(std::to_string(pair[0]) + " -> " + std::to_string(pair[1]));
        ASSERT_NO_FATAL_FAILURE(RestartPlayer());
        Load(list);
        ASSERT_TRUE(WaitForStarts(1));
        player->m_userStopped = true;
        video()->OnPlayStateChange(pair[0], pair[1]);
        EXPECT_FALSE(player->m_userStopped);
        EXPECT_TRUE(player->m_playing);
        EXPECT_EQ(player->m_currentPath, list[0]);
        EXPECT_EQ(PositionIndex(), 0);
        // Only that one: the next stop report moves on.
        video()->OnPlayStateChange(kPlayStatePlaying, kPlayStateStopped);
        EXPECT_EQ(player->m_currentPath, list[1]);
        ASSERT_TRUE(WaitForStarts(2));
        EXPECT_EQ(spy->Started()[1], list[1]);
    }
}

// ---- reports that change nothing -------------------------------------------------------------

TEST_F(Sequencing, OnlyAReportFromPlayingToStoppedMovesTheList)
{
    const std::string clip = media.Write("clip.avi", MakeVideoAvi(600, 32, 24, 10, false));
    const std::string next = media.Silence("after.wav");
    Load({clip, next});
    ASSERT_TRUE(WaitForStarts(1));
    ASSERT_TRUE(video()->IsWindowVisible()) << "a video shows the window";
    const long pairs[][2] = {{2, 1}, {0, 0}, {1, 0}, {0, 2}, {1, 2}, {2, 2}, {3, 0}, {2, 3}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(std::to_string(pair[0]) + " -> " + std::to_string(pair[1]));
        video()->OnPlayStateChange(pair[0], pair[1]);
        EXPECT_TRUE(player->m_playing);
        EXPECT_EQ(player->m_currentPath, clip);
        EXPECT_EQ(PositionIndex(), 0);
        EXPECT_TRUE(video()->IsWindowVisible());
    }
    PumpFor(200);
    EXPECT_EQ(spy->Started().size(), 1u);

    video()->OnPlayStateChange(kPlayStatePlaying, kPlayStateStopped);
    EXPECT_FALSE(video()->IsWindowVisible()) << "hidden before the next item starts";
    EXPECT_EQ(player->m_currentPath, next);
    ASSERT_TRUE(WaitForStarts(2));
    EXPECT_FALSE(video()->IsWindowVisible()) << "a sound plays with the window hidden";
}

TEST_F(Sequencing, WhileClosingEveryReportIsIgnored)
{
    const Names list = {media.Tone("c1.wav", 300, 440), media.Tone("c2.wav", 300, 660)};
    Load(list);
    ASSERT_TRUE(WaitForStarts(1));
    player->m_closing = true;
    const long pairs[][2] = {{2, 0}, {0, 2}, {2, 1}, {0, 0}};
    for (const auto& pair : pairs)
        video()->OnPlayStateChange(pair[0], pair[1]);
    ASSERT_TRUE(WaitForReports(2));  // the item's own end
    PumpFor(kQuietMs);
    EXPECT_EQ(spy->Started(), Names{list[0]});
    EXPECT_TRUE(player->m_playing) << "not even the flag changes";
    EXPECT_EQ(player->m_currentPath, list[0]);
    EXPECT_EQ(PositionIndex(), 0);
}

// ---- eject and a rebuilt list ----------------------------------------------------------------

TEST_F(Sequencing, AfterEjectNoReportHasAnyEffectUntilAnItemStartsAgain)
{
    Load({media.Silence("e1.wav"), media.Silence("e2.wav")});
    ASSERT_TRUE(WaitForStarts(1));

    RightClick(kCentre);
    EXPECT_TRUE(g_playList.IsEmpty());
    EXPECT_EQ(PositionIndex(), -1);
    EXPECT_EQ(video()->CurrentPosition(), nullptr) << "no position is left behind";
    EXPECT_TRUE(player->m_currentPath.empty());
    EXPECT_TRUE(player->m_noAdvance);
    EXPECT_EQ(player->m_loaded, 0);
    EXPECT_FALSE(player->m_playing);
    EXPECT_EQ(player->m_statusText, kHelloQuon);
    ASSERT_TRUE(WaitForReports(2));  // the control's stop report, ignored

    // Every report is ignored, before even a pending user stop or back request is looked at.
    SetRepeatMode(0);
    player->m_userStopped = true;
    player->m_backPressed = true;
    player->m_currentPath = "Z:\\not\\played.wav";
    const long pairs[][2] = {{2, 0}, {0, 2}, {2, 1}, {0, 0}};
    for (const auto& pair : pairs)
        video()->OnPlayStateChange(pair[0], pair[1]);
    EXPECT_TRUE(player->m_userStopped);
    EXPECT_TRUE(player->m_backPressed);
    EXPECT_TRUE(player->m_noAdvance);
    PumpFor(kQuietMs);
    EXPECT_EQ(spy->Started().size(), 1u);
    player->m_userStopped = false;
    player->m_backPressed = false;

    // An item that starts lifts it.
    const Names list = {media.Silence("e3.wav"), media.Silence("e4.wav")};
    Load(list);
    EXPECT_FALSE(player->m_noAdvance);
    ASSERT_TRUE(WaitForStarts(2));
    video()->OnPlayStateChange(kPlayStatePlaying, kPlayStateStopped);
    ASSERT_TRUE(WaitForStarts(3));
    EXPECT_EQ(spy->Started()[2], list[1]);
}

TEST_F(Sequencing, AnItemEndingAfterTheListWasRebuiltUnderItIsFollowedByNothing)
{
    struct Case {
        const char* what;
        int mode;
        bool back;
    };
    const Case cases[] = {
        {"play through", 1, false},
        {"repeat the list", 0, false},
        {"back requested", 1, true},
    };
    const std::string first = media.Tone("r1.wav", 400, 440);
    const std::string second = media.Tone("r2.wav", 300, 660);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(RestartPlayer());
        SetRepeatMode(c.mode);
        Load({first, second});
        ASSERT_TRUE(WaitForStarts(1));
        // Emptied and filled again (with the same paths, which may even reuse the entries' memory)
        // while the first item plays.
        g_playList.RemoveAll();
        g_playList.AddTail(first);
        g_playList.AddTail(second);
        if (c.back)
            player->m_backPressed = true;
        ASSERT_TRUE(WaitForReports(2));  // its natural end
        PumpFor(kQuietMs);
        EXPECT_EQ(spy->Started().size(), 1u);
        EXPECT_FALSE(player->m_playing);
        EXPECT_EQ(PositionIndex(), -1);
        EXPECT_EQ(g_playList.GetCount(), 2) << "the list itself is left alone";
        // Playing the list again starts from its head as usual.
        Command(ID_TRAY_REPEAT_LIST);
        ASSERT_TRUE(WaitForStarts(2));
        EXPECT_EQ(PositionIndex(), 0);
    }
}

// ---- the window -----------------------------------------------------------------------------

TEST_F(Sequencing, AVideoShowsTheWindowWhichHidesWhenItEndsAndFollowsItsBorder)
{
    const std::string clip = media.Write("short.avi", MakeVideoAvi(15, 64, 48, 10));
    const std::string tone = media.Tone("after.wav", 300, 440);
    Load({clip, tone});
    EXPECT_TRUE(video()->IsWindowVisible()) << "shown as soon as a video starts";
    ASSERT_TRUE(WaitForStarts(1));

    // Resizing the visible window makes the control as large as the whole window, at the client origin.
    video()->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT control{};
    ::GetWindowRect(video()->m_player.m_hWnd, &control);
    ::MapWindowPoints(nullptr, video()->m_hWnd, reinterpret_cast<POINT*>(&control), 2);
    EXPECT_EQ(control.left, 0);
    EXPECT_EQ(control.top, 0);
    EXPECT_EQ(control.right - control.left, 400);
    EXPECT_EQ(control.bottom - control.top, 300);

    ASSERT_TRUE(WaitForStarts(2, kEndWait));
    EXPECT_FALSE(video()->IsWindowVisible()) << "hidden with the end of the video, and for the sound";
    ASSERT_TRUE(WaitForSongsOver());
    EXPECT_FALSE(video()->IsWindowVisible());

    // While hidden, a new size leaves the control as it was.
    RECT before{};
    ::GetWindowRect(video()->m_player.m_hWnd, &before);
    video()->SetWindowPos(nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after{};
    ::GetWindowRect(video()->m_player.m_hWnd, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

}  // namespace
