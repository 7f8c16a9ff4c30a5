// The queue of decoded sound between the decoding graphs and the output.
#include "wmp/logic/PcmQueue.h"

#include <algorithm>

bool PcmFormat::IsPlayable() const
{
    return (bits == 8 || bits == 16) && (channels == 1 || channels == 2) && rate >= 1000 && rate <= 384000;
}

double PcmPiece::Ms() const
{
    const std::uint32_t perSecond = format.BytesPerSecond();
    return perSecond ? bytes.size() * 1000.0 / perSecond : 0;
}

bool CPcmQueue::Push(std::uint32_t run, const PcmFormat& format, const std::uint8_t* data, std::size_t size)
{
    if (IsDropped(run) || !format.IsPlayable() || !data)
        return false;
    size -= size % format.FrameBytes();
    if (size == 0)
        return true;
    // Each piece is an entry of its own, let go once taken: one entry that grew with every piece of
    // a run held the medium's whole sound until it ended.
    Entry entry;
    entry.run = run;
    entry.format = format;
    if (format.bits == 8) {
        // Unsigned 8-bit sound is silent at 0x80, but the layers under waveOut (Wine's PulseAudio
        // driver, once a device has run dry) fill with zero bytes: a full-scale step at the end
        // of an 8-bit item. The output is given 16-bit sound only, which also lets an 8-bit item
        // and a 16-bit one of the same rate and channels share a device.
        entry.format.bits = 16;
        entry.bytes.resize(size * 2);
        for (std::size_t i = 0; i < size; ++i) {
            const auto sample = static_cast<std::uint16_t>((data[i] - 128) * 256);
            entry.bytes[i * 2] = static_cast<std::uint8_t>(sample);
            entry.bytes[i * 2 + 1] = static_cast<std::uint8_t>(sample >> 8);
        }
    } else {
        entry.bytes.assign(data, data + size);
    }
    m_entries.push_back(std::move(entry));
    return true;
}

void CPcmQueue::EndRun(std::uint32_t run)
{
    if (IsDropped(run))
        return;
    Entry marker;
    marker.run = run;
    marker.end = true;
    m_entries.push_back(std::move(marker));
}

void CPcmQueue::DropThrough(std::uint32_t lastRun)
{
    m_entries.clear();
    m_takenRunOpen = false;
    if (!m_anyDropped || lastRun > m_droppedThrough)
        m_droppedThrough = lastRun;
    m_anyDropped = true;
}

const PcmFormat* CPcmQueue::NextFormat() const
{
    for (const Entry& entry : m_entries) {
        if (!entry.end && entry.Left() > 0)
            return &entry.format;
    }
    return nullptr;
}

double CPcmQueue::QueuedMs() const
{
    double ms = 0;
    for (const Entry& entry : m_entries) {
        if (!entry.end)
            ms += entry.Left() * 1000.0 / entry.format.BytesPerSecond();
    }
    return ms;
}

std::size_t CPcmQueue::HeldBytes() const
{
    std::size_t bytes = 0;
    for (const Entry& entry : m_entries)
        bytes += entry.bytes.capacity();
    return bytes;
}

double CPcmQueue::MsBeforeEnd(std::uint32_t run) const
{
    double ms = 0;
    for (const Entry& entry : m_entries) {
        if (entry.end && entry.run == run)
            return ms;
        if (!entry.end)
            ms += entry.Left() * 1000.0 / entry.format.BytesPerSecond();
    }
    return -1;
}

bool CPcmQueue::InRun() const
{
    if (!m_takenRunOpen)
        return false;
    for (const Entry& entry : m_entries) {
        if (entry.end && entry.run == m_takenRun)
            return false;
    }
    return true;
}

bool CPcmQueue::Take(double maxMs, PcmPiece& out)
{
    out.bytes.clear();
    out.endedRuns.clear();
    if (m_entries.empty())
        return false;
    const PcmFormat* next = NextFormat();
    if (next)
        out.format = *next;
    std::size_t wanted = 0;
    if (next) {
        const std::size_t frames =
            std::max<std::size_t>(1, static_cast<std::size_t>(maxMs * next->rate / 1000.0));
        wanted = frames * next->FrameBytes();
    }
    while (!m_entries.empty()) {
        Entry& front = m_entries.front();
        if (front.end) {
            out.endedRuns.push_back(front.run);
            if (front.run == m_takenRun)
                m_takenRunOpen = false;
            m_entries.pop_front();
            continue;
        }
        if (front.format != out.format || out.bytes.size() >= wanted)
            break;
        const std::size_t count = std::min(front.Left(), wanted - out.bytes.size());
        const auto begin = front.bytes.begin() + static_cast<std::ptrdiff_t>(front.offset);
        out.bytes.insert(out.bytes.end(), begin, begin + static_cast<std::ptrdiff_t>(count));
        front.offset += count;
        m_takenRun = front.run;
        m_takenRunOpen = true;
        if (front.Left() == 0)
            m_entries.pop_front();
    }
    return true;
}
