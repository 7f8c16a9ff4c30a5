// The unscaled copy of what an output device may not yet have played.
#include "wmp/logic/UnheardSound.h"

#include <algorithm>

CUnheardSound::CUnheardSound(std::size_t frameBytes, std::uint64_t keepFrames)
    : m_frameBytes(frameBytes), m_keepFrames(keepFrames)
{
}

void CUnheardSound::Write(const std::uint8_t* data, std::size_t bytes)
{
    if (m_frameBytes == 0)
        return;
    bytes -= bytes % m_frameBytes;
    m_kept.insert(m_kept.end(), data, data + bytes);
    m_written += bytes / m_frameBytes;
    // Let go of the oldest in one go once twice the kept length has gathered, not at every write.
    const std::size_t keepBytes = static_cast<std::size_t>(m_keepFrames) * m_frameBytes;
    if (m_kept.size() > 2 * keepBytes)
        m_kept.erase(m_kept.begin(), m_kept.end() - static_cast<std::ptrdiff_t>(keepBytes));
}

std::vector<std::uint8_t> CUnheardSound::Rewind(std::uint64_t position)
{
    std::vector<std::uint8_t> rest;
    if (m_frameBytes != 0) {
        const std::uint64_t keptFrames = std::min<std::uint64_t>(m_kept.size() / m_frameBytes, m_keepFrames);
        const std::uint64_t unplayed = position < m_written ? m_written - position : 0;
        const std::size_t restBytes = static_cast<std::size_t>(std::min(unplayed, keptFrames)) * m_frameBytes;
        rest.assign(m_kept.end() - static_cast<std::ptrdiff_t>(restBytes), m_kept.end());
    }
    m_kept = rest;
    m_written = m_frameBytes ? rest.size() / m_frameBytes : 0;
    return rest;
}
