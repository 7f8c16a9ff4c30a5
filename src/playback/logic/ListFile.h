// Play-list files (.m3u, .m3u8, .pls): which names are lists, the entries a list's text holds, and
// where each entry points as a full path.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class ListFormat { None, M3u, M3u8, Pls };

// The list format a file name's extension gives (.m3u, .m3u8, .pls in any case), or None.
ListFormat ListFormatOf(const std::wstring& path);

// The entries of a list file, in play order, spelt as the file spells them: narrow text in UTF-8
// when utf8 is set, else in the system's ANSI code page.
struct ListText {
    std::vector<std::string> entries;
    bool utf8 = false;
};

// Reads a list file's bytes. An .m3u and a .pls are ANSI unless they start with UTF-8's byte-order
// mark; an .m3u8 is UTF-8. M3U: one entry a line (CR, LF or CRLF), comment and #EXT lines and blank
// lines skipped. PLS: the FileN= values in the order of N (each N once, the first one given), every
// other key ignored. Text with a zero byte is no list: it gives no entries.
ListText ReadListText(const char* data, std::size_t size, ListFormat format);

// UTF-8 in UTF-16 code units (supplementary characters as surrogate pairs, whatever the width of
// wchar_t). False, with wide emptied, for bytes that are not well-formed UTF-8.
bool Utf8ToUtf16(const std::string& text, std::wstring& wide);

// The full path an entry names, for the list file at listPath (a full path: "X:\..." or
// "\\server\share\..."). Relative entries ("a.mp3", "sub/b.mp3", "..\c.mp3") are taken from the
// list's folder, a rooted one ("\music\d.mp3") from the list's drive or share, drive and UNC paths
// as they are, file:// URIs as the local paths they spell; "." and ".." are resolved and every
// separator becomes a backslash. Empty for what names no local file: other URLs (http://, rtsp:
// and the like), names with wildcards, control characters or a stray colon.
std::wstring ResolveListEntry(const std::wstring& listPath, const std::wstring& entry);
