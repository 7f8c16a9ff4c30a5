// End-to-end driver support: the program's process and windows, user input and screenshots.
#include "E2eSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

#include <mmsystem.h>
#include <tlhelp32.h>

#include <dlgs.h>

#include "SoundAnalysis.h"
#include "resource.h"

namespace {

std::string EnvOr(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// Unix paths from the Linux side become Wine's Z: paths.
std::string ToWindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return path;
}

struct FindContext {
    DWORD pid;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param)
{
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == context->pid)
        context->found->push_back(wnd);
    return TRUE;
}

std::set<DWORD> QuonProcessIds()
{
    std::set<DWORD> ids;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "Quon.exe") == 0)
            ids.insert(entry.th32ProcessID);
    ::CloseHandle(snapshot);
    return ids;
}

std::string TitleOf(HWND wnd)
{
    char title[256] = "";
    ::GetWindowTextA(wnd, title, sizeof title);
    return title;
}

void SendMouse(DWORD flags, int x, int y)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (width > 0 ? width : 1);
    input.mi.dy = y * 65535 / (height > 0 ? height : 1);
    // Every event carries its position: a button event alone would use whatever position the
    // system last settled on, which may still be the one before a preceding move.
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
    ::Sleep(50);
}

POINT ToScreen(HWND wnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(wnd, &p);
    return p;
}

} // namespace

std::string QuonExePath()
{
    return ToWindowsPath(EnvOr("QUON_EXE", "Quon.exe"));
}

QuonProcess::~QuonProcess()
{
    if (m_info.hProcess) {
        if (!HasExited())
            ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, 5000);
        ::CloseHandle(m_info.hProcess);
    }
    if (m_info.hThread)
        ::CloseHandle(m_info.hThread);
}

bool QuonProcess::Start(const char* fakeDateTime)
{
    std::string exe = QuonExePath();
    std::string folder =
        exe.substr(0, exe.find_last_of('\\') == std::string::npos ? 0 : exe.find_last_of('\\'));
    if (fakeDateTime)
        return StartWithFakeTime(exe, folder, fakeDateTime);
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &m_info) != FALSE;
}

bool QuonProcess::StartWithArguments(const std::wstring& arguments, const std::wstring& folder)
{
    const std::string exe = QuonExePath();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, exe.c_str(), -1, nullptr, 0);
    std::wstring wideExe(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, exe.c_str(), -1, &wideExe[0], length);
    wideExe.resize(wideExe.size() - 1);
    std::wstring start = folder;
    if (start.empty() && wideExe.find_last_of(L'\\') != std::wstring::npos)
        start = wideExe.substr(0, wideExe.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + wideExe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessW(wideExe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            start.empty() ? nullptr : start.c_str(), &startup, &m_info) != FALSE;
}

// The environment a Windows parent passes does not reach the Linux side of a Wine child, so the
// program is started through env with libfaketime preloaded, then found among the processes.
bool QuonProcess::StartWithFakeTime(const std::string& exe, const std::string& folder, const char* dateTime)
{
    // Named with the dynamic loader's $LIB, so that each Linux process takes the library of its own
    // kind: the 64-bit Wine loader the x86_64 one, the 32-bit release's loader the i386 one.
    const char kLibrary[] = "/usr/$LIB/faketime/libfaketime.so.1";
    if (::GetFileAttributesA(ToWindowsPath("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1").c_str()) ==
        INVALID_FILE_ATTRIBUTES)
        return false;
    const std::set<DWORD> before = QuonProcessIds();
    // The monotonic clock stays real so that timers and waits keep in step with the driver's, and
    // file times stay real: Wine compares its setup file's time with the prefix's and would set
    // the prefix up anew (restarting its desktop) if that time seemed to change.
    // No shared memory between the faked processes: the 64-bit loader's semaphore does not fit the
    // 32-bit library, which would wait on it for ever.
    std::string commandLine = std::string("/usr/bin/env \"FAKETIME=@") + dateTime +
                              "\" FAKETIME_DISABLE_SHM=1 FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 "
                              "LD_PRELOAD=" +
                              kLibrary +
                              " " + EnvOr("WINE", "/usr/lib/wine/wine64") + " \"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    if (info.hProcess) // Wine gives no handles for a Linux program
        ::CloseHandle(info.hProcess);
    if (info.hThread)
        ::CloseHandle(info.hThread);
    DWORD pid = 0;
    WaitFor(
        [&] {
            for (DWORD id : QuonProcessIds())
                if (!before.count(id))
                    pid = id;
            return pid != 0;
        },
        20000);
    if (!pid)
        return false;
    m_info.dwProcessId = pid;
    m_info.hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    return m_info.hProcess != nullptr;
}

