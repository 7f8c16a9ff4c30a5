// The media player control in a host window: its dispatch table, its initial state, the reports
// it sends for media that play, stop, fail or are replaced from inside a report, and its picture.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "WinTestSupport.h"
#include "framework/Dispatch.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "wmp/control/MediaPlayerControl.h"
#include "wmp/logic/StateStream.h"

namespace {

using Report = std::pair<LONG, LONG>;
const Report kStarted{kPlayStateStopped, kPlayStatePlaying};
const Report kEnded{kPlayStatePlaying, kPlayStateStopped};

// ---- test media ------------------------------------------------------------------------------

// The peak level of the test tones, and the picture of the test videos (a left half changing
// colour from frame to frame beside a white right half).
const double kToneLevel = 0.4;
const VideoPicture kHalves = VideoPicture::ColourHalves;

// A folder of its own for the media of one test run, removed with its files at the end.
class MediaFolder {
public:
    MediaFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"quon_player_control_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_dir.c_str(), nullptr);
    }
    ~MediaFolder()
    {
        for (const std::wstring& file : m_files)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(m_dir.c_str());
    }
    MediaFolder(const MediaFolder&) = delete;
    MediaFolder& operator=(const MediaFolder&) = delete;

    std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::wstring path = Path(name);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        m_files.insert(path);
        return path;
    }
    std::wstring Path(const std::wstring& name) const { return m_dir + L"\\" + name; }

private:
    std::wstring m_dir;
    std::set<std::wstring> m_files;
};

// ---- host --------------------------------------------------------------------------------------

// A top-level window that holds one control and records the reports it sends.
class ControlHost {
public:
    ControlHost(int width = 320, int height = 240)
    {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        EXPECT_TRUE(RegisterMediaPlayerControl(instance));
        WNDCLASSA wc{};
        wc.lpfnWndProc = &ControlHost::HostProc;
        wc.hInstance = instance;
        wc.lpszClassName = "QuonPlayerControlTestHost";
        RegisterClassA(&wc);
        m_host = CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPED | WS_CLIPCHILDREN, 40, 40,
                                 width + 40, height + 60, nullptr, nullptr, instance, nullptr);
        SetWindowLongPtrA(m_host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_control = CreateWindowExA(0, QUON_PLAYER_CONTROL_CLASS, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                                    0, width, height, m_host, reinterpret_cast<HMENU>(IDC_MEDIA_PLAYER),
                                    instance, nullptr);
    }
    ~ControlHost()
    {
        if (m_host)
            DestroyWindow(m_host);
        PumpMessages();
    }
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND Control() const { return m_control; }
    HWND Window() const { return m_host; }
    void Show() { ShowWindow(m_host, SW_SHOWNOACTIVATE), UpdateWindow(m_host); }

    // Hands the control a persisted state as the dialog does when it creates the control.
    LRESULT LoadState(const std::vector<std::uint8_t>& stream)
    {
        return SendMessageA(m_control, kLoadFromStreamCode, stream.size(),
                            reinterpret_cast<LPARAM>(stream.data()));
    }

    // One dispatch call; the result variant is handed back to the caller to clear.
    DispatchCall Invoke(DISPID dispid, WORD flags, std::vector<VARIANT> args = {}, LRESULT* known = nullptr)
    {
        DispatchCall call;
        call.dispid = dispid;
        call.flags = flags;
        call.argc = static_cast<UINT>(args.size());
        call.args = args.empty() ? nullptr : args.data();
        const LRESULT answer =
            SendMessageA(m_control, DispatchMessageId(), 0, reinterpret_cast<LPARAM>(&call));
        if (known)
            *known = answer;
        return call;
    }

