// CVideoDlg: the Windows Media window; plays the play list item after item by the repeat mode.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/StringList.h"
#include "wmp/Mediaplayer1.h"
#include "wmp/control/MediaPlayerControl.h"

class CPlayerDlg;


class CVideoDlg : public CDialog {
public:
    explicit CVideoDlg(CWnd* parent = nullptr);
    ~CVideoDlg() override;

    // Creates the window (hidden) as a modeless dialog.
    BOOL Create();

    void SetOwner(CPlayerDlg* owner) { m_pOwner = owner; }

    // The compact corner layout: no caption or sizing border, 160 x 120 near the screen's bottom
    // right, the control inset by 2 pixels.
    void LayOutCompact();
    // Moves the window (repainting) and lets the control fill its client area.
    void LayOutAt(int x, int y, int cx, int cy);
    void PlayList();
    void PlayFile(std::string path);
    void OnPlayStateChange(long oldState, long newState);

    CMediaplayer1 m_player;
    POSITION m_posCurrent = nullptr;
    CPlayerDlg* m_pOwner = nullptr;

    // The list entry playing or last played; null when there is none, also once the play list
    // has been emptied since the position was taken.
    POSITION CurrentPosition() const;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    // Files dropped here go to the player (playback/WaysIn.cpp).
    LRESULT OnDropFiles(WPARAM drop, LPARAM);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    void SetPosition(POSITION pos);
    // Marks the item started in the player, starts path on the control and shows this window for
    // a video. stretchPicture also writes property 23 as false before playing (the list's start).
    void StartOnControl(const std::string& path, bool stretchPicture);
    void PlayEntry(POSITION pos);

    unsigned m_listGeneration = 0;
};
