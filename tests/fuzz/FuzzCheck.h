// Property checks inside the fuzz targets: a broken property stops the run like a crash, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void FuzzCheck(bool holds, const char* file, int line, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
    std::abort();
}

#define FUZZ_CHECK(condition) FuzzCheck(static_cast<bool>(condition), __FILE__, __LINE__, #condition)