    HRESULT PutFileName(const std::wstring& path)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
        const HRESULT hr = Invoke(kDispidFileName, DISPATCH_PROPERTYPUT, {v}).hr;
        VariantClear(&v);
        return hr;
    }
    HRESULT Play() { return Invoke(kDispidPlay, DISPATCH_METHOD).hr; }
    HRESULT Stop() { return Invoke(kDispidStop, DISPATCH_METHOD).hr; }
    bool ReadBool(DISPID dispid)
    {
        DispatchCall call = Invoke(dispid, DISPATCH_PROPERTYGET);
        EXPECT_EQ(call.result.vt, VT_BOOL);
        return call.result.boolVal != VARIANT_FALSE;
    }
    LONG ReadVolume()
    {
        DispatchCall call = Invoke(kDispidVolume, DISPATCH_PROPERTYGET);
        EXPECT_EQ(call.result.vt, VT_I4);
        return call.result.lVal;
    }

    const std::vector<Report>& Reports() const { return m_reports; }
    const std::vector<DWORD>& ReportTimes() const { return m_reportTimes; }
    std::function<void(const Report&)> onReport;
    bool WaitForReports(size_t count, DWORD timeoutMs)
    {
        return PumpUntil([&] { return m_reports.size() >= count; }, timeoutMs);
    }

private:
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ControlHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == EventMessageId()) {
            const auto* call = reinterpret_cast<const EventCall*>(lParam);
            EXPECT_EQ(wParam, static_cast<WPARAM>(IDC_MEDIA_PLAYER));
            EXPECT_EQ(call->dispid, kDispidPlayStateChange);
            EXPECT_EQ(call->argc, 2u);
            EXPECT_EQ(call->args[0].vt, VT_I4);
            EXPECT_EQ(call->args[1].vt, VT_I4);
            const Report report{call->args[0].lVal, call->args[1].lVal};
            self->m_reports.push_back(report);
            self->m_reportTimes.push_back(GetTickCount());
            if (self->onReport)
                self->onReport(report);
            return 0;
        }
        if (self && message == WM_NCDESTROY)
            self->m_host = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_host = nullptr;
    HWND m_control = nullptr;
    std::vector<Report> m_reports;
    std::vector<DWORD> m_reportTimes;
};

VARIANT I4(LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Bool(bool value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// A string variant whose text lives as long as the test process (the cases are static).
VARIANT Text(const wchar_t* text)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

bool SoundDeviceAvailable() { return waveOutGetNumDevs() > 0; }

}  // namespace

// ---- dispatch table --------------------------------------------------------------------------

TEST(PlayerControlDispatch, EveryOperationAnswersByKindArgumentCountAndType)
{
    struct Case {
        const char* what;
        DISPID dispid;
        WORD flags;
        std::vector<VARIANT> args;
        HRESULT hr;
        VARTYPE resultType;
        bool known;
    };
    const WORD get = DISPATCH_PROPERTYGET, put = DISPATCH_PROPERTYPUT, method = DISPATCH_METHOD;
    const Case cases[] = {
        {"volume get", kDispidVolume, get, {}, S_OK, VT_I4, true},
        {"volume get as method and get", kDispidVolume, get | method, {}, S_OK, VT_I4, true},
        {"volume put", kDispidVolume, put, {I4(-700)}, S_OK, VT_EMPTY, true},
        {"volume put, numeric text coerced", kDispidVolume, put, {Text(L"-800")}, S_OK, VT_EMPTY, true},
        {"volume put, text", kDispidVolume, put, {Text(L"loud")}, DISP_E_TYPEMISMATCH, VT_EMPTY, true},
        {"volume put, no value", kDispidVolume, put, {}, DISP_E_BADPARAMCOUNT, VT_EMPTY, true},
        {"volume put, two values", kDispidVolume, put, {I4(1), I4(2)}, DISP_E_BADPARAMCOUNT, VT_EMPTY,
         true},
        {"volume get with a value", kDispidVolume, get, {I4(1)}, DISP_E_BADPARAMCOUNT, VT_EMPTY, true},
        {"volume as method", kDispidVolume, method, {}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, true},
        {"natural size put", kDispidNaturalSize, put, {Bool(false)}, S_OK, VT_EMPTY, true},
        {"natural size put, number coerced", kDispidNaturalSize, put, {I4(0)}, S_OK, VT_EMPTY, true},
        {"natural size put, text", kDispidNaturalSize, put, {Text(L"maybe")}, DISP_E_TYPEMISMATCH,
         VT_EMPTY, true},
        {"natural size get", kDispidNaturalSize, get, {}, S_OK, VT_BOOL, true},
        {"file name put, empty", kDispidFileName, put, {Text(L"")}, S_OK, VT_EMPTY, true},
        {"file name put, two values", kDispidFileName, put, {Text(L"a"), Text(L"b")},
         DISP_E_BADPARAMCOUNT, VT_EMPTY, true},
        {"file name get", kDispidFileName, get, {}, S_OK, VT_BSTR, true},
        {"no picture get", kDispidNoPicture, get, {}, S_OK, VT_BOOL, true},
        {"no picture put", kDispidNoPicture, put, {Bool(true)}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, true},
        {"play", kDispidPlay, method, {}, S_OK, VT_EMPTY, true},
        {"play with a value", kDispidPlay, method, {I4(1)}, DISP_E_BADPARAMCOUNT, VT_EMPTY, true},
        {"play as get", kDispidPlay, get, {}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, true},
        {"stop", kDispidStop, method, {}, S_OK, VT_EMPTY, true},
        {"stop as put", kDispidStop, put, {I4(0)}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, true},
        {"unknown get", 4242, get, {}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, false},
        {"unknown method", 2002, method, {}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, false},
    };
    ControlHost host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LRESULT known = -1;
        DispatchCall call = host.Invoke(c.dispid, c.flags, c.args, &known);
        EXPECT_EQ(call.hr, c.hr);
        EXPECT_EQ(call.result.vt, c.resultType);
        EXPECT_EQ(known != FALSE, c.known);
        VariantClear(&call.result);
    }
    for (const Case& c : cases) {
        for (VARIANT v : c.args)
            VariantClear(&v);
    }
    EXPECT_TRUE(host.Reports().empty()) << "nothing played, so nothing is reported";
}

