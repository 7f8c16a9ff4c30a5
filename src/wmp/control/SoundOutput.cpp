// The control's sound output thread: blocks of decoded sound into one waveOut device.
#include "wmp/control/SoundOutput.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

#include "wmp/control/PlayerMessages.h"

namespace {

// Each block written to the device holds this much sound; the device is kept this far ahead of
// what is heard: with 60 ms it ran dry now and then while the program was busy, with 120 ms
// while another process kept a core busy. From Vista on, levels are the device's own volume (the
// program's stream), which applies to what it has not yet handed to the sound server, so a change
// is heard within tens of milliseconds; scaling the samples instead would be heard only after this
// lead. A stop closes the device at once.
constexpr double kBlockMs = 20;
constexpr double kDeviceAheadMs = 180;
// Before Vista the device's volume is the whole system's and the samples carry the levels: a
// change stops the device where it has got to and writes what it had not played again, scaled
// anew from an unscaled copy of this much of the latest sound (more than the device's lead and
// what its driver holds beyond it).
constexpr double kUnheardKeptMs = 500;
// The silence after a list's last sound. When a device runs dry, Wine's PulseAudio driver plays
// the few milliseconds it had not yet handed to the sound server only after a break of 10 to
// 40 ms, so a list that ended on its last sample ended with that break and a click of its tail;
// behind this silence, what is held back is silence too.
constexpr double kTailMs = 60;
// The silence before a new device's first sound. The sound server is handed 30 ms at a time, and
// the driver's thread that hands it on starts with the device: when that thread came late, the
// first 20 ms of a list were heard and then a break. Now that break falls in this silence.
constexpr double kLeadInMs = 60;
// The decoding graphs run this far ahead of the device, no further.
constexpr double kQueueAheadMs = 400;
constexpr double kRefillMs = 100;
// A run's end is reported this long (at least) before its last sample is heard, so that the
// medium the host names next is opened and decoded while the tail still plays, and follows it
// without a gap. The control asks for more when opening takes longer (a busy machine).
constexpr double kShortestReportLeadMs = 300;
constexpr double kLongestReportLeadMs = 450;
// The longest a starting device waits for its full lead: a busy machine decodes the first
// samples slowly, and a device started with less ran dry after its first 25 ms.
constexpr DWORD kPrimeWaitMs = 300;
// The output thread's longest sleep, and a pusher's between looks at its abort flag.
constexpr DWORD kIdleWaitMs = 50;
// While a second device waits for the first to play out, the first one's position is read this
// often.
constexpr DWORD kSwitchPollMs = 2;
constexpr DWORD kPushWaitMs = 50;
constexpr DWORD kEndWaitMs = 3000;

std::int64_t Us(double ms)
{
    return std::llround(ms * 1000);
}

bool DeviceVolumeIsTheSystems()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwMajorVersion < 6;
}

// IBasicAudio's scale: hundredths of a decibel to an amplitude in 16.16 fixed point.
long Gain(long hundredthsDb)
{
    if (hundredthsDb <= -10000)
        return 0;
    return static_cast<long>(std::lround(65536.0 * std::pow(10.0, hundredthsDb / 2000.0)));
}

} // namespace

CSoundOutput::CSoundOutput(HWND notify) : m_notify(notify), m_systemVolume(DeviceVolumeIsTheSystems())
{
    // Until an open behind a tail has been timed, the output's first join gets the longest lead:
    // a machine that opens media slowly would otherwise hear a break there, and the tail it had
    // held back after it.
    m_reportLeadMs = kLongestReportLeadMs;
    InitializeCriticalSection(&m_lock);
    m_space = CreateSemaphoreA(nullptr, 0, LONG_MAX, nullptr);
    m_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_deviceEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, &CSoundOutput::ThreadMain, this, 0, nullptr);
    // Ahead of the user-interface and decoding threads: a busy program must not break the sound.
    if (m_thread)
        SetThreadPriority(m_thread, THREAD_PRIORITY_TIME_CRITICAL);
}

