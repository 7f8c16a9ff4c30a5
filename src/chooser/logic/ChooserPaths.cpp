// The chooser's window-free rules: offered drive letters, drive labels, the folder filter and paths.
#include "chooser/logic/ChooserPaths.h"

namespace {
const std::uint32_t kDirectoryAttribute = 0x10;
}

std::vector<std::string> DriveTextsFromMask(std::uint32_t mask)
{
    std::vector<std::string> drives;
    for (int bit = 2; bit <= 25; ++bit) {
        if (mask & (std::uint32_t{1} << bit))
            drives.push_back(std::string(1, static_cast<char>('A' + bit)) + ":");
    }
    return drives;
}

std::string DriveTypeLabel(bool isCdRom, const std::string& driveText)
{
    if (isCdRom)
        return "CD-ROM  ";
    // A GBK lead byte is never 0x5C, so a first byte of '\\' is a real backslash.
    if (!driveText.empty() && driveText[0] == '\\')
        return "网络邻居  ";
    return "Hard Disc  ";
}

bool IsPlainFolder(std::uint32_t attributes, const std::string& name)
{
    return attributes == kDirectoryAttribute && name != "." && name != "..";
}

std::string FolderPathFromLabels(const std::string& driveText, const std::vector<std::string>& labelsUpward)
{
    std::string below;
    for (std::size_t i = 0; i < labelsUpward.size(); ++i)
        below = i == 0 ? labelsUpward[i] : labelsUpward[i] + "\\" + below;
    return driveText + "\\" + below;
}

std::string EntryPath(const std::string& folder, const std::string& name) { return folder + "\\" + name; }
