// The player control's one sound output: a waveOut device (two across a change of format) fed
// from a thread of its own with the decoded sound of successive media, back to back, at the
// control's volume and balance.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <set>

#include "wmp/logic/PcmQueue.h"
#include "wmp/logic/UnheardSound.h"

class CSoundOutput {
public:
    // notify receives kMsgRunHandedOver when a run's last sample is about to reach the device.
    explicit CSoundOutput(HWND notify);
    ~CSoundOutput();
    CSoundOutput(const CSoundOutput&) = delete;
    CSoundOutput& operator=(const CSoundOutput&) = delete;

    // From a graph's streaming thread: queues decoded sound of a run, waiting while enough is
    // queued already. False when the run was dropped, or once *abort is set (WakePushers ends
    // the wait).
    bool Push(std::uint32_t run, const PcmFormat& format, const BYTE* data, size_t size,
              const volatile LONG* abort);
    void WakePushers();
    // The run's last sample has been pushed.
    void EndRun(std::uint32_t run);
    // Silences the device and drops all that is queued; runs up to lastRun are refused later.
    void DropThrough(std::uint32_t lastRun);
    // Nothing follows what is queued (the host ended its list): once it is all written, a short
    // silence of the output's own follows it. Sound pushed later goes on after that silence.
    void Finish();
    // How long before its last sample is heard a run's end is reported (200 to 450 ms).
    void SetReportLead(double ms);
    // Nothing queued and nothing left in the device.
    bool IsSilent();
    // Hundredths of a decibel, as IBasicAudio counts them.
    void SetLevels(long volume, long balance, bool mute);
    // How often the device has played all it was given while a medium went on (not at a list's
    // end, nor after a stop): the output ran dry.
    long Underruns() const { return m_underruns.load(); }

private:
    struct Block {
        WAVEHDR header{};
        std::vector<BYTE> buffer;
        std::int64_t us = 0;       // microseconds of sound
        bool queued = false;       // written to the device and not yet done
        HWAVEOUT device = nullptr; // the device it was written to
    };
    // One open waveOut device: the one playing, or the next one (another format) held ready.
    struct Device {
        HWAVEOUT handle = nullptr;
        PcmFormat format;
        DWORD framesWritten = 0; // since it was opened
        // Microseconds written and not yet done (under m_lock), counted in whole numbers: what
        // comes back done is taken off exactly, and a device that has played out holds 0.
        std::int64_t us = 0;
        bool scaled = false;     // takes no volume of its own: the samples carry the levels
        DWORD lastWrite = 0;     // tick count of the last block written
        CUnheardSound unheard;   // where a change of level is written again (before Vista)
    };
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void Reclaim();
    void ReportEnds();
    Block* FreeBlock();
    void Fill();
    void WriteTail();
    // Writes ms of silence of the device's format, counted as sound written.
    void WriteSilence(Device& device, Block& block, double ms);
    bool OpenDevice(Device& device, const PcmFormat& format);
    void CloseDevice(Device& device);
    // After a reset: the device's blocks are free again and its sound no longer counted.
    void TakeBackBlocks(Device& device);
    bool WriteBlock(Device& device, Block& block);
    // A block counted as written that the device refused: its sound is no longer counted.
    void Uncount(Device& device, std::int64_t us);
    bool PlayedOut(const Device& device);
    void SetDeviceLevels(Device& device);
    void WriteAgainAtNewLevels(Device& device, bool held);
    void WakePushersLocked();
    void WaitForSpace();
    void ApplyLevels(const Device& device, PcmPiece& piece) const;

    HWND m_notify;
    // Before Windows Vista a wave device's volume is the whole system's: the program leaves it
    // alone there, and its levels are in the samples.
    const bool m_systemVolume;
    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr;        // something to do for the output thread
    HANDLE m_deviceEvent = nullptr; // the device finished a block
    CRITICAL_SECTION m_lock;
    HANDLE m_space = nullptr;       // released for pushers waiting for room in the queue

    // Under m_lock.
    LONG m_spaceWaiters = 0;  // pushers waiting on m_space
    LONG m_spaceReleased = 0; // of them, released and not yet awake
    CPcmQueue m_queue;
    std::set<std::uint32_t> m_endsToReport;
    bool m_quit = false;
    bool m_resetDevice = false;
    bool m_levelsChanged = false;
    bool m_tailWanted = false; // Finish: the silence goes after the last sound queued
    std::int64_t m_deviceUs = 0; // sound written to the devices and not yet played
    double m_reportLeadMs = 0; // set by the constructor, then by SetReportLead
    long m_gainLeft = 65536; // 16.16 fixed point
    long m_gainRight = 65536;

    // The output thread's own.
    Device m_current;
    Device m_next;
    Block m_blocks[16];
    PcmPiece m_piece;
    bool m_priming = false;
    DWORD m_primeSince = 0;

    std::atomic<long> m_underruns{0};
};
