// Play-list files: what their text holds, where the entries point, and what a list given from
// outside stands for, over a file system kept in a table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "playback/logic/ArgumentPaths.h"
#include "playback/logic/ListFile.h"
#include "playback/logic/PathExpansion.h"

namespace {

std::wstring Widened(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// "a|b|c" as {"a", "b", "c"}; "" as nothing.
template <class Text = std::wstring> std::vector<Text> Split(const std::string& joined)
{
    std::vector<Text> parts;
    for (std::size_t start = 0; start < joined.size();) {
        const std::size_t bar = std::min(joined.find('|', start), joined.size());
        parts.emplace_back(joined.begin() + start, joined.begin() + bar);
        start = bar + 1;
    }
    return parts;
}

TEST(ListFile, ReadsTheEntriesOfEachKindOfListInPlayOrder)
{
    struct Case {
        ListFormat format;
        std::string bytes;
        const char* entries; // joined by '|'
        bool utf8;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const ListFormat m3u = ListFormat::M3u, m3u8 = ListFormat::M3u8, pls = ListFormat::Pls;
    const Case cases[] = {
        {m3u, "#EXTM3U\r\n#EXTINF:12,A - B\r\na.mp3\r\n\r\n  sub\\b.wav \r\n# note\n", "a.mp3|sub\\b.wav",
         false},
        {m3u, "a\nb\rc\r\n\n\rd", "a|b|c|d", false},
        {m3u, "\xD2\xF4\xC0\xD6.mp3\n\xE0\x5C.wav", "\xD2\xF4\xC0\xD6.mp3|\xE0\x5C.wav", false}, // GBK
        {m3u, bom + "x.mp3", "x.mp3", true},
        {m3u8, "\xE9\x9F\xB3.mp3", "\xE9\x9F\xB3.mp3", true},
        {pls, "[playlist]\nNumberOfEntries=2\nFile10=ten\nTitle1=One\nfile2 = two\nFILE1=one\n",
         "one|two|ten", false},
        // Gaps, a number given twice (also with a zero), a number of any length, keys that are no FileN.
        {pls, "File3=a\nFile03=b\nFile99999999999999999999=z\nFile=x\nFilex1=y\nFile7=\nFile0=0", "0|a|z",
         false},
        {pls, bom + "[playlist]\r\nFile1=\xC3\xA9.mp3\r\n", "\xC3\xA9.mp3", true},
        {m3u, std::string("a.mp3\n\0b.mp3", 12), "", false}, // binary
        {m3u8, "#EXTM3U\n \t\n", "", true},
    };
    for (const Case& c : cases) {
        const ListText text = ReadListText(c.bytes.data(), c.bytes.size(), c.format);
        EXPECT_EQ(text.entries, Split<std::string>(c.entries)) << c.bytes;
        if (!text.entries.empty())
            EXPECT_EQ(text.utf8, c.utf8) << c.bytes;
    }
}

TEST(ListFile, ResolvesEntriesAgainstTheListsFolder)
{
    struct Case {
        const char* list;
        const char* entry;
        const wchar_t* path; // empty: names no local file
    };
    const Case cases[] = {
        {"C:\\m\\l.m3u", "a.mp3", L"C:\\m\\a.mp3"},
        {"C:\\m\\d\\l.m3u", "..\\c.mp3", L"C:\\m\\c.mp3"},
        {"C:\\m\\l.m3u", ".\\x\\..\\..\\..\\e.mp3", L"C:\\e.mp3"},
        {"C:\\m\\l.m3u", "d:/other//f.mp3", L"d:\\other\\f.mp3"},
        {"C:\\m\\l.m3u", "\\top\\g.mp3", L"C:\\top\\g.mp3"},
        {"C:\\m\\l.m3u", "C:h.mp3", L"C:\\m\\h.mp3"},
        {"C:\\m\\l.m3u", "\\\\srv\\share\\i.mp3", L"\\\\srv\\share\\i.mp3"},
        {"\\\\srv\\share\\m\\l.m3u", "\\j.mp3", L"\\\\srv\\share\\j.mp3"},
        {"\\\\srv\\share\\l.m3u", "k.mp3", L"\\\\srv\\share\\k.mp3"},
        {"C:\\l.m3u", "file:///D:/my%20music/%E9%9F%B3.mp3", L"D:\\my music\\\x97F3.mp3"},
        {"C:\\l.m3u", "FILE://localhost/C|/x.mp3", L"C:\\x.mp3"},
        {"C:\\l.m3u", "file://srv/share/y.mp3", L"\\\\srv\\share\\y.mp3"},
        {"C:\\l.m3u", "\\\\?\\D:\\z.mp3", L"D:\\z.mp3"},
        {"C:\\l.m3u", "\\\\?\\UNC\\srv\\share\\z.mp3", L"\\\\srv\\share\\z.mp3"},
        {"C:\\l.m3u", "\\\\srv\\..\\z.mp3", L""},
        {"C:\\l.m3u", "http://radio/stream.mp3", L""},
        {"C:\\l.m3u", "rtsp://x/y", L""},
        {"C:\\l.m3u", "file:///C:/%FF.mp3", L""},
        {"C:\\l.m3u", "a*.mp3", L""},
        {"C:\\l.m3u", "\\\\only", L""},
        {"relative\\l.m3u", "a.mp3", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveListEntry(Widened(c.list), Widened(c.entry)), c.path) << c.list << " " << c.entry;
}

// Files and folders in a table, with their text: a path ending in a backslash is a folder.
class TablePaths : public PathSource {
public:
    explicit TablePaths(const std::map<std::string, std::string>& files)
    {
        for (const auto& file : files)
            m_files[Widened(file.first)] = file.second;
    }

    std::wstring FullPath(const std::wstring& path) override
    {
        return path.size() > 1 && path[1] == L':' ? path : L"C:\\cwd\\" + path;
    }
    Kind KindOf(const std::wstring& path) override
    {
        return m_files.count(path + L"\\") ? Kind::Folder : m_files.count(path) ? Kind::File : Kind::Missing;
    }
    Kind KindOfListed(const std::wstring& path) override { return KindOf(path); }
    std::vector<std::wstring> MediaFilesIn(const std::wstring& folder) override
    {
        std::vector<std::wstring> files;
        for (const auto& file : m_files) {
            if (file.first.rfind(folder + L"\\", 0) == 0 && IsPlayableName(file.first) &&
                file.first.find(L'\\', folder.size() + 1) == std::wstring::npos)
                files.push_back(file.first);
        }
        return files;
    }
    bool ReadSmallFile(const std::wstring& path, std::size_t maxBytes, std::string& bytes) override
    {
        const auto found = m_files.find(path);
        if (found == m_files.end() || found->second.size() > maxBytes)
            return false;
        bytes = found->second;
        return true;
    }
    std::wstring FromAnsi(const std::string& text) override { return Widened(text); }

private:
    std::map<std::wstring, std::string> m_files;
};

TEST(ListFile, AListStandsForWhatItNamesAtItsPlace)
{
    struct Case {
        std::map<std::string, std::string> lists;
        const char* given;    // joined by '|'
        const char* expected; // joined by '|'
        ListLimits limits;
    };
    const std::map<std::string, std::string> files = {
        {"C:\\m\\", ""},
        {"C:\\m\\a.mp3", ""},
        {"C:\\m\\b.wav", ""},
        {"C:\\m\\sub\\", ""},
        {"C:\\m\\sub\\s.mp3", ""},
        {"C:\\m\\sub\\notes.txt", ""},
        {"C:\\x.mp3", ""},
        {"C:\\m\\ALL.PLS", "File2=b.wav\nFile1=a.mp3"},
        {"C:\\m\\mix.m3u", "#EXTM3U\nb.wav\nhttp://radio/live\ngone.mp3\nsub\n../x.mp3\nALL.PLS\nmix.m3u\n"}};
    const Case cases[] = {
        {{},
         "C:\\x.mp3|C:\\m\\mix.m3u|C:\\m\\a.mp3",
         "C:\\x.mp3|C:\\m\\b.wav|C:\\m\\sub\\s.mp3|C:\\x.mp3|C:\\m\\a.mp3|C:\\m\\b.wav|C:\\m\\a.mp3"},
        {{{"C:\\cwd\\l.m3u8", "../x.mp3"}}, "l.m3u8", "C:\\x.mp3"}, // relative to the current folder
        // A cycle stops where it closes.
        {{{"C:\\p.m3u", "q.m3u\nx.mp3"}, {"C:\\q.m3u", "p.m3u\nm\\a.mp3"}},
         "C:\\p.m3u",
         "C:\\m\\a.mp3|C:\\x.mp3"},
        // Four levels of lists, not five.
        {{{"C:\\1.m3u", "2.m3u\nx.mp3"},
          {"C:\\2.m3u", "3.m3u"},
          {"C:\\3.m3u", "4.m3u"},
          {"C:\\4.m3u", "5.m3u\nm\\a.mp3"},
          {"C:\\5.m3u", "m\\b.wav"}},
         "C:\\1.m3u",
         "C:\\m\\a.mp3|C:\\x.mp3"},
        // A list too large is skipped whole; entries past the limit are not read.
        {{{"C:\\big.m3u", "x.mp3\n" + std::string(20, '#')}}, "C:\\big.m3u|C:\\x.mp3", "C:\\x.mp3", {4, 20}},
        {{}, "C:\\m\\mix.m3u", "C:\\m\\b.wav", {4, 1000, 1000, 3}},
        {{{"C:\\e.m3u", ""}, {"C:\\bin.pls", std::string("File1=x.mp3\0", 12)}},
         "C:\\e.m3u|C:\\bin.pls|C:\\no.m3u",
         ""},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> all = c.lists;
        all.insert(files.begin(), files.end());
        TablePaths paths(all);
        EXPECT_EQ(ExpandPaths(Split(c.given), paths, ListFiles::Open, c.limits), Split(c.expected))
            << c.given;
    }
    TablePaths paths(files);
    EXPECT_EQ(ExpandPaths(Split("C:\\m\\mix.m3u|C:\\m"), paths, ListFiles::Keep),
              Split("C:\\m\\mix.m3u|C:\\m\\a.mp3|C:\\m\\b.wav"))
        << "kept lists are files; a folder's lists are not its media";
}

} // namespace
