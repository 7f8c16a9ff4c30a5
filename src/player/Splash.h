// CSplashWnd: the start-up splash; a plain modeless window that the player draws on from outside.
#pragma once

#include "framework/Dialog.h"
#include "resource.h"

class CSplashWnd : public CDialog {
public:
    CSplashWnd() : CDialog(IDD_SPLASH, nullptr) {}
};
