// Driver helpers for the tray, splash and ticker scenarios.
#include "TraySupport.h"

#include "resource.h"

namespace {

const char kSharedFolderTail[] = "\\Program Files\\Common Files\\Microsoft Shared";

std::string ClassOf(HWND wnd)
{
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    return name;
}

}  // namespace

HWND FindSplash(const QuonProcess& quon)
{
    for (HWND wnd : quon.Windows()) {
        RECT r{};
        ::GetWindowRect(wnd, &r);
        if (ClassOf(wnd) == "#32770" && ::IsWindowVisible(wnd) && !::GetWindow(wnd, GW_CHILD) &&
            r.left == 0 && r.top == 0 && r.right - r.left > 236)
            return wnd;
    }
    return nullptr;
}

HWND FindPopupMenu(const QuonProcess& quon)
{
    // Menu windows are not always listed by EnumWindows; look them up by class as well.
    HWND wnd = nullptr;
    while ((wnd = ::FindWindowExA(nullptr, wnd, "#32768", nullptr)) != nullptr)
        if (::IsWindowVisible(wnd) && quon.Owns(wnd))
            return wnd;
    return nullptr;
}

MessageFile::MessageFile(const std::string& bytes)
{
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string folder = std::string(windows, 2) + kSharedFolderTail;
    m_path = folder + "\\quon.ast";
    // Make the folders the prefix lacks, from the drive down.
    for (size_t at = folder.find('\\', 3); ; at = folder.find('\\', at + 1)) {
        const std::string part = folder.substr(0, at);
        if (::CreateDirectoryA(part.c_str(), nullptr))
            m_madeFolders.push_back(part);
        if (at == std::string::npos)
            break;
    }
    HANDLE file = ::CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    m_written = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size();
    ::CloseHandle(file);
}

MessageFile::~MessageFile()
{
    ::DeleteFileA(m_path.c_str());
    for (auto it = m_madeFolders.rbegin(); it != m_madeFolders.rend(); ++it)
        ::RemoveDirectoryA(it->c_str());
}

Frame Capture(const Screenshot& shot, const RECT& area)
{
    Frame frame;
    frame.area = area;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            frame.pixels.push_back(shot.At(x, y));
    return frame;
}

std::string SaveFrame(const Frame& frame, const std::string& name)
{
    const int width = frame.area.right - frame.area.left;
    const int height = frame.area.bottom - frame.area.top;
    if (width <= 0 || height <= 0 || frame.pixels.size() != static_cast<size_t>(width) * height)
        return std::string();
    const std::string path = ArtifactPath(name + ".bmp");
    auto pixel = [&](int x, int y) { return frame.pixels[static_cast<size_t>(y) * width + x]; };
    return WriteBmp(path, width, height, pixel) ? path : std::string();
}
