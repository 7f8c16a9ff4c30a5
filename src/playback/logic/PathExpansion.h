// What paths from outside stand for: a file for itself, a folder for its media files, a play-list
// file for what it names. The file system is asked through PathSource, so that the walk itself
// (order, nesting, cycles, limits) holds no Windows call.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class PathSource {
public:
    enum class Kind { Missing, File, Folder };

    virtual ~PathSource() = default;

    // The path made full (a relative one against the current folder); empty when it cannot be.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // What a full path given from outside names.
    virtual Kind KindOf(const std::wstring& fullPath) = 0;
    // What a full path read from a list names. Lists hold many names in few folders: this may be
    // answered from one listing of each folder.
    virtual Kind KindOfListed(const std::wstring& fullPath) = 0;
    // The media files directly inside a folder, as full paths, in the order they play.
    virtual std::vector<std::wstring> MediaFilesIn(const std::wstring& folder) = 0;
    // The bytes of a file of at most maxBytes; false when it is larger or cannot be read.
    virtual bool ReadSmallFile(const std::wstring& path, std::size_t maxBytes, std::string& bytes) = 0;
    // Narrow text in the system's ANSI code page, in UTF-16; empty when it is not valid there.
    virtual std::wstring FromAnsi(const std::string& text) = 0;
};

enum class ListFiles {
    Keep, // a list file is a file like any other
    Open, // a list file stands for the entries it names
};

// How far lists are followed, and how much one expansion reads at most.
struct ListLimits {
    // A list given from outside is at level 1, a list it names at level 2; deeper ones are skipped.
    int maxLevel = 4;
    // A larger list is no list anyone keeps: it is skipped whole (100,000 full paths fit).
    std::size_t maxListBytes = 8u << 20;
    // All list files read by one expansion together; a list that would pass it is skipped.
    std::size_t maxTotalBytes = 32u << 20;
    // Entries read from lists by one expansion; entries after that are not read.
    std::size_t maxEntries = 250000;
};

// The full paths of the files the given paths stand for, in order: a file for itself, a folder
// for its media files, and with ListFiles::Open a play-list file for the files its entries stand
// for in turn, at its place. Paths that name nothing, entries that are URLs, lists nested deeper
// than the limits allow and lists that name themselves (also through others) are left out.
std::vector<std::wstring> ExpandPaths(const std::vector<std::wstring>& given, PathSource& source,
                                      ListFiles lists, const ListLimits& limits = ListLimits());
