// CCreditsDlg: the application's main window; runs the player window, then shows the credits.
#pragma once

#include "controls/ColorButton.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CCreditsDlg : public CDialog {
public:
    explicit CCreditsDlg(CWnd* parent = nullptr);
    ~CCreditsDlg() override = default;

    HICON m_hIcon;
    int m_step = 0;
    CColorButton m_okButton;

    // Credits banner timer.
    static constexpr UINT_PTR kBannerTimer = 3;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // Runs the player window modally; returns when it has closed.
    virtual void RunPlayer();

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    void OnTimer(UINT_PTR id);

    CBrush m_backgroundBrush{RGB(215, 215, 248)};

    DECLARE_MESSAGE_MAP()
};
