#pragma once

// Qt's painting leaves the upper halves of the AVX registers in use, and on the AVX-512 processors measured
// every SSE instruction of this program (copies, arithmetic on doubles) then waits for them until something
// clears them: loading a catalog took a quarter longer after any paint than before it. Long operations
// clear them first; painting between two calls makes them dirty again, so a call lasts only until then.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

__attribute__((target("avx"))) inline void zeroUpperAvxHalves() {
    _mm256_zeroupper();
}

inline void clearUpperVectorState() {
    // Without AVX there is nothing to clear, and the instruction would fault.
    if (__builtin_cpu_supports("avx"))
        zeroUpperAvxHalves();
}
#else
inline void clearUpperVectorState() {}
#endif
