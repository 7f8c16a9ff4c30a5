// Test support under Wine: drive letters through Wine's mount manager, Unix paths, test folders.
#include "WineDrives.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

// Wine's mount manager defines drive letters with a type, as its configuration tool does.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(static_cast<DWORD>('m'), 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct MountmgrUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

}  // namespace

bool DefineWineDrive(char letter, const std::string& unixPath, UINT type)
{
    std::vector<char> buffer(sizeof(MountmgrUnixDrive) + unixPath.size() + 1, '\0');
    auto* drive = reinterpret_cast<MountmgrUnixDrive*>(buffer.data());
    drive->size = static_cast<ULONG>(buffer.size());
    drive->type = type;
    drive->letter = static_cast<WCHAR>(letter);
    if (!unixPath.empty()) {
        drive->mountPointOffset = sizeof(MountmgrUnixDrive);
        std::memcpy(buffer.data() + sizeof(MountmgrUnixDrive), unixPath.c_str(), unixPath.size() + 1);
    }
    HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    const BOOL ok = ::DeviceIoControl(manager, kDefineUnixDrive, buffer.data(),
                                      static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    ::CloseHandle(manager);
    return ok != FALSE;
}

// The Unix path Wine keeps a Windows path at; empty outside Wine.
std::string UnixPathOf(const std::string& windowsPath)
{
    using Fn = char*(CDECL*)(const WCHAR*);
    FARPROC found = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
    if (!fn)
        return std::string();
    wchar_t wide[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unix = fn(wide);
    if (!unix)
        return std::string();
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}


void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(folder.c_str());
}