bool QuonProcess::Owns(HWND wnd) const
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    return wnd && pid == m_info.dwProcessId;
}

bool QuonProcess::HasExited(DWORD waitMs) const
{
    return !m_info.hProcess || ::WaitForSingleObject(m_info.hProcess, waitMs) == WAIT_OBJECT_0;
}

std::vector<HWND> QuonProcess::Windows() const
{
    std::vector<HWND> found;
    FindContext context{m_info.dwProcessId, &found};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&context));
    return found;
}

HWND QuonProcess::Player() const
{
    for (HWND wnd : Windows())
        if (::GetDlgItem(wnd, IDC_SKIN_QUON) && ::GetDlgItem(wnd, IDC_STATUS))
            return wnd;
    return nullptr;
}

HWND QuonProcess::Credits() const
{
    for (HWND wnd : Windows())
        if (TitleOf(wnd) == "Quon" && ::GetDlgItem(wnd, IDC_CREDITS_PICTURE))
            return wnd;
    return nullptr;
}

HWND QuonProcess::Video() const
{
    for (HWND wnd : Windows())
        if (TitleOf(wnd) == "Quon_Video" || ::GetDlgItem(wnd, IDC_MEDIA_PLAYER))
            return wnd;
    return nullptr;
}

long QuonProcess::SoundUnderruns() const
{
    HWND video = Video();
    HWND control = video ? ::FindWindowExA(video, nullptr, QUON_PLAYER_CONTROL_CLASS, nullptr) : nullptr;
    for (HWND child = video ? ::GetWindow(video, GW_CHILD) : nullptr; child && !control;
         child = ::GetWindow(child, GW_HWNDNEXT))
        control = ::FindWindowExA(child, nullptr, QUON_PLAYER_CONTROL_CLASS, nullptr);
    DWORD_PTR count = 0;
    if (!control || !::SendMessageTimeoutA(control, ::RegisterWindowMessageA(QUON_SOUND_UNDERRUNS_MESSAGE), 0, 0,
                                           SMTO_ABORTIFHUNG, 5000, &count))
        return -1;
    return static_cast<long>(count);
}

HWND QuonProcess::Ticker() const
{
    for (HWND wnd : Windows()) {
        char className[64] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        RECT r{};
        ::GetWindowRect(wnd, &r);
        if (std::string(className) == "#32770" && !::GetWindow(wnd, GW_CHILD) && TitleOf(wnd).empty() &&
            r.right - r.left == 236 && r.bottom - r.top == 20)
            return wnd;
    }
    return nullptr;
}

