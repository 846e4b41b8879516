// Shared by the fuzz targets: a failed property is a crash to libFuzzer, which keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                     \
    ((condition)                                                                                  \
         ? void()                                                                                 \
         : (std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition), \
            std::abort()))
