// The player window in process for one test: created as a modeless window on a plain Monday (no
// greeting, no splash), with an empty play list, and closed through its exit command afterwards.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "WinTestSupport.h"
#include "app/PlayerApp.h"
#include "player/PlayerDlg.h"
#include "resource.h"

// 2026-12-07 was a Monday: no greeting, no splash.
constexpr std::time_t kPlainMonday = 1796644800;

// The player with its clock set by the test.
class TestPlayerDlg : public CPlayerDlg {
public:
    std::time_t clock = kPlainMonday;
    std::time_t ReadClock() const override { return clock; }
    using CPlayerDlg::OnTimer;
    using CPlayerDlg::CurrentTrayMenuState;
};

class PlayerSession {
public:
    PlayerSession()
    {
        g_playList.RemoveAll();
        m_created = player.Create(IDD_PLAYER, nullptr) != FALSE;
        PumpFor(150);
    }
    ~PlayerSession()
    {
        if (player.m_hWnd) {
            Command(ID_TRAY_EXIT);
            player.DestroyWindow();
        }
        PumpFor(30);
        g_statusFont.DeleteObject();
        g_playList.RemoveAll();
    }
    PlayerSession(const PlayerSession&) = delete;
    PlayerSession& operator=(const PlayerSession&) = delete;

    bool Created() const { return m_created; }
    void Command(UINT id) const { ::SendMessageA(player.m_hWnd, WM_COMMAND, id, 0); }

    TestPlayerDlg player;

private:
    bool m_created = false;
};

// A fixture whose player can be closed and started afresh within one test (one per table case).
class FreshPlayerTest : public ::testing::Test {
protected:
    void OpenPlayer()
    {
        session = std::make_unique<PlayerSession>();
        player = &session->player;
        ASSERT_TRUE(session->Created());
    }
    void ClosePlayerSession()
    {
        session.reset();
        player = nullptr;
    }

    std::unique_ptr<PlayerSession> session;
    TestPlayerDlg* player = nullptr;
};
