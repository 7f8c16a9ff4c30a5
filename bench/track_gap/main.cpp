// Plays lists of short tones back to back through the player control, driven the way the
// Windows Media window drives it, and measures from the recorded sound the gap between items and
// how much of each item is missing: items of one format, items of changing sample rates, both
// again while a child process keeps one core busy, one format while a second child does file and
// CPU work besides, and how soon a volume change and a stop are heard. Beside each list's gaps: how
// often the control's sound output ran dry in mid-item.
// Run it with bench/track_gap/run.sh.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "framework/Dispatch.h"
#include "res/resource.h"
#include "wmp/control/MediaPlayerControl.h"
#include "wmp/logic/StateStream.h"

namespace {

constexpr int kItems = 12;
constexpr int kItemMs = 600;
constexpr double kToneLevel = 0.4;
constexpr double kPi = 3.14159265358979;

// Each item has a pitch of its own, so that items are told apart even where they touch.
double ItemHz(int item)
{
    return 400.0 + 250.0 * item;
}

// ---- the host ----------------------------------------------------------------------------------

double UnixNow()
{
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (static_cast<double>(t) - 116444736000000000.0) / 1e7;
}

struct Host {
    HWND window = nullptr;
    HWND control = nullptr;
    std::vector<std::wstring> list;
    size_t next = 0;
    bool done = false;
    bool advance = true;            // the next item is named from inside the end report
    std::vector<double> startTimes; // Unix time of each 0 -> 2 report
    std::vector<double> endTimes;   // Unix time of each 2 -> 0 report
};

Host g_host;

void Invoke(DISPID dispid, WORD flags, std::vector<VARIANT> args = {})
{
    DispatchCall call;
    call.dispid = dispid;
    call.flags = flags;
    call.argc = static_cast<UINT>(args.size());
    call.args = args.empty() ? nullptr : args.data();
    SendMessageA(g_host.control, DispatchMessageId(), 0, reinterpret_cast<LPARAM>(&call));
    VariantClear(&call.result);
}

// What the Windows Media window does for each item: name, natural size off, play, picture query.
void PlayNext()
{
    if (g_host.next >= g_host.list.size()) {
        g_host.done = true;
        return;
    }
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(g_host.list[g_host.next++].c_str());
    Invoke(kDispidFileName, DISPATCH_PROPERTYPUT, {name});
    VariantClear(&name);
    VARIANT natural;
    VariantInit(&natural);
    natural.vt = VT_BOOL;
    natural.boolVal = VARIANT_FALSE;
    Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {natural});
    Invoke(kDispidPlay, DISPATCH_METHOD);
    Invoke(kDispidNoPicture, DISPATCH_PROPERTYGET);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == EventMessageId()) {
        const auto* call = reinterpret_cast<const EventCall*>(lParam);
        if (call->dispid == kDispidPlayStateChange && call->argc == 2) {
            const LONG from = call->args[0].lVal, to = call->args[1].lVal;
            if (from == kPlayStateStopped && to == kPlayStatePlaying)
                g_host.startTimes.push_back(UnixNow());
            if (from == kPlayStatePlaying && to == kPlayStateStopped) {
                g_host.endTimes.push_back(UnixNow());
                if (g_host.advance)
                    PlayNext();
                else
                    g_host.done = true;
            }
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump(DWORD ms, bool untilDone)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms && !(untilDone && g_host.done)) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// ---- the recording -----------------------------------------------------------------------------

// Level of one frequency in a window of samples (Goertzel), as an amplitude of 0..1.
double ToneLevel(const std::vector<float>& s, size_t from, size_t count, double hz, std::uint32_t rate)
{
    const double w = 2 * kPi * hz / rate;
    const double coeff = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < count; ++i) {
        const double s0 = s[from + i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2 * std::sqrt(std::max(0.0, power)) / count;
}

struct Span {
    double begin = -1; // seconds into the recording
    double end = -1;
};

// Where the item's tone is heard: the first and last windows in which its level is above half of
// the steadiest level it reaches (the control plays at its own volume, not at the written level).
Span FindTone(const std::vector<float>& s, std::uint32_t rate, double hz)
{
    const size_t window = rate / 100; // 10 ms
    const size_t hop = rate / 1000;   // 1 ms
    std::vector<double> levels;
    for (size_t at = 0; at + window <= s.size(); at += hop)
        levels.push_back(ToneLevel(s, at, window, hz, rate));
    Span span;
    if (levels.empty())
        return span;
    const double peak = *std::max_element(levels.begin(), levels.end());
    if (peak < 0.005)
        return span; // not there at all
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] >= 0.5 * peak) {
            const double centre = (i * hop + window / 2.0) / rate;
            if (span.begin < 0)
                span.begin = centre;
            span.end = centre;
        }
    }
    return span;
}