TEST(PlayerControlDispatch, ValuesWrittenAreReadBack)
{
    ControlHost host;
    host.Invoke(kDispidVolume, DISPATCH_PROPERTYPUT, {I4(-1234)});
    EXPECT_EQ(host.ReadVolume(), -1234);
    host.Invoke(kDispidVolume, DISPATCH_PROPERTYPUT, {I4(250)});
    EXPECT_EQ(host.ReadVolume(), 0) << "above the loudest level";
    host.Invoke(kDispidVolume, DISPATCH_PROPERTYPUT, {I4(-20000)});
    EXPECT_EQ(host.ReadVolume(), -10000) << "below silence";

    host.Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {Bool(true)});
    EXPECT_TRUE(host.ReadBool(kDispidNaturalSize));
    host.Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {Bool(false)});
    EXPECT_FALSE(host.ReadBool(kDispidNaturalSize));

    const std::wstring name = L"Z:\\nowhere\\\u6b4c\u66f2.mp3";  // a DBCS name goes through unchanged
    host.PutFileName(name);
    DispatchCall call = host.Invoke(kDispidFileName, DISPATCH_PROPERTYGET);
    ASSERT_EQ(call.result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(call.result.bstrVal, SysStringLen(call.result.bstrVal)), name);
    VariantClear(&call.result);
}

TEST(PlayerControlDispatch, RegistrationIsIdempotent)
{
    EXPECT_TRUE(RegisterMediaPlayerControl(GetModuleHandleA(nullptr)));
    EXPECT_TRUE(RegisterMediaPlayerControl(GetModuleHandleA(nullptr)));
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), QUON_PLAYER_CONTROL_CLASS, &info));
}

// ---- initial state ---------------------------------------------------------------------------

