// Paths from outside made into play-list entries: full paths, folder contents, short names.
#include "playback/OpenPaths.h"

#include <windows.h>

#include "playback/logic/ArgumentPaths.h"

namespace {

std::wstring FullPathOf(const std::wstring& path)
{
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::wstring();
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return std::wstring();
    full.resize(length);
    return full;
}

// The media files directly inside a folder, sorted by name.
std::vector<std::wstring> MediaFilesIn(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPlayableName(found.cFileName))
                names.push_back(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    SortByName(names);
    for (std::wstring& name : names)
        name.insert(0, folder);
    return names;
}

// The path in the ANSI code page, if every character has its own code there and it reads back
// the same (no best-fit letters, no default character).
bool ToAnsiExactly(const std::wstring& path, std::string& ansi)
{
    if (path.empty())
        return false;
    const int length = static_cast<int>(path.size());
    BOOL usedDefault = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), length, nullptr, 0,
                                            nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault)
        return false;
    std::string converted(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), length, &converted[0], bytes, nullptr,
                          &usedDefault);
    if (usedDefault)
        return false;
    const int back =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, converted.c_str(), bytes, nullptr, 0);
    std::wstring readBack(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back <= 0 ||
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, converted.c_str(), bytes, &readBack[0], back) !=
            back ||
        readBack != path)
        return false;
    ansi = converted;
    return true;
}

std::wstring ShortPathOf(const std::wstring& path)
{
    const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return std::wstring();
    std::wstring shortPath(needed, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), &shortPath[0], needed);
    if (length == 0 || length >= needed)
        return std::wstring();
    shortPath.resize(length);
    return shortPath;
}

} // namespace

std::vector<std::wstring> ExpandIncomingPaths(const std::vector<std::wstring>& given)
{
    std::vector<std::wstring> files;
    for (const std::wstring& path : given) {
        if (path.empty())
            continue;
        const std::wstring full = FullPathOf(path);
        if (full.empty())
            continue;
        const DWORD attributes = ::GetFileAttributesW(full.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (std::wstring& file : MediaFilesIn(full))
                files.push_back(std::move(file));
        } else {
            files.push_back(full);
        }
    }
    return files;
}

std::string ListPathFor(const std::wstring& fullPath)
{
    std::string ansi;
    if (ToAnsiExactly(fullPath, ansi))
        return ansi;
    // The short form is plain ASCII where the volume keeps short names.
    if (ToAnsiExactly(ShortPathOf(fullPath), ansi))
        return ansi;
    return std::string();
}

std::vector<std::string> ListPathsFor(const std::vector<std::wstring>& fullPaths)
{
    std::vector<std::string> entries;
    for (const std::wstring& path : fullPaths) {
        std::string entry = ListPathFor(path);
        if (!entry.empty())
            entries.push_back(std::move(entry));
    }
    return entries;
}
