// Play-list files: their formats, the entries their text holds, and the paths those entries name.
#include "playback/logic/ListFile.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

namespace {

wchar_t FoldAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    const std::size_t length = std::wcslen(prefix);
    if (text.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (FoldAscii(text[i]) != FoldAscii(prefix[i]))
            return false;
    }
    return true;
}

// ---- the text -----------------------------------------------------------------------------------
// Every byte the readers look for (CR, LF, space, tab, '#', '=') lies below 0x40, where no trail
// byte of a double-byte ANSI code page (GBK among them) ever falls: bytewise reading is safe.

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return std::string(begin, end);
}

// Calls take(line) for each line, trimmed, that is not blank.
template <class Take> void ForEachLine(const char* p, const char* end, Take take)
{
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        std::string line = Trimmed(p, lineEnd);
        if (!line.empty())
            take(std::move(line));
        p = lineEnd < end ? lineEnd + 1 : end;
    }
}

struct PlsEntry {
    std::string number; // N of FileN, without leading zeros
    std::string value;
};

// The N of a "FileN" key, leading zeros dropped, or false for any other key.
bool FileKeyNumber(const std::string& key, std::string& number)
{
    static const char kFile[] = "file";
    if (key.size() <= 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = key[i] >= 'A' && key[i] <= 'Z' ? static_cast<char>(key[i] - 'A' + 'a') : key[i];
        if (c != kFile[i])
            return false;
    }
    if (!std::all_of(key.begin() + 4, key.end(), IsAsciiDigit))
        return false;
    std::size_t first = 4;
    while (first + 1 < key.size() && key[first] == '0')
        ++first;
    number = key.substr(first);
    return true;
}

// By N's value, however many digits it has.
bool LessNumber(const PlsEntry& a, const PlsEntry& b)
{
    if (a.number.size() != b.number.size())
        return a.number.size() < b.number.size();
    return a.number < b.number;
}

std::vector<std::string> PlsEntries(const char* p, const char* end)
{
    std::vector<PlsEntry> found;
    ForEachLine(p, end, [&](std::string line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            return;
        PlsEntry entry;
        if (!FileKeyNumber(Trimmed(line.data(), line.data() + equals), entry.number))
            return;
        entry.value = Trimmed(line.data() + equals + 1, line.data() + line.size());
        if (!entry.value.empty())
            found.push_back(std::move(entry));
    });
    // NumberOfEntries is not trusted: lists written by hand or cut short often give it wrong, and
    // the FileN keys themselves say what there is. A number given twice counts once, as first given.
    std::stable_sort(found.begin(), found.end(), LessNumber);
    std::vector<std::string> entries;
    entries.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i > 0 && found[i].number == found[i - 1].number)
            continue;
        entries.push_back(std::move(found[i].value));
    }
    return entries;
}

std::vector<std::string> M3uEntries(const char* p, const char* end)
{
    std::vector<std::string> entries;
    // "#EXTM3U", "#EXTINF:..." and plain comments alike.
    ForEachLine(p, end, [&](std::string line) {
        if (line[0] != '#')
            entries.push_back(std::move(line));
    });
    return entries;
}

// ---- UTF-8 ----------------------------------------------------------------------------------------

void AppendCodePoint(std::wstring& wide, unsigned long code)
{
    if (code < 0x10000) {
        wide.push_back(static_cast<wchar_t>(code));
        return;
    }
    code -= 0x10000;
    wide.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
    wide.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The text with its %XX escapes decoded; runs of escaped bytes are UTF-8, as file URIs are written
// today. False when they are not.
bool PercentDecoded(const std::wstring& text, std::wstring& decoded)
{
    decoded.clear();
    std::string bytes;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i + 2 < text.size() && text[i] == L'%' && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
            continue;
        }
        if (!bytes.empty()) {
            std::wstring run;
            if (!Utf8ToUtf16(bytes, run))
                return false;
            decoded += run;
            bytes.clear();
        }
        if (i < text.size())
            decoded.push_back(text[i]);
    }
    return true;
}

// ---- paths ------------------------------------------------------------------------------------

using View = std::wstring_view;

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDriveAt(View path, std::size_t at)
{
    return path.size() > at + 1 && IsAsciiLetter(path[at]) && path[at + 1] == L':';
}