TEST(PlayerControlInitialState, StreamSettingsAreApplied)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> stream;
        LONG volume;
        bool naturalSize;
    };
    PlayerInitialState quiet;
    quiet.volume = -2500;
    quiet.displaySize = 0;
    const std::vector<std::uint8_t> garbage = {1, 2, 3, 4, 5};
    const Case cases[] = {
        {"the program's stream", BuildInitialStateStream(), -600, false},
        {"another volume and display size", SerializeStateStream(quiet), -2500, true},
        {"an unreadable stream keeps the defaults", garbage, -600, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ControlHost host;
        EXPECT_EQ(host.LoadState(c.stream), TRUE);
        EXPECT_EQ(host.ReadVolume(), c.volume);
        EXPECT_EQ(host.ReadBool(kDispidNaturalSize), c.naturalSize);
        EXPECT_TRUE(host.ReadBool(kDispidNoPicture));
    }
    ControlHost unloaded;
    EXPECT_EQ(unloaded.ReadVolume(), -600) << "without a stream: the same defaults";
}

// ---- playing ---------------------------------------------------------------------------------

TEST(PlayerControlPlay, WaveReportsStartThenEndAfterItsLength)
{
    struct Case {
        const char* what;
        long playCount;
    };
    const Case cases[] = {{"played once", 1}, {"play count 2: twice, one report pair", 2}};
    MediaFolder media;
    const int lengthMs = 1200;
    const std::wstring path = media.Write(L"tone.wav", MakeToneWave(lengthMs, 440, kToneLevel));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayerInitialState state;
        state.playCount = c.playCount;
        ControlHost host;
        host.LoadState(SerializeStateStream(state));
        const DWORD start = GetTickCount();
        host.PutFileName(path);  // AutoStart: the name alone starts it
        host.Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {Bool(false)});
        host.Play();
        EXPECT_TRUE(host.ReadBool(kDispidNoPicture)) << "sound only";
        ASSERT_TRUE(host.WaitForReports(2, 15000));
        EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted, kEnded}));
        if (SoundDeviceAvailable()) {
            const DWORD elapsed = host.ReportTimes()[1] - start;
            // The end is reported while the tail still plays (at most 450 ms of it), so that the
            // next medium can follow without a gap; never earlier than that.
            EXPECT_GE(elapsed, c.playCount * lengthMs - 500) << "reported long before its last sample";
            EXPECT_LT(elapsed, c.playCount * lengthMs + 5000);
        }
        PumpFor(300);
        EXPECT_EQ(host.Reports().size(), 2u) << "one start and one end";
    }
}

TEST(PlayerControlPlay, StopReportsTheEndOnceAndOnlyWhilePlaying)
{
    MediaFolder media;
    // A video plays also where there is no sound device.
    const std::wstring path = media.Write(L"long.avi", MakeVideoAvi(60, 32, 24, 10, true, kHalves));
    ControlHost host;
    host.Stop();
    PumpFor(200);
    EXPECT_TRUE(host.Reports().empty()) << "stop with nothing playing";

    host.PutFileName(path);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(1, 5000));
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted}));
    PumpFor(300);
    host.Stop();
    ASSERT_TRUE(host.WaitForReports(2, 5000));
    host.Stop();
    PumpFor(300);
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted, kEnded}));

    host.Play();  // a stopped medium plays again from its beginning
    ASSERT_TRUE(host.WaitForReports(3, 5000));
    EXPECT_EQ(host.Reports().back(), kStarted);
}

// A stop before the host heard of the start gives it one report, from playing to stopped: a host
// that swallows the report after its own stop must not see a second one and take it for the end.
TEST(PlayerControlPlay, StopBeforeTheStartWasReportedGivesOneStopReport)
{
    MediaFolder media;
    const std::wstring sound = media.Write(L"short.wav", MakeToneWave(3000, 440, 0.2));
    const std::wstring video = media.Write(L"clip.avi", MakeVideoAvi(60, 32, 24, 10, true, kHalves));
    const std::string text = "not a medium at all\r\n";
    const std::wstring bad = media.Write(L"notes.wav", std::vector<std::uint8_t>(text.begin(), text.end()));
    // An item that cannot be opened, stopped while it opens: its failure must not follow the stop.
    for (const std::wstring& path : {sound, video, bad, media.Path(L"missing.mp3")}) {
        ControlHost host;
        host.PutFileName(path);
        host.Play();
        host.Stop();  // at once: the control is still opening the medium
        ASSERT_TRUE(host.WaitForReports(1, 5000));
        PumpFor(500);
        EXPECT_EQ(host.Reports(), (std::vector<Report>{kEnded}));
    }
}

