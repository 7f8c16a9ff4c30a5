// A long run of the player: the ticker shown, a short list repeated for a bounded time (10 minutes,
// or QUON_SOAK_SECONDS / --seconds N), or with --item PATH one medium that plays for all of it.
// Prints the program's GDI object counts and its memory at the start, each minute and at the end,
// and the growth after the first minute. With --beside-bare (and --item) a bare DirectShow player
// (bench_play_cpu --bare) plays the same medium beside it, and its memory is printed too: what the
// platform's decoders and sound path hold on their own.
// Run it with bench/soak/run.sh, which builds a Quon.exe that answers with its GDI counters (and
// makes the long MP3 for --long-item).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "E2eSupport.h"
#include "TestMedia.h"
#include "framework/Gdi.h"
#include "resource.h"

namespace {

const int kDefaultSeconds = 600;
const DWORD kSampleMs = 5000;
const DWORD kReportMs = 60000;
const DWORD kStatusPollMs = 200;
const UINT kAnswerMs = 2000;
const POINT kCentre = {394, 198};

struct Sample {
    double seconds = 0;
    long gdiLive = -1;  // -1: the program does not answer with its counters
    long gdiCreated = -1;
    long gdiDeleted = -1;
    SIZE_T workingSetKb = 0;
    SIZE_T privateKb = 0;
    SIZE_T peakWorkingSetKb = 0;
    SIZE_T barePrivateKb = 0; // the bare player's, with --beside-bare
    int itemsStarted = 0;
};

int SoakSeconds(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0)
            return std::atoi(argv[i + 1]);
    if (const char* value = std::getenv("QUON_SOAK_SECONDS"))
        return std::atoi(value);
    return kDefaultSeconds;
}

// The one medium of --item (a Windows path), or empty for the repeated list.
std::string LongItem(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--item") == 0)
            return argv[i + 1];
    return std::string();
}

bool HasOption(int argc, char** argv, const char* option)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

// The bare DirectShow player of bench/play_cpu, playing one medium for as long as it lasts; ended
// with the soak.
class BarePlayer {
public:
    explicit BarePlayer(const std::string& item)
    {
        char exe[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string path(exe, length);
        path = path.substr(0, path.find_last_of('\\') + 1) + "bench_play_cpu.exe";
        std::string command = "\"" + path + "\" --bare \"" + item + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &m_process))
            m_process = PROCESS_INFORMATION{};
        else
            ::CloseHandle(m_process.hThread);
    }
    ~BarePlayer()
    {
        if (m_process.hProcess) {
            ::TerminateProcess(m_process.hProcess, 0);
            ::WaitForSingleObject(m_process.hProcess, 5000);
            ::CloseHandle(m_process.hProcess);
        }
    }
    BarePlayer(const BarePlayer&) = delete;
    BarePlayer& operator=(const BarePlayer&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    SIZE_T PrivateKb() const
    {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (!m_process.hProcess || ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0 ||
            !::GetProcessMemoryInfo(m_process.hProcess, &memory, sizeof memory))
            return 0;
        return memory.PagefileUsage / 1024;
    }

private:
    PROCESS_INFORMATION m_process{};
};

// The status line names the medium that plays.
bool NamesMedium(const std::string& status)
{
    return status.find(".wav") != std::string::npos || status.find(".mp3") != std::string::npos;
}

class Probe {
public:
    Probe(const QuonProcess& quon, HWND player)
        : m_player(player),
          m_process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, quon.Id()))
    {
    }
    ~Probe()
    {
        if (m_process)
            ::CloseHandle(m_process);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    // One reading; false when the window did not answer within 2 s.
    bool Read(Sample& s, DWORD& answerMs)
    {
        const DWORD start = ::GetTickCount();
        bool answered = Counter(GdiCounter::Live, s.gdiLive);
        answerMs = ::GetTickCount() - start;
        answered = Counter(GdiCounter::Created, s.gdiCreated) && answered;
        answered = Counter(GdiCounter::Deleted, s.gdiDeleted) && answered;
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (m_process && ::GetProcessMemoryInfo(m_process, &memory, sizeof memory)) {
            s.workingSetKb = memory.WorkingSetSize / 1024;
            s.privateKb = memory.PagefileUsage / 1024;
            s.peakWorkingSetKb = memory.PeakWorkingSetSize / 1024;
        }
        return answered;
    }

private:
    bool Counter(GdiCounter which, long& value)
    {
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutA(m_player, GdiCountersMessageId(), static_cast<WPARAM>(which), 0,
                                   SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &result))
            return false;
        value = static_cast<long>(result);
        return true;
    }

    HWND m_player;
    HANDLE m_process;
};

