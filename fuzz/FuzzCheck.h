// Invariant checks for the fuzz targets: a broken invariant aborts, which libFuzzer reports as a
// crash and saves the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void FuzzRequire(bool condition, const char* invariant) {
    if (!condition) {
        std::fprintf(stderr, "broken invariant: %s\n", invariant);
        std::abort();
    }
}
