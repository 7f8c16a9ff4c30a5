// Plays a list of short tones back to back through the player control, driven the way the
// Windows Media window drives it, and measures from the recorded sound the gap between items and
// how much of each item is missing. Run it with bench/track_gap/run.sh.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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
double ItemHz(int item) { return 400.0 + 250.0 * item; }

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
    int reportsEnded = 0;
    bool done = false;
    std::vector<double> startTimes;  // Unix time of each 0 -> 2 report
    std::vector<double> endTimes;    // Unix time of each 2 -> 0 report
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
                PlayNext();
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
    double begin = -1;  // seconds into the recording
    double end = -1;
};

// Where the item's tone is heard: the first and last windows in which its level is above half of
// the steadiest level it reaches (the control plays at its own volume, not at the written level).
Span FindTone(const std::vector<float>& s, std::uint32_t rate, double hz)
{
    const size_t window = rate / 100;  // 10 ms
    const size_t hop = rate / 1000;    // 1 ms
    std::vector<double> levels;
    for (size_t at = 0; at + window <= s.size(); at += hop)
        levels.push_back(ToneLevel(s, at, window, hz, rate));
    Span span;
    if (levels.empty())
        return span;
    const double peak = *std::max_element(levels.begin(), levels.end());
    if (peak < 0.005)
        return span;  // not there at all
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

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string WindowsPath(const char* unixPath)
{
    std::string out = "Z:";
    for (const char* p = unixPath; *p; ++p)
        out += *p == '/' ? '\\' : *p;
    return out;
}

void Analyse(const char* recordPath, double recordStart)
{
    Recording recording;
    if (!LoadRecording(WindowsPath(recordPath), recording) || recording.sampleRate <= 0) {
        std::printf("could not read the recording %s\n", recordPath);
        return;
    }
    const std::vector<float>& samples = recording.samples;
    const std::uint32_t rate = static_cast<std::uint32_t>(recording.sampleRate);
    std::printf("\nrecording: %.2f s at %u Hz\n", samples.size() / static_cast<double>(rate), rate);
    std::printf("%4s %8s %9s %9s %9s %10s\n", "item", "Hz", "heard ms", "cut ms", "gap ms", "report ms");
    std::vector<Span> spans;
    for (int i = 0; i < kItems; ++i)
        spans.push_back(FindTone(samples, rate, ItemHz(i)));
    std::vector<double> gaps, cuts, reportLags;
    for (int i = 0; i < kItems; ++i) {
        const Span& span = spans[i];
        if (span.begin < 0) {
            std::printf("%4d %8.0f   not heard\n", i + 1, ItemHz(i));
            continue;
        }
        // A window centred on an edge of the tone sees half of it: the spans run edge to edge, to
        // within the 1 ms step (checked on a synthetic recording: 600 ms read as 598.6 + 1).
        const double heardMs = (span.end - span.begin) * 1000 + 1;
        const double cutMs = std::max(0.0, kItemMs - heardMs);
        cuts.push_back(cutMs);
        char gapText[32] = "-";
        if (i + 1 < kItems && spans[i + 1].begin >= 0) {
            const double gapMs = (spans[i + 1].begin - span.end) * 1000 - 1;
            gaps.push_back(gapMs);
            std::snprintf(gapText, sizeof gapText, "%.1f", gapMs);
        }
        // When the end was reported, against when the item was last heard (positive: after).
        char lagText[32] = "-";
        if (recordStart > 0 && i < static_cast<int>(g_host.endTimes.size())) {
            const double lagMs = (g_host.endTimes[i] - (recordStart + span.end)) * 1000;
            reportLags.push_back(lagMs);
            std::snprintf(lagText, sizeof lagText, "%.1f", lagMs);
        }
        std::printf("%4d %8.0f %9.1f %9.1f %9s %10s\n", i + 1, ItemHz(i), heardMs, cutMs, gapText, lagText);
    }
    std::printf("\nitems heard: %zu of %d\n", cuts.size(), kItems);
    if (!gaps.empty())
        std::printf("gap between items: median %.1f ms, min %.1f ms, max %.1f ms\n", Median(gaps),
                    *std::min_element(gaps.begin(), gaps.end()),
                    *std::max_element(gaps.begin(), gaps.end()));
    if (!cuts.empty())
        std::printf("missing of each item: median %.1f ms, max %.1f ms (of %d ms)\n", Median(cuts),
                    *std::max_element(cuts.begin(), cuts.end()), kItemMs);
    if (!reportLags.empty())
        std::printf("end report after the last sound: median %.1f ms, min %.1f ms, max %.1f ms\n",
                    Median(reportLags), *std::min_element(reportLags.begin(), reportLags.end()),
                    *std::max_element(reportLags.begin(), reportLags.end()));
}

}  // namespace

int main()
{
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
    for (int i = 0; i < kItems; ++i) {
        // Full level from the first sample to the last (no fades): the edges show in the recording.
        const std::string path = dir + "\\tone" + std::to_string(i + 1) + ".wav";
        if (!WriteFileBytes(path, MakeToneWave(kItemMs, ItemHz(i), kToneLevel))) {
            std::printf("could not write %s\n", path.c_str());
            return 1;
        }
        files.push_back(path);
        g_host.list.push_back(std::wstring(path.begin(), path.end()));
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "QuonTrackGapHost";
    RegisterClassA(&wc);
    g_host.window = CreateWindowExA(0, wc.lpszClassName, "track gap", WS_OVERLAPPEDWINDOW, 0, 0, 340, 280,
                                    nullptr, nullptr, instance, nullptr);
    g_host.control = CreateWindowExA(0, QUON_PLAYER_CONTROL_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 320, 240,
                                     g_host.window, reinterpret_cast<HMENU>(IDC_MEDIA_PLAYER), instance,
                                     nullptr);
    const std::vector<std::uint8_t> stream = BuildInitialStateStream();
    SendMessageA(g_host.control, kLoadFromStreamCode, stream.size(),
                 reinterpret_cast<LPARAM>(stream.data()));

    std::printf("%d tones of %d ms, played back to back through the player control\n", kItems, kItemMs);
    Pump(500, false);
    PlayNext();
    Pump(kItems * (kItemMs + 3000), true);
    Pump(1000, false);  // the last item's tail reaches the recording

    std::printf("reports: %zu starts, %zu ends\n", g_host.startTimes.size(), g_host.endTimes.size());
    std::vector<double> switchMs;
    for (size_t i = 0; i + 1 < g_host.startTimes.size() && i < g_host.endTimes.size(); ++i)
        switchMs.push_back((g_host.startTimes[i + 1] - g_host.endTimes[i]) * 1000);
    if (!switchMs.empty())
        std::printf("end report to the next start report: median %.1f ms\n", Median(switchMs));

    const char* record = std::getenv("QUON_RECORD");
    const char* recordStart = std::getenv("QUON_RECORD_START");
    if (record)
        Analyse(record, recordStart ? std::atof(recordStart) : 0);
    else
        std::printf("no recording (QUON_RECORD unset): run bench/track_gap/run.sh for the sound figures\n");

    DestroyWindow(g_host.window);
    for (const std::string& path : files)
        DeleteFileA(path.c_str());
    RemoveDirectoryA(dir.c_str());
    OleUninitialize();
    return 0;
}