TEST(PlayerControlPlay, WithoutAutoStartOnlyPlayStarts)
{
    MediaFolder media;
    const std::wstring path = media.Write(L"clip.avi", MakeVideoAvi(20, 32, 24, 10, true, kHalves));
    PlayerInitialState state;
    state.autoStart = false;
    ControlHost host;
    host.LoadState(SerializeStateStream(state));
    host.PutFileName(path);
    PumpFor(300);
    EXPECT_TRUE(host.Reports().empty()) << "named, not started";
    host.Play();
    ASSERT_TRUE(host.WaitForReports(1, 5000));
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted}));
}

TEST(PlayerControlPlay, MediumWithChineseNamePlays)
{
    MediaFolder media;
    const std::wstring path =
        media.Write(L"\u89c6\u9891\u7247\u6bb5.avi", MakeVideoAvi(10, 32, 24, 10, true, kHalves));
    ControlHost host;
    host.PutFileName(path);
    host.Play();
    EXPECT_FALSE(host.ReadBool(kDispidNoPicture));
    ASSERT_TRUE(host.WaitForReports(2, 10000));
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted, kEnded}));
}

TEST(PlayerControlPlay, UnplayableMediaEndOnceEachAndThenStaySilent)
{
    MediaFolder media;
    std::vector<std::uint8_t> noise(20000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
    const std::string text = "not a medium at all\r\n";
    struct Case {
        const char* what;
        std::wstring path;
    };
    const Case cases[] = {
        {"missing file", media.Path(L"missing.mp3")},
        {"corrupt bytes", media.Write(L"corrupt.wav", noise)},
        {"a text file", media.Write(L"notes.txt", std::vector<std::uint8_t>(text.begin(), text.end()))},
    };
    ControlHost host;
    host.LoadState(BuildInitialStateStream());
    size_t expected = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.PutFileName(c.path);
        host.Play();
        EXPECT_TRUE(host.ReadBool(kDispidNoPicture));
        expected += 2;
        ASSERT_TRUE(host.WaitForReports(expected, 10000));
        EXPECT_EQ(host.Reports()[expected - 2], kStarted);
        EXPECT_EQ(host.Reports()[expected - 1], kEnded);
    }
    // A second pass without anything played in between: the list stops here.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.PutFileName(c.path);
        host.Play();
        PumpFor(300);
        EXPECT_EQ(host.Reports().size(), expected);
    }
    // Stopped before its open is done, such a medium stays as silent as when the open was quick.
    host.PutFileName(cases[1].path);
    host.Play();
    host.Stop();
    PumpFor(500);
    EXPECT_EQ(host.Reports().size(), expected) << "stopped while it opened";
    host.Stop();
    PumpFor(200);
    EXPECT_EQ(host.Reports().size(), expected) << "stop with nothing playing";

    // Asked again straight after its own failure (a host repeating the item once), a medium is
    // told once more; a third time in a row it stays silent.
    const std::wstring bad = media.Path(L"also missing.mp3");
    for (int round = 0; round < 3; ++round) {
        host.PutFileName(bad);
        host.Play();
        PumpFor(300);
        if (round < 2)
            ASSERT_TRUE(host.WaitForReports(expected + 2 * (round + 1), 10000)) << round;
    }
    EXPECT_EQ(host.Reports().size(), expected + 4);
}

TEST(PlayerControlPlay, NameWrittenTwiceBeforePlayingStartsOnce)
{
    MediaFolder media;
    const std::wstring bad = media.Path(L"gone.wav");
    ControlHost host;
    host.LoadState(BuildInitialStateStream());
    // As the host does for a click that opens files: play the list, then the current item.
    for (int i = 0; i < 2; ++i) {
        host.PutFileName(bad);
        host.Play();
    }
    ASSERT_TRUE(host.WaitForReports(2, 10000));
    PumpFor(300);
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted, kEnded}));
}

