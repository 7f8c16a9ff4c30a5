// CFileFind: the system's find-first/find-next search, one entry ahead of the caller.
#include "framework/FileFind.h"

#include <cstring>

#include "framework/logic/Dbcs.h"

namespace {

// Length of the folder part of a pattern: up to and including its last separator ('\\', '/' or
// the drive's ':'). A GBK trail byte of 0x5C is part of its character, not a separator.
std::string::size_type FolderPartLength(const std::string& pattern)
{
    std::string::size_type end = 0;
    for (std::string::size_type i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < pattern.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':')
            end = i + 1;
    }
    return end;
}

}  // namespace

BOOL CFileFind::FindFile(const char* pattern)
{
    Close();
    const std::string text = pattern ? pattern : "*.*";
    m_find = ::FindFirstFileA(text.c_str(), &m_next);
    if (m_find == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hasNext = true;
    m_root = text.substr(0, FolderPartLength(text));
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext)
        return FALSE;
    m_found = m_next;
    m_hasFound = true;
    m_hasNext = ::FindNextFileA(m_find, &m_next) != FALSE;
    return m_hasNext;
}

void CFileFind::Close()
{
    if (m_find != INVALID_HANDLE_VALUE) {
        ::FindClose(m_find);
        m_find = INVALID_HANDLE_VALUE;
    }
    m_hasFound = false;
    m_hasNext = false;
    m_root.clear();
}

std::string CFileFind::GetFileName() const
{
    return m_hasFound ? std::string(m_found.cFileName) : std::string();
}

std::string CFileFind::GetFilePath() const
{
    return m_hasFound ? m_root + m_found.cFileName : std::string();
}

BOOL CFileFind::IsDots() const
{
    return m_hasFound && IsDirectory() &&
           (std::strcmp(m_found.cFileName, ".") == 0 || std::strcmp(m_found.cFileName, "..") == 0);
}
