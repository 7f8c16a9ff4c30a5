// The media engine objects: they construct, and their calls stay quiet and return without media.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/Media.h"

namespace {

// Ends the test run if the guarded calls have not returned after a generous bound: a hang (or a
// modal box waiting for a click) must fail the run instead of stalling it.
class HangGuard {
public:
    explicit HangGuard(std::string what) : m_what(std::move(what))
    {
        m_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &HangGuard::Watch, this, 0, nullptr);
    }
    ~HangGuard()
    {
        SetEvent(m_done);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_done);
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    static DWORD WINAPI Watch(void* self)
    {
        auto* guard = static_cast<HangGuard*>(self);
        if (WaitForSingleObject(guard->m_done, 60000) == WAIT_TIMEOUT) {
            fprintf(stderr, "engine call did not return: %s\n", guard->m_what.c_str());
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return 0;
    }

    std::string m_what;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
};

BOOL CALLBACK CountVisible(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Message boxes and error dialogs are visible top-level windows of this process.
int VisibleWindowsOfThisProcess()
{
    int count = 0;
    EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::string TempPath(const char* name)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// A tenth of a second of silence: 8 kHz, 8-bit mono PCM.
bool WriteShortWave(const std::string& path)
{
    const DWORD samples = 800;
    const DWORD header[] = {0x46464952 /* RIFF */, 36 + samples, 0x45564157 /* WAVE */,
                            0x20746d66 /* fmt  */, 16};
    const WORD format[] = {1 /* PCM */, 1 /* mono */};
    const DWORD rates[] = {8000, 8000};
    const WORD layout[] = {1, 8};
    const DWORD data[] = {0x61746164 /* data */, samples};
    std::string bytes(reinterpret_cast<const char*>(header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(format), sizeof format);
    bytes.append(reinterpret_cast<const char*>(rates), sizeof rates);
    bytes.append(reinterpret_cast<const char*>(layout), sizeof layout);
    bytes.append(reinterpret_cast<const char*>(data), sizeof data);
    bytes.append(samples, '\x80');
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

}  // namespace

TEST(MediaEngine, ConstructsTheFourEnginesInThePlayersOrder)
{
    CVideo video;
    CWaveAudio wave;
    CMidi midi;
    CCDAudio cd;
    EXPECT_FALSE(video.IsOpen());
    EXPECT_FALSE(wave.IsOpen());
    EXPECT_FALSE(midi.IsOpen());
    EXPECT_FALSE(cd.IsOpen());
}

TEST(MediaEngine, CdCallOrdersOfThePlayerAreQuietAndRepeatableWithoutADisc)
{
    struct Case {
        const char* name;
        std::function<void(CCDAudio&)> calls;
    };
    const std::vector<Case> cases = {
        {"eject", [](CCDAudio& cd) { cd.OpenCD_Rom(); cd.Close(); }},
        {"exit", [](CCDAudio& cd) { cd.CloseCD_Rom(); cd.Close(); }},
        {"centre click", [](CCDAudio& cd) {
             cd.Pause();
             cd.Stop();
             cd.Close();
             cd.SeekTo(1, 0, 0, 0);
         }},
    };
    const int windowsBefore = VisibleWindowsOfThisProcess();
    CCDAudio cd;
    for (const Case& c : cases) {
        for (int round = 1; round <= 2; ++round) {
            SCOPED_TRACE(std::string(c.name) + ", round " + std::to_string(round));
            {
                HangGuard guard(c.name);
                c.calls(cd);
            }
            EXPECT_FALSE(cd.IsOpen()) << "every order ends with the device released";
            EXPECT_EQ(windowsBefore, VisibleWindowsOfThisProcess()) << "no box or dialog appeared";
        }
    }
}

TEST(MediaEngine, CdSeekWithoutAnOpenDeviceReportsAnErrorAndOpensNothing)
{
    CCDAudio cd;
    HangGuard guard("seek");
    EXPECT_NE(0, cd.SeekTo(1, 0, 0, 0));
    EXPECT_NE(0, cd.SeekTo(0, 0, 0, 0));
    EXPECT_NE(0, cd.SeekTo(1, 0, 60, 0));
    EXPECT_FALSE(cd.IsOpen());
}

TEST(MediaEngine, FilePlayersRefuseMissingFilesQuietly)
{
    CVideo video;
    CMidi midi;
    CWaveAudio wave;
    struct Case {
        const char* name;
        CMciPlayer& player;
        const char* missingFile;
    };
    const std::string missingDir = TempPath("quon-no-such-folder\\");
    const Case cases[] = {
        {"video", video, "clip.avi"},
        {"midi", midi, "tune.mid"},
        {"wave", wave, "sound.wav"},
    };
    const int windowsBefore = VisibleWindowsOfThisProcess();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HangGuard guard(c.name);
        EXPECT_FALSE(c.player.Open((missingDir + c.missingFile).c_str()));
        EXPECT_FALSE(c.player.Open(""));
        EXPECT_FALSE(c.player.Open(nullptr));
        EXPECT_FALSE(c.player.IsOpen());
        EXPECT_FALSE(c.player.Play()) << "nothing to play";
        EXPECT_FALSE(c.player.Stop()) << "nothing to stop";
        c.player.Close();
        c.player.Close();
        EXPECT_FALSE(c.player.IsOpen());
    }
    EXPECT_EQ(windowsBefore, VisibleWindowsOfThisProcess());
}

TEST(MediaEngine, WavePlayerOwnsTheDeviceOfAnOpenFileUntilClosed)
{
    const std::string path = TempPath("quon-engine-test.wav");
    ASSERT_TRUE(WriteShortWave(path));
    {
        CWaveAudio wave;
        HangGuard guard("wave");
        ASSERT_TRUE(wave.Open(path.c_str()));
        EXPECT_TRUE(wave.IsOpen());
        EXPECT_TRUE(wave.Stop()) << "stopping an open file rewinds it";
        ASSERT_TRUE(wave.Open(path.c_str())) << "a second open replaces the first";
        wave.Close();
        EXPECT_FALSE(wave.IsOpen());
        EXPECT_FALSE(wave.Stop());
        ASSERT_TRUE(wave.Open(path.c_str()));
    }  // the destructor closes the device, which lets the file go
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}
