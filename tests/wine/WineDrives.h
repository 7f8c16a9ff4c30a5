// Test support under Wine: drive letters through Wine's mount manager, Unix paths, test folders.
#pragma once

#include <windows.h>

#include <string>

// Defines drive letter at a Unix folder with a drive type (DRIVE_FIXED, DRIVE_CDROM, ...), for the
// whole prefix as Wine's configuration tool does; an empty Unix path removes the letter.
bool DefineWineDrive(char letter, const std::string& unixPath, UINT type);
// Removes a folder with everything in it, read-only entries included.
void RemoveTree(const std::string& folder);
// The Unix path Wine keeps a Windows path at; empty outside Wine.
std::string UnixPathOf(const std::string& windowsPath);
