// Paths from outside made into play-list entries: full paths, folder contents, list files' entries,
// short names.
#include "playback/OpenPaths.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string_view>
#include <unordered_map>

#include "framework/Handle.h"
#include "playback/logic/ArgumentPaths.h"
#include "playback/logic/ListFile.h"

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
    // ASCII reads the same in every ANSI code page: the long lists of a play list skip the round trip.
    if (std::all_of(path.begin(), path.end(), [](wchar_t c) { return c < 0x80; })) {
        ansi.assign(path.begin(), path.end());
        return true;
    }
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
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::wstring(text.begin(), text.end());
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

void ToUpperCase(std::wstring& text)
{
    if (!text.empty())
        ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
}

// The names in one folder, long and short, in upper case: kept in one block and found by halving.
class CFolderNames {
public:
    // False for a folder that cannot be listed although it may be there (access denied).
    bool List(const std::wstring& path)
    {
        WIN32_FIND_DATAW found{};
        const CFindHandle search(::FindFirstFileW((path + L"\\*").c_str(), &found));
        if (!search.Valid()) {
            const DWORD error = ::GetLastError();
            // No such folder, or an empty drive root (which has no "." entry).
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        }
        do {
            const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            Add(found.cFileName, folder);
            if (found.cAlternateFileName[0])
                Add(found.cAlternateFileName, folder);
        } while (::FindNextFileW(search, &found));
        ToUpperCase(m_text);
        std::sort(m_names.begin(), m_names.end(),
                  [this](const Name& a, const Name& b) { return Of(a) < Of(b); });
        return true;
    }

    // name: in upper case.
    PathSource::Kind Find(std::wstring_view name) const
    {
        const auto found = std::lower_bound(m_names.begin(), m_names.end(), name,
                                            [this](const Name& a, std::wstring_view b) { return Of(a) < b; });
        if (found == m_names.end() || Of(*found) != name)
            return PathSource::Kind::Missing;
        return found->folder ? PathSource::Kind::Folder : PathSource::Kind::File;
    }

private:
    struct Name {
        std::size_t start;
        std::size_t length;
        bool folder;
    };

    void Add(const wchar_t* name, bool folder)
    {
        const std::size_t length = std::wcslen(name);
        m_names.push_back(Name{m_text.size(), length, folder});
        m_text.append(name, length);
    }
    std::wstring_view Of(const Name& name) const
    {
        return std::wstring_view(m_text).substr(name.start, name.length);
    }

    std::wstring m_text;
    std::vector<Name> m_names;
};

// The file system for one expansion. The folders that list entries sit in are listed once each and
// their names kept for the rest of the expansion: Wine asks a folder for one name about as slowly as
// for all of its names (it reads the whole folder either way), and a list names many files in few
// folders.
class CWindowsPaths : public PathSource {
public:
    std::wstring FullPath(const std::wstring& path) override { return FullPathOf(path); }
    Kind KindOf(const std::wstring& fullPath) override { return KindByAttributes(fullPath); }

    Kind KindOfListed(const std::wstring& fullPath) override
    {
        const std::size_t slash = fullPath.rfind(L'\\');
        if (slash == std::wstring::npos || slash + 1 == fullPath.size())
            return KindByAttributes(fullPath); // a drive's or share's root
        // A list's entries come folder by folder: the last folder is found without a look-up.
        if (!m_last || m_lastPath.compare(0, std::wstring::npos, fullPath, 0, slash) != 0) {
            m_lastPath.assign(fullPath, 0, slash);
            std::wstring key = m_lastPath;
            ToUpperCase(key);
            const auto added = m_folders.emplace(std::move(key), Folder());
            if (added.second)
                added.first->second.listed = added.first->second.names.List(m_lastPath);
            m_last = &added.first->second;
        }
        if (!m_last->listed)
            return KindByAttributes(fullPath);
        m_name.assign(fullPath, slash + 1, std::wstring::npos);
        ToUpperCase(m_name);
        return m_last->names.Find(m_name);
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
    struct Folder {
        bool listed = false; // else its names are asked for one by one
        CFolderNames names;
    };

    std::unordered_map<std::wstring, Folder> m_folders; // by upper-case full path
    std::wstring m_lastPath;                            // as the last entry spelt it
    Folder* m_last = nullptr;                           // its names (elements of a map stay put)
    std::wstring m_name;                                // the name looked for, in upper case
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
