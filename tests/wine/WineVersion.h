// Test support under Wine: the Windows version Wine reports to one program.
#pragma once

#include <windows.h>

#include <string>

// While it lives, Wine tells a program of that file name (such as "Quon.exe") that it runs on the
// named Windows ("winxp", "winxp64", "win10"), as Wine's configuration tool sets it:
// HKCU\Software\Wine\AppDefaults\<file name>\Version. A program reads it when it starts, so a
// program started meanwhile keeps it. The prefix is shared by later sessions: what was there
// before is put back at the end.
class WineVersionFor {
public:
    WineVersionFor(const std::string& fileName, const std::string& version);
    ~WineVersionFor();
    WineVersionFor(const WineVersionFor&) = delete;
    WineVersionFor& operator=(const WineVersionFor&) = delete;

    bool Set() const { return m_set; }

private:
    std::string m_key;
    bool m_set = false;
    bool m_keyExisted = false;
    bool m_hadValue = false;
    std::string m_previous;
};

// Whether an executable file is a 32-bit Windows program (the other kind here is 64-bit).
bool Is32BitProgram(const std::string& path);
