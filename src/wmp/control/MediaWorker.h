// The player control's media thread: builds, runs, stops and releases the DirectShow graphs (and
// the source readers of what DirectShow cannot play), so that the control's window (the
// user-interface thread) never waits for a graph.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "wmp/control/MediaSession.h"

class CSoundOutput;

// What opening one medium found. Written by the media thread; the control reads it once `opened`
// is signalled (or, for the picture alone, once `pictureKnown` is).
class COpenTicket {
public:
    COpenTicket();
    ~COpenTicket();
    COpenTicket(const COpenTicket&) = delete;
    COpenTicket& operator=(const COpenTicket&) = delete;

    // Waits for the picture decision; sent messages keep being handled meanwhile, so that the
    // media thread may reach this thread's windows while it places a picture. False on time-out.
    bool WaitForPicture(DWORD timeoutMs) const;
    bool PictureKnown() const { return WaitForSingleObject(m_pictureEvent, 0) == WAIT_OBJECT_0; }
    void SignalPicture() { SetEvent(m_pictureEvent); }

    // Set before the picture is signalled.
    volatile bool failed = false;
    volatile bool hasPicture = false;
    // Set before the control is told that the open is done.
    bool soundToControl = false; // the decoded sound comes to the control's own output
    LONGLONG durationMs = 0;

private:
    HANDLE m_pictureEvent;
};

class CMediaWorker {
public:
    // control receives kMsgItemOpened and kMsgItemEnded; sound is where decoded sound is queued.
    CMediaWorker(HWND control, CSoundOutput* sound);
    ~CMediaWorker(); // releases every graph and ends the thread
    CMediaWorker(const CMediaWorker&) = delete;
    CMediaWorker& operator=(const CMediaWorker&) = delete;

    bool Started() const { return m_window != nullptr; }

    void Open(DWORD item, const std::wstring& path, std::shared_ptr<COpenTicket> ticket);
    // run tags the decoded sound in the control's output (a new run for every start).
    void Start(DWORD item, DWORD run);
    // Stops and rewinds (a graph that plays by itself) or releases (one that feeds the output).
    void Stop(DWORD item);
    // Another round of a graph that plays by itself, from its beginning.
    void Restart(DWORD item);
    // Releases the graph; one that played to its end keeps running a little so that its sound
    // renderer plays out what it holds.
    void Close(DWORD item);
    void Place(DWORD item, const RECT& area, bool naturalSize);
    void SetAudio(long volume, long balance, bool mute);

private:
    struct Command;
    struct Session;
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Post(std::unique_ptr<Command> command);
    void Run();
    void Execute(Command& command);
    void DoOpen(Command& command);
    // Media Foundation's source reader for what DirectShow could not open.
    bool OpenReader(Session& session, const std::wstring& path);
    void DoStart(Session& session, DWORD run);
    void DoClose(DWORD item);
    void OnGraphNotify(DWORD item);
    void CheckEnd(Session& session);
    void OnTick();
    void ReleaseDrained(bool all);
    void PostToControl(UINT message, DWORD item, LPARAM value);

    HWND m_control;
    CSoundOutput* m_sound;
    HANDLE m_thread = nullptr;
    HANDLE m_ready = nullptr;
    HWND m_window = nullptr; // the media thread's message-only window

    // Owned by the media thread.
    std::map<DWORD, std::unique_ptr<Session>> m_sessions;
    struct Draining {
        std::unique_ptr<Session> session;
        DWORD releaseAt;
    };
    std::vector<Draining> m_draining;
    long m_volume = -600;
    long m_balance = 0;
    bool m_mute = false;
};