bool QuonProcess::WaitForPlayer(DWORD timeoutMs) const
{
    return WaitFor(
        [this] {
            HWND p = Player();
            return p && ::IsWindowVisible(p);
        },
        timeoutMs);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

bool WaitForSound(double level, DWORD timeoutMs)
{
    // The session's sound sink is also its default recording source: 20 ms pieces of one channel.
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = 44100 * 2;
    HWAVEIN device = nullptr;
    if (::waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        return false;
    std::vector<std::vector<std::int16_t>> pieces(4, std::vector<std::int16_t>(882));
    std::vector<WAVEHDR> headers(pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        headers[i].lpData = reinterpret_cast<LPSTR>(pieces[i].data());
        headers[i].dwBufferLength = static_cast<DWORD>(pieces[i].size() * 2);
        ::waveInPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
        ::waveInAddBuffer(device, &headers[i], sizeof(WAVEHDR));
    }
    ::waveInStart(device);
    const auto threshold = static_cast<int>(level * 32767);
    bool loud = false;
    const bool heard = WaitFor(
        [&] {
            for (size_t i = 0; i < headers.size() && !loud; ++i) {
                if (!(headers[i].dwFlags & WHDR_DONE))
                    continue;
                for (DWORD k = 0; k < headers[i].dwBytesRecorded / 2; ++k)
                    loud = loud || std::abs(pieces[i][k]) >= threshold;
                headers[i].dwFlags &= ~WHDR_DONE;
                ::waveInAddBuffer(device, &headers[i], sizeof(WAVEHDR));
            }
            return loud;
        },
        timeoutMs);
    ::waveInReset(device);
    for (WAVEHDR& header : headers)
        ::waveInUnprepareHeader(device, &header, sizeof(WAVEHDR));
    ::waveInClose(device);
    return heard;
}

std::string StatusText(HWND player)
{
    char text[512] = "";
    ::GetWindowTextA(::GetDlgItem(player, IDC_STATUS), text, sizeof text);
    return text;
}

// Brings the window's top-level window to the front first, as a user's eye and hand would.
void BringToFront(HWND wnd)
{
    HWND top = ::GetAncestor(wnd, GA_ROOT);
    if (::GetForegroundWindow() != top) {
        ::SetForegroundWindow(top);
        WaitFor([&] { return ::GetForegroundWindow() == top; }, 1000);
        ::Sleep(100);
    }
}

void ClickAt(HWND wnd, int x, int y, bool right)
{
    BringToFront(wnd);
    POINT p = ToScreen(wnd, x, y);
    SendMouse(MOUSEEVENTF_MOVE, p.x, p.y);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, p.x, p.y);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, p.x, p.y);
}

void MoveMouseTo(HWND wnd, int x, int y)
{
    POINT p = ToScreen(wnd, x, y);
    SendMouse(MOUSEEVENTF_MOVE, p.x, p.y);
}

void PressKey(HWND wnd, WORD key)
{
    ::SetForegroundWindow(wnd);
    ::Sleep(50);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void DragBy(HWND wnd, int x, int y, int dx, int dy)
{
    BringToFront(wnd);
    POINT p = ToScreen(wnd, x, y);
    SendMouse(MOUSEEVENTF_MOVE, p.x, p.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN, p.x, p.y);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i)
        SendMouse(MOUSEEVENTF_MOVE, p.x + dx * i / steps, p.y + dy * i / steps);
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTUP, p.x + dx, p.y + dy);
}

Screenshot::Screenshot()
{
    HDC screen = ::GetDC(nullptr);
    m_width = ::GetSystemMetrics(SM_CXSCREEN);
    m_height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, m_width, m_height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, m_width, m_height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_bits.resize(static_cast<size_t>(m_width) * m_height * 4);
    ::GetDIBits(memory, bitmap, 0, m_height, m_bits.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

COLORREF Screenshot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    const unsigned char* p = &m_bits[(static_cast<size_t>(y) * m_width + x) * 4];
    return RGB(p[2], p[1], p[0]);
}

int Screenshot::Difference(const Screenshot& a, const Screenshot& b, const RECT& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += a.At(x, y) != b.At(x, y);
    return count;
}

int Screenshot::DistinctColours(const RECT& area) const
{
    std::vector<COLORREF> seen;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = At(x, y);
            bool known = false;
            for (COLORREF s : seen)
                known = known || s == c;
            if (!known)
                seen.push_back(c);
            if (seen.size() > 64)
                return static_cast<int>(seen.size());
        }
    return static_cast<int>(seen.size());
}

std::string Screenshot::Save(const std::string& name) const
{
    std::string path = ArtifactsDir() + "\\" + name + ".bmp";
    return WriteBmp(path, m_width, m_height, [this](int x, int y) { return At(x, y); }) ? path
                                                                                        : std::string();
}

std::string ArtifactsDir()
{
    return ToWindowsPath(EnvOr("QUON_ARTIFACTS", "."));
}

std::string ArtifactsDirUnix()
{
    std::string dir = EnvOr("QUON_ARTIFACTS", "/tmp");
    return dir[0] == '/' ? dir : "/tmp";
}

std::string ArtifactPath(const std::string& name)
{
    return ArtifactsDir() + "\\" + name;
}