std::string WindowsPath(const char* unixPath)
{
    std::string out = "Z:";
    for (const char* p = unixPath; *p; ++p)
        out += *p == '/' ? '\\' : *p;
    return out;
}

// One list played: its items and when it played.
struct ListRun {
    std::string title;
    std::vector<int> rates;
    double from = 0; // Unix times
    double to = 0;
    std::vector<double> endTimes;
    long underruns = 0; // the output ran dry in mid-item while the list played
};

// The recording's samples between two Unix times.
std::vector<float> Slice(const Recording& recording, double recordStart, double from, double to)
{
    const auto rate = static_cast<double>(recording.sampleRate);
    const size_t begin = static_cast<size_t>(std::max(0.0, (from - recordStart) * rate));
    const size_t end =
        std::min(recording.samples.size(), static_cast<size_t>(std::max(0.0, (to - recordStart) * rate)));
    if (begin >= end)
        return {};
    return std::vector<float>(recording.samples.begin() + begin, recording.samples.begin() + end);
}

void AnalyseList(const Recording& recording, double recordStart, const ListRun& run)
{
    const std::vector<float> samples = Slice(recording, recordStart, run.from, run.to);
    const std::uint32_t rate = static_cast<std::uint32_t>(recording.sampleRate);
    const double sliceStart = std::max(run.from, recordStart);
    std::printf("\n== %s\n", run.title.c_str());
    std::printf("%4s %8s %7s %9s %9s %9s %10s\n", "item", "Hz", "rate", "heard ms", "cut ms", "gap ms",
                "report ms");
    const int items = static_cast<int>(run.rates.size());
    std::vector<Span> spans;
    for (int i = 0; i < items; ++i)
        spans.push_back(FindTone(samples, rate, ItemHz(i)));
    std::vector<double> gaps, cuts, reportLags;
    for (int i = 0; i < items; ++i) {
        const Span& span = spans[i];
        if (span.begin < 0) {
            std::printf("%4d %8.0f %7d   not heard\n", i + 1, ItemHz(i), run.rates[i]);
            continue;
        }
        // A window centred on an edge of the tone sees half of it: the spans run edge to edge, to
        // within the 1 ms step (checked on a synthetic recording: 600 ms read as 598.6 + 1).
        const double heardMs = (span.end - span.begin) * 1000 + 1;
        const double cutMs = std::max(0.0, kItemMs - heardMs);
        cuts.push_back(cutMs);
        char gapText[32] = "-";
        if (i + 1 < items && spans[i + 1].begin >= 0) {
            const double gapMs = (spans[i + 1].begin - span.end) * 1000 - 1;
            gaps.push_back(gapMs);
            std::snprintf(gapText, sizeof gapText, "%.1f", gapMs);
        }
        // When the end was reported, against when the item was last heard (negative: before).
        char lagText[32] = "-";
        if (recordStart > 0 && i < static_cast<int>(run.endTimes.size())) {
            const double lagMs = (run.endTimes[i] - (sliceStart + span.end)) * 1000;
            reportLags.push_back(lagMs);
            std::snprintf(lagText, sizeof lagText, "%.1f", lagMs);
        }
        std::printf("%4d %8.0f %7d %9.1f %9.1f %9s %10s\n", i + 1, ItemHz(i), run.rates[i], heardMs, cutMs,
                    gapText, lagText);
    }
    std::printf("items heard: %zu of %d\n", cuts.size(), items);
    if (!gaps.empty())
        std::printf("silence at the joins: median %.1f ms, min %.1f ms, max %.1f ms (%zu joins)\n",
                    Median(gaps), *std::min_element(gaps.begin(), gaps.end()),
                    *std::max_element(gaps.begin(), gaps.end()), gaps.size());
    std::printf("the output ran dry in mid-item: %ld times\n", run.underruns);
    if (!cuts.empty())
        std::printf("missing of each item: median %.1f ms, max %.1f ms (of %d ms); first item %.1f ms\n",
                    Median(cuts), *std::max_element(cuts.begin(), cuts.end()), kItemMs,
                    spans[0].begin >= 0 ? cuts[0] : -1.0);
    if (!reportLags.empty())
        std::printf("end report against the last sound: median %.1f ms, min %.1f ms, max %.1f ms\n",
                    Median(reportLags), *std::min_element(reportLags.begin(), reportLags.end()),
                    *std::max_element(reportLags.begin(), reportLags.end()));
}

