// Files that reach the player from outside: media types, order by name, the hand-over block.
#include "playback/logic/ArgumentPaths.h"

#include <algorithm>

namespace {

wchar_t FoldAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EndsWithNoCase(const std::wstring& text, const wchar_t* suffix)
{
    const std::wstring tail(suffix);
    if (text.size() < tail.size())
        return false;
    const std::size_t start = text.size() - tail.size();
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (FoldAscii(text[start + i]) != FoldAscii(tail[i]))
            return false;
    }
    return true;
}

bool LessByName(const std::wstring& a, const std::wstring& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t x = FoldAscii(a[i]);
        const wchar_t y = FoldAscii(b[i]);
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace

bool IsPlayableName(const std::wstring& name)
{
    // The open dialog's own types, after its "all files" entry.
    static const wchar_t* const kTypes[] = {L".mpga", L".mp3", L".avi", L".asf",
                                            L".mpeg", L".mid", L".wav", L".cda"};
    for (const wchar_t* type : kTypes) {
        if (EndsWithNoCase(name, type))
            return true;
    }
    return false;
}

void SortByName(std::vector<std::wstring>& names)
{
    std::sort(names.begin(), names.end(), LessByName);
}

std::vector<wchar_t> PackPathList(const std::vector<std::wstring>& paths)
{
    std::vector<wchar_t> block;
    for (const std::wstring& path : paths) {
        if (path.empty())
            continue; // an empty entry would read as the block's end
        block.insert(block.end(), path.begin(), path.end());
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

std::vector<std::wstring> UnpackPathList(const wchar_t* data, std::size_t count)
{
    std::vector<std::wstring> paths;
    if (!data)
        return paths;
    std::wstring current;
    for (std::size_t i = 0; i < count; ++i) {
        if (data[i] != L'\0') {
            current.push_back(data[i]);
            continue;
        }
        if (!current.empty())
            paths.push_back(current);
        current.clear();
    }
    if (!current.empty())
        paths.push_back(current);
    return paths;
}
