// Benchmark: play lists of 100,000 entries read as the program reads a list that is dropped or
// given on the command line: the text split into entries, the entries made full paths and looked
// up, the names made play-list entries and put into the play list. The folder (first argument,
// made by bench/list_read/run.sh) holds "Album 0000" to "Album 0999" with Track000.wav to
// Track099.wav each. Prints the figures and the target (under 1 s); asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "app/PlayerApp.h"
#include "playback/OpenPaths.h"
#include "playback/logic/ListFile.h"

namespace {

const int kAlbums = 1000;
const int kTracks = 100;
const int kRounds = 5;



// An extended M3U with relative entries, as players write them; "Gone" names are not there.
std::string MakeListText(const char* track)
{
    std::string text = "#EXTM3U\r\n";
    char line[160];
    for (int album = 0; album < kAlbums; ++album) {
        for (int t = 0; t < kTracks; ++t) {
            std::snprintf(line, sizeof line,
                          "#EXTINF:215,Artist %04d - Song %03d\r\nAlbum %04d\\%s%03d.wav\r\n", album, t,
                          album, track, t);
            text += line;
        }
    }
    return text;
}

bool WriteText(const std::string& path, const std::string& text)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    ::CloseHandle(file);
    return ok;
}

void Measure(const char* what, const std::string& list, const std::string& text)
{
    std::vector<double> totalMs, lookUpMs;
    double firstMs = 0;
    int entries = 0;
    const std::wstring wide(list.begin(), list.end());
    for (int round = 0; round < kRounds; ++round) {
        const double start = NowMs();
        const std::vector<std::wstring> files = ExpandIncomingPaths({wide}, ListFiles::Open);
        lookUpMs.push_back(NowMs() - start);
        for (const std::string& entry : ListPathsFor(files))
            g_playList.AddHead(entry);
        totalMs.push_back(NowMs() - start);
        entries = g_playList.GetCount();
        g_playList.RemoveAll();
        if (round == 0)
            firstMs = totalMs.back();
    }
    // The window-free part alone: the text into entries and the entries into full paths.
    std::vector<double> logicMs;
    for (int round = 0; round < kRounds; ++round) {
        const double start = NowMs();
        const ListText read = ReadListText(text.data(), text.size(), ListFormat::M3u);
        std::size_t resolved = 0;
        for (const std::string& entry : read.entries)
            resolved += !ResolveListEntry(wide, std::wstring(entry.begin(), entry.end())).empty();
        logicMs.push_back(NowMs() - start);
        if (resolved != read.entries.size())
            std::printf("an entry did not resolve\n");
    }
    std::printf("%s %d entries into the play list: first %.1f ms, median %.1f ms over %d rounds\n", what,
                entries, firstMs, Median(totalMs), kRounds);
    std::printf("    of which reading and looking up %.1f ms; the text and the paths alone %.1f ms\n",
                Median(lookUpMs), Median(logicMs));
}

// What Wine itself takes: a bare find-first/find-next loop over every album folder.
double BareListingMs(const std::string& folder)
{
    const double start = NowMs();
    for (int album = 0; album < kAlbums; ++album) {
        char name[32];
        std::snprintf(name, sizeof name, "\\Album %04d\\*", album);
        WIN32_FIND_DATAW found;
        const std::string pattern = folder + name;
        HANDLE search = ::FindFirstFileW(std::wstring(pattern.begin(), pattern.end()).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        while (::FindNextFileW(search, &found)) {
        }
        ::FindClose(search);
    }
    return NowMs() - start;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: bench_list_read.exe FOLDER (see bench/list_read/run.sh)\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string there = folder + "\\all.m3u";
    const std::string gone = folder + "\\gone.m3u";
    const std::string thereText = MakeListText("Track");
    const std::string goneText = MakeListText("Gone");
    if (!WriteText(there, thereText) || !WriteText(gone, goneText)) {
        std::printf("cannot write the lists into %s\n", folder.c_str());
        return 1;
    }
    std::printf("lists of %d entries, %.1f MB each, in %d folders\n", kAlbums * kTracks,
                static_cast<double>(thereText.size()) / 1e6, kAlbums);
    std::vector<double> bare;
    for (int round = 0; round < kRounds; ++round)
        bare.push_back(BareListingMs(folder));
    std::printf("bare listing of the 1,000 folders: median %.1f ms over %d rounds\n", Median(bare), kRounds);
    Measure("every entry there:  ", there, thereText);
    Measure("every entry missing:", gone, goneText);
    std::printf("target: under 1000 ms\n");
    ::DeleteFileA(there.c_str());
    ::DeleteFileA(gone.c_str());
    return 0;
}
