// The ticker's message text: loading the file's bytes and the order of segments it shows.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ticker/logic/TickerText.h"

namespace {

// The segments shown by the next count segment ticks, starting from the beginning.
std::vector<std::string> Segments(const std::string& text, int count)
{
    std::vector<std::string> shown;
    int segmentEnd = 0;
    for (int i = 0; i < count; ++i)
        shown.push_back(NextTickerSegment(text, segmentEnd));
    return shown;
}

using Shown = std::vector<std::string>;

TEST(TickerSegments, ShowsTheMessagesSeparatedByTheMarker)
{
    const struct {
        const char* name;
        const char* text;
        Shown shown;
    } cases[] = {
        {"three segments, then over again", "A**B**C", {"A", "B", "C", "A", "B"}},
        {"a trailing marker gives one empty strip", "A**B**", {"A", "B", "", "A", "B"}},
        {"no marker: the whole text every time", "Hello Quon",
         {"Hello Quon", "Hello Quon", "Hello Quon"}},
        {"a leading marker: the whole text every time", "**A**B", {"**A**B", "**A**B"}},
        {"a doubled marker shows the rest from the second one", "A****B",
         {"A", "**B", "A", "**B"}},
        {"an empty text gives empty segments", "", {"", "", ""}},
        {"a lone marker is shown whole", "**", {"**", "**"}},
        {"a single star is no marker", "A*B", {"A*B", "A*B"}},
        {"three stars: the marker is the first two", "A***B", {"A", "*B", "A"}},
        {"line breaks are ordinary bytes", "one\r\n**two\r\n", {"one\r\n", "two\r\n", "one\r\n"}},
        {"double-byte segments", "你好**世界**乗誠", {"你好", "世界", "乗誠", "你好"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, Segments(c.text, static_cast<int>(c.shown.size()))) << c.name;
}

TEST(TickerSegments, SegmentEndPointsAtTheMarkerInTheText)
{
    const std::string text = "first**second**third";
    int segmentEnd = 0;
    EXPECT_EQ("first", NextTickerSegment(text, segmentEnd));
    EXPECT_EQ(5, segmentEnd);
    EXPECT_EQ("second", NextTickerSegment(text, segmentEnd));
    EXPECT_EQ(13, segmentEnd);
    EXPECT_EQ("third", NextTickerSegment(text, segmentEnd));
    EXPECT_EQ(0, segmentEnd);
}

TEST(TickerSegments, AnIndexThatDoesNotFitTheTextRestarts)
{
    // segmentEnd + 2 past the end (or negative) cannot mark a segment of this text: the strip
    // is empty once and the next tick starts over at the first segment.
    const std::string text = "A**B";
    for (int stale : {3, 4, 10, 100000, -1, -2}) {
        int segmentEnd = stale;
        EXPECT_EQ("", NextTickerSegment(text, segmentEnd)) << stale;
        EXPECT_EQ(0, segmentEnd) << stale;
        EXPECT_EQ("A", NextTickerSegment(text, segmentEnd)) << stale;
    }
    // Exactly at the end: nothing left after the skipped marker.
    int segmentEnd = 2;
    EXPECT_EQ("", NextTickerSegment(text, segmentEnd));
    EXPECT_EQ(0, segmentEnd);
}

TEST(TickerText, LoadsAtMostTheFirst4096Bytes)
{
    // 5000 bytes: segments of 1000, the marker after each. The last marker before byte 4096
    // ends at 4008; what follows is shown up to byte 4096 and no further.
    std::string file;
    for (char c : {'a', 'b', 'c', 'd', 'e'})
        file += std::string(1000, c) + "**";
    file.resize(5000);
    const std::string text = LoadTickerText(file.data(), file.size());
    ASSERT_EQ(4096u, text.size());
    const Shown shown = Segments(text, 6);
    EXPECT_EQ(std::string(1000, 'a'), shown[0]);
    EXPECT_EQ(std::string(1000, 'b'), shown[1]);
    EXPECT_EQ(std::string(1000, 'c'), shown[2]);
    EXPECT_EQ(std::string(1000, 'd'), shown[3]);
    EXPECT_EQ(std::string(88, 'e'), shown[4]);
    EXPECT_EQ(std::string(1000, 'a'), shown[5]);
}

TEST(TickerText, ANulByteEndsTheText)
{
    const char bytes[] = {'A', '*', '*', 'B', '\0', '*', '*', 'C'};
    EXPECT_EQ("A**B", LoadTickerText(bytes, sizeof bytes));
    EXPECT_EQ("A*", LoadTickerText(bytes, 2));
    EXPECT_EQ("", LoadTickerText(bytes, 0));
    EXPECT_EQ("", LoadTickerText(nullptr, 10));
}

TEST(TickerText, CutAt4096EvenInsideACharacter)
{
    std::string file = "A";
    while (file.size() < 4200)
        file += "你";
    const std::string text = LoadTickerText(file.data(), file.size());
    ASSERT_EQ(4096u, text.size());
    EXPECT_EQ(file.substr(0, 4096), text);
}

TEST(TickerSegments, AnyTextCyclesBackToItsStart)
{
    std::mt19937 random(20270101);
    // Stars are frequent so that markers, doubled markers and edge markers all occur.
    const unsigned char alphabet[] = {'*', '*', '*', 'a', 'b', '\r', '\n', 0x5C, 0x81, 0xD5, 0xFE};
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
    std::uniform_int_distribution<int> lengthOf(0, 4096);
    for (int round = 0; round < 400; ++round) {
        const std::size_t length = round < 20 ? static_cast<std::size_t>(round) : lengthOf(random);
        std::string text(length, '\0');
        for (char& c : text)
            c = static_cast<char>(alphabet[pick(random)]);

        int segmentEnd = 0;
        std::size_t steps = 0;
        do {
            const std::string segment = NextTickerSegment(text, segmentEnd);
            ++steps;
            ASSERT_LE(segment.size(), text.size());
            ASSERT_GE(segmentEnd, 0);
            if (segmentEnd != 0) {
                // A segment ends at a marker of the text, and sits right before it.
                ASSERT_LE(static_cast<std::size_t>(segmentEnd) + 2, text.size());
                ASSERT_EQ("**", text.substr(segmentEnd, 2));
                ASSERT_EQ(segment, text.substr(segmentEnd - segment.size(), segment.size()));
            }
        } while (segmentEnd != 0 && steps <= length + 1);
        EXPECT_EQ(0, segmentEnd) << "round " << round;
        EXPECT_LE(steps, length + 1) << "round " << round;
    }
}

}  // namespace