CSoundOutput::~CSoundOutput()
{
    EnterCriticalSection(&m_lock);
    m_quit = true;
    WakePushersLocked();
    LeaveCriticalSection(&m_lock);
    if (m_thread) {
        SetEvent(m_wake);
        if (WaitForSingleObject(m_thread, kEndWaitMs) != WAIT_OBJECT_0)
            TerminateThread(m_thread, 1);
        CloseHandle(m_thread);
    }
    CloseHandle(m_wake);
    CloseHandle(m_deviceEvent);
    CloseHandle(m_space);
    DeleteCriticalSection(&m_lock);
}

bool CSoundOutput::Push(std::uint32_t run, const PcmFormat& format, const BYTE* data, size_t size,
                        const volatile LONG* abort)
{
    EnterCriticalSection(&m_lock);
    if (m_queue.QueuedMs() >= kQueueAheadMs) {
        // Once full, the queue is refilled in bursts rather than a sample at a time.
        while (!m_quit && !*abort && !m_queue.IsDropped(run) &&
               m_queue.QueuedMs() >= kQueueAheadMs - kRefillMs)
            WaitForSpace();
    }
    const bool kept = !m_quit && !*abort && m_queue.Push(run, format, data, size);
    if (kept)
        m_tailWanted = false; // the list goes on
    // The output thread is woken only when the device wants more.
    const bool wake = m_deviceUs < Us(kDeviceAheadMs);
    LeaveCriticalSection(&m_lock);
    if (wake)
        SetEvent(m_wake);
    return kept;
}

void CSoundOutput::WakePushers()
{
    EnterCriticalSection(&m_lock);
    WakePushersLocked();
    LeaveCriticalSection(&m_lock);
}

// Windows XP has no condition variables: a pusher waits on a semaphore that each wake-up releases
// once for every pusher asleep on it. A count left over by a pusher that woke by its time-out is
// taken by the next wait, which then only looks once more.
void CSoundOutput::WakePushersLocked()
{
    const LONG asleep = m_spaceWaiters - m_spaceReleased;
    if (asleep > 0 && ReleaseSemaphore(m_space, asleep, nullptr))
        m_spaceReleased += asleep;
}

void CSoundOutput::WaitForSpace()
{
    ++m_spaceWaiters;
    LeaveCriticalSection(&m_lock);
    const DWORD woken = WaitForSingleObject(m_space, kPushWaitMs);
    EnterCriticalSection(&m_lock);
    --m_spaceWaiters;
    if (woken == WAIT_OBJECT_0)
        --m_spaceReleased;
}

