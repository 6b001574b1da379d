#pragma once

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// Stops the run on a promise the code under test broke, naming it: libFuzzer keeps the input.
inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

} // namespace Fuzz
