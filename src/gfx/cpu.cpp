// What the CPU the game runs on has beyond what the build assumes.
#include "gfx/cpu.h"

#if defined(__arm__)
#include <sys/auxv.h>
#endif

bool cpuHasNeon() {
#if defined(__arm__)
    static const bool neon = getauxval(AT_HWCAP) & HWCAP_ARM_NEON;
    return neon;
#else
    return false;
#endif
}

bool cpuHasAvx2() {
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}