Recorder::Recorder(const std::string& name) : m_unixPath(ArtifactsDirUnix() + "/" + name) {}

Recorder::~Recorder()
{
    if (m_running)
        Stop();
}

std::string Recorder::WindowsPath() const
{
    return ToWindowsPath(m_unixPath);
}

// Wine starts Linux programs but hands back no process handle, so the shell leaves files behind
// that say how far it got.
bool Recorder::RunShell(const std::string& script) const
{
    std::string commandLine = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    if (info.hProcess)
        ::CloseHandle(info.hProcess);
    if (info.hThread)
        ::CloseHandle(info.hThread);
    return true;
}

bool Recorder::Start()
{
    const std::string file = "'" + m_unixPath + "'";
    ::DeleteFileA(ToWindowsPath(m_unixPath + ".pid").c_str());
    ::DeleteFileA(ToWindowsPath(m_unixPath + ".done").c_str());
    if (!RunShell("parec --latency-msec=20 -d $QUON_MONITOR --file-format=wav " + file + " & echo $! > " +
                  file + ".pid.tmp; mv " + file + ".pid.tmp " + file + ".pid"))
        return false;
    const std::string pid = ToWindowsPath(m_unixPath + ".pid");
    m_running = WaitFor([&] { return ::GetFileAttributesA(pid.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
    if (m_running)
        ::Sleep(400); // parec connects to the monitor
    return m_running;
}

bool Recorder::Stop()
{
    if (!m_running)
        return false;
    m_running = false;
    const std::string file = "'" + m_unixPath + "'";
    if (!RunShell("kill $(cat " + file + ".pid); while kill -0 $(cat " + file +
                  ".pid) 2>/dev/null; do sleep 0.05; done; "
                  "touch " +
                  file + ".done"))
        return false;
    const std::string done = ToWindowsPath(m_unixPath + ".done");
    return WaitFor([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
}

double Slowdown()
{
    const double factor = std::atof(EnvOr("QUON_SLOWDOWN", "1").c_str());
    return factor >= 1 ? factor : 1;
}

bool Recorder::WaitForTone(double hz, DWORD timeoutMs, int count) const
{
    const auto heard = [&] {
        Recording soFar;
        if (!LoadRecording(WindowsPath(), soFar))
            return false;
        int found = 0;
        for (const Tone& tone : FindTones(soFar)) {
            if (std::abs(tone.frequency - hz) < 15 && tone.length >= 0.15)
                ++found;
        }
        return found >= count;
    };
    return m_running && WaitFor(heard, timeoutMs);
}

HWND FindOpenDialog(const QuonProcess& quon)
{
    for (HWND wnd : quon.Windows()) {
        char className[64] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        if (std::string(className) == "#32770" && ::IsWindowVisible(wnd) &&
            (::GetDlgItem(wnd, cmb13) || ::GetDlgItem(wnd, edt1)))
            return wnd;
    }
    return nullptr;
}

namespace {

void TypeIntoFileName(HWND dialog, const std::string& text)
{
    HWND box = ::GetDlgItem(dialog, cmb13);
    HWND edit = box ? ::FindWindowExA(box, nullptr, "Edit", nullptr) : ::GetDlgItem(dialog, edt1);
    if (!edit)
        edit = box;
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                          &result);
}

void PressOpen(HWND dialog)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)), SMTO_ABORTIFHUNG, 5000,
                          &result);
}

} // namespace

bool ChooseInOpenDialog(const QuonProcess& quon, const std::string& folder, const std::string& names,
                        DWORD timeoutMs)
{
    if (!WaitFor([&] { return FindOpenDialog(quon) != nullptr; }, timeoutMs)) {
        Screenshot().Save("open_dialog_missing");
        return false;
    }
    HWND dialog = FindOpenDialog(quon);
    ::Sleep(300);
    TypeIntoFileName(dialog, folder);
    PressOpen(dialog);
    ::Sleep(500);
    TypeIntoFileName(dialog, names);
    PressOpen(dialog);
    bool closed = WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 5000);
    if (!closed)
        Screenshot().Save("open_dialog_stuck");
    return closed;
}

std::string RepoRoot()
{
    return ToWindowsPath(EnvOr("QUON_ROOT", "."));
}
