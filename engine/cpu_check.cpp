#include "engine/engine.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <mmintrin.h>
#endif

namespace vilora {

// On x86 the processor is asked (function 1: MMX is bit 23 of the feature word;
// our four-pixel paths are written with SSE2, bit 26) and one MMX instruction,
// the one that empties the MMX state, is run. Elsewhere the four-pixel paths
// are portable code and always available.
bool detect_mmx() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool mmx = edx & (1u << 23);
    const bool sse2 = edx & (1u << 26);
    if (!mmx || !sse2) return false;
    _mm_empty();
    return true;
#else
    return true;
#endif
}

} // namespace vilora