TEST(PlayerControlPlay, NextMediumStartedFromInsideTheEndReport)
{
    MediaFolder media;
    const std::vector<std::wstring> list = {
        media.Write(L"first.wav", MakeToneWave(400, 440, kToneLevel)),
        media.Write(L"second.wav", MakeToneWave(400, 660, kToneLevel)),
        media.Write(L"third.wav", MakeToneWave(400, 880, kToneLevel)),
    };
    ControlHost host;
    host.LoadState(BuildInitialStateStream());
    size_t next = 1;
    host.onReport = [&](const Report& report) {
        if (report == kEnded && next < list.size()) {
            host.PutFileName(list[next++]);
            host.Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {Bool(false)});
            host.Play();
            host.ReadBool(kDispidNoPicture);
        }
    };
    host.PutFileName(list[0]);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(6, 20000));
    PumpFor(300);
    EXPECT_EQ(host.Reports(),
              (std::vector<Report>{kStarted, kEnded, kStarted, kEnded, kStarted, kEnded}));
}

TEST(PlayerControlPlay, DestroyedFromInsideItsOwnReport)
{
    MediaFolder media;
    const std::wstring path = media.Write(L"short.wav", MakeToneWave(300, 440, kToneLevel));
    ControlHost host;
    host.onReport = [&](const Report&) { DestroyWindow(host.Control()); };
    host.PutFileName(path);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(1, 10000));
    PumpFor(500);
    EXPECT_EQ(host.Reports().size(), 1u) << "nothing after the control is gone";
    EXPECT_FALSE(IsWindow(host.Control()));
}

TEST(PlayerControlPlay, DestroyedWhilePlaying)
{
    MediaFolder media;
    const std::wstring path = media.Write(L"long.wav", MakeToneWave(5000, 440, kToneLevel));
    ControlHost host;
    host.PutFileName(path);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(1, 5000));
    DestroyWindow(host.Control());
    PumpFor(300);
    EXPECT_FALSE(IsWindow(host.Control()));
}

// ---- picture ---------------------------------------------------------------------------------

namespace {

HWND FirstChild(HWND window) { return GetWindow(window, GW_CHILD); }

// Distinct colours of the window's area as the screen shows it.
std::set<COLORREF> ScreenColours(HWND window, const RECT& clientArea)
{
    POINT origin{clientArea.left, clientArea.top};
    ClientToScreen(window, &origin);
    const int width = clientArea.right - clientArea.left;
    const int height = clientArea.bottom - clientArea.top;
    HDC screen = GetDC(nullptr);
    const std::vector<COLORREF> pixels =
        PixelsIn(screen, RECT{origin.x, origin.y, origin.x + width, origin.y + height});
    ReleaseDC(nullptr, screen);
    std::set<COLORREF> colours;
    for (int y = 0; y < height; y += 3) {
        for (int x = 0; x < width; x += 3)
            colours.insert(pixels[static_cast<size_t>(y * width + x)]);
    }
    return colours;
}

}  // namespace

