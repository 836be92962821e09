// The fuzz targets' check: a broken promise ends the run, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Pruefe(bool bedingung, const char* zusage)
{
    if (bedingung)
        return;
    std::fprintf(stderr, "Zusage gebrochen: %s\n", zusage);
    std::abort();
}
