// How long the program's user-interface thread leaves a ping unanswered: a thread sends WM_NULL
// to the player window every 2 ms (SendMessageTimeout) while the driver opens files with the open
// dialog and the items start and change, and the longest wait of each phase is printed.
// Run it with bench/ui_latency/run.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "E2eSupport.h"
#include "TestMedia.h"
#include "resource.h"

namespace {

const POINT kCentre = {394, 198}; // the knob's centre, in the player's client pixels
constexpr DWORD kPingEveryMs = 2;
constexpr UINT kPingTimeoutMs = 5000;


struct Phase {
    std::string name;
    std::vector<double> waits; // ms from sending a ping to its answer
};

// The pings, shared with the pinging thread.
struct Pinger {
    HWND target = nullptr;
    CRITICAL_SECTION lock;
    std::vector<Phase> phases;
    volatile LONG stop = 0;
};

DWORD WINAPI PingThread(void* param)
{
    auto& pinger = *static_cast<Pinger*>(param);
    while (!pinger.stop) {
        const double start = NowMs();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(pinger.target, WM_NULL, 0, 0, SMTO_NORMAL, kPingTimeoutMs, &result);
        const double wait = NowMs() - start;
        EnterCriticalSection(&pinger.lock);
        if (!pinger.phases.empty())
            pinger.phases.back().waits.push_back(wait);
        LeaveCriticalSection(&pinger.lock);
        Sleep(kPingEveryMs);
    }
    return 0;
}

void BeginPhase(Pinger& pinger, const std::string& name)
{
    EnterCriticalSection(&pinger.lock);
    pinger.phases.push_back({name, {}});
    LeaveCriticalSection(&pinger.lock);
}

void Print(const Pinger& pinger)
{
    std::printf("%-44s %7s %9s %9s %9s\n", "phase", "pings", "median", "99%", "longest");
    for (const Phase& phase : pinger.phases) {
        std::vector<double> waits = phase.waits;
        if (waits.empty()) {
            std::printf("%-44s %7d\n", phase.name.c_str(), 0);
            continue;
        }
        std::sort(waits.begin(), waits.end());
        std::printf("%-44s %7zu %8.1fms %8.1fms %8.1fms\n", phase.name.c_str(), waits.size(),
                    waits[waits.size() / 2], waits[waits.size() * 99 / 100], waits.back());
    }
}

bool WaitForStatus(HWND player, const std::string& text, DWORD timeoutMs)
{
    return WaitFor([&] { return StatusText(player) == text; }, timeoutMs);
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "quon_ui_latency";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> files;
    std::string names;
    for (int i = 0; i < 8; ++i) {
        const std::string name = "item" + std::to_string(i + 1) + ".wav";
        files.push_back(folder + "\\" + name);
        WriteFileBytes(files.back(), MakeToneWave(500, 400.0 + 60 * i, 0.3));
        names = "\"" + name + "\" " + names; // each name goes to the head of the list
    }
    files.push_back(folder + "\\clip.avi");
    WriteFileBytes(files.back(), MakeVideoAvi(15, 160, 120, 10));
    files.push_back(folder + "\\after.wav");
    WriteFileBytes(files.back(), MakeToneWave(500, 700, 0.3));

    QuonProcess quon;
    if (!quon.Start() || !quon.WaitForPlayer(30000)) {
        std::printf("Quon.exe did not start (QUON_EXE, or the current folder)\n");
        return 1;
    }
    const HWND player = quon.Player();
    Sleep(1000);

    Pinger pinger;
    pinger.target = player;
    InitializeCriticalSection(&pinger.lock);
    BeginPhase(pinger, "idle, 1 s");
    HANDLE thread = CreateThread(nullptr, 0, &PingThread, &pinger, 0, nullptr);
    Sleep(1000);

    std::printf("pinging the player window every %lu ms with WM_NULL\n", kPingEveryMs);
    BeginPhase(pinger, "open dialog up to its OK");
    ClickAt(player, kCentre.x, kCentre.y);
    if (!ChooseInOpenDialog(quon, folder, names))
        std::printf("the open dialog did not close\n");
    BeginPhase(pinger, "after OK: first item opens and starts, 1 s");
    Sleep(1000);
    BeginPhase(pinger, "8 items of 500 ms start and change");
    if (!WaitForStatus(player, "Songs Over", 20000))
        std::printf("the list did not end: %s\n", StatusText(player).c_str());

    Sleep(500);
    BeginPhase(pinger, "open dialog (video, then sound) up to its OK");
    ClickAt(player, kCentre.x, kCentre.y);
    if (!ChooseInOpenDialog(quon, folder, "\"after.wav\" \"clip.avi\""))
        std::printf("the open dialog did not close\n");
    BeginPhase(pinger, "a video opens and plays, then a sound");
    WaitFor([&] { return StatusText(player) != "Songs Over"; }, 5000);
    if (!WaitForStatus(player, "Songs Over", 20000))
        std::printf("the list did not end: %s\n", StatusText(player).c_str());

    pinger.stop = 1;
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    Print(pinger);
    DeleteCriticalSection(&pinger.lock);

    PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    quon.HasExited(5000);
    for (const std::string& file : files)
        DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