bool IsForbidden(wchar_t c)
{
    return c < 0x20 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|' ||
           c == L':';
}

// The length of the URL scheme that starts the entry ("http" of "http://host/a.mp3"), or 0. A single
// letter before the colon is a drive.
std::size_t SchemeLength(View entry)
{
    if (entry.empty() || !IsAsciiLetter(entry[0]))
        return 0;
    std::size_t i = 1;
    while (i < entry.size() && (IsAsciiLetter(entry[i]) || (entry[i] >= L'0' && entry[i] <= L'9') ||
                                entry[i] == L'+' || entry[i] == L'-' || entry[i] == L'.'))
        ++i;
    return i >= 2 && i < entry.size() && entry[i] == L':' ? i : 0;
}

// A file URI as a Windows path: file:///C:/a%20b.mp3 is C:/a b.mp3, file://server/share/c.mp3 is
// \\server/share/c.mp3, file:///music/d.mp3 is the rooted /music/d.mp3. Empty when it spells none.
std::wstring PathOfFileUri(const std::wstring& uri)
{
    std::wstring path;
    if (!PercentDecoded(uri.substr(5), path))
        return std::wstring();
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const std::size_t hostEnd = path.find_first_of(L"/\\", 2);
        const bool hostOnly = hostEnd == std::wstring::npos;
        const std::wstring host = path.substr(2, hostOnly ? std::wstring::npos : hostEnd - 2);
        const std::wstring rest = hostOnly ? std::wstring() : path.substr(hostEnd);
        if (!host.empty() && !(host.size() == 9 && StartsWithNoCase(host, L"localhost")))
            return L"\\\\" + host + rest;
        path = rest;
    }
    // "/C:/..." and the old "/C|/...".
    if (path.size() >= 3 && IsSeparator(path[0]) && IsAsciiLetter(path[1]) &&
        (path[2] == L':' || path[2] == L'|'))
        path.erase(0, 1);
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L'|')
        path[1] = L':';
    return path;
}

std::size_t FindSeparator(View path, std::size_t from)
{
    while (from < path.size() && !IsSeparator(path[from]))
        ++from;
    return from < path.size() ? from : View::npos;
}

// The length of a full path's root, "X:" or "\\server\share" (either separator), or 0 when it has none.
std::size_t RootLength(View path)
{
    if (IsDriveAt(path, 0))
        return path.size() == 2 || IsSeparator(path[2]) ? 2 : 0;
    if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return 0;
    const std::size_t serverEnd = FindSeparator(path, 2);
    if (serverEnd == View::npos || serverEnd == 2 || serverEnd + 1 == path.size() ||
        IsSeparator(path[serverEnd + 1]))
        return 0;
    const std::size_t shareEnd = FindSeparator(path, serverEnd + 1);
    return shareEnd == View::npos ? path.size() : shareEnd;
}

// Server and share are names like any other, and not "." or "..".
bool IsGoodShare(View root)
{
    const std::size_t serverEnd = FindSeparator(root, 2);
    for (View name : {root.substr(2, serverEnd - 2), root.substr(serverEnd + 1)}) {
        if (name == L"." || name == L".." || std::any_of(name.begin(), name.end(), IsForbidden))
            return false;
    }
    return true;
}

// Appends the names of part to path, each after a backslash, with "." dropped, ".." taking one name
// back (never into the root's first rootSize characters) and empty names (doubled separators) left
// out. False when a name holds a character no file name has.
bool AppendNames(std::wstring& path, std::size_t rootSize, View part)
{
    for (std::size_t start = 0; start <= part.size();) {
        std::size_t end = FindSeparator(part, start);
        if (end == View::npos)
            end = part.size();
        const View name = part.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == L".")
            continue;
        if (name == L"..") {
            const std::size_t cut = path.rfind(L'\\');
            if (cut != std::wstring::npos && cut >= rootSize)
                path.resize(cut);
            continue;
        }
        if (std::any_of(name.begin(), name.end(), IsForbidden))
            return false;
        path += L'\\';
        path.append(name);
    }
    return true;
}

// root, then the names of folder and of rest; empty when a name is no file name.
std::wstring Joined(View root, View folder, View rest)
{
    std::wstring path(root);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    path.reserve(root.size() + folder.size() + rest.size() + 1);
    if (!AppendNames(path, root.size(), folder) || !AppendNames(path, root.size(), rest))
        return std::wstring();
    if (path.size() == root.size())
        path += L'\\';
    return path;
}

} // namespace

