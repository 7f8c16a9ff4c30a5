// The queue of decoded sound: runs joined back to back, end markers, formats, and what a stop or
// a new medium leaves of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "wmp/logic/PcmQueue.h"

namespace {

const PcmFormat kCd{48000, 2, 16}; // whole frames in every millisecond
const PcmFormat kHalfRate{24000, 2, 16};

// ms milliseconds of a format, every byte set to value.
std::vector<std::uint8_t> Sound(const PcmFormat& format, int ms, std::uint8_t value)
{
    return std::vector<std::uint8_t>(format.BytesPerSecond() / 1000 * ms, value);
}

void Push(CPcmQueue& queue, std::uint32_t run, const PcmFormat& format, int ms, std::uint8_t value)
{
    const std::vector<std::uint8_t> bytes = Sound(format, ms, value);
    queue.Push(run, format, bytes.data(), bytes.size());
}

} // namespace

TEST(PcmQueue, TheNextRunFollowsTheLastSampleOfThePreviousInOnePiece)
{
    CPcmQueue queue;
    Push(queue, 1, kCd, 15, 0x11);
    queue.EndRun(1);
    Push(queue, 2, kCd, 15, 0x22);
    EXPECT_NEAR(queue.QueuedMs(), 30, 0.01);
    EXPECT_NEAR(queue.MsBeforeEnd(1), 15, 0.01);
    EXPECT_LT(queue.MsBeforeEnd(2), 0) << "the second run has not ended";

    PcmPiece piece;
    ASSERT_TRUE(queue.Take(10, piece));
    EXPECT_NEAR(piece.Ms(), 10, 0.01);
    EXPECT_TRUE(piece.endedRuns.empty());
    ASSERT_TRUE(queue.Take(10, piece));
    ASSERT_NEAR(piece.Ms(), 10, 0.01) << "across the join, no gap";
    const std::size_t join = kCd.BytesPerSecond() / 1000 * 5;
    EXPECT_EQ(piece.bytes[join - 1], 0x11);
    EXPECT_EQ(piece.bytes[join], 0x22) << "the first sample of run 2 right after the last of run 1";
    EXPECT_EQ(piece.endedRuns, std::vector<std::uint32_t>{1});
    EXPECT_LT(queue.MsBeforeEnd(1), 0) << "its marker is taken";
    ASSERT_TRUE(queue.Take(10, piece));
    EXPECT_NEAR(piece.Ms(), 10, 0.01);
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.Take(10, piece));
}

TEST(PcmQueue, AMarkerRightBehindThePieceComesWithIt)
{
    CPcmQueue queue;
    Push(queue, 1, kCd, 10, 1);
    queue.EndRun(1);
    PcmPiece piece;
    ASSERT_TRUE(queue.Take(10, piece));
    EXPECT_EQ(piece.endedRuns, std::vector<std::uint32_t>{1});
    EXPECT_TRUE(queue.Empty());

    queue.EndRun(2); // a run that ended without a sample
    ASSERT_TRUE(queue.Take(10, piece));
    EXPECT_TRUE(piece.bytes.empty());
    EXPECT_EQ(piece.endedRuns, std::vector<std::uint32_t>{2});
}

TEST(PcmQueue, APieceHoldsOneFormat)
{
    CPcmQueue queue;
    Push(queue, 1, kCd, 5, 1);
    queue.EndRun(1);
    Push(queue, 2, kHalfRate, 20, 2);
    ASSERT_EQ(*queue.NextFormat(), kCd);
    PcmPiece piece;
    ASSERT_TRUE(queue.Take(10, piece));
    EXPECT_EQ(piece.format, kCd);
    EXPECT_NEAR(piece.Ms(), 5, 0.01) << "stops where the format changes";
    EXPECT_EQ(piece.endedRuns, std::vector<std::uint32_t>{1});
    ASSERT_EQ(*queue.NextFormat(), kHalfRate);
    ASSERT_TRUE(queue.Take(10, piece));
    EXPECT_EQ(piece.format, kHalfRate);
    EXPECT_NEAR(piece.Ms(), 10, 0.01);
}

TEST(PcmQueue, DroppingEmptiesTheQueueAndRefusesTheDroppedRuns)
{
    struct Case {
        const char* what;
        std::uint32_t run;
        bool kept;
    };
    const Case cases[] = {
        {"an older run", 1, false},
        {"the run playing at the stop", 3, false},
        {"a run started after the stop", 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPcmQueue queue;
        Push(queue, 2, kCd, 50, 1);
        queue.EndRun(2);
        Push(queue, 3, kCd, 50, 1);
        queue.DropThrough(3);
        EXPECT_TRUE(queue.Empty());
        EXPECT_EQ(queue.QueuedMs(), 0);
        Push(queue, c.run, kCd, 10, 1);
        queue.EndRun(c.run);
        EXPECT_EQ(!queue.Empty(), c.kept);
        EXPECT_EQ(queue.IsDropped(c.run), !c.kept);
    }
}

TEST(PcmQueue, PartialFramesAndUnplayableFormatsAreLeftOut)
{
    CPcmQueue queue;
    const std::uint8_t bytes[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_TRUE(queue.Push(1, kCd, bytes, sizeof bytes));
    PcmPiece piece;
    ASSERT_TRUE(queue.Take(100, piece));
    EXPECT_EQ(piece.bytes.size(), 4u) << "one whole frame of four bytes";
    EXPECT_FALSE(queue.Push(1, PcmFormat{44100, 2, 24}, bytes, 6));
    EXPECT_FALSE(queue.Push(1, PcmFormat{44100, 6, 16}, bytes, 6));
    EXPECT_TRUE(queue.Empty());
}

// As the output plays one long item: the decoder keeps the queue 400 ms ahead in pieces of its own
// size, the device takes 20 ms at a time. Ten minutes in, the queue holds no more than its lead.
TEST(PcmQueue, TheSoundOfALongRunIsLetGoOnceTaken)
{
    CPcmQueue queue;
    const std::vector<std::uint8_t> piece = Sound(kCd, 23, 0x11); // not a whole number of takes
    const std::size_t leadBytes = kCd.BytesPerSecond() / 1000 * 400;
    std::size_t mostHeld = 0;
    PcmPiece taken;
    for (int take = 0; take < 10 * 60 * 50; ++take) {
        while (queue.QueuedMs() < 400)
            queue.Push(1, kCd, piece.data(), piece.size());
        ASSERT_TRUE(queue.Take(20, taken));
        ASSERT_NEAR(taken.Ms(), 20, 0.01);
        mostHeld = std::max(mostHeld, queue.HeldBytes());
    }
    EXPECT_LE(mostHeld, leadBytes + 2 * piece.size()) << "what was played is still held";
}
