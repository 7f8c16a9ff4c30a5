// CPU time of the idle player: ten seconds with nothing loaded against ten seconds with a silent item
// loaded and timer 5 refreshing the status line, then the cost of one status-line refresh alone.
// Run it with bench/idle_cpu/run.sh, which gives it Quon.exe and a scratch folder.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "E2eSupport.h"
#include "TestMedia.h"
#include "resource.h"

namespace {

const DWORD kPhaseMs = 10000;
const DWORD kSettleMs = 2000;
// Extra refreshes per second posted to the player to find the cost of one refresh.
const int kExtraRefreshesPerSecond = 100;
const UINT_PTR kStatusPathTimer = 5;
const POINT kCentre = {394, 198};
const double kClockTicksPerSecond = 100;  // USER_HZ of /proc/<pid>/stat

double WallSeconds()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

std::string ReadUnixFile(const std::string& unixPath)
{
    std::string windowsPath = "Z:" + unixPath;
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    HANDLE file = ::CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    ::CloseHandle(file);
    return text;
}

// User plus system seconds from a /proc stat file (fields 14 and 15, after the command's ')').
double StatSeconds(const std::string& unixPath)
{
    const std::string text = ReadUnixFile(unixPath);
    const std::string::size_type close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    unsigned long long user = 0, system = 0;
    if (std::sscanf(text.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                    &system) != 2)
        return -1;
    return (user + system) / kClockTicksPerSecond;
}

// The Unix process of this Wine session with the given command name: Wine gives no Windows API
// for it, so /proc is searched for the name and the session's own QUON_SESSION_DIR.
int FindSessionProcess(const char* command)
{
    const char* session = std::getenv("QUON_SESSION_DIR");
    const std::string mark = std::string("QUON_SESSION_DIR=") + (session ? session : "");
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int pid = 0;
    do {
        const int candidate = std::atoi(found.cFileName);
        if (candidate <= 0)
            continue;
        const std::string base = "/proc/" + std::to_string(candidate);
        if (ReadUnixFile(base + "/comm") != std::string(command) + "\n")
            continue;
        // environ holds NUL-terminated NAME=value entries.
        const std::string environment = ReadUnixFile(base + "/environ");
        bool inSession = !session;
        for (std::string::size_type at = 0; !inSession && at < environment.size();) {
            std::string::size_type end = environment.find('\0', at);
            if (end == std::string::npos)
                end = environment.size();
            inSession = environment.compare(at, end - at, mark) == 0;
            at = end + 1;
        }
        if (inSession)
            pid = candidate;
    } while (!pid && ::FindNextFileA(search, &found));
    ::FindClose(search);
    return pid;
}

// CPU seconds so far of the player's whole process, of its first thread (the user-interface thread
// that draws the status line), and of the session's display server and wineserver.
struct CpuReading {
    double process, uiThread, display, server, wall;
};

class CpuMeter {
public:
    bool Find()
    {
        m_quon = FindSessionProcess("Quon.exe");
        m_display = FindSessionProcess("Xvfb");
        m_server = FindSessionProcess("wineserver64");
        return m_quon != 0;
    }
    CpuReading Read() const
    {
        const std::string quon = "/proc/" + std::to_string(m_quon);
        return {StatSeconds(quon + "/stat"), StatSeconds(quon + "/task/" + std::to_string(m_quon) + "/stat"),
                m_display ? StatSeconds("/proc/" + std::to_string(m_display) + "/stat") : 0,
                m_server ? StatSeconds("/proc/" + std::to_string(m_server) + "/stat") : 0, WallSeconds()};
    }

private:
    int m_quon = 0;
    int m_display = 0;
    int m_server = 0;
};

CpuReading Difference(const CpuReading& a, const CpuReading& b)
{
    return {b.process - a.process, b.uiThread - a.uiThread, b.display - a.display, b.server - a.server,
            b.wall - a.wall};
}

double Percent(double cpu, double wall) { return wall > 0 ? 100.0 * cpu / wall : 0; }

// One phase; with a player, posts extra status-line ticks to it the whole time.
CpuReading Measure(const CpuMeter& meter, HWND player = nullptr, int extraPerSecond = 0)
{
    const CpuReading start = meter.Read();
    int posted = 0;
    while (WallSeconds() - start.wall < kPhaseMs / 1000.0) {
        if (player && extraPerSecond > 0) {
            const int due = static_cast<int>((WallSeconds() - start.wall) * extraPerSecond);
            for (; posted < due; ++posted)
                ::PostMessageA(player, WM_TIMER, kStatusPathTimer, 0);
        }
        ::Sleep(player && extraPerSecond > 0 ? 5 : 100);
    }
    return Difference(start, meter.Read());
}

void Print(const char* what, const CpuReading& r)
{
    std::printf("%s (%.2f s):\n", what, r.wall);
    std::printf("    Quon.exe %6.3f s = %5.2f %% of one core: UI thread %5.2f %%, other threads %5.2f %%; "
                "Xvfb %5.2f %%, wineserver %5.2f %%\n",
                r.process, Percent(r.process, r.wall), Percent(r.uiThread, r.wall),
                Percent(r.process - r.uiThread, r.wall), Percent(r.display, r.wall),
                Percent(r.server, r.wall));
}

}  // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string folder = ArtifactPath("idle_cpu_media");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (!WriteFileBytes(folder + "\\silent.wav", MakeToneWave(60000, 440, 0.0))) {
        std::printf("idle_cpu: cannot write %s\n", folder.c_str());
        return 1;
    }
    QuonProcess quon;
    if (!quon.Start() || !quon.WaitForPlayer()) {
        std::printf("idle_cpu: Quon.exe did not start (QUON_EXE)\n");
        return 1;
    }
    HWND player = quon.Player();
    CpuMeter meter;
    if (!meter.Find()) {
        std::printf("idle_cpu: Quon.exe's process not found under /proc\n");
        return 1;
    }
    ::Sleep(kSettleMs);
    const CpuReading idle = Measure(meter);

    ClickAt(player, kCentre.x, kCentre.y);
    if (!ChooseInOpenDialog(quon, folder, "\"silent.wav\"") ||
        !WaitFor([&] { return StatusText(player) == "silent.wav"; }, 10000)) {
        std::printf("idle_cpu: the silent item did not load (status line: %s)\n",
                    StatusText(player).c_str());
        return 1;
    }
    ::Sleep(kSettleMs);
    const CpuReading loaded = Measure(meter);
    const CpuReading extra = Measure(meter, player, kExtraRefreshesPerSecond);
    const bool stillLoaded = StatusText(player) == "silent.wav";

    Print("nothing loaded", idle);
    Print("silent item loaded and playing, timer 5 refreshing the status line", loaded);
    std::printf("difference, loaded - nothing loaded: Quon.exe %.2f %% of one core (UI thread %.2f %%)\n",
                Percent(loaded.process, loaded.wall) - Percent(idle.process, idle.wall),
                Percent(loaded.uiThread, loaded.wall) - Percent(idle.uiThread, idle.wall));
    Print("the same with 100 extra status-line refreshes a second", extra);
    const double count = kExtraRefreshesPerSecond * extra.wall;
    const double ui = (extra.uiThread - loaded.uiThread * extra.wall / loaded.wall) / count;
    const double all = (extra.process + extra.display + extra.server -
                        (loaded.process + loaded.display + loaded.server) * extra.wall / loaded.wall) /
                       count;
    std::printf("one status-line refresh: %.3f ms on Quon's UI thread (%.3f ms with Xvfb and wineserver); "
                "at timer 5's 10 a second: %.2f %% of one core (%.2f %%)\n",
                ui * 1000, all * 1000, ui * 10 * 100, all * 10 * 100);
    if (!stillLoaded)
        std::printf("note: the item was no longer loaded at the end (status line: %s)\n",
                    StatusText(player).c_str());

    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    WaitFor([&] { HWND c = quon.Credits(); return c && ::IsWindowVisible(c); }, 10000);
    if (HWND credits = quon.Credits())
        ::PostMessageA(credits, WM_CLOSE, 0, 0);
    quon.HasExited(10000);
    return 0;
}
