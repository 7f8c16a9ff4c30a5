// CPU time of playing one file through the player control against a bare DirectShow player of the
// same file. The parent runs itself twice, once per player, so that each figure is one process of
// its own. Run it with bench/play_cpu/run.sh, which makes the 10-second MP3.
#include <windows.h>
#include <dshow.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Dispatch.h"
#include "res/resource.h"
#include "wmp/control/MediaPlayerControl.h"
#include "wmp/logic/StateStream.h"

namespace {

// CPU seconds of the whole process, every thread included. Under Wine the decoders run in threads
// of the Unix process that Windows does not see, so the Unix figure is read where it exists.
double ProcessCpuSeconds()
{
    HANDLE stat = CreateFileA("Z:\\proc\\self\\stat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (stat != INVALID_HANDLE_VALUE) {
        char text[2048] = {};
        DWORD got = 0;
        ReadFile(stat, text, sizeof text - 1, &got, nullptr);
        CloseHandle(stat);
        // Fields 14 and 15 (user and system time in clock ticks) follow the command name's ')'.
        const char* p = std::strrchr(text, ')');
        if (p) {
            unsigned long long user = 0, system = 0;
            const char* format = "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu";
            if (std::sscanf(p + 2, format, &user, &system) == 2)
                return (user + system) / 100.0;
        }
    }
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

double WallSeconds()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

// ---- the player control ------------------------------------------------------------------------

bool g_ended = false;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == EventMessageId()) {
        const auto* call = reinterpret_cast<const EventCall*>(lParam);
        if (call->dispid == kDispidPlayStateChange && call->argc == 2 &&
            call->args[0].lVal == kPlayStatePlaying && call->args[1].lVal == kPlayStateStopped)
            g_ended = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int PlayWithControl(const std::wstring& path)
{
    OleInitialize(nullptr);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMediaPlayerControl(instance);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "QuonPlayCpuHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 340, 280, nullptr,
                                nullptr, instance, nullptr);
    HWND control = CreateWindowExA(0, QUON_PLAYER_CONTROL_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 320, 240,
                                   host, reinterpret_cast<HMENU>(IDC_MEDIA_PLAYER), instance, nullptr);
    const std::vector<std::uint8_t> stream = BuildInitialStateStream();
    SendMessageA(control, kLoadFromStreamCode, stream.size(), reinterpret_cast<LPARAM>(stream.data()));

    const double cpu0 = ProcessCpuSeconds(), wall0 = WallSeconds();
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(path.c_str());
    DispatchCall put;
    put.dispid = kDispidFileName;
    put.flags = DISPATCH_PROPERTYPUT;
    put.argc = 1;
    put.args = &name;
    SendMessageA(control, DispatchMessageId(), 0, reinterpret_cast<LPARAM>(&put));
    DispatchCall play;
    play.dispid = kDispidPlay;
    play.flags = DISPATCH_METHOD;
    SendMessageA(control, DispatchMessageId(), 0, reinterpret_cast<LPARAM>(&play));
    VariantClear(&name);

    MSG msg;
    while (!g_ended && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    const double cpu = ProcessCpuSeconds() - cpu0, wall = WallSeconds() - wall0;
    DestroyWindow(host);
    OleUninitialize();
    std::printf("cpu=%.3f wall=%.3f\n", cpu, wall);
    return g_ended ? 0 : 1;
}

// ---- a bare DirectShow player --------------------------------------------------------------------

int PlayBare(const std::wstring& path)
{
    CoInitialize(nullptr);
    const double cpu0 = ProcessCpuSeconds(), wall0 = WallSeconds();
    IGraphBuilder* graph = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph))))
        return 1;
    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
    int result = 1;
    if (SUCCEEDED(graph->RenderFile(path.c_str(), nullptr)) && SUCCEEDED(control->Run())) {
        long code = 0;
        events->WaitForCompletion(INFINITE, &code);
        result = 0;
    }
    control->Stop();
    const double cpu = ProcessCpuSeconds() - cpu0, wall = WallSeconds() - wall0;
    events->Release();
    control->Release();
    graph->Release();
    CoUninitialize();
    std::printf("cpu=%.3f wall=%.3f\n", cpu, wall);
    return result;
}

// ---- the comparison ----------------------------------------------------------------------------

// Runs this program again with a mode and the file; reads back its cpu= and wall= figures.
bool RunChild(const char* mode, const std::wstring& path, double& cpu, double& wall)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " +
                           std::wstring(mode, mode + std::strlen(mode)) + L" \"" + path + L"\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &si, &pi);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            output.append(buffer, got);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(readEnd);
    const size_t at = output.find("cpu=");
    return at != std::string::npos && std::sscanf(output.c_str() + at, "cpu=%lf wall=%lf", &cpu, &wall) == 2;
}

}  // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    // Wide arguments, so that any path reaches DirectShow as it is.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 3 && std::wcscmp(argv[1], L"--control") == 0)
        return PlayWithControl(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"--bare") == 0)
        return PlayBare(argv[2]);
    if (argc != 2) {
        std::printf("usage: bench_play_cpu FILE\n"
                    "(bench/play_cpu/run.sh makes a 10-second MP3 and runs it)\n");
        return 2;
    }
    double controlCpu = 0, controlWall = 0, bareCpu = 0, bareWall = 0;
    // The bare player first, so that both runs find the decoders' plug-in cache warm.
    if (!RunChild("--bare", argv[1], bareCpu, bareWall)) {
        std::printf("the bare DirectShow player could not play %ls\n", argv[1]);
        return 1;
    }
    if (!RunChild("--control", argv[1], controlCpu, controlWall)) {
        std::printf("the player control could not play %ls\n", argv[1]);
        return 1;
    }
    std::printf("%-22s %10s %10s\n", "player", "CPU s", "wall s");
    std::printf("%-22s %10.2f %10.2f\n", "bare DirectShow", bareCpu, bareWall);
    std::printf("%-22s %10.2f %10.2f\n", "player control", controlCpu, controlWall);
    if (bareCpu > 0)
        std::printf("ratio control / bare: %.2f\n", controlCpu / bareCpu);
    return 0;
}
