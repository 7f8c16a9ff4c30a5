// Checks a Wine session from the inside: code page, screen size, tray icon, focus, and recorded sound.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const int kRate = 44100;
int g_failures = 0;

void Report(bool ok, const char* what, const char* detail)
{
    std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", what, detail[0] ? ": " : "", detail);
    if (!ok)
        ++g_failures;
}

void Pump(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

void CheckCodePage()
{
    char detail[64];
    std::snprintf(detail, sizeof detail, "ACP %u, OEMCP %u", GetACP(), GetOEMCP());
    Report(GetACP() == 936 && GetOEMCP() == 936, "code page 936", detail);
}

void CheckScreen()
{
    int w = 1280, h = 1024;
    if (const char* screen = std::getenv("QUON_SCREEN"))
        std::sscanf(screen, "%dx%d", &w, &h);
    RECT desk;
    GetClientRect(GetDesktopWindow(), &desk);
    char detail[128];
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    std::snprintf(detail, sizeof detail, "metrics %dx%d, desktop client %ldx%ld, wanted %dx%d", cx, cy,
                  desk.right, desk.bottom, w, h);
    Report(cx == w && cy == h && desk.right == w && desk.bottom == h, "screen size", detail);
}

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(wnd, msg, wp, lp);
}

void CheckTrayAndFocus()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SessionCheckWnd";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, wc.lpszClassName, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, wc.hInstance, nullptr);

    NOTIFYICONDATAA nid = {};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 133;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_USER + 100;
    nid.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    std::strcpy(nid.szTip, "session check");
    BOOL added = Shell_NotifyIconA(NIM_ADD, &nid);
    const bool taskbar = FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
    Report(added != FALSE, "Shell_NotifyIcon(NIM_ADD)", taskbar ? "" : "no taskbar");
    if (added)
        Shell_NotifyIconA(NIM_DELETE, &nid);

    HWND popup = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "popup", WS_POPUP | WS_BORDER, 200, 200,
                                 200, 120, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(popup, SW_SHOW);
    SetForegroundWindow(popup);
    Pump(300);
    char detail[96];
    std::snprintf(detail, sizeof detail, "foreground %d, active %d, focus %d",
                  GetForegroundWindow() == popup, GetActiveWindow() == popup, GetFocus() == popup);
    Report(GetForegroundWindow() == popup && GetActiveWindow() == popup && GetFocus() == popup,
           "topmost popup takes the focus", detail);
    DestroyWindow(popup);
    DestroyWindow(owner);
}

std::vector<short> Sine(double freq, double seconds)
{
    std::vector<short> pcm(static_cast<size_t>(kRate * seconds) * 2);
    for (size_t i = 0; i < pcm.size() / 2; ++i)
        pcm[2 * i] = pcm[2 * i + 1] = static_cast<short>(12000 * std::sin(2 * M_PI * freq * i / kRate));
    return pcm;
}

WAVEFORMATEX Format()
{
    WAVEFORMATEX wf = {};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = 2;
    wf.nSamplesPerSec = kRate;
    wf.wBitsPerSample = 16;
    wf.nBlockAlign = 4;
    wf.nAvgBytesPerSec = kRate * 4;
    return wf;
}

