// The ticker strip in process: its segments and title on each tick, its end, and the message file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Gdi.h"
#include "player/logic/StatusStrings.h"
#include "resource.h"
#include "ticker/Tobrick.h"
#include "WinTestSupport.h"

namespace {

// A ticker of its own, shown at a known place, with the text it should step through.
class TickerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ticker.Create(IDD_TICKER, nullptr));
        ticker.SetWindowPos(HWND_TOPMOST, 40, 40, 236, 20, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        PumpFor(50);
    }
    void TearDown() override { ticker.DestroyWindow(); }
    void Tick() { ::SendMessageA(ticker.m_hWnd, WM_TIMER, CTobrick::kTickTimer, 0); }

    // The columns that carry ink (anything but the white background) in the strip.
    struct Ink {
        int left = -1;
        int right = -1;
        bool blue = false;
    };
    Ink InkOfStrip()
    {
        Ink ink;
        CClientDC dc(ticker.m_hWnd);
        for (int x = 0; x < 236; ++x)
            for (int y = 0; y < 20; ++y) {
                const COLORREF c = ::GetPixel(dc, x, y);
                if (c == RGB(255, 255, 255) || c == CLR_INVALID)
                    continue;
                if (ink.left < 0)
                    ink.left = x;
                ink.right = x;
                ink.blue = ink.blue || c == RGB(0, 0, 255);
            }
        return ink;
    }

    CTobrick ticker;
};

TEST_F(TickerWindow, ThreeSegmentsAlternateWithTheTitleAndStartOver)
{
    // Three segments of clearly different widths, drawn from the left edge; the title at x 136.
    ticker.m_text = "A**BBBBB**CCCCCCCCCCCCCCC";
    ticker.m_phase = 0;
    ticker.m_segmentEnd = 0;
    auto classify = [&](const Ink& ink) -> std::string {
        if (ink.left < 0)
            return "empty";
        if (ink.left >= 130)
            return "title";
        if (ink.left > 4)
            return "?";
        return ink.right < 30 ? "A" : ink.right < 80 ? "B" : "C";
    };
    std::vector<std::string> shown;
    std::string extents;
    for (int i = 0; i < 8; ++i) {
        Tick();
        const Ink ink = InkOfStrip();
        shown.push_back(classify(ink));
        extents += " " + std::to_string(ink.left) + ".." + std::to_string(ink.right);
        EXPECT_TRUE(ink.blue) << "tick " << i << ": blue text";
    }
    const std::vector<std::string> expected = {"A", "title", "B", "title", "C", "title", "A", "title"};
    EXPECT_EQ(shown, expected) << "ink columns:" << extents;
}

TEST_F(TickerWindow, TextWithoutMarkerIsShownWholeOnEverySegmentTick)
{
    ticker.m_text = kHelloQuon;
    std::vector<Ink> segments;
    for (int i = 0; i < 6; ++i) {
        Tick();
        if (i % 2 == 0)
            segments.push_back(InkOfStrip());
        else
            EXPECT_GE(InkOfStrip().left, 130) << "title tick " << i;
    }
    for (const Ink& ink : segments) {
        EXPECT_LE(ink.left, 4);
        EXPECT_EQ(ink.right, segments[0].right);
    }
}

TEST_F(TickerWindow, TicksByItselfWhileHidden)
{
    ticker.ShowWindow(SW_HIDE);
    const int phase = ticker.m_phase;
    EXPECT_TRUE(PumpUntil([&] { return ticker.m_phase != phase; }, 8000)) << "timer 22 runs";
}

TEST_F(TickerWindow, TicksLeakNoGdiObjects)
{
    ticker.m_text = "A**BB**CCC";
    for (int i = 0; i < 50; ++i)
        Tick();
    const GdiCounters before = GetGdiCounters();
    for (int i = 0; i < 2000; ++i)
        Tick();
    const GdiCounters after = GetGdiCounters();
    EXPECT_EQ(after.Live(), before.Live());
    EXPECT_GE(after.created - before.created, 2000) << "every tick made its brush";
}

