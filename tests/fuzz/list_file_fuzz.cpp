// Play-list files: any bytes read as any kind of list give trimmed entries without line breaks; UTF-8
// that decodes gives UTF-16 that encodes back to the same bytes; each entry resolves to nothing or to a
// full path with backslashes only, no "." or ".." names, that resolves to itself again; and a walk
// through lists read from the input ends within its limits with only files that are there, no list.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "playback/logic/ListFile.h"
#include "playback/logic/PathExpansion.h"

namespace {

// Each byte as the character of its code.
std::wstring Latin1(const std::string& text)
{
    std::wstring wide;
    for (char c : text)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::string Utf8Of(const std::wstring& wide)
{
    std::string bytes;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        unsigned long code = static_cast<unsigned long>(wide[i]);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < wide.size())
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<unsigned long>(wide[++i]) - 0xDC00);
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

void CheckResolved(const std::wstring& list, const std::wstring& entry)
{
    const std::wstring path = ResolveListEntry(list, entry);
    if (path.empty())
        return;
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    FUZZ_CHECK(drive || (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\'));
    FUZZ_CHECK(path.find(L'/') == std::wstring::npos);
    const std::wstring names = L"\\" + path.substr(2) + L"\\";
    FUZZ_CHECK(names.find(L"\\.\\") == std::wstring::npos);
    FUZZ_CHECK(names.find(L"\\..\\") == std::wstring::npos);
    FUZZ_CHECK(ResolveListEntry(list, path) == path);
}

// The input's own files: lists whose text comes from it, two media files and a folder.
class InputPaths : public PathSource {
public:
    std::map<std::wstring, std::string> lists;
    int reads = 0;

    std::wstring FullPath(const std::wstring& path) override { return path; }
    Kind KindOf(const std::wstring& path) override
    {
        if (path == L"C:\\m\\s")
            return Kind::Folder;
        return lists.count(path) || path == L"C:\\m\\a.mp3" || path == L"C:\\x.wav" ? Kind::File
                                                                                    : Kind::Missing;
    }
    Kind KindOfListed(const std::wstring& path) override { return KindOf(path); }
    std::vector<std::wstring> MediaFilesIn(const std::wstring&) override { return {L"C:\\m\\a.mp3"}; }
    bool ReadSmallFile(const std::wstring& path, std::size_t maxBytes, std::string& bytes) override
    {
        ++reads;
        const auto found = lists.find(path);
        if (found == lists.end() || found->second.size() > maxBytes)
            return false;
        bytes = found->second;
        return true;
    }
    std::wstring FromAnsi(const std::string& text) override { return Latin1(text); }
};

void CheckWalk(FuzzedDataProvider& input)
{
    static const wchar_t* const kNames[] = {L"C:\\m\\a.m3u", L"C:\\m\\b.PLS", L"C:\\m\\s\\c.m3u8",
                                            L"C:\\d.m3u"};
    InputPaths paths;
    for (const wchar_t* name : kNames)
        paths.lists[name] = input.ConsumeRandomLengthString(2000);
    const ListLimits limits{3, 1500, 4000, 300};
    const std::vector<std::wstring> files =
        ExpandPaths({L"C:\\m\\a.m3u", L"C:\\x.wav"}, paths, ListFiles::Open, limits);
    FUZZ_CHECK(paths.reads <= 301);
    FUZZ_CHECK(files.size() <= 301 + 1);
    for (const std::wstring& file : files) {
        FUZZ_CHECK(file == L"C:\\m\\a.mp3" || file == L"C:\\x.wav");
        FUZZ_CHECK(ListFormatOf(file) == ListFormat::None);
    }
    FUZZ_CHECK(!files.empty() && files.back() == L"C:\\x.wav");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    static const ListFormat kFormats[] = {ListFormat::M3u, ListFormat::M3u8, ListFormat::Pls,
                                          ListFormat::None};
    static const wchar_t* const kLists[] = {L"C:\\m\\l.m3u", L"\\\\srv\\share\\d\\l.pls", L"z:\\l.m3u8"};
    const ListFormat format = kFormats[input.ConsumeIntegralInRange<int>(0, 3)];
    const std::wstring list = kLists[input.ConsumeIntegralInRange<int>(0, 2)];
    if (input.ConsumeBool()) {
        CheckWalk(input);
        return 0;
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const ListText text = ReadListText(bytes.data(), bytes.size(), format);
    if (format == ListFormat::None || bytes.find('\0') != std::string::npos)
        FUZZ_CHECK(text.entries.empty());
    for (const std::string& entry : text.entries) {
        FUZZ_CHECK(!entry.empty());
        FUZZ_CHECK(entry.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(entry.front() != ' ' && entry.front() != '\t' && entry.back() != ' ' &&
                   entry.back() != '\t');
        FUZZ_CHECK(format == ListFormat::Pls || entry.front() != '#');
        std::wstring wide;
        if (Utf8ToUtf16(entry, wide)) {
            FUZZ_CHECK(Utf8Of(wide) == entry);
            CheckResolved(list, wide);
        }
        CheckResolved(list, Latin1(entry));
    }
    std::wstring wide;
    if (Utf8ToUtf16(bytes, wide))
        FUZZ_CHECK(Utf8Of(wide) == bytes);
    return 0;
}