// Where the level of the steady tone first falls to below 70 % of what it was, and where it
// falls silent, in seconds into the samples.
void LevelSteps(const std::vector<float>& s, std::uint32_t rate, double& drop, double& silent)
{
    drop = silent = -1;
    const size_t window = rate / 200; // 5 ms
    double first = 0;
    bool sounding = false;
    for (size_t at = 0; at + window <= s.size(); at += window / 5) {
        float peak = 0;
        for (size_t i = at; i < at + window; ++i)
            peak = std::max(peak, std::fabs(s[i]));
        const double t = (at + window / 2.0) / rate;
        if (!sounding) {
            if (peak > 0.05) {
                sounding = true;
                first = -t; // the level is taken 100 ms later
            }
            continue;
        }
        if (first < 0 && t > -first + 0.1)
            first = peak;
        if (first > 0 && drop < 0 && peak < 0.7 * first)
            drop = t;
        if (drop >= 0 && peak < 0.02) {
            silent = t;
            return;
        }
    }
}

// ---- the runs ----------------------------------------------------------------------------------

long Underruns()
{
    return static_cast<long>(SendMessageA(g_host.control, SoundUnderrunsMessageId(), 0, 0));
}

// A new list for the same host window and control.
void ResetHost()
{
    Host fresh;
    fresh.window = g_host.window;
    fresh.control = g_host.control;
    fresh.list = g_host.list;
    g_host = fresh;
}

void CreateHost(HINSTANCE instance)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "QuonTrackGapHost";
    RegisterClassA(&wc);
    g_host.window = CreateWindowExA(0, wc.lpszClassName, "track gap", WS_OVERLAPPEDWINDOW, 0, 0, 340, 280,
                                    nullptr, nullptr, instance, nullptr);
    g_host.control =
        CreateWindowExA(0, QUON_PLAYER_CONTROL_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 320, 240,
                        g_host.window, reinterpret_cast<HMENU>(IDC_MEDIA_PLAYER), instance, nullptr);
    const std::vector<std::uint8_t> stream = BuildInitialStateStream();
    SendMessageA(g_host.control, kLoadFromStreamCode, stream.size(), reinterpret_cast<LPARAM>(stream.data()));
}

