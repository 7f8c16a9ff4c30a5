// The in-process test runner: the program's classes and resources, run under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "framework/WinApp.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::InitCommonControls();
    AfxGetApp()->m_hInstance = ::GetModuleHandleA(nullptr);
    AfxEnableControlContainer();
    int result = RUN_ALL_TESTS();
    AfxGetApp()->ExitInstance();
    return result;
}