TEST(PlayerControlPicture, VideoShowsInsideTheControl)
{
    MediaFolder media;
    const std::wstring path = media.Write(L"clip.avi", MakeVideoAvi(30, 64, 48, 10, true, kHalves));
    ControlHost host;
    host.LoadState(BuildInitialStateStream());
    host.Show();
    host.PutFileName(path);
    host.Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {Bool(false)});
    host.Play();
    EXPECT_FALSE(host.ReadBool(kDispidNoPicture)) << "the window would not be shown";
    ASSERT_TRUE(host.WaitForReports(1, 10000));
    EXPECT_EQ(host.Reports()[0], kStarted);

    const HWND picture = FirstChild(host.Control());
    ASSERT_NE(picture, nullptr) << "the picture is a child of the control";
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(picture) != FALSE; }, 2000));
    PumpFor(800);

    RECT client{};
    GetClientRect(host.Control(), &client);
    RECT pictureRect{};
    GetWindowRect(picture, &pictureRect);
    MapWindowPoints(nullptr, host.Control(), reinterpret_cast<POINT*>(&pictureRect), 2);
    EXPECT_EQ(pictureRect.left, 0);
    EXPECT_EQ(pictureRect.top, 0);
    EXPECT_EQ(pictureRect.right, client.right) << "stretched to the control's width";
    EXPECT_LT(pictureRect.bottom, client.bottom) << "the bar stays below the picture";

    RECT videoArea = client;
    videoArea.bottom = pictureRect.bottom;
    const std::set<COLORREF> before = ScreenColours(host.Control(), videoArea);
    EXPECT_GE(before.size(), 2u) << "a picture, not a blank area";
    PumpFor(600);
    EXPECT_NE(ScreenColours(host.Control(), videoArea), before) << "the picture moves on";

    // At its own size the picture is 64 x 48, centred (placed by the media thread, soon after).
    host.Invoke(kDispidNaturalSize, DISPATCH_PROPERTYPUT, {Bool(true)});
    PumpUntil(
        [&] {
            GetWindowRect(picture, &pictureRect);
            return pictureRect.right - pictureRect.left == 64;
        },
        2000);
    EXPECT_EQ(pictureRect.right - pictureRect.left, 64);
    EXPECT_EQ(pictureRect.bottom - pictureRect.top, 48);

    // Painting the control and its bar leaves no GDI object behind.
    const long live = GetGdiCounters().Live();
    for (int i = 0; i < 5; ++i) {
        RedrawWindow(host.Control(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpFor(100);
    }
    EXPECT_EQ(GetGdiCounters().Live(), live);

    host.Stop();
    ASSERT_TRUE(host.WaitForReports(2, 5000));
    EXPECT_EQ(host.Reports()[1], kEnded);
}

// ---- what is heard -------------------------------------------------------------------------------

namespace {

// Records the sound sink's monitor in this process (the session makes it the default source):
// 16-bit stereo at 44.1 kHz into buffers prepared up front.
class MonitorRecorder {
public:
    explicit MonitorRecorder(int seconds)
    {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = 44100;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 4;
        format.nAvgBytesPerSec = 44100 * 4;
        if (waveInOpen(&m_device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            m_device = nullptr;
            return;
        }
        m_buffers.resize(static_cast<size_t>(seconds) * 10);
        m_headers.resize(m_buffers.size());
        for (size_t i = 0; i < m_buffers.size(); ++i) {
            m_buffers[i].resize(format.nAvgBytesPerSec / 10);
            m_headers[i].lpData = reinterpret_cast<LPSTR>(m_buffers[i].data());
            m_headers[i].dwBufferLength = static_cast<DWORD>(m_buffers[i].size());
            waveInPrepareHeader(m_device, &m_headers[i], sizeof(WAVEHDR));
            waveInAddBuffer(m_device, &m_headers[i], sizeof(WAVEHDR));
        }
        waveInStart(m_device);
    }
    ~MonitorRecorder() { Stop(); }
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    bool Recording() const { return m_device != nullptr; }

    // Ends the recording; the first channel, as the analysis reads it.
    ::Recording Stop()
    {
        ::Recording out;
        out.sampleRate = 44100;
        out.channels = 2;
        if (!m_device)
            return out;
        waveInReset(m_device);
        for (WAVEHDR& header : m_headers) {
            const auto* samples = reinterpret_cast<const std::int16_t*>(header.lpData);
            for (DWORD i = 0; i + 1 < header.dwBytesRecorded / 2; i += 2)
                out.samples.push_back(samples[i] / 32768.0f);
            waveInUnprepareHeader(m_device, &header, sizeof(WAVEHDR));
        }
        waveInClose(m_device);
        m_device = nullptr;
        return out;
    }

private:
    HWAVEIN m_device = nullptr;
    std::vector<std::vector<std::uint8_t>> m_buffers;
    std::vector<WAVEHDR> m_headers;
};

}  // namespace

TEST(PlayerControlSound, VolumeIsHeardAtItsLevel)
{
    if (!SoundDeviceAvailable())
        GTEST_SKIP() << "no sound device";
    MediaFolder media;
    const double level = 0.8;
    const std::wstring path = media.Write(L"steady.wav", MakeToneWave(3000, 440, level));
    ControlHost host;
    host.LoadState(BuildInitialStateStream());  // volume -600: half the amplitude
    MonitorRecorder recorder(6);
    ASSERT_TRUE(recorder.Recording());
    host.PutFileName(path);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(1, 5000));
    PumpFor(1400);
    host.Invoke(kDispidVolume, DISPATCH_PROPERTYPUT, {I4(-1200)});  // a quarter
    ASSERT_TRUE(host.WaitForReports(2, 8000));
    PumpFor(600);
    const Recording heard = recorder.Stop();
    const std::vector<Tone> tones = FindTones(heard);
    ASSERT_EQ(tones.size(), 1u) << "one steady tone, unbroken by the change of level";
    const Tone& tone = tones[0];
    EXPECT_NEAR(tone.length, 3.0, 0.020);
    const double before = PeakBetween(heard, tone.start + 0.2, tone.start + 1.0);
    const double after = PeakBetween(heard, tone.start + tone.length - 1.0, tone.start + tone.length - 0.1);
    EXPECT_NEAR(before, level * 0.501, 0.03) << "-600: 10^(-600/2000)";
    EXPECT_NEAR(after, level * 0.251, 0.03) << "-1200: 10^(-1200/2000)";
}

TEST(PlayerControlSound, StopDuringTheTailOfAnEndedItemSilencesIt)
{
    if (!SoundDeviceAvailable())
        GTEST_SKIP() << "no sound device";
    MediaFolder media;
    const std::wstring path = media.Write(L"tail.wav", MakeToneWave(1000, 523, 0.6));
    ControlHost host;
    host.LoadState(BuildInitialStateStream());
    MonitorRecorder recorder(4);
    ASSERT_TRUE(recorder.Recording());
    host.onReport = [&](const Report& report) {
        if (report == kEnded)
            host.Stop();  // the end is reported while its tail still plays
    };
    host.PutFileName(path);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(2, 8000));
    PumpFor(800);
    const Recording heard = recorder.Stop();
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted, kEnded}))
        << "a stop after the end owes nothing";
    const std::vector<Tone> tones = FindTones(heard);
    ASSERT_EQ(tones.size(), 1u);
    // The end is told up to 450 ms before the last sample: what came before it was heard.
    EXPECT_GT(tones[0].length, 0.5);
    EXPECT_LT(tones[0].length, 0.97) << "the tail was dropped";
}