void PlayWaveOut(const std::vector<short>& pcm)
{
    WAVEFORMATEX wf = Format();
    HWAVEOUT out;
    if (waveOutOpen(&out, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        return;
    WAVEHDR hdr = {};
    hdr.lpData = reinterpret_cast<LPSTR>(const_cast<short*>(pcm.data()));
    hdr.dwBufferLength = static_cast<DWORD>(pcm.size() * sizeof(short));
    waveOutPrepareHeader(out, &hdr, sizeof hdr);
    waveOutWrite(out, &hdr, sizeof hdr);
    while (!(hdr.dwFlags & WHDR_DONE))
        Sleep(10);
    waveOutUnprepareHeader(out, &hdr, sizeof hdr);
    waveOutClose(out);
}

void PlayMemoryWave(const std::vector<short>& pcm)
{
    WAVEFORMATEX wf = Format();
    DWORD dataLen = static_cast<DWORD>(pcm.size() * sizeof(short)), riffLen = 36 + dataLen, fmtLen = 16;
    std::vector<char> wav(44 + dataLen);
    std::memcpy(&wav[0], "RIFF", 4);
    std::memcpy(&wav[4], &riffLen, 4);
    std::memcpy(&wav[8], "WAVEfmt ", 8);
    std::memcpy(&wav[16], &fmtLen, 4);
    std::memcpy(&wav[20], &wf, 16);
    std::memcpy(&wav[36], "data", 4);
    std::memcpy(&wav[40], &dataLen, 4);
    std::memcpy(&wav[44], pcm.data(), dataLen);
    PlaySoundA(wav.data(), nullptr, SND_MEMORY | SND_SYNC);
}

struct Tone {
    double start, length, freq;
};

// Splits a recording (left channel) into stretches louder than a threshold, 10 ms at a time, and
// measures each stretch's pitch by its zero crossings.
std::vector<Tone> FindTones(const short* pcm, size_t frames)
{
    const size_t win = kRate / 100;
    std::vector<Tone> tones;
    size_t runStart = 0;
    bool inTone = false;
    for (size_t i = 0; i + win <= frames; i += win) {
        double sum = 0;
        for (size_t k = i; k < i + win; ++k)
            sum += double(pcm[2 * k]) * pcm[2 * k];
        bool loud = std::sqrt(sum / win) > 1000;
        if (loud && !inTone) {
            inTone = true;
            runStart = i;
        } else if (!loud && inTone) {
            inTone = false;
            size_t crossings = 0, first = 0, last = 0;
            for (size_t k = runStart + 1; k < i; ++k) {
                if ((pcm[2 * k] < 0) != (pcm[2 * (k - 1)] < 0)) {
                    if (crossings++ == 0)
                        first = k;
                    last = k;
                }
            }
            double freq = crossings > 1 ? (crossings - 1) / 2.0 * kRate / double(last - first) : 0;
            tones.push_back({double(runStart) / kRate, double(i - runStart) / kRate, freq});
        }
    }
    return tones;
}

void CheckSound()
{
    WAVEFORMATEX wf = Format();
    HWAVEIN in;
    if (waveInOpen(&in, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        Report(false, "recording the monitor with waveIn", "waveInOpen failed");
        return;
    }
    std::vector<short> rec(static_cast<size_t>(kRate * 3.0) * 2);
    WAVEHDR hdr = {};
    hdr.lpData = reinterpret_cast<LPSTR>(rec.data());
    hdr.dwBufferLength = static_cast<DWORD>(rec.size() * sizeof(short));
    waveInPrepareHeader(in, &hdr, sizeof hdr);
    waveInAddBuffer(in, &hdr, sizeof hdr);
    waveInStart(in);
    Sleep(300);
    PlayWaveOut(Sine(1000, 1.0));
    Sleep(200);
    PlayMemoryWave(Sine(440, 0.5));
    while (!(hdr.dwFlags & WHDR_DONE))
        Sleep(10);
    waveInStop(in);
    waveInUnprepareHeader(in, &hdr, sizeof hdr);
    waveInClose(in);

    std::vector<Tone> tones = FindTones(rec.data(), hdr.dwBytesRecorded / 4);
    char detail[256] = "";
    int used = 0;
    for (const Tone& t : tones)
        used += std::snprintf(detail + used, sizeof detail - used, "%.0f Hz for %.2f s at %.2f s; ", t.freq,
                              t.length, t.start);
    auto within = [](double value, double wanted, double slack) {
        return std::fabs(value - wanted) < slack;
    };
    bool ok = tones.size() == 2 && within(tones[0].freq, 1000, 5) && within(tones[0].length, 1.0, 0.05) &&
              within(tones[1].freq, 440, 3) && within(tones[1].length, 0.5, 0.05);
    Report(ok, "waveOut 1 kHz and PlaySound 440 Hz come back through waveIn", detail);
}

void ShowUnixChild()
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    char cmd[] = "/bin/true";
    BOOL ok = CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    // A Linux program starts, but Wine gives no handle to wait on or to read an exit code from.
    std::printf("INFO CreateProcess(\"/bin/true\") = %d, hProcess %p\n", ok, pi.hProcess);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    if (pi.hThread)
        CloseHandle(pi.hThread);
}

}  // namespace

int main()
{
    CheckCodePage();
    CheckScreen();
    CheckTrayAndFocus();
    CheckSound();
    ShowUnixChild();
    return g_failures;
}
