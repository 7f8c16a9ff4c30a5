// Paths that reach the player from outside, made into play-list entries: full paths, folders
// opened into their media files, play-list files into their entries, names outside the ANSI code
// page in their short (8.3) form.
#pragma once

#include <string>
#include <vector>

#include "playback/logic/PathExpansion.h"

// Full paths (relative names against the current folder) of the files that the given paths stand
// for, in order: a file for itself, a folder for its media files sorted by name (not its
// subfolders), with ListFiles::Open a play-list file (.m3u, .m3u8, .pls) for what its entries
// stand for. Paths that name nothing that exists are left out.
std::vector<std::wstring> ExpandIncomingPaths(const std::vector<std::wstring>& given,
                                              ListFiles lists = ListFiles::Keep);

// Play-list entries (ANSI paths, as the open dialog returns them) with each play-list file among
// them replaced by the entries it stands for; every other entry stays as it is.
std::vector<std::string> OpenListFiles(const std::vector<std::string>& entries);

// The ANSI path under which a file goes into the play list: the path itself when it survives the
// trip to the ANSI code page and back, else its short form; empty when neither does (a volume
// without short names).
std::string ListPathFor(const std::wstring& fullPath);
// ListPathFor of each path, in order, leaving out those that have none.
std::vector<std::string> ListPathsFor(const std::vector<std::wstring>& fullPaths);
