// The chooser's window-free rules: offered drive letters, drive labels, the folder filter and paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "C:" to "Z:" for each bit set in the system's logical-drive mask (bit 2 is C, bit 25 is Z), in
// letter order. A and B (floppy drives) are never offered.
std::vector<std::string> DriveTextsFromMask(std::uint32_t mask);

// The label in front of a drive text in the tree, two trailing spaces included: "CD-ROM  " for a
// CD-ROM drive, "网络邻居  " for a typed network path (it begins with a backslash), "Hard Disc  "
// for everything else.
std::string DriveTypeLabel(bool isCdRom, const std::string& driveText);

// The tree shows a folder only when its attribute word is the directory attribute (0x10) alone;
// read-only, hidden, system, archive or compressed folders stay out, and so do "." and "..".
bool IsPlainFolder(std::uint32_t attributes, const std::string& name);

// The folder of a tree node: the drive text, a backslash, then the node labels below the drive
// from the top down. labelsUpward holds the node's own label first, then its ancestors' up to
// (not including) the drive node: D: with {"Pop", "Music"} gives D:\Music\Pop.
std::string FolderPathFromLabels(const std::string& driveText, const std::vector<std::string>& labelsUpward);

// The full path of an entry of a folder (the folder has no trailing backslash).
std::string EntryPath(const std::string& folder, const std::string& name);
