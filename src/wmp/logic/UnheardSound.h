// What one output device was given and may not yet have played, kept unscaled: where the device's
// volume is the whole system's, a change of the player's level is written into the samples again
// from where the device has got to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CUnheardSound {
public:
    CUnheardSound() = default;
    // frameBytes: the bytes of one frame; of the sound written, the last keepFrames are kept.
    CUnheardSound(std::size_t frameBytes, std::uint64_t keepFrames);

    void Write(const std::uint8_t* data, std::size_t bytes);
    // Frames written since the device was opened or last reset.
    std::uint64_t Written() const { return m_written; }
    // The device was reset where it had played position frames (counted as Written counts them):
    // gives what it had not played yet, as far as it is kept, and counts from 0 again, holding
    // just that, as the device counts from 0 after a reset.
    std::vector<std::uint8_t> Rewind(std::uint64_t position);

private:
    std::size_t m_frameBytes = 0;
    std::uint64_t m_keepFrames = 0;
    std::uint64_t m_written = 0;
    std::vector<std::uint8_t> m_kept; // the last frames written, up to twice keepFrames
};
