// Test support under Wine: drive letters defined through Wine's mount manager, and Unix paths.
#pragma once

#include <windows.h>

#include <string>

// Defines drive letter at a Unix folder with a drive type (DRIVE_FIXED, DRIVE_CDROM, ...), for the
// whole prefix as Wine's configuration tool does; an empty Unix path removes the letter.
bool DefineWineDrive(char letter, const std::string& unixPath, UINT type);
// The Unix path Wine keeps a Windows path at; empty outside Wine.
std::string UnixPathOf(const std::string& windowsPath);