void PrintSample(const char* what, const Sample& s)
{
    std::printf("%-8s %6.0f s  items %5d  GDI live %5ld (created %7ld, deleted %7ld)  working set %7lu KB"
                "  private %7lu KB",
                what, s.seconds, s.itemsStarted, s.gdiLive, s.gdiCreated, s.gdiDeleted,
                static_cast<unsigned long>(s.workingSetKb), static_cast<unsigned long>(s.privateKb));
    if (s.barePrivateKb)
        std::printf("  bare player's private %7lu KB", static_cast<unsigned long>(s.barePrivateKb));
    std::printf("\n");
}

long Growth(SIZE_T from, SIZE_T to)
{
    return static_cast<long>(to) - static_cast<long>(from);
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int seconds = SoakSeconds(argc, argv);
    if (seconds <= 0) {
        std::printf("soak: the run needs a positive number of seconds\n");
        return 2;
    }
    const std::string item = LongItem(argc, argv);
    const bool besideBare = HasOption(argc, argv, "--beside-bare");
    if (besideBare && item.empty()) {
        std::printf("soak: --beside-bare plays the medium of --item beside the player; name one\n");
        return 2;
    }
    std::string folder = ArtifactPath("soak_media");
    std::string names = "\"soak_c.wav\" \"soak_b.wav\" \"soak_a.wav\"";
    if (!item.empty()) {
        const std::size_t slash = item.find_last_of('\\');
        folder = item.substr(0, slash);
        names = "\"" + item.substr(slash + 1) + "\"";
    } else {
        ::CreateDirectoryA(folder.c_str(), nullptr);
        const char* const files[] = {"soak_a.wav", "soak_b.wav", "soak_c.wav"};
        const int lengths[] = {1200, 800, 1500};
        for (int i = 0; i < 3; ++i) {
            if (!WriteFileBytes(folder + "\\" + files[i], MakeToneWave(lengths[i], 330 + 110 * i, 0.2))) {
                std::printf("soak: cannot write %s\n", folder.c_str());
                return 1;
            }
        }
    }

    QuonProcess quon;
    if (!quon.Start() || !quon.WaitForPlayer()) {
        std::printf("soak: Quon.exe did not start (QUON_EXE)\n");
        return 1;
    }
    HWND player = quon.Player();
    ::Sleep(500);
    // The ticker on; a list is repeated (mode 1 -> 2 -> 0); then the media chosen.
    ::PostMessageA(player, WM_COMMAND, ID_TRAY_GREETING, 0);
    if (item.empty()) {
        for (int click = 0; click < 2; ++click)
            ::PostMessageA(player, WM_COMMAND, MAKEWPARAM(IDC_SKIN_MODE, 0), 0);
    }
    ClickAt(player, kCentre.x, kCentre.y);
    if (!ChooseInOpenDialog(quon, folder, names)) {
        std::printf("soak: the open dialog did not take the %s\n", item.empty() ? "list" : "item");
        return 1;
    }
    const bool tickerShown = WaitFor(
        [&] {
            HWND ticker = quon.Ticker();
            return ticker && ::IsWindowVisible(ticker);
        },
        5000);

    Probe probe(quon, player);
    std::unique_ptr<BarePlayer> bare;
    if (besideBare) {
        bare = std::make_unique<BarePlayer>(item);
        if (!bare->Started()) {
            std::printf("soak: bench_play_cpu.exe did not start beside bench_soak.exe\n");
            return 1;
        }
    }
    std::printf("soak: %d s with the ticker %s and %s\n", seconds, tickerShown ? "shown" : "NOT shown",
                item.empty() ? "three items repeated" : ("one long item, " + item).c_str());
    Sample start, minute, last;
    // The range after the first minute: memory swings as media open and close.
    SIZE_T lowWorkingSet = ~SIZE_T{0}, highWorkingSet = 0, lowPrivate = ~SIZE_T{0}, highPrivate = 0;
    long lowLive = -1, highLive = -1;
    bool haveMinute = false;
    int items = 0;
    std::string lastStatus;
    DWORD slowest = 0;
    int unanswered = 0;
    const DWORD begin = ::GetTickCount();
    DWORD nextSample = 0;
    DWORD nextReport = kReportMs;
    bool first = true;
    for (;;) {
        const DWORD now = ::GetTickCount() - begin;
        if (quon.HasExited()) {
            std::printf("soak: Quon.exe ended after %.0f s\n", now / 1000.0);
            return 1;
        }
        const std::string status = StatusText(player);
        if (status != lastStatus) {
            if (NamesMedium(status))
                ++items;
            lastStatus = status;
        }
        const bool done = now >= static_cast<DWORD>(seconds) * 1000;
        if (now >= nextSample || done) {
            Sample s;
            DWORD answerMs = 0;
            if (!probe.Read(s, answerMs))
                ++unanswered;
            if (answerMs > slowest)
                slowest = answerMs;
            if (bare)
                s.barePrivateKb = bare->PrivateKb();
            s.seconds = now / 1000.0;
            s.itemsStarted = items;
            last = s;
            if (first) {
                start = s;
                PrintSample("start", s);
                first = false;
            }
            if (!haveMinute && now >= kReportMs) {
                minute = s;
                haveMinute = true;
                lowLive = highLive = s.gdiLive;
            }
            if (haveMinute) {
                lowWorkingSet = std::min(lowWorkingSet, s.workingSetKb);
                highWorkingSet = std::max(highWorkingSet, s.workingSetKb);
                lowPrivate = std::min(lowPrivate, s.privateKb);
                highPrivate = std::max(highPrivate, s.privateKb);
                lowLive = std::min(lowLive, s.gdiLive);
                highLive = std::max(highLive, s.gdiLive);
            }
            if (now >= nextReport && !done) {
                PrintSample("running", s);
                nextReport += kReportMs;
            }
            nextSample += kSampleMs;
        }
        if (done)
            break;
        ::Sleep(kStatusPollMs);
    }
    PrintSample("end", last);

    const Sample& base = haveMinute ? minute : start;
    std::printf("growth after %s: GDI live %+ld, working set %+ld KB, private %+ld KB (peak working set "
                "%lu KB)\n",
                haveMinute ? "the first minute" : "the start (run shorter than a minute)",
                last.gdiLive - base.gdiLive, Growth(base.workingSetKb, last.workingSetKb),
                Growth(base.privateKb, last.privateKb), static_cast<unsigned long>(last.peakWorkingSetKb));
    if (bare)
        std::printf("the bare DirectShow player beside it: private %+ld KB after %s\n",
                    Growth(base.barePrivateKb, last.barePrivateKb),
                    haveMinute ? "the first minute" : "the start");
    if (haveMinute)
        std::printf("after the first minute, every %lu s: GDI live %ld..%ld, working set %lu..%lu KB, "
                    "private %lu..%lu KB\n",
                    static_cast<unsigned long>(kSampleMs / 1000), lowLive, highLive,
                    static_cast<unsigned long>(lowWorkingSet), static_cast<unsigned long>(highWorkingSet),
                    static_cast<unsigned long>(lowPrivate), static_cast<unsigned long>(highPrivate));
    std::printf("items started %d; slowest answer %lu ms; unanswered probes %d\n", items,
                static_cast<unsigned long>(slowest), unanswered);
    // A player always makes GDI objects: none counted means this Quon.exe does not answer.
    if (last.gdiCreated <= 0)
        std::printf("note: this Quon.exe gives no GDI counters (compile it with QUON_GDI_COUNTERS defined, "
                    "as bench/soak/run.sh does)\n");

    ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    WaitFor([&] { HWND c = quon.Credits(); return c && ::IsWindowVisible(c); }, 10000);
    if (HWND credits = quon.Credits())
        ::PostMessageA(credits, WM_CLOSE, 0, 0);
    quon.HasExited(10000);
    return 0;
}
