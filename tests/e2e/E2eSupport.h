// End-to-end driver support: starting the real Quon.exe, finding its windows, acting as a user, screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// How long a recording goes on after the player says a list has ended: the end is told up to
// 450 ms before its last sample is heard, while the last tail still sounds.
constexpr DWORD kLastTailMs = 700;

// The running program, started from QUON_EXE (a Windows path) in its own folder.
class QuonProcess {
public:
    QuonProcess() = default;
    ~QuonProcess();  // ends the program if it still runs
    QuonProcess(const QuonProcess&) = delete;
    QuonProcess& operator=(const QuonProcess&) = delete;

    // Starts QUON_EXE. With fakeDateTime (such as "2026-12-25 10:00:00") the program's clock
    // reads that date: libfaketime is set on the Linux side of the new Wine process.
    bool Start(const char* fakeDateTime = nullptr);
    // Starts QUON_EXE with arguments after its name, written as the shell writes them (wide, so
    // names outside the ANSI code page pass whole), in folder (the program's own when empty).
    bool StartWithArguments(const std::wstring& arguments, const std::wstring& folder = std::wstring());
    bool HasExited(DWORD waitMs = 0) const;
    DWORD Id() const { return m_info.dwProcessId; }

    // The program's top-level windows.
    std::vector<HWND> Windows() const;
    // The skinned player window (it holds the status box 1006 and the product bitmap 1012).
    HWND Player() const;
    // The credits window (captioned "Quon", holding the banner 1008 and the picture 1018).
    HWND Credits() const;
    // The Windows Media window (captioned "Quon_Video").
    HWND Video() const;
    // The ticker strip (a dialog window without title or controls, 236 x 20 once placed).
    HWND Ticker() const;
    // How often the player control's sound output ran dry while an item played (its own count);
    // -1 when the control cannot be asked.
    long SoundUnderruns() const;
    // Whether a window belongs to the program's process.
    bool Owns(HWND wnd) const;

    // Waits for the player window to be visible; false after timeoutMs.
    bool WaitForPlayer(DWORD timeoutMs = 20000) const;

private:
    bool StartWithFakeTime(const std::string& exe, const std::string& folder, const char* dateTime);
    PROCESS_INFORMATION m_info{};
};

// The program the driver starts: QUON_EXE as a Windows path.
std::string QuonExePath();

// Polls condition every 20 ms until it holds or timeoutMs has passed.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);
// How many times slower than here natively the program under test starts and works: QUON_SLOWDOWN
// (scripts/test sets it for the emulated 32-bit release), else 1. Bounds that say "at once" scale.
double Slowdown();
// Listens to what the session plays until a sample reaches level (0..1); false after timeoutMs.
bool WaitForSound(double level, DWORD timeoutMs);

// The text the program mirrors into the status box's window text.
std::string StatusText(HWND player);

// A real click (or right click) at a client point of a window, through the system's input queue.
void ClickAt(HWND wnd, int x, int y, bool right = false);
// Moves the mouse pointer to a client point of a window through the system's input queue, as a
// user's hand does (no click, the window is not brought to the front).
void MoveMouseTo(HWND wnd, int x, int y);
// Presses and releases one key while wnd is in the foreground.
void PressKey(HWND wnd, WORD key);
// Presses the button at client point (x, y), moves to (x + dx, y + dy) and releases.
void DragBy(HWND wnd, int x, int y, int dx, int dy);

// A copy of the screen, read pixel by pixel.
class Screenshot {
public:
    Screenshot();
    COLORREF At(int x, int y) const;  // screen coordinates
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Writes a 24-bit BMP (for a person to look at) into the artifacts folder; returns its path.
    std::string Save(const std::string& name) const;
    // How many pixels of a rectangle differ between two shots, and how many distinct colours one has.
    static int Difference(const Screenshot& a, const Screenshot& b, const RECT& area);
    int DistinctColours(const RECT& area) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<unsigned char> m_bits;  // 32-bit BGRA rows, top-down
};

// Records what the program plays from the sound sink's monitor, with parec on the Linux side.
class Recorder {
public:
    explicit Recorder(const std::string& name);  // a WAV file of that name in the artifacts folder
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool Start();
    bool Stop();
    std::string WindowsPath() const;
    // While it records: waits until the count-th tone near hz has sounded for at least 0.15 s, so
    // that a test acts once the sound is heard, however long the program takes to open the medium.
    bool WaitForTone(double hz, DWORD timeoutMs, int count = 1) const;

private:
    bool RunShell(const std::string& script) const;
    std::string m_unixPath;
    bool m_running = false;
};

// The open dialog the program shows: goes to folder, types the names (quoted, several allowed)
// and presses Open. False when no dialog appeared within timeoutMs.
bool ChooseInOpenDialog(const QuonProcess& quon, const std::string& folder, const std::string& names,
                        DWORD timeoutMs = 10000);
HWND FindOpenDialog(const QuonProcess& quon);

// Writes width x height pixels (pixel(x, y) gives each) as a 24-bit BMP; false on failure.
template <class PixelAt>
bool WriteBmp(const std::string& path, int width, int height, PixelAt pixel);

// The folder for screenshots and recordings: QUON_ARTIFACTS, else the current folder.
std::string ArtifactsDir();
std::string ArtifactsDirUnix();
// A file in the artifacts folder (Windows path).
std::string ArtifactPath(const std::string& name);
// The repository's root as a Windows path (QUON_ROOT), for test media.
std::string RepoRoot();

template <class PixelAt>
bool WriteBmp(const std::string& path, int width, int height, PixelAt pixel)
{
    if (width <= 0 || height <= 0)
        return false;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + rowBytes * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    DWORD written = 0;
    bool ok = ::WriteFile(file, &header, sizeof header, &written, nullptr) &&
              ::WriteFile(file, &info, sizeof info, &written, nullptr);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
        ok = ::WriteFile(file, row.data(), static_cast<DWORD>(row.size()), &written, nullptr) != FALSE;
    }
    ::CloseHandle(file);
    return ok;
}
