// The player control's queue of decoded sound: the runs of successive media, back to back, each
// followed by a marker at its end, so that the output plays the first sample of the next medium
// right after the last sample of the previous one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

// Integer PCM as the decoders give it; the output devices are given 16-bit sound only.
struct PcmFormat {
    std::uint32_t rate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;

    std::uint32_t FrameBytes() const { return channels * (bits / 8u); }
    std::uint32_t BytesPerSecond() const { return rate * FrameBytes(); }
    // 8- or 16-bit samples, one or two channels, 1 kHz to 384 kHz.
    bool IsPlayable() const;
    bool operator==(const PcmFormat& other) const
    {
        return rate == other.rate && channels == other.channels && bits == other.bits;
    }
    bool operator!=(const PcmFormat& other) const { return !(*this == other); }
};

// What the output takes in one piece: sound of one format, and the runs whose last sample is in
// it (or that ended before it began).
struct PcmPiece {
    PcmFormat format;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> endedRuns;
    double Ms() const;
};

// Runs are numbered upwards; the queue keeps the order in which they were pushed. Not locked:
// its owner serialises the calls.
class CPcmQueue {
public:
    // Appends whole frames of a run (a partial frame at the end is left out), 8-bit sound widened
    // to 16 bits. Nothing is kept for a dropped run or an unplayable format; returns whether it
    // was kept.
    bool Push(std::uint32_t run, const PcmFormat& format, const std::uint8_t* data, std::size_t size);
    // The run's last sample has been pushed: a marker follows it.
    void EndRun(std::uint32_t run);
    // Drops all that is queued and refuses every run up to and including lastRun from now on.
    void DropThrough(std::uint32_t lastRun);
    bool IsDropped(std::uint32_t run) const { return m_anyDropped && run <= m_droppedThrough; }

    bool Empty() const { return m_entries.empty(); }
    // The format of the next sound, or null when no sound is queued.
    const PcmFormat* NextFormat() const;
    // Milliseconds of sound queued.
    double QueuedMs() const;
    // Bytes of memory the queued sound takes, counting any part already taken but not yet let go.
    std::size_t HeldBytes() const;
    // Milliseconds of sound queued before the run's end marker; negative when no such marker is
    // queued (not ended yet, or already taken).
    double MsBeforeEnd(std::uint32_t run) const;

    // Whether the last sound taken belongs to a run that goes on: neither its end marker nor a drop
    // has come since. An output that runs dry then has broken off in the middle of a medium.
    bool InRun() const;

    // Takes up to maxMs of sound (at least one frame) of the next format, across the joins of
    // runs of that format, and the end markers met on the way or right behind it. False when
    // nothing at all was queued.
    bool Take(double maxMs, PcmPiece& out);

private:
    struct Entry {
        std::uint32_t run = 0;
        bool end = false;
        PcmFormat format;
        std::vector<std::uint8_t> bytes;
        std::size_t offset = 0; // bytes already taken
        std::size_t Left() const { return bytes.size() - offset; }
    };
    std::deque<Entry> m_entries;
    std::uint32_t m_droppedThrough = 0;
    bool m_anyDropped = false;
    std::uint32_t m_takenRun = 0; // the run of the last sound taken
    bool m_takenRunOpen = false;  // ... and its end marker has not been taken
};
