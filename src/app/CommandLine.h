// The program's command line: the files and folders it was started with.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's own name, as the shell quoted them (wide, so that names
// outside the ANSI code page arrive whole).
std::vector<std::wstring> CommandLineArguments();