ListFormat ListFormatOf(const std::wstring& path)
{
    const std::size_t dot = path.find_last_of(L"./\\");
    if (dot == std::wstring::npos || path[dot] != L'.')
        return ListFormat::None;
    std::wstring extension = path.substr(dot + 1);
    for (wchar_t& c : extension)
        c = FoldAscii(c);
    if (extension == L"m3u")
        return ListFormat::M3u;
    if (extension == L"m3u8")
        return ListFormat::M3u8;
    if (extension == L"pls")
        return ListFormat::Pls;
    return ListFormat::None;
}

ListText ReadListText(const char* data, std::size_t size, ListFormat format)
{
    ListText text;
    if (!data || size == 0 || format == ListFormat::None)
        return text;
    // No text has a zero byte; a media file or a UTF-16 list given the wrong name has many.
    if (std::memchr(data, 0, size))
        return text;
    const char* begin = data;
    const char* end = data + size;
    text.utf8 = format == ListFormat::M3u8;
    if (size >= 3 && static_cast<unsigned char>(data[0]) == 0xEF &&
        static_cast<unsigned char>(data[1]) == 0xBB && static_cast<unsigned char>(data[2]) == 0xBF) {
        begin += 3;
        text.utf8 = true;
    }
    text.entries = format == ListFormat::Pls ? PlsEntries(begin, end) : M3uEntries(begin, end);
    return text;
}

bool Utf8ToUtf16(const std::string& text, std::wstring& wide)
{
    wide.clear();
    wide.reserve(text.size());
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            wide.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned long code = 0;
        unsigned long least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            wide.clear();
            return false;
        }
        if (size - i < length) {
            wide.clear();
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                wide.clear();
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, UTF-16's surrogates and what lies past U+10FFFF are not UTF-8.
        if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            wide.clear();
            return false;
        }
        AppendCodePoint(wide, code);
        i += length;
    }
    return true;
}

std::wstring ResolveListEntry(const std::wstring& listPath, const std::wstring& entry)
{
    const View list(listPath);
    const std::size_t listRootLength = RootLength(list);
    if (entry.empty() || listRootLength == 0)
        return std::wstring();
    const View listRoot = list.substr(0, listRootLength);
    const std::size_t nameStart = list.find_last_of(L"\\/");
    const View listFolder =
        list.substr(listRootLength, nameStart > listRootLength ? nameStart - listRootLength : 0);

    std::wstring decoded;
    View path(entry);
    const std::size_t scheme = SchemeLength(path);
    if (scheme == 4 && StartsWithNoCase(entry, L"file:")) {
        decoded = PathOfFileUri(entry);
        path = decoded;
    } else if (scheme > 0) {
        return std::wstring(); // a stream, not a file here
    }
    // The long-path forms "\\?\C:\..." and "\\?\UNC\server\share\...".
    if (path.size() > 8 && path.substr(0, 4) == L"\\\\?\\" &&
        StartsWithNoCase(std::wstring(path.substr(4, 4)), L"UNC\\")) {
        decoded = L"\\" + std::wstring(path.substr(7));
        path = decoded;
    } else if (path.substr(0, 4) == L"\\\\?\\") {
        path.remove_prefix(4);
    }
    if (path.empty())
        return std::wstring();

    if (path.size() > 1 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const std::size_t rootLength = RootLength(path);
        if (rootLength == 0 || !IsGoodShare(path.substr(0, rootLength)))
            return std::wstring();
        return Joined(path.substr(0, rootLength), View(), path.substr(rootLength));
    }
    if (IsDriveAt(path, 0)) {
        // "X:name" on the list's own drive: the list's folder is the current one there.
        if ((path.size() == 2 || !IsSeparator(path[2])) && listRootLength == 2 &&
            FoldAscii(path[0]) == FoldAscii(list[0]))
            return Joined(listRoot, listFolder, path.substr(2));
        return Joined(path.substr(0, 2), View(), path.substr(2));
    }
    if (IsSeparator(path[0]))
        return Joined(listRoot, View(), path);
    return Joined(listRoot, listFolder, path);
}
