// A started program for one end-to-end test: its player window, a media folder of the test's own,
// the open dialog reached as a user reaches it, and the exit when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "E2eSupport.h"
#include "resource.h"

class RunningPlayer : public ::testing::Test {
protected:
    // The knob's centre, in the player's client pixels.
    static constexpr POINT kCentre = {394, 198};

    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = ArtifactPath(std::string("media_") + info->test_suite_name() + "_" + info->name());
        ::CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(quon.Start()) << "QUON_EXE must name Quon.exe";
        ASSERT_TRUE(quon.WaitForPlayer()) << "the player window did not appear";
        player = quon.Player();
        ::Sleep(300);
    }
    void TearDown() override
    {
        if (player && ::IsWindow(player))
            ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
    }

    // A left click on the knob's centre with nothing loaded opens the dialog; names are chosen there.
    void OpenWithDialog(const std::string& names)
    {
        ClickAt(player, kCentre.x, kCentre.y);
        ASSERT_TRUE(ChooseInOpenDialog(quon, folder, names)) << "the open dialog did not appear or close";
    }

    QuonProcess quon;
    HWND player = nullptr;
    std::string folder;  // a Windows path
};