void CSoundOutput::EndRun(std::uint32_t run)
{
    EnterCriticalSection(&m_lock);
    if (!m_queue.IsDropped(run)) {
        m_queue.EndRun(run);
        m_endsToReport.insert(run);
    }
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

void CSoundOutput::DropThrough(std::uint32_t lastRun)
{
    EnterCriticalSection(&m_lock);
    m_queue.DropThrough(lastRun);
    m_endsToReport.erase(m_endsToReport.begin(), m_endsToReport.upper_bound(lastRun));
    m_resetDevice = true;
    m_tailWanted = false;
    WakePushersLocked();
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

void CSoundOutput::Finish()
{
    EnterCriticalSection(&m_lock);
    m_tailWanted = true;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

void CSoundOutput::SetReportLead(double ms)
{
    EnterCriticalSection(&m_lock);
    m_reportLeadMs = std::clamp(ms, kShortestReportLeadMs, kLongestReportLeadMs);
    LeaveCriticalSection(&m_lock);
}

bool CSoundOutput::IsSilent()
{
    EnterCriticalSection(&m_lock);
    const bool silent = m_queue.NextFormat() == nullptr && m_deviceUs == 0 && !m_resetDevice;
    LeaveCriticalSection(&m_lock);
    return silent;
}

void CSoundOutput::SetLevels(long volume, long balance, bool mute)
{
    long left = mute ? 0 : Gain(std::clamp(volume, -10000L, 0L));
    long right = left;
    balance = std::clamp(balance, -10000L, 10000L);
    // A positive balance takes the left channel down by that much, a negative one the right.
    if (balance > 0)
        left = static_cast<long>(static_cast<long long>(left) * Gain(-balance) >> 16);
    else if (balance < 0)
        right = static_cast<long>(static_cast<long long>(right) * Gain(balance) >> 16);
    EnterCriticalSection(&m_lock);
    m_gainLeft = left;
    m_gainRight = right;
    m_levelsChanged = true;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

DWORD WINAPI CSoundOutput::ThreadMain(void* self)
{
    static_cast<CSoundOutput*>(self)->Run();
    return 0;
}

void CSoundOutput::Run()
{
    const HANDLE events[2] = {m_wake, m_deviceEvent};
    for (;;) {
        // Nothing to do at all: the thread sleeps until it is woken.
        EnterCriticalSection(&m_lock);
        const bool idle =
            m_deviceUs == 0 && m_queue.Empty() && m_endsToReport.empty() && !m_priming && !m_tailWanted;
        LeaveCriticalSection(&m_lock);
        WaitForMultipleObjects(2, events, FALSE,
                               m_next.handle ? kSwitchPollMs : (idle ? INFINITE : kIdleWaitMs));
        EnterCriticalSection(&m_lock);
        const bool quit = m_quit;
        const bool reset = std::exchange(m_resetDevice, false);
        const bool levels = std::exchange(m_levelsChanged, false);
        LeaveCriticalSection(&m_lock);
        if (quit)
            break;
        // A reset device went on to play what the sound server held (after a short break, 60 ms
        // more): the device is closed instead, which drops that too, and opens anew when sound
        // comes again.
        if (reset) {
            CloseDevice(m_next);
            CloseDevice(m_current);
        }
        if (levels) {
            SetDeviceLevels(m_current);
            SetDeviceLevels(m_next);
            if (m_systemVolume) {
                WriteAgainAtNewLevels(m_current, false);
                WriteAgainAtNewLevels(m_next, true);
            }
        }
        Reclaim();
        ReportEnds();
        Fill();
        WriteTail();
    }
    CloseDevice(m_next);
    CloseDevice(m_current);
}

void CSoundOutput::Reclaim()
{
    EnterCriticalSection(&m_lock);
    const bool wasPlaying = m_current.us > 0;
    for (Block& block : m_blocks) {
        if (!block.queued || !(block.header.dwFlags & WHDR_DONE))
            continue;
        block.queued = false;
        Device* device = block.device == m_current.handle ? &m_current
                         : block.device == m_next.handle  ? &m_next
                                                          : nullptr;
        if (device)
            device->us -= block.us;
        m_deviceUs -= block.us;
    }
    // A device that has played out while a second one waits has ended its run.
    if (wasPlaying && m_current.us == 0 && !m_next.handle && m_queue.InRun())
        ++m_underruns;
    LeaveCriticalSection(&m_lock);
}

void CSoundOutput::ReportEnds()
{
    EnterCriticalSection(&m_lock);
    for (auto it = m_endsToReport.begin(); it != m_endsToReport.end();) {
        const double before = m_queue.MsBeforeEnd(*it);
        if (before < 0 || Us(before) + m_deviceUs <= Us(m_reportLeadMs)) {
            PostMessageA(m_notify, kMsgRunHandedOver, static_cast<WPARAM>(*it), FALSE);
            it = m_endsToReport.erase(it);
        } else {
            ++it;
        }
    }
    LeaveCriticalSection(&m_lock);
}

CSoundOutput::Block* CSoundOutput::FreeBlock()
{
    for (Block& block : m_blocks) {
        if (!block.queued)
            return &block;
    }
    return nullptr;
}

void CSoundOutput::Fill()
{
    // A device that starts with its first block alone runs dry before the second one is there
    // (the first 20 ms are heard, then a gap): it is held until the whole lead is written.
    bool starting = false;
    // Sound long after the device went quiet starts a new list, not the next item of one: the
    // old device is closed and a new one opened. (Restarted after lying idle, a device lost 15 to
    // 20 ms of the list's start; a new one loses none.) A successor that comes late goes on at once
    // on the device that played its predecessor.
    if (m_current.handle && !m_next.handle &&
        GetTickCount() - m_current.lastWrite > kDeviceAheadMs + kLongestReportLeadMs) {
        EnterCriticalSection(&m_lock);
        const bool sound = m_queue.NextFormat() && m_current.us == 0;
        LeaveCriticalSection(&m_lock);
        if (sound && PlayedOut(m_current))
            CloseDevice(m_current);
    }
    for (;;) {
        Block* free = FreeBlock();
        if (!free)
            break;
        EnterCriticalSection(&m_lock);
        const PcmFormat* next = m_queue.NextFormat();
        const PcmFormat format = next ? *next : PcmFormat{};
        // Sound of another format goes to a second device, opened and held while the first one
        // plays out; nothing more goes to the first one from then on.
        Device* target = nullptr;
        if (!next)
            target = nullptr;
        else if (m_next.handle)
            target = format == m_next.format ? &m_next : nullptr;
        else if (!m_current.handle || format == m_current.format)
            target = &m_current;
        else
            target = &m_next;
        bool take = target && target->us < Us(kDeviceAheadMs);
        if (take && target == &m_current && m_current.us == 0 && m_endsToReport.empty() &&
            m_queue.QueuedMs() < kDeviceAheadMs) {
            // A device that starts (or restarts after running dry) waits for its full lead, or
            // until the sound stops coming.
            const DWORD now = GetTickCount();
            if (!m_priming) {
                m_priming = true;
                m_primeSince = now;
            }
            take = now - m_primeSince >= kPrimeWaitMs;
        }
        if (take)
            m_priming = false;
        LeaveCriticalSection(&m_lock);
        if (!take)
            break;
        if (!target->handle) {
            if (!OpenDevice(*target, format)) {
                // Nothing to play it on: what is queued in this format is let go as played.
                EnterCriticalSection(&m_lock);
                m_queue.Take(kQueueAheadMs, m_piece);
                WakePushersLocked();
                LeaveCriticalSection(&m_lock);
                break;
            }
            if (target == &m_next)
                waveOutPause(m_next.handle); // started when the first device has played out
        }
        if (target == &m_current && m_current.us == 0 && !starting) {
            waveOutPause(m_current.handle);
            starting = true;
            if (m_current.framesWritten == 0)
                WriteSilence(m_current, *free, kLeadInMs);
            free = FreeBlock();
            if (!free)
                break;
        }
        EnterCriticalSection(&m_lock);
        m_queue.Take(kBlockMs, m_piece);
        target->unheard.Write(m_piece.bytes.data(), m_piece.bytes.size());
        ApplyLevels(*target, m_piece);
        const std::int64_t us = Us(m_piece.Ms());
        target->us += us;
        m_deviceUs += us;
        WakePushersLocked();
        LeaveCriticalSection(&m_lock);
        if (m_piece.bytes.empty())
            continue; // end markers only
        free->buffer.assign(m_piece.bytes.begin(), m_piece.bytes.end());
        free->us = us;
        if (!WriteBlock(*target, *free))
            Uncount(*target, us);
    }
    if (starting && m_current.handle)
        waveOutRestart(m_current.handle);
    // The second device, holding its lead already, starts as soon as the first has played out:
    // a change of format costs no more than the start of a held device (about 17 ms here; starting
    // it up to 30 ms before the position says the first has played out changed nothing).
    if (m_next.handle && m_current.us == 0 && PlayedOut(m_current)) {
        CloseDevice(m_current);
        std::swap(m_current, m_next);
        waveOutRestart(m_current.handle);
    }
}

void CSoundOutput::WriteTail()
{
    EnterCriticalSection(&m_lock);
    const bool wanted = m_tailWanted && !m_queue.NextFormat();
    LeaveCriticalSection(&m_lock);
    if (!wanted)
        return;
    // The device that plays the last sound: the second one while it waits for the first.
    Device& device = m_next.handle ? m_next : m_current;
    Block* free = FreeBlock();
    if (device.handle && !free)
        return; // again once a block is done
    EnterCriticalSection(&m_lock);
    m_tailWanted = false;
    LeaveCriticalSection(&m_lock);
    if (device.handle)
        WriteSilence(device, *free, kTailMs);
}

void CSoundOutput::WriteSilence(Device& device, Block& block, double ms)
{
    const auto frames = static_cast<std::size_t>(std::llround(device.format.rate * ms / 1000));
    // The devices are given 16-bit sound only, silent at zero.
    block.buffer.assign(frames * device.format.FrameBytes(), 0);
    block.us = Us(ms);
    device.unheard.Write(block.buffer.data(), block.buffer.size());
    EnterCriticalSection(&m_lock);
    device.us += block.us;
    m_deviceUs += block.us;
    LeaveCriticalSection(&m_lock);
    if (!WriteBlock(device, block))
        Uncount(device, block.us);
}

void CSoundOutput::Uncount(Device& device, std::int64_t us)
{
    EnterCriticalSection(&m_lock);
    device.us -= us;
    m_deviceUs -= us;
    LeaveCriticalSection(&m_lock);
}

bool CSoundOutput::PlayedOut(const Device& device)
{
    // Blocks come back done once the sound server holds them, before they are heard: closing the
    // device then would cut its last tens of milliseconds.
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (!device.handle || waveOutGetPosition(device.handle, &time, sizeof time) != MMSYSERR_NOERROR ||
        time.wType != TIME_SAMPLES)
        return true;
    return time.u.sample >= device.framesWritten;
}

bool CSoundOutput::WriteBlock(Device& device, Block& block)
{
    if ((block.header.dwFlags & WHDR_PREPARED) && block.device)
        waveOutUnprepareHeader(block.device, &block.header, sizeof block.header);
    block.header = WAVEHDR{};
    block.header.lpData = reinterpret_cast<LPSTR>(block.buffer.data());
    block.header.dwBufferLength = static_cast<DWORD>(block.buffer.size());
    block.device = device.handle;
    if (waveOutPrepareHeader(device.handle, &block.header, sizeof block.header) != MMSYSERR_NOERROR ||
        waveOutWrite(device.handle, &block.header, sizeof block.header) != MMSYSERR_NOERROR)
        return false;
    block.queued = true;
    device.lastWrite = GetTickCount();
    device.framesWritten += static_cast<DWORD>(block.buffer.size() / device.format.FrameBytes());
    return true;
}

bool CSoundOutput::OpenDevice(Device& device, const PcmFormat& format)
{
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.rate;
    wave.wBitsPerSample = format.bits;
    wave.nBlockAlign = static_cast<WORD>(format.FrameBytes());
    wave.nAvgBytesPerSec = format.BytesPerSecond();
    HWAVEOUT handle = nullptr;
    if (waveOutOpen(&handle, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(m_deviceEvent), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR)
        return false;
    device = Device{};
    device.handle = handle;
    device.format = format;
    // A device without a volume of each channel plays samples scaled to the levels instead.
    WAVEOUTCAPSA caps{};
    device.scaled =
        m_systemVolume ||
        waveOutGetDevCapsA(reinterpret_cast<UINT_PTR>(handle), &caps, sizeof caps) != MMSYSERR_NOERROR ||
        (caps.dwSupport & (WAVECAPS_VOLUME | WAVECAPS_LRVOLUME)) != (WAVECAPS_VOLUME | WAVECAPS_LRVOLUME);
    if (m_systemVolume)
        device.unheard =
            CUnheardSound(format.FrameBytes(), std::llround(format.rate * kUnheardKeptMs / 1000));
    SetDeviceLevels(device);
    return true;
}

void CSoundOutput::CloseDevice(Device& device)
{
    if (!device.handle)
        return;
    waveOutReset(device.handle);
    TakeBackBlocks(device);
    waveOutClose(device.handle);
    device = Device{};
}

void CSoundOutput::TakeBackBlocks(Device& device)
{
    for (Block& block : m_blocks) {
        if (block.device != device.handle)
            continue;
        if (block.header.dwFlags & WHDR_PREPARED)
            waveOutUnprepareHeader(device.handle, &block.header, sizeof block.header);
        block.header = WAVEHDR{};
        block.queued = false;
        block.device = nullptr;
    }
    EnterCriticalSection(&m_lock);
    m_deviceUs -= device.us;
    device.us = 0;
    LeaveCriticalSection(&m_lock);
}

void CSoundOutput::SetDeviceLevels(Device& device)
{
    if (!device.handle || device.scaled)
        return;
    EnterCriticalSection(&m_lock);
    const long left = m_gainLeft, right = m_gainRight;
    LeaveCriticalSection(&m_lock);
    // The device's scale: 0xFFFF is full level, the left channel in the low word.
    const auto level = [](long gain) { return static_cast<DWORD>(std::min(gain, 0xFFFFL)); };
    if (waveOutSetVolume(device.handle, level(left) | level(right) << 16) != MMSYSERR_NOERROR) {
        device.scaled = true;
        waveOutSetVolume(device.handle, 0xFFFFFFFF);
    }
}

void CSoundOutput::WriteAgainAtNewLevels(Device& device, bool held)
{
    if (!device.handle)
        return;
    // Held still, the device's position says exactly where the new levels begin.
    waveOutPause(device.handle);
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device.handle, &time, sizeof time) != MMSYSERR_NOERROR ||
        time.wType != TIME_SAMPLES || time.u.sample >= device.framesWritten) {
        // Nothing left to play, or no position to start from: the levels come with the next block.
        if (!held)
            waveOutRestart(device.handle);
        return;
    }
    // A reset hands back every block and counts the position from 0 again.
    waveOutReset(device.handle);
    waveOutPause(device.handle);
    TakeBackBlocks(device);
    device.framesWritten = 0;
    PcmPiece rest;
    rest.format = device.format;
    rest.bytes = device.unheard.Rewind(time.u.sample);
    EnterCriticalSection(&m_lock);
    ApplyLevels(device, rest);
    LeaveCriticalSection(&m_lock);
    // In blocks of the usual length, or longer where the other device holds blocks too.
    const size_t frameBytes = device.format.FrameBytes();
    size_t freeBlocks = 0;
    for (const Block& block : m_blocks)
        freeBlocks += block.queued ? 0 : 1;
    const size_t blockFrames = static_cast<size_t>(kBlockMs * device.format.rate / 1000);
    const size_t restFrames = rest.bytes.size() / frameBytes;
    const size_t pieces = std::max<size_t>(freeBlocks, 1);
    const size_t framesEach = std::max(blockFrames, (restFrames + pieces - 1) / pieces);
    for (size_t frame = 0; frame < restFrames; frame += framesEach) {
        Block* free = FreeBlock();
        if (!free)
            break;
        const size_t frames = std::min(framesEach, restFrames - frame);
        const auto from = rest.bytes.begin() + static_cast<std::ptrdiff_t>(frame * frameBytes);
        free->buffer.assign(from, from + static_cast<std::ptrdiff_t>(frames * frameBytes));
        free->us = std::llround(frames * 1e6 / device.format.rate);
        if (!WriteBlock(device, *free))
            break;
        EnterCriticalSection(&m_lock);
        device.us += free->us;
        m_deviceUs += free->us;
        LeaveCriticalSection(&m_lock);
    }
    if (!held)
        waveOutRestart(device.handle);
}

void CSoundOutput::ApplyLevels(const Device& device, PcmPiece& piece) const
{
    const long left = m_gainLeft, right = m_gainRight;
    if (!device.scaled || (left == 65536 && right == 65536))
        return;
    // The queue gives 16-bit sound only.
    const bool stereo = piece.format.channels == 2;
    const size_t count = piece.bytes.size() / 2;
    for (size_t i = 0; i < count; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, &piece.bytes[i * 2], 2);
        const long gain = stereo && (i & 1) ? right : left;
        sample = static_cast<std::int16_t>(static_cast<long long>(sample) * gain >> 16);
        std::memcpy(&piece.bytes[i * 2], &sample, 2);
    }
}
