// Fitting the status line's text: folders first, then the extension, then a cut at 20 bytes.
#include <gtest/gtest.h>

#include "player/logic/StatusText.h"
#include "player/logic/StatusStrings.h"

namespace {

std::string Shortened(std::string text)
{
    ShortenStatusText(text);
    return text;
}

struct Case {
    const char* name;
    const char* text;
    const char* shown;
};

TEST(StatusText, FitsTextsIntoTheLine)
{
    const Case cases[] = {
        {"idle text unchanged", "Hello Quon", "Hello Quon"},
        {"empty text stays empty", "", ""},
        {"three folders deep loses folder parts until short",
         "D:\\music\\pop\\old\\song.mp3", "pop\\old\\song.mp3"},
        {"each folder part goes while 18 bytes or more", "C:\\a\\b\\long_song_name.mp3",
         "long_song_name.mp3"},
        {"a long final name also loses its extension", "C:\\folder\\a_long_file_name_x.mp3",
         "a_long_file_name_x"},
        {"17 bytes keep their backslashes", "D:\\ab\\cd\\efgh.mp3", "D:\\ab\\cd\\efgh.mp3"},
        {"18 bytes lose the first folder part", "D:\\ab\\cd\\efghi.mp3", "ab\\cd\\efghi.mp3"},
        {"19 bytes with an extension unchanged", "abcdefghijklmno.mp3", "abcdefghijklmno.mp3"},
        {"20 bytes lose their extension", "abcdefghijklmnop.mp3", "abcdefghijklmnop"},
        {"21 bytes lose their extension", "abcdefghijklmnopq.mp3", "abcdefghijklmnopq"},
        {"extension goes from the first dot", "abcdefghijklmno.x.y.z", "abcdefghijklmno"},
        {"a long name stays long without its extension, then is cut",
         "a_rather_long_name_here.mp3", "a_rather_long_name_h"},
        {"25 bytes without a dot are cut to 20", "abcdefghijklmnopqrstuvwxy",
         "abcdefghijklmnopqrst"},
        {"a leading dot is no extension", ".bcdefghijklmnopqrstuvwxy", ".bcdefghijklmnopqrst"},
        {"a leading dot hides later ones", ".abcdefghij.klmnopqrstu", ".abcdefghij.klmnopqr"},
        {"20 bytes without a dot unchanged", "abcdefghijklmnopqrst", "abcdefghijklmnopqrst"},
        {"a trailing backslash leaves nothing", "D:\\a_folder_name_long\\", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(c.shown), Shortened(c.text)) << c.name;
}

TEST(StatusText, BackslashTrailBytesAreNotFolderSeparators)
{
    // "乗" is 0x81 0x5C and "誠" 0xD5 0x5C: their trail bytes are 0x5C but not backslashes.
    const Case cases[] = {
        {"no real backslash: only the extension goes", "乗誠乗誠乗誠乗誠乗誠.mp3",
         "乗誠乗誠乗誠乗誠乗誠"},
        {"the real backslash after a 0x5C trail byte is the one cut", "D:\\乗誠\\乗誠乗誠乗誠.mp3",
         "乗誠乗誠乗誠.mp3"},
        {"a folder named with 0x5C trail bytes is kept whole", "乗誠乗誠\\歌曲.mp3",
         "乗誠乗誠\\歌曲.mp3"},
        {"full path of Chinese folders", "D:\\音乐\\流行\\老歌\\一首好听的歌.mp3",
         "一首好听的歌.mp3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(c.shown), Shortened(c.text)) << c.name;
}

TEST(StatusText, CutAtTwentyNeverSplitsADoubleByteCharacter)
{
    // 'A' then twelve double-byte characters: byte 19 is a lead byte, so 19 bytes stay.
    const std::string odd = "A你好你好你好你好你好你好";
    ASSERT_EQ(25u, odd.size());
    EXPECT_EQ("A你好你好你好你好你", Shortened(odd));

    // Starting on an even byte, the cut at 20 falls between two characters.
    const std::string even = "你好你好你好你好你好你好";
    ASSERT_EQ(24u, even.size());
    EXPECT_EQ("你好你好你好你好你好", Shortened(even));

    // A 0x5C trail byte at the cut is still half of its character.
    const std::string trail = "A乗誠乗誠乗誠乗誠乗誠乗誠";
    EXPECT_EQ("A乗誠乗誠乗誠乗誠乗", Shortened(trail));
}

TEST(StatusText, ShortenedTextIsStable)
{
    const char* texts[] = {"D:\\music\\pop\\old\\song.mp3", "abcdefghijklmnopqrstuvwxy",
                           "A你好你好你好你好你好你好", "D:\\乗誠\\乗誠乗誠乗誠.mp3"};
    for (const char* text : texts) {
        const std::string once = Shortened(text);
        EXPECT_EQ(once, Shortened(once)) << text;
    }
}

TEST(StatusStrings, FixedTexts)
{
    EXPECT_STREQ("Hello Quon", kHelloQuon);
    EXPECT_STREQ("Songs Over", kSongsOver);
}

}  // namespace