// Plays one list of tones, one per rate, back to back: WAV files written here, or with codedDir the
// FLAC files flac1.flac... made there by run.sh (44.1 kHz, the same pitches and lengths).
ListRun PlayList(const std::string& dir, const std::string& title, const std::vector<int>& rates,
                 std::vector<std::string>& files, const std::string& codedDir = std::string())
{
    ListRun run;
    run.title = title;
    run.rates = rates;
    g_host.list.clear();
    for (size_t i = 0; i < rates.size(); ++i) {
        if (!codedDir.empty()) {
            const std::string path = codedDir + "\\flac" + std::to_string(i + 1) + ".flac";
            g_host.list.push_back(std::wstring(path.begin(), path.end()));
            continue;
        }
        // Full level from the first sample to the last (no fades): the edges show in the recording.
        const std::string path = dir + "\\tone" + std::to_string(files.size() + 1) + ".wav";
        WriteFileBytes(path, MakeToneWave(kItemMs, ItemHz(static_cast<int>(i)), kToneLevel, rates[i]));
        files.push_back(path);
        g_host.list.push_back(std::wstring(path.begin(), path.end()));
    }
    ResetHost();
    Pump(300, false);
    const long underrunsBefore = Underruns();
    run.from = UnixNow();
    PlayNext();
    Pump(static_cast<DWORD>(rates.size()) * (kItemMs + 3000), true);
    Pump(800, false); // the last item's tail reaches the recording
    run.to = UnixNow();
    run.endTimes = g_host.endTimes;
    run.underruns = Underruns() - underrunsBefore;
    std::printf("%s: %zu starts, %zu ends reported, the output ran dry %ld times in mid-item\n",
                title.c_str(), g_host.startTimes.size(), g_host.endTimes.size(), run.underruns);
    return run;
}

struct LevelRun {
    double from = 0, to = 0, volumeAt = 0, stopAt = 0;
};

// A steady tone; its volume goes from -600 to -1200 a second in, and it is stopped a second later.
LevelRun PlayLevels(const std::string& dir, std::vector<std::string>& files)
{
    LevelRun run;
    const std::string path = dir + "\\steady.wav";
    WriteFileBytes(path, MakeToneWave(4000, 500, 0.8));
    files.push_back(path);
    g_host.list = {std::wstring(path.begin(), path.end())};
    ResetHost();
    g_host.advance = false;
    Pump(300, false);
    run.from = UnixNow();
    PlayNext();
    Pump(1000, false);
    VARIANT volume;
    VariantInit(&volume);
    volume.vt = VT_I4;
    volume.lVal = -1200;
    run.volumeAt = UnixNow();
    Invoke(kDispidVolume, DISPATCH_PROPERTYPUT, {volume});
    Pump(1000, false);
    run.stopAt = UnixNow();
    Invoke(kDispidStop, DISPATCH_METHOD);
    Pump(800, false);
    volume.lVal = -600;
    Invoke(kDispidVolume, DISPATCH_PROPERTYPUT, {volume});
    run.to = UnixNow();
    return run;
}

// A child of this program again: "--spin" keeps one core busy, "--churn" writes, reads back and
// sums a file over and over (file and CPU work at once).
PROCESS_INFORMATION StartChild(const char* mode)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" " + mode;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    CreateProcessA(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    return info;
}

// The "--churn" child: for at most a minute, writes 8 MB to a file of its own, flushes it to the
// disk, reads it back and sums it, again and again.
int Churn()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%squon_track_gap_churn_%lu.bin", temp, GetCurrentProcessId());
    std::vector<unsigned char> block(1 << 20);
    const DWORD start = GetTickCount();
    unsigned long long sum = 0;
    while (GetTickCount() - start < 60000) {
        HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        DWORD done = 0;
        for (int i = 0; i < 8; ++i) {
            for (size_t j = 0; j < block.size(); ++j)
                block[j] = static_cast<unsigned char>(sum + i * 131 + j * 7);
            WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &done, nullptr);
        }
        FlushFileBuffers(file);
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        while (ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &done, nullptr) && done)
            for (DWORD j = 0; j < done; ++j)
                sum = sum * 31 + block[j];
        CloseHandle(file);
    }
    DeleteFileA(path);
    return static_cast<int>(sum & 1);
}

