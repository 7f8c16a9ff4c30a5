// CPlayerDlg: the skinned player window, its state, and the handlers of its messages and commands.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "engine/Media.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "framework/Gdi.h"
#include "playback/logic/MediaKeys.h"
#include "player/Tray.h"

class CVideoDlg;
class CTobrick;
class CSplashWnd;

// The tray icon's callback message.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 100;

// Kind of the loaded medium: -1 nothing loaded yet, 5 played by the Windows Media window.
using MediaKind = int;
constexpr MediaKind kMediaNone = -1;
constexpr MediaKind kMediaWindowsMedia = 5;

class CPlayerDlg : public CDialog {
public:
    explicit CPlayerDlg(CWnd* parent = nullptr);
    ~CPlayerDlg() override;

    // Status line (painting.cpp)
    void DrawStatusText(bool highlight);

    // Transport (playback/Transport.cpp)
    void PlayCurrent();
    void StopCurrent();
    void StopPlayback();
    void StepNext();
    void StepBack();
    void HighlightStatus();

    // Opening files (playback/OpenFiles.cpp)
    void OpenFiles();
    // Puts play-list entries at the head of g_playList in the given order and plays the list from
    // there: the open command's steps once its dialog has returned, shared by every way in.
    void PlayPaths(const std::vector<std::string>& entries);
    // Plays files from outside (full paths; folders stand for their media files).
    void PlayIncoming(const std::vector<std::wstring>& paths);

    // Translucency of the Windows Media window (player/Translucency.cpp)
    bool SetVideoTranslucency(bool remove);

    // State, in declaration order; the Windows Media window reads and writes the flags.
    HICON m_hIcon;
    int m_cdTrack = 1;
    CRgn m_windowRgn;
    RECT m_rcPlay{};
    RECT m_rcLeft{};
    RECT m_rcRight{};
    RECT m_rcVolUp{};
    RECT m_rcVolDown{};
    CSplashWnd* m_pSplash = nullptr;
    CVideoDlg* m_pVideoDlg = nullptr;
    std::time_t m_startTime = 0;
    int m_trayIconId = 0;
    int m_trayMouseMsg = 0;
    HMENU m_pTrayMenu = nullptr;
    std::string m_scrollText;
    CTobrick* m_pTicker = nullptr;
    CVideo m_video;
    CWaveAudio m_wave;
    CMidi m_midi;
    CCDAudio m_cd;
    std::string m_statusText;
    std::string m_currentPath;
    MediaKind m_mediaKind = kMediaNone;
    int m_loaded = 0;
    bool m_playing = false;
    bool m_statusHighlight = false;
    bool m_scrollOn = false;
    bool m_backPressed = false;
    bool m_userStopped = false;
    bool m_closing = false;
    bool m_noAdvance = false;
    int m_scrollOffset = 0;
    int m_repeatMode = 1;
    bool m_windowShown = true;
    bool m_videoNormal = true;
    bool m_translucent = false;
    bool m_tickerShown = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Initialisation steps (player/PlayerInit.cpp)
    void BuildWindowRegion();
    void PlaceSkinControls();
    void CreateStatusFont();
    void PlaceOnScreen();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void CreateTicker();
    void PlaceVideoWindow();
    void MakeTickerTranslucent();

    // Greeting and splash (player/Splash.cpp)
    // The clock reading the greeting is chosen from.
    virtual std::time_t ReadClock() const;
    bool SelectGreeting();
    void ShowSplash();

    // Painting (player/Painting.cpp)
    void OnPaint();
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    void OnMove(int x, int y);

    // Timers and transport commands (playback/Transport.cpp)
    void OnTimer(UINT_PTR id);
    void OnNext();
    void OnBack();
    void OnRepeatCurrent();
    void OnRepeatList();
    void OnCycleRepeatMode();
    void OnToggleScroll();
    void ShowRepeatIndicators(bool repeatOne, bool repeatList);

    // Clicks on the knob (playback/ClickRegions.cpp)
    void OnLButtonDown(UINT flags, POINT point);
    void OnRButtonDown(UINT flags, POINT point);

    // The knob's centre as a left click has it (playback/ClickRegions.cpp).
    void PressCentre();
    // Stops the item that plays and keeps it loaded, so that the next play starts it again.
    void StopKeepingLoaded();

    // Ways in from outside: dropped files, files handed over, media keys (playback/WaysIn.cpp)
    void AcceptWaysIn();
    void ReleaseWaysIn();
    LRESULT OnDropFiles(WPARAM drop, LPARAM);
    LRESULT OnPlayIncoming(WPARAM, LPARAM);
    LRESULT OnAppCommand(WPARAM, LPARAM command);
    LRESULT OnHotKey(WPARAM id, LPARAM);
    void OnMediaKey(MediaKey key);
    // A media key's action is under way (the open dialog of play/pause may be up): keys wait.
    bool m_mediaKeyBusy = false;

    // Tray icon, menu and exit paths (player/Tray.cpp)
    LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void OpenTrayMenu();
    void ToggleWindowFromTray();
    void SetVideoCompactLayout();
    void SetVideoNormalLayout();
    void OnShowGreeting();
    void OnSupport();
    void OnShowMain();
    void OnHideWindow();
    void OnCloseMenu();
    void OnExit();
    void OnClose1012();
    TrayMenuState CurrentTrayMenuState() const;

    // Translucency command (player/Translucency.cpp)
    void OnTranslucency();

    // Playlist chooser command (playback/ChooserCommand.cpp)
    void OnChoosePlaylist();

    // The dialog-background brush, kept for the window's life.
    CBrush m_backgroundBrush;

    DECLARE_MESSAGE_MAP()
};