TEST(PlayerControlSound, ANewNameWhilePlayingCutsTheItemAndTheNewOneFollows)
{
    if (!SoundDeviceAvailable())
        GTEST_SKIP() << "no sound device";
    MediaFolder media;
    const std::wstring first = media.Write(L"cut.wav", MakeToneWave(3000, 440, 0.6));
    const std::wstring second = media.Write(L"next.wav", MakeToneWave(800, 880, 0.6));
    ControlHost host;
    host.LoadState(BuildInitialStateStream());
    MonitorRecorder recorder(5);
    ASSERT_TRUE(recorder.Recording());
    host.PutFileName(first);
    host.Play();
    ASSERT_TRUE(host.WaitForReports(1, 5000));
    PumpFor(1000);
    host.PutFileName(second);  // AutoStart: the name alone starts it
    host.Play();
    ASSERT_TRUE(host.WaitForReports(3, 8000));
    PumpFor(600);
    const Recording heard = recorder.Stop();
    EXPECT_EQ(host.Reports(), (std::vector<Report>{kStarted, kStarted, kEnded}))
        << "the replaced item ends without a report";
    const std::vector<Tone> tones = FindTones(heard);
    ASSERT_EQ(tones.size(), 2u);
    EXPECT_NEAR(tones[0].frequency, 440, 15);
    EXPECT_LT(tones[0].length, 1.6) << "cut when the new name came";
    EXPECT_NEAR(tones[1].frequency, 880, 15);
    EXPECT_NEAR(tones[1].length, 0.8, 0.020);
}
