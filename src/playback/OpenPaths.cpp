// Paths from outside made into play-list entries: full paths, folder contents, list files' entries,
// short names.
#include "playback/OpenPaths.h"

#include <windows.h>

#include <unordered_map>

#include "framework/Handle.h"
#include "playback/logic/ArgumentPaths.h"
#include "playback/logic/ListFile.h"

namespace {

// Names a folder is asked for one by one before it is listed instead: a few names cost less one
// by one, but Wine looks for a name that is not there by reading the whole folder, each time.
const int kDirectLookups = 8;

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
std::vector<std::wstring> ListMediaFiles(std::wstring folder)
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

// Empty for bytes that are no text in the ANSI code page.
std::wstring WideFromAnsi(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    const int chars = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (chars <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, &wide[0], chars);
    return wide;
}

PathSource::Kind KindByAttributes(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathSource::Kind::Missing;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathSource::Kind::Folder : PathSource::Kind::File;
}

std::wstring UpperCase(std::wstring text)
{
    if (!text.empty())
        ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The file system for one expansion. The folders that list entries sit in are listed once each,
// and their names kept for the rest of the expansion.
class CWindowsPaths : public PathSource {
public:
    std::wstring FullPath(const std::wstring& path) override { return FullPathOf(path); }
    Kind KindOf(const std::wstring& fullPath) override { return KindByAttributes(fullPath); }

    Kind KindOfListed(const std::wstring& fullPath) override
    {
        const std::size_t slash = fullPath.rfind(L'\\');
        if (slash == std::wstring::npos || slash + 1 == fullPath.size())
            return KindByAttributes(fullPath); // a drive's or share's root
        FolderNames& folder = m_folders[UpperCase(fullPath.substr(0, slash))];
        if (folder.state == FolderState::Asking && folder.lookups >= kDirectLookups)
            folder.state = List(fullPath.substr(0, slash), folder.names);
        if (folder.state != FolderState::Listed) {
            ++folder.lookups;
            return KindByAttributes(fullPath);
        }
        const auto found = folder.names.find(UpperCase(fullPath.substr(slash + 1)));
        if (found == folder.names.end())
            return Kind::Missing;
        return found->second ? Kind::Folder : Kind::File;
    }

    std::vector<std::wstring> MediaFilesIn(const std::wstring& folder) override
    {
        return ListMediaFiles(folder);
    }

    bool ReadSmallFile(const std::wstring& path, std::size_t maxBytes, std::string& bytes) override
    {
        CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        if (!file.Valid() || !::GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
            static_cast<unsigned long long>(size.QuadPart) > maxBytes)
            return false;
        bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
        std::size_t total = 0;
        while (total < bytes.size()) {
            DWORD read = 0;
            if (!::ReadFile(file, &bytes[total], static_cast<DWORD>(bytes.size() - total), &read, nullptr))
                return false;
            if (read == 0)
                break; // cut short since its size was read
            total += read;
        }
        bytes.resize(total);
        return true;
    }

    std::wstring FromAnsi(const std::string& text) override { return WideFromAnsi(text); }

private:
    // A folder that cannot be listed although it may be there (access denied) has its names
    // asked for one by one.
    enum class FolderState { Asking, Listed, Unlistable };
    using Names = std::unordered_map<std::wstring, bool>; // upper-case long and short name -> a folder

    struct FolderNames {
        FolderState state = FolderState::Asking;
        int lookups = 0;
        Names names;
    };

    static FolderState List(const std::wstring& path, Names& names)
    {
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            // No such folder, or an empty drive root (which has no "." entry).
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return FolderState::Listed;
            return FolderState::Unlistable;
        }
        do {
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            names.emplace(UpperCase(found.cFileName), isFolder);
            if (found.cAlternateFileName[0])
                names.emplace(UpperCase(found.cAlternateFileName), isFolder);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return FolderState::Listed;
    }

    std::unordered_map<std::wstring, FolderNames> m_folders; // by upper-case full path
};

} // namespace

std::vector<std::wstring> ExpandIncomingPaths(const std::vector<std::wstring>& given, ListFiles lists)
{
    CWindowsPaths paths;
    return ExpandPaths(given, paths, lists);
}

std::vector<std::string> OpenListFiles(const std::vector<std::string>& entries)
{
    std::vector<std::string> opened;
    for (const std::string& entry : entries) {
        const std::wstring wide = WideFromAnsi(entry);
        if (ListFormatOf(wide) == ListFormat::None) {
            opened.push_back(entry);
            continue;
        }
        for (std::string& listed : ListPathsFor(ExpandIncomingPaths({wide}, ListFiles::Open)))
            opened.push_back(std::move(listed));
    }
    return opened;
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
