// CFileFind: walks the entries that match a file-name pattern, one at a time.
#pragma once

#include <windows.h>

#include <string>

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search for the pattern ("C:\\Music\\*.*"; null means "*.*"). FALSE when nothing
    // matches or the folder cannot be searched. The first entry is reached by FindNextFile.
    BOOL FindFile(const char* pattern = nullptr);
    // Moves to the next entry; answers whether another entry follows this one, so the usual walk is
    // "working = FindFile(p); while (working) { working = FindNextFile(); use the entry; }".
    BOOL FindNextFile();
    // Ends the search; the destructor does it too.
    void Close();

    // The current entry.
    std::string GetFileName() const;
    // The folder of the pattern followed by the entry's name.
    std::string GetFilePath() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    // "." or "..".
    BOOL IsDots() const;
    BOOL MatchesMask(DWORD mask) const { return m_hasFound && (m_found.dwFileAttributes & mask) != 0; }

private:
    HANDLE m_find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_found{};  // the entry FindNextFile moved to
    WIN32_FIND_DATAA m_next{};   // the entry the system returned ahead of it
    bool m_hasFound = false;
    bool m_hasNext = false;
    std::string m_root;  // the pattern's folder, with its trailing separator
};
