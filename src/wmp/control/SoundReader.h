// Sound-only media that DirectShow cannot play, decoded through Media Foundation's source reader
// (AAC from Windows 7 on, FLAC and ALAC from Windows 10 on) into the control's own sound output,
// so that they follow their neighbours without a gap like every other sound-only medium.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include <vector>

#include "wmp/logic/PcmQueue.h"
#include "wmp/logic/SampleWidth.h"

class CSoundOutput;
struct IMFSourceReader;

class CSoundReader {
public:
    // control receives kMsgRunDecoded after the last sample of a run.
    CSoundReader(HWND control, CSoundOutput* output);
    ~CSoundReader(); // stops decoding and lets the reader go
    CSoundReader(const CSoundReader&) = delete;
    CSoundReader& operator=(const CSoundReader&) = delete;

    // Fails where the system has no source reader (before Windows 7), for a file it cannot open,
    // and for a medium that has a picture or no sound.
    HRESULT Open(const std::wstring& path);
    LONGLONG DurationMs() const { return m_durationMs; }
    // Decodes from the beginning on a thread of its own, as fast as the output takes the sound,
    // queued under run. False when the thread cannot be had.
    bool Start(std::uint32_t run);
    // Ends the decoding; what was queued stays with the output.
    void Stop();

    // Whether the path goes to the source reader before DirectShow is asked. Only the 64-bit test
    // build has the switch (QUON_READER_EXTENSIONS, a list such as ".m4a;.flac"), so that the
    // tests reach this route under Wine, whose DirectShow decodes these files too.
    static bool TakesFirst(const std::wstring& path);

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Decode();
    HRESULT ChooseOutput();
    bool ReadFormat();

    HWND m_control;
    CSoundOutput* m_output;
    IMFSourceReader* m_reader = nullptr;
    bool m_started = false; // this object's share of the platform's start-up
    PcmFormat m_format;     // what the output is given
    SampleLayout m_layout;  // what the decoder gives
    bool m_narrowed = false; // the decoder's sound is narrowed to m_format first
    std::vector<std::uint8_t> m_narrow;
    LONGLONG m_durationMs = 0;
    HANDLE m_thread = nullptr;
    std::uint32_t m_run = 0;
    volatile LONG m_abort = 0;
};
