// Files that reach the player from outside (command line, another start, a drop): which names a
// folder stands for, their order, and the block in which a list of paths travels between processes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether a file name has one of the open dialog's media types (mpga, mp3, AVI, asf, mpeg, MID,
// WAV, CDA), in any case.
bool IsPlayableName(const std::wstring& name);

// Orders file names as a folder listing by name does: ASCII letters compare without case, then
// by character code; names equal that way keep a stable order by their exact characters.
void SortByName(std::vector<std::wstring>& names);

// One block of paths: each path followed by a zero character, and one more zero at the end.
std::vector<wchar_t> PackPathList(const std::vector<std::wstring>& paths);
// Reads a block of count characters made by PackPathList. Empty entries are dropped, and a last
// entry without its zero still counts: the block's length is what bounds it.
std::vector<std::wstring> UnpackPathList(const wchar_t* data, std::size_t count);
