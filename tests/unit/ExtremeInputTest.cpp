// Inputs the fuzz targets (tests/fuzz) turned up or lean on: extreme integers, text at the limits of
// the status line and the message file, stray indexes. Each case is one the program must survive.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/logic/Dbcs.h"
#include "player/logic/StatusText.h"
#include "playback/logic/Transport.h"
#include "ticker/logic/TickerText.h"
#include "wmp/logic/StateStream.h"

namespace {

// Found by transport_fuzz: one step past INT_MAX - 2 overflowed (undefined behaviour).
TEST(ExtremeInput, ScrollOffsetNearTheLargestIntegerStartsOver)
{
    EXPECT_EQ(2, NextScrollOffset(INT_MAX - 1, INT_MAX));
    EXPECT_EQ(2, NextScrollOffset(INT_MAX, INT_MAX));
    EXPECT_EQ(INT_MAX - 1, NextScrollOffset(INT_MAX - 3, INT_MAX));
    EXPECT_EQ(INT_MIN + 2, NextScrollOffset(INT_MIN, 66));
}

TEST(ExtremeInput, ScrollWindowOfAnyOffsetStaysInsideTheText)
{
    const std::string text = WelcomeScrollText();
    EXPECT_EQ(text.substr(0, 20), ScrollWindow(text, INT_MIN));
    EXPECT_EQ("", ScrollWindow(text, INT_MAX));
    EXPECT_EQ("", ScrollWindow("", 5));
}

// The status line is redrawn ten times a second and shortens its text in place each time: a
// shortened text must not shorten further, whatever it was.
TEST(ExtremeInput, ShortenedStatusTextIsLeftAsItIs)
{
    const char* const texts[] = {
        "abcdefghijklmnopqrs\x81",             // a lone lead byte at the very end
        "abcdefghijklmnopqrs\xC4\xE3\xBA\xC3", // a double-byte character across byte 20
        "\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C\xBB\x5C.x",
        ".abcdefghijklmnopqrstuvwxyz",                    // its only dot is its first byte
        "C:\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\l\\m\\n\\", // ends in a backslash
    };
    for (const char* t : texts) {
        std::string once = t;
        ShortenStatusText(once);
        EXPECT_LE(once.size(), 20u) << t;
        EXPECT_EQ(DbcsPrefixLength(once, once.size()), once.size()) << t;
        std::string twice = once;
        ShortenStatusText(twice);
        EXPECT_EQ(once, twice) << t;
    }
}

TEST(ExtremeInput, StrayTickerIndexesNeverReadOutsideTheText)
{
    const std::string text = "A**B**C";
    for (int index : {INT_MIN, -1, 6, 7, 100, INT_MAX}) {
        int segmentEnd = index;
        EXPECT_EQ("", NextTickerSegment(text, segmentEnd)) << index;
        EXPECT_EQ(0, segmentEnd) << index;
    }
    // An index inside a marker (not at its start) shows the rest up to the next marker.
    int segmentEnd = 1;
    EXPECT_EQ("B", NextTickerSegment(text, segmentEnd));
    EXPECT_EQ(4, segmentEnd);
}

TEST(ExtremeInput, MessageFileBytesAtTheLimit)
{
    const std::string full(kTickerTextLimit + 100, '\xB1');
    EXPECT_EQ(kTickerTextLimit, LoadTickerText(full.data(), full.size()).size())
        << "cut at byte 4096 even inside a double-byte character";
    const std::string nul("\0abc", 4);
    EXPECT_EQ("", LoadTickerText(nul.data(), nul.size()));
    EXPECT_EQ("", LoadTickerText(nullptr, 10));
}

// Found by state_stream_fuzz: the unnamed entry may carry bytes of its own. They are read past
// and written back empty; every named value keeps what it held.
TEST(ExtremeInput, UnnamedStateEntryWithBytesReadsAndWritesBackEmpty)
{
    const std::vector<std::uint8_t> initial = BuildInitialStateStream();
    // Header (16 bytes), AudioStream (2 + 4), five Booleans (2 + 2 each): the unnamed entry's type.
    const std::size_t entry = 16 + 6 + 5 * 4;
    ASSERT_EQ(0, initial[entry] | initial[entry + 1] << 8);
    std::vector<std::uint8_t> stream = initial;
    stream[entry + 2] = 6; // a byte count of 6: four bytes, then the two zero bytes
    stream.insert(stream.begin() + entry + 6, {'a', 'b', 'c', 'd'});
    PlayerInitialState state;
    state.volume = 1;
    ASSERT_TRUE(ParseStateStream(stream.data(), stream.size(), state));
    EXPECT_EQ(-600, state.volume);
    EXPECT_EQ(initial, SerializeStateStream(state));
}

} // namespace
