// The player control's window object: its settings, the medium it plays and the reports it owes.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/Dispatch.h"
#include "wmp/control/MediaWorker.h"
#include "wmp/control/SoundOutput.h"

struct PlayerInitialState;

class CPlayerControl {
public:
    explicit CPlayerControl(HWND window);
    ~CPlayerControl();
    CPlayerControl(const CPlayerControl&) = delete;
    CPlayerControl& operator=(const CPlayerControl&) = delete;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend struct CPlayerControlDispatchTable;

    using Handler = LRESULT (CPlayerControl::*)(WPARAM, LPARAM);
    struct MessageEntry {
        UINT message;
        Handler handler;
    };
    static const MessageEntry s_messageMap[];

    // Where the current medium stands.
    enum class ItemState {
        None,    // no file name
        Opening, // its graph is being built on the media thread
        Ready,   // opened and stopped at its beginning
        Playing, // running (until its last sample has been handed on)
        Ended,   // played to its end or stopped for good; Play opens it again
        Failed,  // cannot be played
    };

    // Message handlers.
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnItemOpened(WPARAM, LPARAM);
    LRESULT OnItemEnded(WPARAM, LPARAM);
    LRESULT OnRunDecoded(WPARAM, LPARAM);
    LRESULT OnRunHandedOver(WPARAM, LPARAM);
    LRESULT OnFireReports(WPARAM, LPARAM);
    LRESULT OnLoadFromStream(WPARAM, LPARAM);
    LRESULT OnDispatch(WPARAM, LPARAM);
    LRESULT OnSoundUnderruns(WPARAM, LPARAM);

    // Dispatch operations (PlayerDispatch.cpp).
    HRESULT GetVolume(VARIANT& result);
    HRESULT PutVolume(const VARIANT& value);
    HRESULT GetNaturalSize(VARIANT& result);
    HRESULT PutNaturalSize(const VARIANT& value);
    HRESULT GetFileName(VARIANT& result);
    HRESULT PutFileName(const VARIANT& value);
    HRESULT GetNoPicture(VARIANT& result);
    HRESULT Play();
    HRESULT Stop();

    void ApplyInitialState(const PlayerInitialState& state);
    void ShutDown();

    // The medium's course.
    CMediaWorker& Worker();
    void OpenItem(const std::wstring& path);
    void CloseItem();
    void PlayItem();
    void StartItem();
    void StartNow();
    bool FeedsOutput() const;
    void SilenceOutput();
    void NoteOpenTime();
    void StopItem();
    void ReleaseItem();
    void ReportFailure();
    void StopUntoldFailure();
    void ForgetFailures();
    void EndItem(bool failed);
    bool PlaysAgain();
    void ApplyAudio();
    bool HasPicture() const;
    long long PositionMs() const;

    // PlayStateChange reports, delivered from a posted message so that a host may drive the
    // control again from inside its handler.
    void QueueReport(LONG newState);
    void QueueStopBeforeStart();

    void Layout();
    RECT VideoArea() const;
    RECT BarArea() const;
    void InvalidateBar();

    HWND m_window;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);

    // Settings (the persisted state, then the host's writes).
    bool m_autoStart;
    bool m_mute;
    bool m_showControls;
    bool m_sendPlayStateEvents;
    bool m_naturalSize;
    long m_volume;
    long m_balance;
    long m_playCount;
    COLORREF m_backColour;
    COLORREF m_foreColour;

    // The current medium.
    std::wstring m_path;
    ItemState m_state = ItemState::None;
    DWORD m_item = 0; // its number on the media thread (a new one for every open)
    DWORD m_lastItem = 0;
    std::shared_ptr<COpenTicket> m_ticket;
    bool m_soundOnlyFile = false; // told by the file's first bytes
    bool m_pictureFile = false;   // the same: a container of pictures
    bool m_playWanted = false;    // Play came while it was still opening
    bool m_stopAfterOpen = false; // ... and then Stop
    long m_playsLeft = 0;
    DWORD m_startTicks = 0; // when it started, for the bar's position
    DWORD m_waitOutputSince = 0;
    DWORD m_openSince = 0;         // when its open was asked for
    bool m_openBehindTail = false; // ... while the previous item's tail played
    DWORD m_recentOpensMs[4] = {}; // how long the last opens behind a tail took
    int m_recentOpenIndex = 0;

    DWORD m_run = 0; // the run its sound is queued under in the output
    DWORD m_lastRun = 0;

    // Made with the first medium; the worker is released first (its graphs feed the output).
    std::unique_ptr<CSoundOutput> m_output;
    std::unique_ptr<CMediaWorker> m_worker;

    // Paths that could not be played since an item last played: asked again, they stay silent
    // so that a list of nothing but such items stops after one pass.
    std::set<std::wstring> m_failedPaths;
    std::wstring m_lastFailure;       // the medium that failed last, told or not
    bool m_lastFailureRetold = false; // its failure was told twice in a row already

    LONG m_reportedState = 0; // the state of the last report queued
    std::deque<std::pair<LONG, LONG>> m_reports;
    bool m_reportsPosted = false;
};