TEST(TickerEnd, EnterAndEscapeKillTheTimerDeleteTheFontAndHideTheStrip)
{
    const UINT commands[] = {IDOK, IDCANCEL};
    for (UINT id : commands) {
        CTobrick ticker;
        ASSERT_TRUE(ticker.Create(IDD_TICKER, nullptr));
        ticker.SetWindowPos(HWND_TOPMOST, 40, 40, 236, 20, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ASSERT_NE(ticker.m_font.GetSafeHandle(), nullptr) << id;
        const long liveBefore = GetGdiCounters().Live();
        ::SendMessageA(ticker.m_hWnd, WM_COMMAND, id, 0);
        EXPECT_EQ(ticker.m_font.GetSafeHandle(), nullptr) << id;
        EXPECT_EQ(GetGdiCounters().Live(), liveBefore - 1) << id;
        EXPECT_FALSE(::IsWindowVisible(ticker.m_hWnd)) << id;
        EXPECT_FALSE(::KillTimer(ticker.m_hWnd, CTobrick::kTickTimer)) << id << ": the timer is gone";
        const int phase = ticker.m_phase;
        PumpFor(200);
        EXPECT_EQ(ticker.m_phase, phase) << id;
        ticker.DestroyWindow();
    }
}

// ---------------------------------------------------------------------------------------------
// The message file

std::string TempFolder()
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    return temp;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

TEST(TickerFile, MessageTextIsTheFilesFirst4096BytesUpToANul)
{
    std::string big;
    for (int i = 0; big.size() < 5000; ++i)
        big += "seg" + std::to_string(i) + "**";
    big.resize(5000);
    struct Case {
        const char* name;
        std::string content;
        std::string expected;
    };
    const Case cases[] = {
        {"three segments", "first**second**third", "first**second**third"},
        {"line breaks are kept", "one\r\ntwo**three\n", "one\r\ntwo**three\n"},
        {"GBK text", "元旦快乐**圣诞快乐", "元旦快乐**圣诞快乐"},
        {"a NUL byte ends it", std::string("before\0after**x", 15), "before"},
        {"empty file", "", ""},
        {"5000 bytes", big, big.substr(0, 4096)},
        {"exactly 4096 bytes", big.substr(0, 4096), big.substr(0, 4096)},
    };
    const std::string path = TempFolder() + "quon_ticker_test.ast";
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteBytes(path, c.content)) << c.name;
        EXPECT_EQ(CTobrick::LoadMessageText(path), c.expected) << c.name;
    }
    ::DeleteFileA(path.c_str());
}

TEST(TickerFile, UnreadableFileGivesHelloQuon)
{
    const std::string folder = TempFolder() + "quon_ticker_folder.ast";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string locked = TempFolder() + "quon_ticker_locked.ast";
    HANDLE lock = ::CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing file", TempFolder() + "no_such_quon.ast"},
        {"missing folder", "Q:\\no\\such\\folder\\quon.ast"},
        {"a folder of that name", folder},
        {"opened by another without sharing", locked},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTobrick::LoadMessageText(c.path), kHelloQuon) << c.name;
    ::CloseHandle(lock);
    ::DeleteFileA(locked.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

TEST(TickerFile, MessageFileLivesInTheSharedCommonFilesOfTheWindowsDrive)
{
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string expected =
        std::string(windows, 2) + "\\Program Files\\Common Files\\Microsoft Shared\\quon.ast";
    EXPECT_EQ(CTobrick::MessageFilePath(), expected);
}

TEST(TickerFile, TickerReadsTheMessageFileWhenItStarts)
{
    const std::string path = CTobrick::MessageFilePath();
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    const bool hadFile = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string kept = hadFile ? CTobrick::LoadMessageText(path) : std::string();
    // Make the folders if the prefix lacks them.
    const std::string common = folder.substr(0, folder.find_last_of('\\'));
    ::CreateDirectoryA(common.c_str(), nullptr);
    const bool madeFolder = ::CreateDirectoryA(folder.c_str(), nullptr) != FALSE;
    ASSERT_TRUE(WriteBytes(path, "from the file**second"));
    {
        CTobrick ticker;
        ASSERT_TRUE(ticker.Create(IDD_TICKER, nullptr));
        EXPECT_EQ(ticker.m_text, "from the file**second");
        ticker.DestroyWindow();
    }
    ::DeleteFileA(path.c_str());
    {
        CTobrick ticker;
        ASSERT_TRUE(ticker.Create(IDD_TICKER, nullptr));
        EXPECT_EQ(ticker.m_text, kHelloQuon) << "without the file";
        ticker.DestroyWindow();
    }
    if (hadFile)
        WriteBytes(path, kept);
    else if (madeFolder)
        ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
