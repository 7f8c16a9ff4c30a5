// The chooser's window-free rules: offered drives, drive labels, the folder filter and folder paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chooser/logic/ChooserPaths.h"

namespace {

std::uint32_t Bits(std::initializer_list<char> letters)
{
    std::uint32_t mask = 0;
    for (char letter : letters)
        mask |= std::uint32_t{1} << (letter - 'A');
    return mask;
}

}  // namespace

TEST(ChooserDrives, OffersLettersCToZInOrderAndNeverAOrB)
{
    struct Case {
        std::uint32_t mask;
        std::vector<std::string> offered;
    };
    const Case cases[] = {
        {Bits({'A', 'C', 'E'}), {"C:", "E:"}},
        {Bits({'A', 'B'}), {}},
        {0, {}},
        {Bits({'Z', 'D', 'C'}), {"C:", "D:", "Z:"}},
        {0xFFFFFFFFu, {"C:", "D:", "E:", "F:", "G:", "H:", "I:", "J:", "K:", "L:", "M:", "N:",
                       "O:", "P:", "Q:", "R:", "S:", "T:", "U:", "V:", "W:", "X:", "Y:", "Z:"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(DriveTextsFromMask(c.mask), c.offered);
    }
}

TEST(ChooserDrives, LabelsTellCdRomNetworkPathAndEverythingElse)
{
    struct Case {
        bool cdRom;
        const char* driveText;
        const char* label;
    };
    const Case cases[] = {
        {true, "E:", "CD-ROM  "},
        {false, "C:", "Hard Disc  "},
        {false, "\\\\server\\share", "网络邻居  "},
        {false, "\\", "网络邻居  "},
        {true, "\\\\server\\share", "CD-ROM  "},
        {false, "", "Hard Disc  "},
        {false, "誠\\", "Hard Disc  "},  // a 0x5C trail byte is not a leading backslash
        {false, "Q", "Hard Disc  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.driveText);
        EXPECT_EQ(DriveTypeLabel(c.cdRom, c.driveText), c.label);
    }
}

TEST(ChooserFolders, OnlyFoldersWithTheDirectoryAttributeAloneAreShown)
{
    struct Case {
        std::uint32_t attributes;
        const char* name;
        bool shown;
    };
    const Case cases[] = {
        {0x10, "Music", true},
        {0x10, "誠", true},
        {0x10, ".", false},
        {0x10, "..", false},
        {0x11, "ReadOnly", false},
        {0x12, "Hidden", false},
        {0x14, "System", false},
        {0x30, "Archive", false},
        {0x810, "Compressed", false},
        {0x20, "song.mp3", false},
        {0x00, "plain", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPlainFolder(c.attributes, c.name), c.shown);
    }
}

TEST(ChooserFolders, FolderPathJoinsTheDriveAndTheLabelsFromTheTopDown)
{
    struct Case {
        const char* driveText;
        std::vector<std::string> labelsUpward;
        const char* path;
    };
    const Case cases[] = {
        {"D:", {"Pop", "Music"}, "D:\\Music\\Pop"},
        {"D:", {"Music"}, "D:\\Music"},
        {"C:", {"c", "b", "a"}, "C:\\a\\b\\c"},
        {"E:", {"流行音乐", "誠"}, "E:\\誠\\流行音乐"},
        {"\\\\server\\share", {"老歌"}, "\\\\server\\share\\老歌"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FolderPathFromLabels(c.driveText, c.labelsUpward), c.path);
    }
}

TEST(ChooserFolders, EntryPathPutsOneBackslashBetweenFolderAndName)
{
    EXPECT_EQ(EntryPath("D:\\Music", "a.mp3"), "D:\\Music\\a.mp3");
    EXPECT_EQ(EntryPath("C:", "readme.txt"), "C:\\readme.txt");
    // A folder ending in a 0x5C trail byte keeps its character and gets its own separator.
    EXPECT_EQ(EntryPath("E:\\誠", "衆歌.mp3"), "E:\\誠\\衆歌.mp3");
}