void EndChild(PROCESS_INFORMATION& child)
{
    if (!child.hProcess)
        return;
    TerminateProcess(child.hProcess, 0);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    child = PROCESS_INFORMATION{};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--spin") == 0) {
        // Spins for at most a minute, in case the parent is gone without ending it.
        const DWORD start = GetTickCount();
        volatile unsigned long long counter = 0;
        while (GetTickCount() - start < 60000)
            counter = counter + 1;
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--churn") == 0)
        return Churn();
    setvbuf(stdout, nullptr, _IONBF, 0);
    OleInitialize(nullptr);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterMediaPlayerControl(instance)) {
        std::printf("the player control could not be registered\n");
        return 1;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "quon_track_gap";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::vector<std::string> files;
    CreateHost(instance);
    Pump(500, false);

    const std::vector<int> sameRate(kItems, 44100);
    std::vector<int> mixedRates;
    for (int i = 0; i < kItems; ++i)
        mixedRates.push_back(i % 3 == 0 ? 44100 : (i % 3 == 1 ? 22050 : 48000));
    std::printf("lists of %d tones of %d ms, played back to back through the player control\n", kItems,
                kItemMs);
    std::vector<ListRun> runs;
    runs.push_back(PlayList(dir, "one format (44.1 kHz stereo)", sameRate, files));
    runs.push_back(PlayList(dir, "sample rates 44.1 / 22.05 / 48 kHz in turn (each a device of its own)",
                            mixedRates, files));
    // FLAC decoded by Media Foundation's source reader (the test build's switch sends it there).
    const char* flacFolder = std::getenv("QUON_TRACK_GAP_FLAC");
    const std::string flac = flacFolder ? WindowsPath(flacFolder) : std::string();
    if (!flac.empty()) {
        SetEnvironmentVariableA("QUON_READER_EXTENSIONS", ".flac");
        runs.push_back(PlayList(dir, "FLAC through Media Foundation (44.1 kHz stereo)", sameRate, files, flac));
    }
    const LevelRun levels = PlayLevels(dir, files);
    PROCESS_INFORMATION spinner = StartChild("--spin");
    if (!spinner.hProcess)
        std::printf("(the spinning child did not start: the lists said to be loaded ran without load)\n");
    Sleep(500);
    runs.push_back(PlayList(dir, "one format, one core kept busy by a child", sameRate, files));
    runs.push_back(PlayList(dir, "sample rates in turn, one core kept busy by a child", mixedRates, files));
    if (!flac.empty())
        runs.push_back(PlayList(dir, "FLAC through Media Foundation, one core kept busy by a child", sameRate,
                                files, flac));
    PROCESS_INFORMATION churner = StartChild("--churn");
    Sleep(500);
    runs.push_back(PlayList(dir, "one format, one core busy and a child doing file and CPU work", sameRate,
                            files));
    EndChild(churner);
    EndChild(spinner);

    const char* record = std::getenv("QUON_RECORD");
    const char* recordStartText = std::getenv("QUON_RECORD_START");
    const double recordStart = recordStartText ? std::atof(recordStartText) : 0;
    Recording recording;
    if (!record) {
        std::printf("no recording (QUON_RECORD unset): run bench/track_gap/run.sh for the sound figures\n");
    } else if (!LoadRecording(WindowsPath(record), recording) || recording.sampleRate <= 0 ||
               recordStart <= 0) {
        std::printf("could not read the recording %s\n", record);
    } else {
        std::printf("\nrecording: %.2f s at %d Hz\n", recording.Seconds(), recording.sampleRate);
        for (const ListRun& run : runs)
            AnalyseList(recording, recordStart, run);
        const std::vector<float> s = Slice(recording, recordStart, levels.from, levels.to);
        double drop = 0, silent = 0;
        LevelSteps(s, static_cast<std::uint32_t>(recording.sampleRate), drop, silent);
        std::printf("\n== volume -600 -> -1200, then stop, on a steady tone\n");
        if (drop < 0 || silent < 0) {
            std::printf("level steps not found\n");
        } else {
            const double from = std::max(levels.from, recordStart);
            // The recording's own offset from the clock (up to 0.1 s) cancels in the difference.
            std::printf("volume change heard %.0f ms after the call, stop heard %.0f ms after the call "
                        "(both with the recording's offset)\n",
                        (from + drop - levels.volumeAt) * 1000, (from + silent - levels.stopAt) * 1000);
            std::printf("volume change heard %.0f ms later than a stop is\n",
                        ((from + drop - levels.volumeAt) - (from + silent - levels.stopAt)) * 1000);
        }
    }

    DestroyWindow(g_host.window);
    for (const std::string& path : files)
        DeleteFileA(path.c_str());
    RemoveDirectoryA(dir.c_str());
    OleUninitialize();
    return 0;
}
