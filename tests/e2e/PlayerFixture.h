// A started program for one end-to-end test: its player window, a media folder of the test's own,
// the open dialog reached as a user reaches it, and the exit when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>

#include "E2eSupport.h"
#include "WineVersion.h"
#include "resource.h"

class RunningPlayer : public ::testing::Test {
protected:
    // The knob's centre, in the player's client pixels.
    static constexpr POINT kCentre = {394, 198};

    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("media_") + info->test_suite_name() + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_'); // the parts of a parameterised test's name
        folder = ArtifactPath(name);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        {
            // Kept until the program runs, which has read its version by then.
            std::unique_ptr<WineVersionFor> version;
            if (!windowsVersion.empty()) {
                version = std::make_unique<WineVersionFor>("Quon.exe", windowsVersion);
                ASSERT_TRUE(version->Set()) << "Wine's version for Quon.exe";
            }
            ASSERT_TRUE(quon.Start()) << "QUON_EXE must name Quon.exe";
            ASSERT_TRUE(quon.WaitForPlayer()) << "the player window did not appear";
        }
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
    std::string folder;         // a Windows path
    std::string windowsVersion; // the Windows Wine tells the program it runs on; empty: the prefix's
};

// Windows XP and a current Windows, as Wine reports them: XP is 5.1 to a 32-bit program and 5.2
// (XP's x64 edition) to a 64-bit one.
struct WindowsVersion {
    const char* name;
    const char* wine32; // Wine's name of the version for a 32-bit program, and what it reports
    double version32;
    const char* wine64;
    double version64;
};
inline const WindowsVersion kWindowsVersions[] = {{"WindowsXP", "winxp", 5.1, "winxp64", 5.2},
                                                  {"Windows10", "win10", 10.0, "win10", 10.0}};
inline void PrintTo(const WindowsVersion& version, std::ostream* out)
{
    *out << version.name;
}
inline std::string WindowsVersionName(const ::testing::TestParamInfo<WindowsVersion>& info)
{
    return info.param.name;
}

// A test of a fixture Base for each of kWindowsVersions (INSTANTIATE_TEST_SUITE_P with
// WindowsVersionName), with the program started on that version.
template <class Base>
class OnEachWindows : public Base, public ::testing::WithParamInterface<WindowsVersion> {
protected:
    OnEachWindows()
    {
        const bool is32Bit = Is32BitProgram(QuonExePath());
        this->windowsVersion = is32Bit ? GetParam().wine32 : GetParam().wine64;
        reportedVersion = is32Bit ? GetParam().version32 : GetParam().version64;
    }

    double reportedVersion = 0; // the version the program is told, major.minor
};
